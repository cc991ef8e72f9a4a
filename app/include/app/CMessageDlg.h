// The program's message box: errors and notices with one OK, questions with
// OK, Cancel and the close button (which answers as Cancel). exec() returns
// QDialog::Accepted (1) for OK.
#pragma once

#include "app/CSkinDialog.h"

class CMessageDlg : public CSkinDialog {
    Q_OBJECT

public:
    CMessageDlg(const QString& text, const QString& caption, bool question, QWidget* parent = nullptr);
    // A question whose OK and Cancel read `yes` and `no`.
    CMessageDlg(const QString& text, const QString& caption, const QString& yes, const QString& no,
                QWidget* parent = nullptr);

    const QString& text() const { return m_text; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect textRect() const;

    QString m_text;
};
