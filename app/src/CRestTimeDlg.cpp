#include "app/CRestTimeDlg.h"

#include "app/CMessageDlg.h"
#include "app/UiText.h"

#include <QButtonGroup>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace resttime {

int clampHours(int hours)
{
    return hours >= 3 ? 2 : hours;
}

int clampMinutes(int minutes)
{
    return minutes >= 60 ? 59 : minutes;
}

long long intervalMs(const RestTime& rest)
{
    if (rest.notice != 1)
        return 0;
    return (60LL * rest.hours + rest.minutes) * 60 * 1000;
}

}  // namespace resttime

namespace {

constexpr QSize kSize{300, 190};

// Typing in a box applies its clamp at once, so the box shows what counts.
void clampWhileTyping(QLineEdit* edit, int (*clamp)(int))
{
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit, clamp](const QString& text) {
        bool ok = false;
        const int value = text.toInt(&ok);
        if (ok && clamp(value) != value)
            edit->setText(QString::number(clamp(value)));
    });
}

int valueOf(const QLineEdit* edit)
{
    return edit->text().toInt();
}

}  // namespace

CRestTimeDlg::CRestTimeDlg(const RestTime& current, QWidget* parent)
    : CSkinDialog(parent), m_result(current),
      m_notice(new QRadioButton(ui::textOr(ui::kControlText + kNoticeId, "Notice if reach to rest time."), this)),
      m_noNotice(new QRadioButton(ui::textOr(ui::kControlText + kNoNoticeId, "Don't notice."), this)),
      m_intervalLabel(new QLabel(ui::textOr(ui::kControlText + kIntervalId, "Inteval:"), this)),
      m_hours(new QLineEdit(this)),
      m_hoursLabel(new QLabel(ui::textOr(ui::kControlText + kHoursLabelId, "Hours"), this)),
      m_minutes(new QLineEdit(this)),
      m_minutesLabel(new QLabel(ui::textOr(ui::kControlText + kMinutesLabelId, "Minutes"), this))
{
    showNotice = [this](const QString& caption, const QString& text) { CMessageDlg(text, caption, false, this).exec(); };
    setModal(true);
    setFixedSize(kSize);
    auto* radios = new QButtonGroup(this);
    radios->addButton(m_notice);
    radios->addButton(m_noNotice);
    m_notice->setGeometry(20, 40, 260, 22);
    m_intervalLabel->setGeometry(40, 70, 60, 22);
    m_hours->setGeometry(100, 70, 40, 22);
    m_hoursLabel->setGeometry(145, 70, 45, 22);
    m_minutes->setGeometry(190, 70, 40, 22);
    m_minutesLabel->setGeometry(235, 70, 55, 22);
    m_noNotice->setGeometry(20, 100, 260, 22);
    // Whole non-negative numbers only; the clamps keep them in range.
    m_hours->setValidator(new QIntValidator(0, 99, m_hours));
    m_minutes->setValidator(new QIntValidator(0, 99, m_minutes));
    m_hours->setText(QString::number(current.hours));
    m_minutes->setText(QString::number(current.minutes));
    clampWhileTyping(m_hours, resttime::clampHours);
    clampWhileTyping(m_minutes, resttime::clampMinutes);
    SetUp(ui::textOr(4004, "Rest Time"), true, true, true, true, QString(), QString());

    (current.notice == 1 ? m_notice : m_noNotice)->setChecked(true);
    enableInterval(current.notice == 1);
    connect(m_notice, &QRadioButton::clicked, this, [this] { enableInterval(true); });
    connect(m_noNotice, &QRadioButton::clicked, this, [this] { enableInterval(false); });
}

CRestTimeDlg::~CRestTimeDlg() = default;

void CRestTimeDlg::enableInterval(bool enabled)
{
    for (QWidget* widget : {static_cast<QWidget*>(m_intervalLabel), static_cast<QWidget*>(m_hours),
                            static_cast<QWidget*>(m_hoursLabel), static_cast<QWidget*>(m_minutes),
                            static_cast<QWidget*>(m_minutesLabel)})
        widget->setEnabled(enabled);
}

void CRestTimeDlg::OnOK()
{
    if (!m_notice->isChecked()) {
        m_result.notice = 0;
        CSkinDialog::OnOK();
        return;
    }
    const RestTime chosen{1, resttime::clampHours(valueOf(m_hours)), resttime::clampMinutes(valueOf(m_minutes))};
    if (resttime::intervalMs(chosen) <= 0) {
        // A zero period would remind without pause.
        showNotice(ui::text(4102), ui::textOr(4209, "The rest interval must be at least one minute."));
        m_minutes->setFocus();
        return;
    }
    m_result = chosen;
    CSkinDialog::OnOK();
}
