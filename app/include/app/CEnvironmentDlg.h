// The "Environment Parameters" sheet: four pages under four skinned tabs
// (start options, flip speed, bars, language). OK takes every page's data
// and hands it to the one who opened the sheet to apply, then closes.
#pragma once

#include "app/CSkinDialog.h"
#include "app/EnvironmentPages.h"

#include <array>
#include <functional>

class CEnvironmentDlg : public CSkinDialog {
    Q_OBJECT

public:
    static constexpr int kResourceId = 62;
    static constexpr int kStartTab = 470, kFlipTab = 471, kToolbarTab = 472, kLanguageTab = 473;

    CEnvironmentDlg(const EnvironmentValues& values, QWidget* parent = nullptr);
    ~CEnvironmentDlg() override;

    // Shows the tab's page and hides the other three.
    void showTab(int tabId);
    CStyleButton* tab(int tabId) const;
    EnvironmentPage* page(int tabId) const;
    CStartPage* startPage() const { return m_start; }
    CFlipSpeedPage* flipSpeedPage() const { return m_flip; }
    CToolbarPageDlg* toolbarPage() const { return m_toolbar; }
    CLanguagePage* languagePage() const { return m_language; }

    // What OK took from the pages.
    const EnvironmentValues& values() const { return m_values; }
    // Runs on OK with the pages' data, before the sheet closes.
    std::function<void(const EnvironmentValues& values)> apply;

protected:
    void OnOK() override;
    void changeEvent(QEvent* event) override;

private:
    void retranslate();

    EnvironmentValues m_values;
    CStartPage* m_start;
    CFlipSpeedPage* m_flip;
    CToolbarPageDlg* m_toolbar;
    CLanguagePage* m_language;
    std::array<CStyleButton*, 4> m_tabs{};
};
