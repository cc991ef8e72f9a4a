#include "app/CEnvironmentDlg.h"
#include "app/CMainFrame.h"
#include "app/COneTipDlg.h"
#include "app/CSearchDlg.h"
#include "app/UiText.h"

#include "book/CVersaleoDoc.h"
#include "library/DocumentPictures.h"
#include "library/Settings.h"
#include "style/CStyleButton.h"
#include "CBookViews.h"

#include "BuiltSkin.h"
#include "TestSupport.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QSettings>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

// The first line of the first book page: a hit on the next line lies past it.
const std::string kFirstLine = "The night was calm and still over the sleeping town, ";

// A frame over a book of three book leaves, the search dialog run by the test.
class SearchFrame : public testing::Test {
protected:
    static void SetUpTestSuite() { useBuiltSkin(); }
    SearchFrame()
    {
        addLeaf(PageKind::CoverPage, {}, {});
        addLeaf(PageKind::BookPage, {kFirstLine, "and the moon rose.\r\n"}, {"Nothing here.\r\n"});
        addLeaf(PageKind::NotePage, {"a moon in the notes\r\n"}, {});
        addLeaf(PageKind::BookPage, {"A second moon ", "and a third moon.\r\n"}, {"Morning.\r\n"});
        addLeaf(PageKind::CoverPage, {}, {});
        frame = std::make_unique<CMainFrame>(doc, pictures, settings, 0);
        frame->showNotice = [this](const QString& caption, const QString& text) {
            notices.push_back((caption + ": " + text).toStdString());
        };
        for (CBookView* view : {frame->currentView(), otherView()})
            view->setFrameDelay(0);
        frame->runDialog = [this](QDialog& dialog) {
            if (auto* sheet = dynamic_cast<CEnvironmentDlg*>(&dialog)) {
                sheet->show();
                sheet->languagePage()->radio(language == 1 ? CLanguagePage::kChineseId : CLanguagePage::kEnglishId)->click();
                QTest::mouseClick(sheet->okButton(), Qt::LeftButton);
                return sheet->result();
            }
            auto* search = dynamic_cast<CSearchDlg*>(&dialog);
            EXPECT_NE(search, nullptr);
            if (!search)
                return 0;
            search->show();
            steps(*search);
            return search->result();
        };
        frame->RefreshViews();
        // The frame may put index pages in front: the pages are found by their text.
        first = pageOf("The night");
        second = pageOf("A second");
        morning = pageOf("Morning.");
    }
    int pageOf(const std::string& start) const
    {
        for (int i = 0; i < doc.pageCount(); ++i) {
            const auto& lines = doc.pages[static_cast<size_t>(i)]->lines;
            if (!lines.empty() && lines.front().rfind(start, 0) == 0)
                return i;
        }
        return -1;
    }
    void addLeaf(PageKind kind, std::vector<std::string> left, std::vector<std::string> right)
    {
        for (auto* lines : {&left, &right}) {
            auto page = doc.createPage(kind);
            page->lines = *lines;
            page->rebuildCells();
            doc.pages.push_back(std::move(page));
        }
    }
    CBookView* otherView()
    {
        frame->runCommand(cmd::OnePage);
        CBookView* one = frame->currentView();
        frame->runCommand(cmd::TwoPage);
        return one;
    }
    void search(std::function<void(CSearchDlg&)> what)
    {
        steps = std::move(what);
        frame->updateCommands();
        frame->runCommand(cmd::Search);
    }
    static void type(CSearchDlg& dialog, const char* text)
    {
        dialog.textEdit()->clear();
        QTest::keyClicks(dialog.textEdit(), QString::fromUtf8(text));
    }
    int highlighted(int page) const { return doc.pages[static_cast<size_t>(page)]->highlightedLine(); }

    TestFolder dir;
    SettingsStore settings{QString::fromStdString(dir / "settings.ini")};
    CVersaleoDoc doc;
    DocumentPictures pictures{std::string(PROGRAM_FOLDER) + "/picture"};
    std::unique_ptr<CMainFrame> frame;
    std::function<void(CSearchDlg&)> steps;
    std::vector<std::string> notices;
    int first = -1, second = -1, morning = -1;
    int language = 0;  // what the environment sheet picks when the frame opens it
};

TEST_F(SearchFrame, NextMovesTheViewToTheHitAndMarksItsLine)
{
    search([this](CSearchDlg& dialog) {
        type(dialog, "MOON");
        QTest::mouseClick(dialog.nextButton(), Qt::LeftButton);
        EXPECT_EQ(doc.currentPage, first);
        EXPECT_EQ(highlighted(first), 2);
        EXPECT_EQ(dialog.nextFrom(), kFirstLine.size() + 8 + 4);
        // The note page's moon is passed over; the next book page has two.
        QTest::mouseClick(dialog.nextButton(), Qt::LeftButton);
        EXPECT_EQ(doc.currentPage, second);
        EXPECT_EQ(highlighted(second), 1);
        EXPECT_EQ(highlighted(first), 0) << "one marked line at a time";
        QTest::mouseClick(dialog.nextButton(), Qt::LeftButton);
        EXPECT_EQ(doc.currentPage, second);
        EXPECT_EQ(highlighted(second), 2);
        EXPECT_TRUE(notices.empty());
        QTest::mouseClick(dialog.nextButton(), Qt::LeftButton);
        EXPECT_EQ(notices, std::vector<std::string>{"Notice: Sorry! Don't find your searching content."});
        EXPECT_EQ(doc.currentPage, second) << "the view stays";
        QTest::mouseClick(dialog.closeSearchButton(), Qt::LeftButton);
    });
    EXPECT_EQ(highlighted(second), 0);
}

TEST_F(SearchFrame, MatchCaseKeepsCapitalsFromSmallLetters)
{
    search([this](CSearchDlg& dialog) {
        type(dialog, "Morning");
        dialog.matchCaseBox()->click();
        QTest::mouseClick(dialog.nextButton(), Qt::LeftButton);
        EXPECT_EQ(doc.currentPage, morning);
        type(dialog, "MORNING");
        QTest::mouseClick(dialog.nextButton(), Qt::LeftButton);
        EXPECT_EQ(notices.size(), 1u);
    });
}

TEST_F(SearchFrame, PreviousWalksBackAndFindsNothingBeforeTheFirstHit)
{
    doc.currentPage = morning;
    search([this](CSearchDlg& dialog) {
        type(dialog, "moon");
        QTest::mouseClick(dialog.previousButton(), Qt::LeftButton);
        EXPECT_EQ(doc.currentPage, second);
        EXPECT_EQ(dialog.previousBefore(), 14u + 12);
        QTest::mouseClick(dialog.previousButton(), Qt::LeftButton);
        EXPECT_EQ(dialog.previousBefore(), 9u);
        QTest::mouseClick(dialog.previousButton(), Qt::LeftButton);
        EXPECT_EQ(doc.currentPage, first);
        QTest::mouseClick(dialog.previousButton(), Qt::LeftButton);
        EXPECT_EQ(notices.size(), 1u);
        EXPECT_EQ(doc.currentPage, first);
    });
}

TEST_F(SearchFrame, TurningBackOrForwardGoesToTheNeighbouringHitNotTheSameOneAgain)
{
    doc.currentPage = second;
    search([this](CSearchDlg& dialog) {
        type(dialog, "moon");
        QTest::mouseClick(dialog.nextButton(), Qt::LeftButton);
        QTest::mouseClick(dialog.nextButton(), Qt::LeftButton);
        ASSERT_EQ(highlighted(second), 2);
        QTest::mouseClick(dialog.previousButton(), Qt::LeftButton);
        EXPECT_EQ(doc.currentPage, second);
        EXPECT_EQ(highlighted(second), 1) << "Previous after Next shows the hit before";
        QTest::mouseClick(dialog.nextButton(), Qt::LeftButton);
        EXPECT_EQ(highlighted(second), 2) << "Next after Previous shows the hit after";
        QTest::mouseClick(dialog.previousButton(), Qt::LeftButton);
        QTest::mouseClick(dialog.previousButton(), Qt::LeftButton);
        EXPECT_EQ(doc.currentPage, first);
        QTest::mouseClick(dialog.nextButton(), Qt::LeftButton);
        EXPECT_EQ(doc.currentPage, second);
        EXPECT_EQ(highlighted(second), 1);
        EXPECT_TRUE(notices.empty());
    });
}

TEST_F(SearchFrame, ChangingTheTextStartsAgainFromTheTopOfThePage)
{
    doc.currentPage = second;
    search([this](CSearchDlg& dialog) {
        type(dialog, "moon");
        QTest::mouseClick(dialog.nextButton(), Qt::LeftButton);
        QTest::mouseClick(dialog.nextButton(), Qt::LeftButton);
        EXPECT_EQ(highlighted(second), 2);
        EXPECT_GT(dialog.nextFrom(), 0u);
        type(dialog, "second");
        EXPECT_EQ(dialog.nextFrom(), 0u);
        EXPECT_EQ(dialog.previousBefore(), 0u);
        QTest::mouseClick(dialog.nextButton(), Qt::LeftButton);
        EXPECT_EQ(doc.currentPage, second);
        EXPECT_EQ(highlighted(second), 1);
    });
}

TEST_F(SearchFrame, OnePageModeMarksTheWideLine)
{
    frame->runCommand(cmd::OnePage);
    search([this](CSearchDlg& dialog) {
        type(dialog, "rose");
        QTest::keyClick(dialog.textEdit(), Qt::Key_Return);
        EXPECT_EQ(doc.currentPage, first);
        EXPECT_EQ(highlighted(first), 1) << "the two lines are one wide line";
    });
}

TEST_F(SearchFrame, TheSearchButtonWaitsForABookWithContent)
{
    frame->updateCommands();
    EXPECT_TRUE(frame->button(cmd::Search)->isEnabled());
    doc.pages.clear();
    frame->updateCommands();
    EXPECT_FALSE(frame->button(cmd::Search)->isEnabled());
}

TEST_F(SearchFrame, HelpWhileTheHelpWindowIsOpenDoesNothing)
{
    frame->runCommand(cmd::Help);
    ASSERT_TRUE(frame->state().helpWindowOpen);
    ASSERT_EQ(doc.activeWindow(), CVersaleoDoc::kHelpWindow);
    doc.currentPage = 4;
    frame->runCommand(cmd::Window1);
    frame->runCommand(cmd::Help);
    EXPECT_EQ(doc.activeWindow(), 1);
    frame->runCommand(cmd::HelpWindow);
    EXPECT_EQ(doc.currentPage, 4) << "the help book was not opened again";
    EXPECT_TRUE(notices.empty());
}

TEST(HelpBook, TheChineseInterfaceWithOnlyTheEnglishBookNamesTheChineseFile)
{
    useBuiltSkin();
    TestFolder home;
    std::filesystem::copy(std::string(PROGRAM_FOLDER) + "/picture", home / "picture");
    std::filesystem::copy_file(std::string(PROGRAM_FOLDER) + "/help_en.vl", home / "help_en.vl");
    ScopedEnv program("VERSALEO_HOME", home.path());
    SettingsStore settings(QString::fromStdString(home / "settings.ini"));
    CVersaleoDoc doc;
    DocumentPictures pictures(home / "picture");
    CMainFrame frame(doc, pictures, settings, 1);
    std::vector<std::string> notices;
    frame.showNotice = [&](const QString& caption, const QString& text) {
        notices.push_back((caption + ": " + text).toStdString());
    };
    frame.updateCommands();
    frame.runCommand(cmd::Help);
    EXPECT_EQ(notices, std::vector<std::string>{"Error: Fail to open help_ch.vl file. The file maybe lost"});
    EXPECT_FALSE(frame.state().helpWindowOpen);
    EXPECT_EQ(doc.activeWindow(), 1);
}

// The tip dialog over a tip file the test writes.
class OneTip : public testing::Test {
protected:
    static void SetUpTestSuite() { useBuiltSkin(); }
    void writeTips(const std::string& bytes) { std::ofstream(tipFile, std::ios::binary) << bytes; }
    int storedInt(const char* key) const
    {
        return QSettings(settingsFile, QSettings::IniFormat).value(QString("Settings/") + key, -99).toInt();
    }
    TestFolder dir;
    std::string tipFile = dir / "OneTip_en.txt";
    QString settingsFile = QString::fromStdString(dir / "settings.ini");
    SettingsStore settings{settingsFile};
};

TEST_F(OneTip, ThreeTipsAfterTheLastShowTheFirstAndWriteZero)
{
    writeTips("first\nsecond\nthird\n");
    AppSettings values = settings.read();
    values.oneTipIndex = 2;
    settings.write(values);
    COneTipDlg dialog(tipFile, settings);
    dialog.show();
    EXPECT_EQ(dialog.tip(), "first");
    QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
    EXPECT_EQ(storedInt("OneTipIndex"), 0);
    EXPECT_EQ(storedInt("ShowOneTipDlg"), 1);
}

TEST_F(OneTip, NextTipWrapsToTheFirstAndEmptyLinesAreTips)
{
    writeTips("one\r\n\r\nthree");
    COneTipDlg dialog(tipFile, settings);
    dialog.show();
    EXPECT_EQ(dialog.okButton()->text(), "Next Tip");
    EXPECT_EQ(dialog.cancelButton()->text(), "Exit");
    std::vector<std::string> shown{dialog.tip().toStdString()};
    for (int i = 0; i < 3; ++i) {
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        shown.push_back(dialog.tip().toStdString());
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"one", "", "three", "one"}));
    EXPECT_TRUE(dialog.isVisible());
    dialog.showBox()->click();
    QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
    EXPECT_EQ(storedInt("OneTipIndex"), 0);
    EXPECT_EQ(storedInt("ShowOneTipDlg"), 0);
}

TEST_F(OneTip, ALineOfMoreThan1023BytesIsCutAtACharacterAndItsRestIsNoTip)
{
    // 1022 bytes, then 中 across the limit, then more of the same line.
    const std::string longLine = std::string(1022, 'x') + "\xD6\xD0" + "tail";
    writeTips(longLine + "\nnext\n");
    const std::vector<std::string> tips = onetip::readTips(tipFile);
    ASSERT_EQ(tips.size(), 2u);
    EXPECT_EQ(tips[0], std::string(1022, 'x'));
    EXPECT_EQ(tips[1], "next");
    writeTips(std::string(1023, 'y') + "z\n");
    EXPECT_EQ(onetip::readTips(tipFile).front(), std::string(1023, 'y'));
    writeTips(std::string(100000, 'q') + "\r\nlast");
    EXPECT_EQ(onetip::readTips(tipFile), (std::vector<std::string>{std::string(1023, 'q'), "last"}));
    writeTips(std::string(1023, 'r') + "\r\n");
    EXPECT_EQ(onetip::readTips(tipFile), std::vector<std::string>{std::string(1023, 'r')});
}

TEST_F(OneTip, AMissingFileGivesAnEmptyTipAndWritesZero)
{
    COneTipDlg dialog(dir / "none.txt", settings);
    dialog.show();
    EXPECT_EQ(dialog.tip(), "");
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.tip(), "");
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(storedInt("OneTipIndex"), 0);
}

TEST_F(OneTip, AChineseTipReadsFromTheCodePage)
{
    writeTips("\xC4\xFA\xBA\xC3\n");  // 您好
    COneTipDlg dialog(tipFile, settings);
    EXPECT_EQ(dialog.tip(), QString::fromUtf8("您好"));
}

TEST(OneTipRules, TheIndexAfterTheLastAndAnyStrayIndexIsTheFirst)
{
    const std::tuple<int, int, int> cases[] = {{-1, 3, 0}, {0, 3, 1}, {1, 3, 2}, {2, 3, 0}, {7, 3, 0}, {-6, 3, 0},
                                              {-1, 0, 0}, {2147483647, 3, 0}};
    for (const auto& [index, count, next] : cases)
        EXPECT_EQ(onetip::nextIndex(index, count), next) << index << " of " << count;
    EXPECT_EQ(onetip::tipFile("/p", 1), "/p/OneTip_ch.txt");
    EXPECT_EQ(onetip::tipFile("/p", 0), "/p/OneTip_en.txt");
}

}  // namespace

namespace {

// Pictures of the sheet's four pages, the search dialog on a hit and the tip
// dialog, in English and in Chinese.
TEST_F(SearchFrame, Screenshots)
{
    const char* out = std::getenv("VERSALEO_SCREENSHOTS");
    if (!out)
        GTEST_SKIP() << "VERSALEO_SCREENSHOTS names the folder for the pictures";
    for (const int chosen : {0, 1}) {
        // The frame changes its language as the reader would.
        language = chosen;
        frame->updateCommands();
        frame->runCommand(cmd::Environment);
        ASSERT_EQ(ui::language(), language);
        const QString suffix = language == 1 ? "-ch" : "-en";
        EnvironmentValues values;
        values.flipSpeed = 30;
        values.language = language;
        CEnvironmentDlg sheet(values);
        sheet.show();
        const std::pair<int, const char*> tabs[] = {{CEnvironmentDlg::kStartTab, "start"},
                                                    {CEnvironmentDlg::kFlipTab, "flip"},
                                                    {CEnvironmentDlg::kToolbarTab, "toolbar"},
                                                    {CEnvironmentDlg::kLanguageTab, "language"}};
        for (const auto& [tab, name] : tabs) {
            sheet.showTab(tab);
            EXPECT_TRUE(sheet.grab().save(QString(out) + "/environment-" + name + suffix + ".png"));
        }
        frame->resize(900, 640);
        frame->show();
        doc.currentPage = 0;
        search([&](CSearchDlg& dialog) {
            type(dialog, language == 1 ? "moon" : "MOON");
            QTest::mouseClick(dialog.nextButton(), Qt::LeftButton);
            EXPECT_TRUE(dialog.grab().save(QString(out) + "/search-dialog" + suffix + ".png"));
            QImage shot = frame->grab().toImage();
            QPainter painter(&shot);
            painter.drawImage(120, frame->height() - dialog.height() - 90, dialog.grab().toImage());
            painter.end();
            EXPECT_TRUE(shot.save(QString(out) + "/search-on-a-hit" + suffix + ".png"));
            QTest::mouseClick(dialog.closeSearchButton(), Qt::LeftButton);
        });
        COneTipDlg tip(onetip::tipFile(PROGRAM_FOLDER, language), settings);
        tip.show();
        EXPECT_TRUE(tip.grab().save(QString(out) + "/one-tip" + suffix + ".png"));
    }
    language = 0;
    frame->runCommand(cmd::Environment);
}

}  // namespace
