#include "app/COneTipDlg.h"

#include "app/UiText.h"

#include "book/CodePage.h"
#include "book/Dbcs.h"
#include "library/Settings.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QPlainTextEdit>

#include <fstream>

namespace onetip {

std::vector<std::string> readTips(const std::string& path)
{
    std::vector<std::string> tips;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return tips;
    std::streambuf* bytes = file.rdbuf();
    // A few bytes past the limit tell whether a character crosses it.
    constexpr size_t kKept = kLineBytes + 4;
    while (tips.size() < kMaxTips) {
        std::string line;
        bool ended = false;  // by a line feed
        for (int c = bytes->sbumpc(); c != std::char_traits<char>::eof(); c = bytes->sbumpc()) {
            if (c == '\n') {
                ended = true;
                break;
            }
            if (line.size() < kKept)
                line.push_back(static_cast<char>(c));
        }
        if (!ended && line.empty())
            break;
        if (line.size() < kKept && !line.empty() && line.back() == '\r')
            line.pop_back();
        dbcs::cutToLength(line, kLineBytes);
        tips.push_back(std::move(line));
        if (!ended)
            break;
    }
    return tips;
}

int nextIndex(int index, int count)
{
    const long long next = static_cast<long long>(index) + 1;
    return next >= count || next < 0 ? 0 : static_cast<int>(next);
}

std::string tipFile(const std::string& programFolder, int language)
{
    return programFolder + (language == 1 ? "/OneTip_ch.txt" : "/OneTip_en.txt");
}

}  // namespace onetip

namespace {

constexpr QSize kSize{400, 240};

}  // namespace

COneTipDlg::COneTipDlg(const std::string& tipFile, SettingsStore& settings, QWidget* parent)
    : CSkinDialog(parent), m_settings(settings), m_tips(onetip::readTips(tipFile)),
      m_index(settings.read().oneTipIndex), m_heading(new QLabel(this)), m_tip(new QPlainTextEdit(this)),
      m_show(new QCheckBox(this))
{
    setModal(true);
    setFixedSize(kSize);
    QFont bold = m_heading->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    m_heading->setFont(bold);
    m_heading->setGeometry(15, 36, 370, 24);
    m_tip->setGeometry(15, 64, 370, 112);
    m_tip->setReadOnly(true);
    // A long tip wraps, Chinese ones between any two characters.
    m_tip->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_tip->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_tip->setFocusPolicy(Qt::NoFocus);
    m_show->setGeometry(15, 182, 370, 20);
    m_show->setChecked(settings.read().showOneTipDlg == 1);
    SetUp(QString(), true, true, false, true, QString(), QString());
    retranslate();
    nextTip();
}

COneTipDlg::~COneTipDlg() = default;

void COneTipDlg::retranslate()
{
    SetTexts(ui::textOr(4027, "One Tip"), ui::textOr(3294, "Exit"), ui::textOr(3295, "Next Tip"));
    m_heading->setText(ui::textOr(ui::kControlLabel + kTipId, "Did you know?"));
    m_show->setText(ui::textOr(ui::kControlText + kShowId, "Show OneTip when starting this program."));
}

void COneTipDlg::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    CSkinDialog::changeEvent(event);
}

QString COneTipDlg::tip() const
{
    return m_tip->toPlainText();
}

void COneTipDlg::nextTip()
{
    m_index = onetip::nextIndex(m_index, static_cast<int>(m_tips.size()));
    if (m_index < static_cast<int>(m_tips.size()))
        m_tip->setPlainText(QString::fromStdString(codepage::toUtf8(m_tips[static_cast<size_t>(m_index)])));
}

void COneTipDlg::OnOK()
{
    nextTip();
}

void COneTipDlg::OnCancel()
{
    m_settings.writeOneTip(m_show->isChecked() ? 1 : 0, m_index);
    CSkinDialog::OnCancel();
}
