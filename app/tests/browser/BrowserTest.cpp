// The browser with the web engine: local pages the tests write, loaded,
// remembered and read into books.
#include "app/CBrowserDlg.h"
#include "app/CMainFrame.h"
#include "app/CWebBrowser2.h"

#include "book/CVersaleoDoc.h"
#include "book/CodePage.h"
#include "book/Importers.h"
#include "library/DocumentPictures.h"
#include "library/Favourites.h"
#include "library/Settings.h"
#include "style/CStyleButton.h"
#include "views/FontMetrics.h"

#include "BuiltSkin.h"
#include "TestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <QLineEdit>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <fstream>

namespace {

using namespace browser;

// Long enough for the engine's first start on a busy machine.
constexpr int kPatience = 60000;

std::string withoutBlanks(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if (c != ' ' && c != '\r' && c != '\n' && c != '\t')
            out += c;
    }
    return out;
}

class Browser : public testing::Test {
protected:
    static void SetUpTestSuite() { useBuiltSkin(); }
    Browser()
    {
        doc.setMeasurerFactory([](const LOGFONT& font) { return std::make_shared<QtTextMeasurer>(font); });
        registerStandardImporters(doc);
        pictures.loadFromSettings(settings.read());
        makeFrame();
    }
    void makeFrame()
    {
        frame = std::make_unique<CMainFrame>(doc, pictures, settings, 0);
        frame->showNotice = [this](const QString& caption, const QString& text) {
            notices.push_back((caption + ": " + text).toStdString());
        };
        frame->resize(1000, 700);
        frame->show();
        panel = frame->browserPanel();
    }
    // A page of the test's own, as a file:// address.
    QString writePage(const std::string& name, const std::string& bytes)
    {
        const std::string path = pages / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return QUrl::fromLocalFile(QString::fromStdString(path)).toString();
    }
    // Types the address and presses Go; true when the page has loaded.
    bool go(const QString& address)
    {
        QSignalSpy ended(panel->control(), &CWebBrowser2::loadEnded);
        panel->addressBox()->setEditText(address);
        QTest::mouseClick(panel->button(kGo), Qt::LeftButton);
        if (!ended.wait(kPatience))
            return false;
        panel->tick();
        return panel->control()->Document() != nullptr;
    }
    // Presses Read and waits for the book; the path the page was opened from.
    QString read()
    {
        QString opened;
        const auto open = panel->openPage;
        panel->openPage = [&opened, &open, this](const QString& path) {
            opened = path;
            savedExisted = QFileInfo::exists(path);
            open(path);
        };
        QSignalSpy finished(panel, &CBrowserDlg::readFinished);
        QTest::mouseClick(panel->button(kRead), Qt::LeftButton);
        EXPECT_TRUE(finished.count() > 0 || finished.wait(kPatience));
        panel->openPage = open;
        return opened;
    }
    // The text of the book's pages in the window on show.
    std::string bookText() const
    {
        std::string text;
        for (const auto& page : doc.pages) {
            if (page->kind() != PageKind::BookPage)
                continue;
            for (const std::string& line : page->lines)
                text += line;
        }
        return text;
    }

    TestFolder home;
    TestFolder pages;
    ScopedEnv programHome{"VERSALEO_HOME", home.path()};
    QString settingsFile = QString::fromStdString(home / "settings.ini");
    SettingsStore settings{settingsFile};
    CVersaleoDoc doc;
    DocumentPictures pictures{std::string(PROGRAM_FOLDER) + "/picture"};
    std::unique_ptr<CMainFrame> frame;
    CBrowserDlg* panel = nullptr;
    std::vector<std::string> notices;
    bool savedExisted = false;
};

TEST_F(Browser, ALoadedUtf8PageIsReadIntoABookWithItsText)
{
    const std::string body = "Caf\xC3\xA9 na\xC3\xAFve, \xE4\xB8\xAD\xE6\x96\x87 and \xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1.";
    const QString address = writePage(
        "night.html", "<html><head><meta charset=\"utf-8\"><title>Chapter 1: Night</title>"
                      "<style>body { font-family: serif; margin: 2em } h1 { color: #6a1b7a } p { font-size: 18px }"
                      "</style></head><body><h1>Chapter 1: Night</h1><p>" + body + "</p><p>The second paragraph."
                      " The night was long, and the lamp burned low over the open book.</p>"
                      "<script>var x = 1;</script></body></html>");
    frame->runCommand(cmd::Internet);
    ASSERT_TRUE(go(address));
    const char* screenshots = std::getenv("VERSALEO_SCREENSHOTS");
    if (screenshots) {
        // Let the engine paint the page before the picture is taken.
        QTest::qWait(1500);
        frame->grab().save(QString(screenshots) + "/browser.png");
    }
    EXPECT_TRUE(panel->button(kRead)->isEnabled());
    EXPECT_EQ(panel->addresses(), std::vector<std::string>{address.toStdString()});

    const QString opened = read();
    EXPECT_EQ(QFileInfo(opened).fileName(), QStringLiteral("Chapter1Night.html"));
    EXPECT_EQ(QFileInfo(opened).absolutePath(), QFileInfo(QString::fromStdString(home.path())).absoluteFilePath());
    EXPECT_TRUE(savedExisted);
    EXPECT_FALSE(QFileInfo::exists(opened));  // deleted after the import
    EXPECT_FALSE(frame->state().browserShown);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(frame->title(), QStringLiteral("Chapter1Night.html - Versaleo"));
    const std::string text = withoutBlanks(bookText());
    EXPECT_NE(text.find(withoutBlanks(codepage::fromUtf8(body))), std::string::npos) << codepage::toUtf8(text);
    EXPECT_NE(text.find("Thesecondparagraph."), std::string::npos);
    if (screenshots) {
        // Open at the page's text.
        for (int i = 0; i < doc.pageCount(); ++i) {
            if (doc.pages[static_cast<size_t>(i)]->kind() == PageKind::BookPage) {
                doc.currentPage = i;
                break;
            }
        }
        frame->RefreshViews();
        frame->grab().save(QString(screenshots) + "/web-page-book.png");
    }
    EXPECT_EQ(text.find("color"), std::string::npos);
    EXPECT_TRUE(notices.empty());
}

TEST_F(Browser, APageTitledOnlyWithPunctuationIsReadAsTmpHtml)
{
    const QString address = writePage("dots.html", "<html><head><title>!?, ... --</title></head>"
                                                    "<body><p>Only words here.</p></body></html>");
    frame->runCommand(cmd::Internet);
    ASSERT_TRUE(go(address));
    const QString opened = read();
    EXPECT_EQ(QFileInfo(opened).fileName(), QStringLiteral("tmp.html"));
    EXPECT_FALSE(QFileInfo::exists(opened));
    EXPECT_NE(withoutBlanks(bookText()).find("Onlywordshere."), std::string::npos);
}

TEST_F(Browser, APageInGbkIsReadByItsTextNotItsOldDeclaration)
{
    // "中文页" in GBK, in a page that declares gb2312; the saved copy is UTF-8.
    const std::string title = "\xD6\xD0\xCE\xC4\xD2\xB3";
    const QString address = writePage(
        "gbk.html", "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">"
                    "<title>" + title + "</title></head><body><p>" + title + " Text</p></body></html>");
    frame->runCommand(cmd::Internet);
    ASSERT_TRUE(go(address));
    const QString opened = read();
    EXPECT_EQ(QFileInfo(opened).fileName(), QStringLiteral("中文页.html"));
    EXPECT_NE(withoutBlanks(bookText()).find(title + "Text"), std::string::npos) << codepage::toUtf8(bookText());
}

TEST_F(Browser, AReaderFileOfTheSameNameIsNeitherOverwrittenNorDeleted)
{
    std::ofstream(home / "Mine.html") << "the reader's own file";
    const QString address = writePage("mine.html", "<html><head><title>Mine</title></head><body>Page text</body></html>");
    frame->runCommand(cmd::Internet);
    ASSERT_TRUE(go(address));
    const QString opened = read();
    EXPECT_EQ(QFileInfo(opened).fileName(), QStringLiteral("Mine.html"));
    EXPECT_NE(QFileInfo(opened).absolutePath(), QFileInfo(QString::fromStdString(home.path())).absoluteFilePath());
    std::ifstream kept(home / "Mine.html");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "the reader's own file");
    EXPECT_NE(withoutBlanks(bookText()).find("Pagetext"), std::string::npos);
}

TEST_F(Browser, APageReadWhileTheHelpWindowShowsGoesToTheFirstWindow)
{
    const QString address = writePage("help.html", "<html><head><title>Aside</title></head><body>Aside</body></html>");
    frame->runCommand(cmd::Internet);
    doc.switchWindow(CVersaleoDoc::kHelpWindow);
    const int helpPages = doc.pageCount();
    ASSERT_TRUE(go(address));
    read();
    EXPECT_EQ(doc.activeWindow(), 1);
    EXPECT_NE(withoutBlanks(bookText()).find("Aside"), std::string::npos);
    doc.switchWindow(CVersaleoDoc::kHelpWindow);
    EXPECT_EQ(doc.pageCount(), helpPages);
}

TEST_F(Browser, TheRememberedAddressesKeepTheirFirstEntryFromRunToRun)
{
    const QString first = writePage("first.html", "<html><head><title>First</title></head><body>1</body></html>");
    const QString second = writePage("second.html", "<html><head><title>Second</title></head><body>2</body></html>");
    ASSERT_TRUE(favourites::save(favourites::filePath(home.path()), {first.toStdString()}));
    frame.reset();
    makeFrame();
    frame->runCommand(cmd::Internet);
    ASSERT_EQ(panel->addressBox()->count(), 1);
    ASSERT_TRUE(go(second));
    // Choosing a remembered page from the list goes there and adds nothing.
    QSignalSpy ended(panel->control(), &CWebBrowser2::loadEnded);
    emit panel->addressBox()->activated(0);
    EXPECT_EQ(panel->addressBox()->currentText(), first);
    ASSERT_TRUE(ended.wait(kPatience));
    EXPECT_EQ(panel->control()->Document()->url().toString(), first);
    frame.reset();

    EXPECT_EQ(favourites::load(favourites::filePath(home.path())),
              (std::vector<std::string>{first.toStdString(), second.toStdString()}));
    makeFrame();
    EXPECT_EQ(panel->addressBox()->count(), 2);
    EXPECT_EQ(panel->addressBox()->itemText(0), first);
}

TEST_F(Browser, EnterInTheAddressBoxGoesToANewAddress)
{
    const QString one = writePage("one.html", "<html><head><title>One</title></head><body>1</body></html>");
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    frame->runCommand(cmd::Internet);
    // Where the reader's keys go: the box took the focus when the browser showed.
    QWidget* typing = QApplication::focusWidget();
    ASSERT_NE(typing, nullptr);
    QSignalSpy ended(panel->control(), &CWebBrowser2::loadEnded);
    panel->addressBox()->setEditText(one);
    QTest::keyClick(typing, Qt::Key_Return);
    EXPECT_EQ(panel->addresses(), std::vector<std::string>{one.toStdString()});
    ASSERT_TRUE(ended.count() > 0 || ended.wait(kPatience));
    EXPECT_TRUE(panel->control()->Document());
}

TEST_F(Browser, EnterOnARememberedAddressGoesThereOnce)
{
    const QString one = writePage("one.html", "<html><head><title>One</title></head><body>1</body></html>");
    const QString two = writePage("two.html", "<html><head><title>Two</title></head><body>2</body></html>");
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    frame->runCommand(cmd::Internet);
    ASSERT_TRUE(go(one));
    ASSERT_TRUE(go(two));
    panel->addressBox()->setFocus();
    QWidget* typing = QApplication::focusWidget();
    ASSERT_NE(typing, nullptr);
    QSignalSpy navigations(panel->control(), &CWebBrowser2::beforeNavigate);
    QSignalSpy ended(panel->control(), &CWebBrowser2::loadEnded);
    panel->addressBox()->setEditText(one);
    QTest::keyClick(typing, Qt::Key_Return);
    ASSERT_TRUE(ended.wait(kPatience));
    EXPECT_TRUE(panel->control()->Document());
    EXPECT_EQ(navigations.count(), 1);
    EXPECT_EQ(panel->addresses().size(), 2u);
    EXPECT_TRUE(frame->state().browserShown);
    // Typing a remembered address and leaving the box goes nowhere.
    panel->addressBox()->setEditText(two);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    panel->button(kGo)->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(navigations.count(), 1);
}

TEST_F(Browser, ReadWhileTheNextPageLoadsDoesNothing)
{
    const QString one = writePage("one.html", "<html><head><title>One</title></head><body>1</body></html>");
    const QString two = writePage("two.html", "<html><head><title>Two</title></head><body>2</body></html>");
    frame->runCommand(cmd::Internet);
    ASSERT_TRUE(go(one));
    int opened = 0;
    panel->openPage = [&opened](const QString&) { ++opened; };
    // Read pressed as the next page starts loading, before the timer has
    // disabled the button.
    bool pressed = false;
    QObject::connect(panel->control()->view()->page(), &QWebEnginePage::loadingChanged, panel,
                     [this, &pressed](const QWebEngineLoadingInfo& info) {
                         if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus && !pressed) {
                             pressed = true;
                             panel->read();
                         }
                     });
    QSignalSpy ended(panel->control(), &CWebBrowser2::loadEnded);
    panel->addressBox()->setEditText(two);
    QTest::mouseClick(panel->button(kGo), Qt::LeftButton);
    ASSERT_TRUE(ended.wait(kPatience));
    ASSERT_TRUE(pressed);
    if (panel->reading()) {
        QSignalSpy finished(panel, &CBrowserDlg::readFinished);
        finished.wait(kPatience);
    }
    EXPECT_EQ(opened, 0);
    EXPECT_TRUE(frame->state().browserShown);
}

TEST_F(Browser, BlanksTypedAroundAnAddressAreNotRemembered)
{
    const QString one = writePage("one.html", "<html><head><title>One</title></head><body>1</body></html>");
    frame->runCommand(cmd::Internet);
    ASSERT_TRUE(go(QStringLiteral("  ") + one + QStringLiteral("  ")));
    EXPECT_EQ(panel->addresses(), std::vector<std::string>{one.toStdString()});
}

TEST_F(Browser, BackAndForwardFollowTheHistory)
{
    const QString one = writePage("one.html", "<html><head><title>One</title></head><body>1</body></html>");
    const QString two = writePage("two.html", "<html><head><title>Two</title></head><body>2</body></html>");
    frame->runCommand(cmd::Internet);
    ASSERT_TRUE(go(one));
    EXPECT_FALSE(panel->button(kBack)->isEnabled());
    ASSERT_TRUE(go(two));
    EXPECT_TRUE(panel->button(kBack)->isEnabled());
    EXPECT_FALSE(panel->button(kForward)->isEnabled());
    QSignalSpy ended(panel->control(), &CWebBrowser2::loadEnded);
    QTest::mouseClick(panel->button(kBack), Qt::LeftButton);
    ASSERT_TRUE(ended.wait(kPatience));
    panel->tick();
    EXPECT_EQ(panel->control()->Document()->url().toString(), one);
    EXPECT_TRUE(panel->button(kForward)->isEnabled());
}

}  // namespace

#if defined(__SANITIZE_ADDRESS__)
namespace {

// The engine's own mismatched deletes are let through; ours are not.
TEST(BrowserTestSanitizers, AMismatchedSizedDeleteOutsideTheEngineIsStillReported)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            void* volatile block = ::operator new(88);
            ::operator delete(block, 24);
        },
        "new-delete-type-mismatch");
}

}  // namespace
#endif
