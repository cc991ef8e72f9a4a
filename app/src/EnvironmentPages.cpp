#include "app/EnvironmentPages.h"

#include "app/UiText.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>

namespace {

// The start, flip and toolbar pages share the dialog's light colour.
constexpr QColor kPageColour{250, 236, 244};

QString controlText(int id, const char* english)
{
    return ui::textOr(ui::kControlText + id, english);
}

QString groupTitle(int id, const char* english)
{
    return ui::textOr(ui::kControlLabel + id, english);
}

QCheckBox* checkBox(QWidget* parent, int value, QRect place)
{
    auto* box = new QCheckBox(parent);
    box->setChecked(value == 1);
    box->setGeometry(place);
    return box;
}

int checked(const QCheckBox* box)
{
    return box->isChecked() ? 1 : 0;
}

}  // namespace

EnvironmentPage::EnvironmentPage(QColor background, QWidget* parent) : QWidget(parent)
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::Button, background);
    setPalette(palette);
    setAutoFillBackground(true);
}

CStartPage::CStartPage(const EnvironmentValues& values, QWidget* parent)
    : EnvironmentPage(kPageColour, parent), m_file(new QGroupBox(this)), m_music(new QGroupBox(this)),
      m_tip(new QGroupBox(this))
{
    m_file->setGeometry(8, 4, 344, 84);
    m_music->setGeometry(8, 90, 344, 40);
    m_tip->setGeometry(8, 132, 344, 40);
    m_needIndex = checkBox(m_file, values.needIndex, {12, 20, 320, 20});
    m_needBookmark = checkBox(m_file, values.needBookmark, {12, 40, 320, 20});
    m_detectChapters = checkBox(m_file, values.detectChapters, {12, 60, 320, 20});
    m_playMusic = checkBox(m_music, values.playMusic, {12, 17, 320, 20});
    m_showTip = checkBox(m_tip, values.showTip, {12, 17, 320, 20});
    retranslate();
}

void CStartPage::retranslate()
{
    m_file->setTitle(groupTitle(kNeedIndexId, "File"));
    m_music->setTitle(groupTitle(kPlayMusicId, "Music"));
    m_tip->setTitle(groupTitle(kShowTipId, "OneTip"));
    m_needIndex->setText(controlText(kNeedIndexId, "Add index when opening file"));
    m_needBookmark->setText(controlText(kNeedBookmarkId, "Add bookmark when opening file"));
    m_detectChapters->setText(controlText(kDetectChaptersId, "Find chapters when opening text"));
    m_playMusic->setText(controlText(kPlayMusicId, "Play music after starting program"));
    m_showTip->setText(controlText(kShowTipId, "Show OneTip when starting this program."));
}

QCheckBox* CStartPage::box(int id) const
{
    switch (id) {
    case kNeedIndexId: return m_needIndex;
    case kNeedBookmarkId: return m_needBookmark;
    case kDetectChaptersId: return m_detectChapters;
    case kPlayMusicId: return m_playMusic;
    case kShowTipId: return m_showTip;
    default: return nullptr;
    }
}

void CStartPage::takeData(EnvironmentValues& values) const
{
    values.needIndex = checked(m_needIndex);
    values.needBookmark = checked(m_needBookmark);
    values.detectChapters = checked(m_detectChapters);
    values.playMusic = checked(m_playMusic);
    values.showTip = checked(m_showTip);
}

CFlipSpeedPage::CFlipSpeedPage(const EnvironmentValues& values, QWidget* parent)
    : EnvironmentPage(kPageColour, parent), m_group(new QGroupBox(this)), m_bar(new QSlider(Qt::Horizontal, m_group)),
      m_slowly(new QLabel(m_group)), m_fast(new QLabel(m_group)), m_speed(values.flipSpeed)
{
    m_group->setGeometry(8, 4, 344, 148);
    m_bar->setRange(kSlowest, kFastest);
    m_bar->setValue(values.flipSpeed);
    m_bar->setTickPosition(QSlider::TicksBelow);
    m_bar->setTickInterval(5);
    m_bar->setPageStep(5);
    m_bar->setGeometry(20, 50, 304, 30);
    m_slowly->setGeometry(20, 86, 140, 20);
    m_fast->setGeometry(184, 86, 140, 20);
    m_fast->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Every move of the bar, by the mouse or the keys, is the new speed.
    connect(m_bar, &QSlider::valueChanged, this, [this](int value) { m_speed = value; });
    retranslate();
}

void CFlipSpeedPage::retranslate()
{
    m_group->setTitle(groupTitle(kTrackBarId, "Page Flip Speed"));
    m_slowly->setText(ui::textOr(ui::kControlLabel + kTrackBarId + 1, "Slowly"));
    m_fast->setText(ui::textOr(ui::kControlLabel + kTrackBarId + 2, "Fast"));
}

void CFlipSpeedPage::takeData(EnvironmentValues& values) const
{
    values.flipSpeed = m_speed;
}

CToolbarPageDlg::CToolbarPageDlg(const EnvironmentValues& values, QWidget* parent)
    : EnvironmentPage(kPageColour, parent), m_group(new QGroupBox(this))
{
    m_group->setGeometry(8, 4, 344, 148);
    m_left = checkBox(m_group, values.leftBar, {16, 28, 310, 22});
    m_bottom = checkBox(m_group, values.bottomBar, {16, 56, 310, 22});
    m_right = checkBox(m_group, values.rightBar, {16, 84, 310, 22});
    m_status = checkBox(m_group, values.statusBar, {16, 112, 310, 22});
    retranslate();
}

void CToolbarPageDlg::retranslate()
{
    m_group->setTitle(groupTitle(kLeftId, "Toolbar"));
    m_left->setText(controlText(kLeftId, "Show the left toolbar"));
    m_bottom->setText(controlText(kBottomId, "Show the bottom toolbar"));
    m_right->setText(controlText(kRightId, "Show the right toolbar"));
    m_status->setText(controlText(kStatusId, "Show status bar"));
}

QCheckBox* CToolbarPageDlg::box(int id) const
{
    switch (id) {
    case kLeftId: return m_left;
    case kBottomId: return m_bottom;
    case kRightId: return m_right;
    case kStatusId: return m_status;
    default: return nullptr;
    }
}

void CToolbarPageDlg::takeData(EnvironmentValues& values) const
{
    values.leftBar = checked(m_left);
    values.bottomBar = checked(m_bottom);
    values.rightBar = checked(m_right);
    values.statusBar = checked(m_status);
}

CLanguagePage::CLanguagePage(const EnvironmentValues& values, QWidget* parent)
    : EnvironmentPage(kBackground, parent), m_group(new QGroupBox(this)), m_english(new QRadioButton(m_group)),
      m_chinese(new QRadioButton(m_group))
{
    m_group->setGeometry(8, 4, 344, 148);
    m_english->setGeometry(24, 44, 300, 22);
    m_chinese->setGeometry(24, 84, 300, 22);
    (values.language == 1 ? m_chinese : m_english)->setChecked(true);
    retranslate();
}

void CLanguagePage::retranslate()
{
    m_group->setTitle(groupTitle(kEnglishId, "Interactive Language"));
    m_english->setText(controlText(kEnglishId, "English (U.S.)"));
    m_chinese->setText(controlText(kChineseId, "Chinese (R.P.C.)"));
}

void CLanguagePage::takeData(EnvironmentValues& values) const
{
    values.language = m_chinese->isChecked() ? 1 : 0;
}
