#include "app/CEnvironmentDlg.h"

#include "app/UiText.h"

#include "style/CStyle.h"
#include "style/CStyleButton.h"

#include <QEvent>

namespace {

constexpr QSize kSize{380, 290};
constexpr QRect kPageArea{10, 60, 360, 180};

struct TabRow {
    int id;
    int caption;
    const char* english;
};
constexpr TabRow kTabs[] = {
    {CEnvironmentDlg::kStartTab, 3090, "Start"},
    {CEnvironmentDlg::kFlipTab, 3092, "Flip"},
    {CEnvironmentDlg::kToolbarTab, 3093, "Toolbar"},
    {CEnvironmentDlg::kLanguageTab, 3094, "Lang."},
};

}  // namespace

CEnvironmentDlg::CEnvironmentDlg(const EnvironmentValues& values, QWidget* parent)
    : CSkinDialog(parent), m_values(values), m_start(new CStartPage(values, this)),
      m_flip(new CFlipSpeedPage(values, this)), m_toolbar(new CToolbarPageDlg(values, this)),
      m_language(new CLanguagePage(values, this))
{
    setModal(true);
    setFixedSize(kSize);
    for (EnvironmentPage* page : {static_cast<EnvironmentPage*>(m_start), static_cast<EnvironmentPage*>(m_flip),
                                  static_cast<EnvironmentPage*>(m_toolbar), static_cast<EnvironmentPage*>(m_language)})
        page->setGeometry(kPageArea);
    const CStyle* style = applicationStyle();
    for (size_t i = 0; i < m_tabs.size(); ++i) {
        auto* button = new CStyleButton(this);
        button->setCommandId(kTabs[i].id);
        if (style)
            button->SetPicture(STYLE_PICTURES(*style, middle_btn));
        button->setGeometry(kPageArea.left() + static_cast<int>(i) * 72, 34, 68, 22);
        connect(button, &CStyleButton::command, this, &CEnvironmentDlg::showTab);
        m_tabs[i] = button;
    }
    SetUp(QString(), true, true, true, true, QString(), QString());
    retranslate();
    showTab(kStartTab);
}

CEnvironmentDlg::~CEnvironmentDlg() = default;

void CEnvironmentDlg::retranslate()
{
    SetTexts(ui::textOr(4012, "Environment Parameters"), QString(), QString());
    for (size_t i = 0; i < m_tabs.size(); ++i)
        m_tabs[i]->setText(ui::textOr(kTabs[i].caption, kTabs[i].english));
    for (int id : {kStartTab, kFlipTab, kToolbarTab, kLanguageTab})
        page(id)->retranslate();
}

void CEnvironmentDlg::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    CSkinDialog::changeEvent(event);
}

CStyleButton* CEnvironmentDlg::tab(int tabId) const
{
    for (size_t i = 0; i < m_tabs.size(); ++i) {
        if (kTabs[i].id == tabId)
            return m_tabs[i];
    }
    return nullptr;
}

EnvironmentPage* CEnvironmentDlg::page(int tabId) const
{
    switch (tabId) {
    case kStartTab: return m_start;
    case kFlipTab: return m_flip;
    case kToolbarTab: return m_toolbar;
    case kLanguageTab: return m_language;
    default: return nullptr;
    }
}

void CEnvironmentDlg::showTab(int tabId)
{
    if (!page(tabId))
        return;
    for (const TabRow& row : kTabs) {
        page(row.id)->setVisible(row.id == tabId);
        // The tab of the page on show stands out as the chosen one.
        QFont font = tab(row.id)->font();
        font.setBold(row.id == tabId);
        tab(row.id)->setFont(font);
    }
}

void CEnvironmentDlg::OnOK()
{
    for (int id : {kStartTab, kFlipTab, kToolbarTab, kLanguageTab})
        page(id)->takeData(m_values);
    if (apply)
        apply(m_values);
    CSkinDialog::OnOK();
}
