// The "Turn To" dialog: "Turn to [n] page". OK takes only the digits 0 to 9;
// anything else is refused with the half-angle message and the dialog stays.
#pragma once

#include "app/CSkinDialog.h"

#include <cstdint>
#include <functional>

class QLineEdit;

class CTurnToDlg : public CSkinDialog {
    Q_OBJECT

public:
    static constexpr int kResourceId = 73;
    static constexpr int kNumberId = 390;

    explicit CTurnToDlg(QWidget* parent = nullptr);

    QLineEdit* numberEdit() const { return m_number; }
    // The book page number accepted by OK (0 when none was typed).
    int64_t number() const { return m_accepted; }

    // How the dialog tells the reader; tests replace it.
    std::function<void(const QString& caption, const QString& text)> showMessage;

protected:
    void OnOK() override;

private:
    QLineEdit* m_number = nullptr;
    int64_t m_accepted = 0;
};
