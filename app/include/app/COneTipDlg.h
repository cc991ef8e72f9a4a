// The tip of the day, shown at start-up: one line of the language's tip file
// at a time, the one after the tip shown last, wrapping to the first.
#pragma once

#include "app/CSkinDialog.h"

#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class SettingsStore;

namespace onetip {

// A line holds at most this many bytes of a tip; the rest of it is not used.
inline constexpr size_t kLineBytes = 1023;
// A file of more lines than this gives only its first ones.
inline constexpr size_t kMaxTips = 65536;

// The tips of a file in the code page: every line one tip, empty ones too,
// each cut to kLineBytes without splitting a character. None for a missing file.
std::vector<std::string> readTips(const std::string& path);
// The index after `index` among `count` tips, back to 0 after the last.
int nextIndex(int index, int count);
// The tip file of the language beside the program.
std::string tipFile(const std::string& programFolder, int language);

}  // namespace onetip

class COneTipDlg : public CSkinDialog {
    Q_OBJECT

public:
    static constexpr int kResourceId = 79;
    static constexpr int kTipId = 660, kShowId = 661;

    COneTipDlg(const std::string& tipFile, SettingsStore& settings, QWidget* parent = nullptr);
    ~COneTipDlg() override;

    int index() const { return m_index; }
    QString tip() const;
    QCheckBox* showBox() const { return m_show; }

    // "Next Tip".
    void nextTip();

protected:
    // "Next Tip" is the base's OK button; "Exit" its Cancel.
    void OnOK() override;
    void OnCancel() override;
    void changeEvent(QEvent* event) override;

private:
    void retranslate();

    SettingsStore& m_settings;
    std::vector<std::string> m_tips;
    int m_index;
    QLabel* m_heading;
    QPlainTextEdit* m_tip;
    QCheckBox* m_show;
};
