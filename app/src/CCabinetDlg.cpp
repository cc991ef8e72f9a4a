#include "app/CCabinetDlg.h"

#include "app/CMessageDlg.h"
#include "app/ColourBox.h"
#include "app/UiText.h"

#include "views/Canvas.h"

#include "PageText.h"

#include <QDate>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <tuple>

namespace {

constexpr int kWidth = 330;
constexpr int kHeight = 200;
constexpr int kLabelLeft = 16;
constexpr int kFieldLeft = 112;
constexpr int kFieldWidth = kWidth - kFieldLeft - 16;
constexpr int kTextLimit = 128;

// A stored value longer than what may be typed is shown whole, so that
// changing something else does not cut it.
void showStored(QLineEdit* edit, const QString& text)
{
    edit->setMaxLength(std::max<int>(kTextLimit, static_cast<int>(text.size())));
    edit->setText(text);
}

}  // namespace

QString createTimeText(int year, int month, int day, int language)
{
    const auto [first, second, third] = language == 1 ? std::tuple{year, month, day} : std::tuple{month, day, year};
    QString format = ui::text(4608);
    for (const int value : {first, second, third}) {
        const qsizetype at = format.indexOf(QStringLiteral("%d"));
        if (at < 0)
            break;
        format.replace(at, 2, QString::number(value));
    }
    return format;
}

CCabinetDlg::CCabinetDlg(Mode mode, const std::vector<CCabinet>& cabinets, QWidget* parent)
    : CSkinDialog(parent), m_cabinets(cabinets)
{
    setModal(true);
    setFixedSize(kWidth, kHeight);
    const auto label = [this](int id, const char* english, int top) {
        auto* text = new QLabel(ui::textOr(31000 + id, english), this);
        text->setGeometry(kLabelLeft, top, kFieldLeft - kLabelLeft - 4, 22);
        return text;
    };
    label(kNameId, "Name:", 42);
    m_name = new QLineEdit(this);
    m_name->setGeometry(kFieldLeft, 42, kFieldWidth, 22);
    m_name->setMaxLength(kTextLimit);
    label(kCreatorId, "Creator:", 72);
    m_creator = new QLineEdit(this);
    m_creator->setGeometry(kFieldLeft, 72, kFieldWidth, 22);
    m_creator->setMaxLength(kTextLimit);
    label(kColourId, "Frame Color:", 102);
    m_colour = new ColourBox(this);
    m_colour->setColour(toQColor(CCabinet().borderColor));
    m_colour->setGeometry(kFieldLeft, 102, 60, 22);
    connect(m_colour, &ColourBox::clicked, this, &CCabinetDlg::chooseColour);
    label(kCreateTimeId, "Create Time:", 132);
    m_createTime = new QLabel(this);
    m_createTime->setGeometry(kFieldLeft, 132, kFieldWidth, 22);

    showMessage = [this](const QString& caption, const QString& text) { CMessageDlg(text, caption, false, this).exec(); };
    askColour = [this](COLORREF current) -> std::optional<COLORREF> {
        const std::optional<QColor> chosen = askColourDialog(this, toQColor(current));
        return chosen ? std::optional<COLORREF>(fromQColor(*chosen)) : std::nullopt;
    };
    SetUp(ui::text(mode == Create ? 4014 : 4015), true, true, true, true, QString(), QString());
    if (mode == Create) {
        const QDate today = QDate::currentDate();
        m_year = today.year();
        m_month = today.month();
        m_day = today.day();
    }
    showDate();
    m_name->setFocus();
}

void CCabinetDlg::setCabinet(const CCabinet& cabinet)
{
    m_startedWith = cabinet.name;
    showStored(m_name, fromPageText(cabinet.name));
    showStored(m_creator, fromPageText(cabinet.creator));
    m_colour->setColour(toQColor(cabinet.borderColor));
    m_year = cabinet.createYear;
    m_month = cabinet.createMonth;
    m_day = cabinet.createDay;
    showDate();
}

CCabinet CCabinetDlg::cabinet() const
{
    CCabinet result;
    result.name = toPageText(m_name->text().trimmed());
    result.creator = toPageText(m_creator->text().trimmed());
    result.borderColor = fromQColor(m_colour->colour());
    result.createYear = m_year;
    result.createMonth = m_month;
    result.createDay = m_day;
    return result;
}

void CCabinetDlg::chooseColour()
{
    if (const std::optional<COLORREF> chosen = askColour(fromQColor(m_colour->colour())))
        m_colour->setColour(toQColor(*chosen));
}

void CCabinetDlg::showDate()
{
    m_createTime->setText(createTimeText(m_year, m_month, m_day, ui::language()));
}

void CCabinetDlg::OnOK()
{
    switch (checkCabinetName(m_cabinets, cabinet().name, m_startedWith)) {
    case CabinetNameCheck::Empty:
        showMessage(ui::text(4102), ui::text(4410));
        m_name->setFocus();
        return;
    case CabinetNameCheck::Taken:
        showMessage(ui::text(4102), ui::text(4411));
        m_name->setFocus();
        m_name->selectAll();
        return;
    case CabinetNameCheck::Ok:
        break;
    }
    CSkinDialog::OnOK();
}
