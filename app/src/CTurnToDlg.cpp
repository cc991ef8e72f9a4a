#include "app/CTurnToDlg.h"

#include "app/CMessageDlg.h"
#include "app/PageJump.h"
#include "app/UiText.h"

#include <QLabel>
#include <QLineEdit>

namespace {

constexpr int kPageLabelId = 391;
// More digits than any book has pages.
constexpr int kDigitLimit = 9;

}  // namespace

CTurnToDlg::CTurnToDlg(QWidget* parent) : CSkinDialog(parent)
{
    setModal(true);
    auto* before = new QLabel(ui::textOr(ui::kControlLabel + kNumberId, "Turn to"), this);
    before->setGeometry(20, 44, 70, 22);
    before->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_number = new QLineEdit(this);
    m_number->setObjectName(QString::number(kNumberId));
    m_number->setGeometry(96, 44, 70, 22);
    m_number->setMaxLength(kDigitLimit);
    auto* after = new QLabel(ui::textOr(ui::kControlLabel + kPageLabelId, "page"), this);
    after->setGeometry(172, 44, 70, 22);
    setFixedSize(250, 118);
    showMessage = [this](const QString& caption, const QString& text) { CMessageDlg(text, caption, false, this).exec(); };
    SetUp(ui::text(4011), true, true, true, true, QString(), QString());
    m_number->setFocus();
}

void CTurnToDlg::OnOK()
{
    const std::optional<int64_t> number = pagejump::parseNumber(m_number->text());
    if (!number) {
        showMessage(ui::text(4102), ui::text(4400));
        m_number->setFocus();
        m_number->selectAll();
        return;
    }
    m_accepted = *number;
    CSkinDialog::OnOK();
}
