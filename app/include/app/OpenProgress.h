// The progress of a long opening: once an opening has lasted half a second,
// a dialog with the file's name, a bar and Cancel. Cancel stops the helper
// program or the layout, and the document then adds nothing.
#pragma once

#include "book/ImportProgress.h"

#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class QProgressDialog;
class QWidget;

class OpenProgress : public ImportProgress {
public:
    static constexpr int64_t kShowAfterMs = 500;
    // Events are handled at most this often while the dialog shows, so the
    // bar moves and Cancel answers without slowing the work down.
    static constexpr int64_t kPumpEveryMs = 40;

    // `parent` is asked for the dialog's owner when it first shows; `clock`
    // gives milliseconds (a steady clock unless tests give their own).
    explicit OpenProgress(std::function<QWidget*()> parent, std::function<int64_t()> clock = {});
    ~OpenProgress() override;

    void begin(const std::string& path) override;
    bool update(double done) override;
    void end() override;

    // The dialog while it shows; null before half a second has passed.
    QProgressDialog* dialog() const;

private:
    void show();

    std::function<QWidget*()> m_parent;
    std::function<int64_t()> m_clock;
    std::unique_ptr<QProgressDialog> m_dialog;
    QString m_label;
    int64_t m_startedAt = -1;
    int64_t m_pumpedAt = 0;
    bool m_stopped = false;
};
