// The browser panel as far as it goes without the web engine: the frame's
// browser mode, the panel's layout and its rules. Pages are loaded by the
// browser test program.
#include "app/CBrowserDlg.h"
#include "app/CMainFrame.h"
#include "app/CWebBrowser2.h"

#include "book/CVersaleoDoc.h"
#include "book/Importers.h"
#include "library/DocumentPictures.h"
#include "library/Settings.h"
#include "style/CStyleButton.h"
#include "views/FontMetrics.h"
#include "CBookViews.h"

#include "BuiltSkin.h"
#include "TestSupport.h"

#include <QAction>
#include <QComboBox>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>

namespace {

using namespace browser;

TEST(BrowserPanelLayout, ButtonsStandThirtyNinePixelsApartFromTheRightEdge)
{
    EXPECT_EQ(buttonLeft(800, kClose), 761);
    EXPECT_EQ(buttonLeft(800, kRead), 722);
    EXPECT_EQ(buttonLeft(800, kForward), 683);
    EXPECT_EQ(buttonLeft(800, kBack), 644);
    EXPECT_EQ(buttonLeft(800, kRefresh), 605);
    EXPECT_EQ(buttonLeft(800, kStop), 566);
    EXPECT_EQ(buttonLeft(800, kGo), 527);
    EXPECT_EQ(buttonLeft(800, kAddressBox), -1);
}

TEST(BusyIndicator, EachRingTakesTheNextColourAndTheColoursMoveOnEveryStep)
{
    // Red, orange, green, cyan, blue, blue-violet, dark blue.
    const std::vector<uint32_t> table = {255, 42495, 65280, 16776960, 16711680, 14822282, 14811136};
    std::vector<uint32_t> first;
    for (int ring = 0; ring < kRings; ++ring)
        first.push_back(ringColour(0, ring));
    EXPECT_EQ(first, (std::vector<uint32_t>{table[1], table[2], table[3], table[4], table[5], table[6], table[0],
                                            table[1], table[2], table[3]}));
    // Ten rings later the next step starts where the last ring left off.
    const int next = nextBusyIndex(0);
    EXPECT_EQ(next, 3);
    EXPECT_EQ(ringColour(next, 0), table[4]);
}

TEST(ReadPageName, ComesFromTheTitlesLettersDigitsAndChineseCharacters)
{
    EXPECT_EQ(pageFileName(QStringLiteral("Chapter 1: Night")), QStringLiteral("Chapter1Night.html"));
    EXPECT_EQ(pageFileName(QStringLiteral("!?, ... -- ()")), QStringLiteral("tmp.html"));
    EXPECT_EQ(pageFileName(QString()), QStringLiteral("tmp.html"));
    EXPECT_EQ(pageFileName(QStringLiteral("第一章：夜 / Night")), QStringLiteral("第一章：夜Night.html"));
    // Accented letters are characters of two or four bytes too, and stay.
    EXPECT_EQ(pageFileName(QStringLiteral("Café ../../etc")), QStringLiteral("Caféetc.html"));
}

TEST(ReadPageName, ALongTitleIsCutOnWholeCharactersWithinANamesLimit)
{
    const QString name = pageFileName(QString(300, QChar(0x4E2D)));
    EXPECT_TRUE(name.endsWith(QStringLiteral(".html")));
    EXPECT_LE(name.toUtf8().size(), 255);
    EXPECT_EQ(name, QString(80, QChar(0x4E2D)) + QStringLiteral(".html"));
}

class BrowserMode : public testing::Test {
protected:
    static void SetUpTestSuite() { useBuiltSkin(); }
    BrowserMode()
    {
        doc.setMeasurerFactory([](const LOGFONT& font) { return std::make_shared<QtTextMeasurer>(font); });
        registerStandardImporters(doc);
        pictures.loadFromSettings(settings.read());
        frame = std::make_unique<CMainFrame>(doc, pictures, settings, 0);
        frame->showNotice = [](const QString&, const QString&) {};
        frame->resize(1000, 700);
        frame->show();
    }
    void openLongText()
    {
        std::string text;
        for (int i = 0; i < 400; ++i)
            text += "A sentence of the book that fills its pages. ";
        const std::string path = home / "long.txt";
        std::ofstream(path) << text;
        frame->DropFiles({QString::fromStdString(path)});
        doc.currentPage = doc.firstContentPage() + 1;
        frame->RefreshViews();
    }

    TestFolder home;
    ScopedEnv programHome{"VERSALEO_HOME", home.path()};
    QString settingsFile = QString::fromStdString(home / "settings.ini");
    SettingsStore settings{settingsFile};
    CVersaleoDoc doc;
    DocumentPictures pictures{std::string(PROGRAM_FOLDER) + "/picture"};
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(BrowserMode, TheInternetCommandLaysThePanelOverTheViewAndHidesTheWindowTabs)
{
    CBrowserDlg* panel = frame->browserPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_FALSE(panel->isVisible());  // created hidden with the frame
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    frame->runCommand(cmd::Internet);
    EXPECT_TRUE(frame->state().browserShown);
    EXPECT_TRUE(panel->isVisible());
    QWidget* views = frame->viewOnShow()->parentWidget();
    EXPECT_EQ(panel->geometry(), views->geometry());
    for (const int tab : {cmd::Window1, cmd::Window5, cmd::CloseWindow, cmd::HelpWindow})
        EXPECT_FALSE(frame->button(tab)->isVisible()) << tab;
    EXPECT_FALSE(frame->action(cmd::Internet)->isEnabled());
    EXPECT_FALSE(frame->action(cmd::Open)->isEnabled());
    // The keys go to the address box.
    EXPECT_TRUE(panel->addressBox()->hasFocus());

    // A bigger window keeps the panel over the view.
    frame->resize(1200, 800);
    QApplication::processEvents();
    EXPECT_EQ(panel->geometry(), views->geometry());
}

TEST_F(BrowserMode, CloseHidesThePanelAndTheFrameLeavesTheMode)
{
    frame->runCommand(cmd::Internet);
    CBrowserDlg* panel = frame->browserPanel();
    QTest::mouseClick(panel->button(kClose), Qt::LeftButton);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_FALSE(frame->state().browserShown);
    EXPECT_TRUE(frame->button(cmd::Window1)->isVisible());
    EXPECT_TRUE(frame->action(cmd::Internet)->isEnabled());
    // Esc closes it too.
    frame->runCommand(cmd::Internet);
    QTest::keyClick(panel->addressBox(), Qt::Key_Escape);
    EXPECT_FALSE(frame->state().browserShown);
}

TEST_F(BrowserMode, TheViewIgnoresKeysAndTheFrameDropsWhileTheBrowserShows)
{
    openLongText();
    const int pages = doc.pageCount();
    const int page = doc.currentPage;
    frame->runCommand(cmd::Internet);
    CBookView* view = frame->currentView();
    view->setFrameDelay(0);
    QTest::keyClick(view, Qt::Key_PageDown);
    QTest::keyClick(view, Qt::Key_End);
    EXPECT_EQ(doc.currentPage, page);
    const std::string other = home / "other.txt";
    std::ofstream(other) << "Another text.";
    frame->DropFiles({QString::fromStdString(other)});
    EXPECT_EQ(doc.pageCount(), pages);

    QTest::mouseClick(frame->browserPanel()->button(kClose), Qt::LeftButton);
    QTest::keyClick(view, Qt::Key_PageDown);
    EXPECT_NE(doc.currentPage, page);
}

TEST_F(BrowserMode, ReadWithNoPageDoesNothing)
{
    frame->runCommand(cmd::Internet);
    CBrowserDlg* panel = frame->browserPanel();
    int opened = 0;
    panel->openPage = [&opened](const QString&) { ++opened; };
    panel->tick();
    EXPECT_FALSE(panel->button(kRead)->isEnabled());
    EXPECT_FALSE(panel->button(kBack)->isEnabled());
    EXPECT_FALSE(panel->button(kForward)->isEnabled());
    panel->read();
    EXPECT_EQ(opened, 0);
    EXPECT_FALSE(panel->reading());
    EXPECT_TRUE(frame->state().browserShown);
    EXPECT_EQ(panel->control()->view(), nullptr);  // the engine never started
}

TEST_F(BrowserMode, GoWithAnEmptyAddressDoesNothing)
{
    frame->runCommand(cmd::Internet);
    CBrowserDlg* panel = frame->browserPanel();
    QTest::mouseClick(panel->button(kGo), Qt::LeftButton);
    EXPECT_TRUE(panel->addresses().empty());
    EXPECT_EQ(panel->control()->view(), nullptr);
    // Nor with blanks only: they would stay in the list, and cover every
    // later address that holds them.
    panel->addressBox()->setEditText(QStringLiteral("   "));
    QTest::mouseClick(panel->button(kGo), Qt::LeftButton);
    EXPECT_TRUE(panel->addresses().empty());
    EXPECT_EQ(panel->control()->view(), nullptr);
}


TEST_F(BrowserMode, TheRememberedAddressesFillTheBoxInOrder)
{
    frame.reset();
    std::ofstream(home / "favorite.xml") << "<root><item href=\"file:///one.html\"/><item href=\"\"/>"
                                            "<item href=\"file:///two.html\"/></root>";
    frame = std::make_unique<CMainFrame>(doc, pictures, settings, 0);
    QComboBox* box = frame->browserPanel()->addressBox();
    ASSERT_EQ(box->count(), 2);
    EXPECT_EQ(box->itemText(0), QStringLiteral("file:///one.html"));
    EXPECT_EQ(box->itemText(1), QStringLiteral("file:///two.html"));
    // The box starts empty, whatever it remembers.
    EXPECT_TRUE(box->currentText().isEmpty());
}

TEST_F(BrowserMode, AnUntouchedListIsNotRewritten)
{
    const std::string path = home / "favorite.xml";
    frame.reset();
    std::ofstream(path) << "<root><item href=\"file:///one.html\"/></root>";
    frame = std::make_unique<CMainFrame>(doc, pictures, settings, 0);
    frame.reset();
    std::ifstream in(path);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "<root><item href=\"file:///one.html\"/></root>");
}

}  // namespace
