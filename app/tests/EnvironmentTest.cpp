#include "app/CEnvironmentDlg.h"
#include "app/CMainFrame.h"
#include "app/CPrintBar.h"
#include "app/CSearchDlg.h"
#include "app/MusicState.h"
#include "app/UiText.h"

#include "book/CVersaleoDoc.h"
#include "library/DocumentPictures.h"
#include "library/Settings.h"
#include "style/CStyleButton.h"

#include "CBookViews.h"

#include "BuiltSkin.h"
#include "TestSupport.h"

#include <QAction>
#include <QCheckBox>
#include <QRadioButton>
#include <QSettings>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Counts what the music is asked to do; plays nothing.
class CountingPlayer : public MusicPlayer {
public:
    explicit CountingPlayer(int& calls) : m_calls(calls) {}
    bool Load(const QString&) override { return true; }
    bool Play() override { return ++m_calls, true; }
    bool Play(const QString&) override { return ++m_calls, true; }
    void Close() override { ++m_calls; }
    void SetCallBackWnd(QObject*) override {}

private:
    int& m_calls;
};

// A frame whose environment sheet the test fills in before its OK.
class EnvironmentFrame : public testing::Test {
protected:
    static void SetUpTestSuite() { useBuiltSkin(); }
    EnvironmentFrame() { makeFrame(); }
    // A frame over what the settings hold now.
    void makeFrame()
    {
        frame.reset();
        frame = std::make_unique<CMainFrame>(doc, pictures, settings, 0);
        frame->showNotice = [this](const QString& caption, const QString& text) {
            notices.push_back((caption + ": " + text).toStdString());
        };
        frame->runDialog = [this](QDialog& dialog) {
            auto* sheet = dynamic_cast<CEnvironmentDlg*>(&dialog);
            EXPECT_NE(sheet, nullptr);
            if (!sheet)
                return 0;
            sheet->show();
            fill(*sheet);
            QTest::mouseClick(sheet->okButton(), Qt::LeftButton);
            return sheet->result();
        };
    }
    ~EnvironmentFrame() override { ui::setLanguage(0, PROGRAM_FOLDER); }
    // Opens the sheet, lets `change` set it, presses OK.
    void runSheet(std::function<void(CEnvironmentDlg&)> change)
    {
        fill = std::move(change);
        frame->updateCommands();
        frame->runCommand(cmd::Environment);
    }
    bool stored(const char* key) { return QSettings(settingsFile, QSettings::IniFormat).contains(QString("Settings/") + key); }

    TestFolder dir;
    QString settingsFile = QString::fromStdString(dir / "settings.ini");
    SettingsStore settings{settingsFile};
    CVersaleoDoc doc;
    DocumentPictures pictures{std::string(PROGRAM_FOLDER) + "/picture"};
    std::unique_ptr<CMainFrame> frame;
    std::function<void(CEnvironmentDlg&)> fill;
    std::vector<std::string> notices;
};

TEST_F(EnvironmentFrame, MusicSwitchedOffGivesTheRestartNoticeWritesTunedeckZeroAndKeepsPlaying)
{
    int playerCalls = 0;
    MusicState music(MusicState::Players{std::make_unique<CountingPlayer>(playerCalls),
                                         std::make_unique<CountingPlayer>(playerCalls),
                                         std::make_unique<CountingPlayer>(playerCalls)});
    frame->setMusic(&music, dir / "music");
    runSheet([](CEnvironmentDlg& sheet) {
        EXPECT_TRUE(sheet.startPage()->box(CStartPage::kPlayMusicId)->isChecked());
        sheet.startPage()->box(CStartPage::kPlayMusicId)->click();
    });
    EXPECT_EQ(notices, std::vector<std::string>{"Notice: Music has been changed. So you need to restart this program!"});
    EXPECT_EQ(settings.read().tunedeck, 0);
    EXPECT_EQ(playerCalls, 0) << "the music is neither stopped nor started";
    // Pressing OK again with music still off is no change: no notice.
    notices.clear();
    runSheet([](CEnvironmentDlg&) {});
    EXPECT_TRUE(notices.empty());
    frame->setMusic(nullptr, {});
}

TEST_F(EnvironmentFrame, AStoredTunedeckOfTwoIsMusicOffAndOkWithoutAChangeGivesNoNotice)
{
    AppSettings values = settings.read();
    values.tunedeck = 2;
    settings.write(values);
    makeFrame();
    runSheet([](CEnvironmentDlg& sheet) { EXPECT_FALSE(sheet.startPage()->box(CStartPage::kPlayMusicId)->isChecked()); });
    EXPECT_TRUE(notices.empty());
    EXPECT_EQ(settings.read().tunedeck, 0);
    // Ticking it is a change of the music: the notice.
    runSheet([](CEnvironmentDlg& sheet) { sheet.startPage()->box(CStartPage::kPlayMusicId)->click(); });
    EXPECT_EQ(notices.size(), 1u);
    EXPECT_EQ(settings.read().tunedeck, 1);
}

TEST_F(EnvironmentFrame, TheStartPageStoresItsOptionsInTheDocumentAndTheSettings)
{
    doc.needIndex = 1;
    doc.needBookmark = 0;
    runSheet([](CEnvironmentDlg& sheet) {
        EXPECT_TRUE(sheet.startPage()->box(CStartPage::kNeedIndexId)->isChecked());
        EXPECT_FALSE(sheet.startPage()->box(CStartPage::kNeedBookmarkId)->isChecked());
        EXPECT_TRUE(sheet.startPage()->box(CStartPage::kShowTipId)->isChecked());
        EXPECT_TRUE(sheet.startPage()->box(CStartPage::kDetectChaptersId)->isChecked());
        sheet.startPage()->box(CStartPage::kDetectChaptersId)->click();
        sheet.startPage()->box(CStartPage::kNeedIndexId)->click();
        sheet.startPage()->box(CStartPage::kNeedBookmarkId)->click();
        sheet.startPage()->box(CStartPage::kShowTipId)->click();
    });
    EXPECT_EQ(doc.needIndex, 0);
    EXPECT_EQ(doc.needBookmark, 1);
    const AppSettings values = settings.read();
    EXPECT_EQ(values.needIndex, 0);
    EXPECT_EQ(values.needBookmark, 1);
    EXPECT_EQ(values.showOneTipDlg, 0);
    EXPECT_EQ(doc.detectChapters, 0);
    EXPECT_EQ(values.detectChapters, 0);
    // The tip box shows what the settings hold.
    runSheet([](CEnvironmentDlg& sheet) { EXPECT_FALSE(sheet.startPage()->box(CStartPage::kShowTipId)->isChecked()); });
}

TEST_F(EnvironmentFrame, TheFlipBarsEndsStoreTenAndFifty)
{
    doc.setFlipSpeed(30);
    runSheet([](CEnvironmentDlg& sheet) {
        sheet.showTab(CEnvironmentDlg::kFlipTab);
        QSlider* bar = sheet.flipSpeedPage()->trackBar();
        EXPECT_EQ(bar->value(), 30);
        bar->setFocus();
        QTest::keyClick(bar, Qt::Key_Home);
    });
    EXPECT_EQ(doc.flipSpeed, 10);
    EXPECT_EQ(settings.read().flipSpeed, 10);
    runSheet([](CEnvironmentDlg& sheet) {
        sheet.showTab(CEnvironmentDlg::kFlipTab);
        QSlider* bar = sheet.flipSpeedPage()->trackBar();
        EXPECT_EQ(bar->value(), 10);
        bar->setFocus();
        QTest::keyClick(bar, Qt::Key_End);
    });
    EXPECT_EQ(doc.flipSpeed, 50);
    EXPECT_EQ(settings.read().flipSpeed, 50);
}

TEST_F(EnvironmentFrame, TheNextFlipTurnsAtTheNewSpeed)
{
    for (const PageKind kind : {PageKind::CoverPage, PageKind::BookPage, PageKind::BookPage, PageKind::BookPage,
                                PageKind::CoverPage}) {
        for (int side = 0; side < 2; ++side) {
            auto page = doc.createPage(kind);
            page->lines = {"A line of the page.\r\n"};
            page->rebuildCells();
            doc.pages.push_back(std::move(page));
        }
    }
    frame->resize(900, 640);
    frame->show();
    CBookView* view = frame->currentView();
    view->setFrameDelay(0);
    view->setRecording(true);
    doc.currentPage = 2;
    frame->RefreshViews();
    view->turnTo(4);
    const size_t fast = view->recordedFrames().size();
    runSheet([](CEnvironmentDlg& sheet) { sheet.flipSpeedPage()->trackBar()->setValue(10); });
    view->turnTo(6);
    const size_t slow = view->recordedFrames().size();
    EXPECT_GT(fast, 0u);
    EXPECT_GT(slow, 2 * fast);
}

TEST_F(EnvironmentFrame, TheLanguageInForceWritesNothingAndReloadsNothing)
{
    const QString caption = frame->button(cmd::Search)->text();
    runSheet([](CEnvironmentDlg& sheet) { EXPECT_TRUE(sheet.languagePage()->radio(CLanguagePage::kEnglishId)->isChecked()); });
    EXPECT_FALSE(stored("Language"));
    EXPECT_TRUE(stored("FlipSpeed"));
    EXPECT_EQ(frame->button(cmd::Search)->text(), caption);
}

TEST_F(EnvironmentFrame, UntickedBarsHideAtOnceOutsideTheTraditionalStyle)
{
    frame->show();
    QWidget* leftBar = frame->button(cmd::OnePage)->parentWidget();
    QWidget* rightBar = frame->button(cmd::Search)->parentWidget();
    ASSERT_TRUE(leftBar->isVisible());
    runSheet([](CEnvironmentDlg& sheet) {
        sheet.toolbarPage()->box(CToolbarPageDlg::kLeftId)->click();
        sheet.toolbarPage()->box(CToolbarPageDlg::kStatusId)->click();
    });
    EXPECT_FALSE(leftBar->isVisible());
    EXPECT_TRUE(rightBar->isVisible());
    const AppSettings values = settings.read();
    EXPECT_EQ(values.showLeftBar, 0);
    EXPECT_EQ(values.showRightBar, 1);
    EXPECT_EQ(values.showStatusBar, 1);
}

TEST_F(EnvironmentFrame, InTheTraditionalStyleUntickingTheLeftBarWritesItAndLeavesTheBar)
{
    frame->show();
    frame->runCommand(cmd::StyleWindow);
    ASSERT_TRUE(frame->state().traditionalStyle);
    QWidget* leftBar = frame->button(cmd::OnePage)->parentWidget();
    ASSERT_TRUE(leftBar->isVisible());
    runSheet([](CEnvironmentDlg& sheet) { sheet.toolbarPage()->box(CToolbarPageDlg::kLeftId)->click(); });
    EXPECT_EQ(settings.read().showLeftBar, 0);
    EXPECT_TRUE(leftBar->isVisible());
    // The next change of decorations takes the flag.
    frame->runCommand(cmd::StyleWindow);
    EXPECT_FALSE(leftBar->isVisible());
}

TEST_F(EnvironmentFrame, ChineseReloadsTheBarsMenusAndAnOpenDialogAtOnce)
{
    CSearchDlg search(doc, false);
    search.show();
    ASSERT_EQ(search.nextButton()->text(), "Next");
    runSheet([](CEnvironmentDlg& sheet) {
        sheet.showTab(CEnvironmentDlg::kLanguageTab);
        sheet.languagePage()->radio(CLanguagePage::kChineseId)->click();
    });
    EXPECT_EQ(settings.read().language, 1);
    EXPECT_EQ(ui::language(), 1);
    EXPECT_EQ(search.nextButton()->text(), QString::fromUtf8("下一个"));
    EXPECT_EQ(search.windowTitle(), QString::fromUtf8("查找"));
    EXPECT_EQ(frame->button(cmd::Search)->text(), QString::fromUtf8("查找"));
    EXPECT_EQ(frame->button(cmd::Search)->toolTip(), QString::fromUtf8("在书中查找"));
    EXPECT_EQ(frame->action(cmd::Open)->text(), QString::fromUtf8("打开..."));
    EXPECT_EQ(frame->button(cmd::Window1)->text(), QString::fromUtf8("窗口1"));
    EXPECT_EQ(frame->printBar()->control(CPrintBar::kOnePage)->text(), QString::fromUtf8("单页"));
    EXPECT_EQ(frame->printBar()->commandButtons().front()->text(), QString::fromUtf8("上一张"));
    // The sheet itself opens in Chinese now, and English comes back the same way.
    runSheet([](CEnvironmentDlg& sheet) {
        EXPECT_EQ(sheet.windowTitle(), QString::fromUtf8("环境参数"));
        EXPECT_TRUE(sheet.languagePage()->radio(CLanguagePage::kChineseId)->isChecked());
        sheet.languagePage()->radio(CLanguagePage::kEnglishId)->click();
    });
    EXPECT_EQ(ui::language(), 0);
    EXPECT_EQ(search.nextButton()->text(), "Next");
    EXPECT_EQ(frame->action(cmd::Open)->text(), "Open...");
    EXPECT_EQ(frame->printBar()->control(CPrintBar::kOnePage)->text(), "One Page");
}

TEST_F(EnvironmentFrame, CancelChangesNothing)
{
    frame->runDialog = [](QDialog& dialog) {
        auto& sheet = dynamic_cast<CEnvironmentDlg&>(dialog);
        sheet.show();
        sheet.toolbarPage()->box(CToolbarPageDlg::kLeftId)->click();
        QTest::mouseClick(sheet.cancelButton(), Qt::LeftButton);
        return sheet.result();
    };
    frame->runCommand(cmd::Environment);
    EXPECT_FALSE(stored("ShowLeftBar"));
    EXPECT_FALSE(stored("FlipSpeed"));
}

TEST(EnvironmentSheet, EachTabShowsItsPageAndHidesTheOthers)
{
    useBuiltSkin();
    CEnvironmentDlg sheet(EnvironmentValues{});
    sheet.show();
    EXPECT_TRUE(sheet.startPage()->isVisible());
    EXPECT_FALSE(sheet.languagePage()->isVisible());
    QTest::mouseClick(sheet.tab(CEnvironmentDlg::kToolbarTab), Qt::LeftButton);
    EXPECT_TRUE(sheet.toolbarPage()->isVisible());
    for (int other : {CEnvironmentDlg::kStartTab, CEnvironmentDlg::kFlipTab, CEnvironmentDlg::kLanguageTab})
        EXPECT_FALSE(sheet.page(other)->isVisible()) << other;
    EXPECT_EQ(sheet.tab(CEnvironmentDlg::kLanguageTab)->text(), "Lang.");
}

TEST(EnvironmentSheet, TheLanguagePageIsPaintedInItsOwnColour)
{
    useBuiltSkin();
    CEnvironmentDlg sheet(EnvironmentValues{});
    sheet.show();
    sheet.showTab(CEnvironmentDlg::kLanguageTab);
    const QImage page = sheet.languagePage()->grab().toImage();
    EXPECT_EQ(page.pixelColor(3, page.height() - 3), QColor(220, 140, 220));
}

TEST(EnvironmentSheet, OkHandsOverEveryPagesData)
{
    useBuiltSkin();
    EnvironmentValues initial;
    initial.flipSpeed = 20;
    initial.statusBar = 1;
    CEnvironmentDlg sheet(initial);
    std::optional<EnvironmentValues> applied;
    sheet.apply = [&](const EnvironmentValues& values) { applied = values; };
    sheet.show();
    sheet.flipSpeedPage()->trackBar()->setValue(35);
    sheet.toolbarPage()->box(CToolbarPageDlg::kStatusId)->click();
    sheet.languagePage()->radio(CLanguagePage::kChineseId)->click();
    QTest::mouseClick(sheet.okButton(), Qt::LeftButton);
    ASSERT_TRUE(applied);
    EnvironmentValues expected = initial;
    expected.flipSpeed = 35;
    expected.statusBar = 0;
    expected.language = 1;
    EXPECT_EQ(*applied, expected);
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
}

}  // namespace
