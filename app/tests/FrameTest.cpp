#include "app/CMainFrame.h"
#include "app/CSkinDialog.h"
#include "app/FileDialogs.h"

#include "book/BookFile.h"
#include "book/CVersaleoDoc.h"
#include "book/Importers.h"
#include "book/TextLayout.h"
#include "library/DocumentPictures.h"
#include "library/Settings.h"
#include "CBookViews.h"
#include "style/CStyle.h"
#include "style/CStyleButton.h"
#include "views/FontMetrics.h"

#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QTest>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QFileDialog>
#include <QSettings>

#include "BuiltSkin.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>

namespace {

class Frame : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        useBuiltSkin();
        installFontSubstitutions();
    }
    Frame()
    {
        doc.setMeasurerFactory([](const LOGFONT& font) { return std::make_shared<QtTextMeasurer>(font); });
        registerStandardImporters(doc);
        pictures.loadFromSettings(settings.read());
        frame = std::make_unique<CMainFrame>(doc, pictures, settings, 0);
        frame->showNotice = [this](const QString& caption, const QString& text) {
            notices.push_back((caption + ": " + text).toStdString());
        };
        frame->askQuestion = [this](const QString& caption, const QString& text) {
            questions.push_back((caption + ": " + text).toStdString());
            return discard;
        };
        frame->askSaveAsPath = [this] {
            ++saveAsAsked;
            return saveAsPath;
        };
        for (CBookView* view : {frame->currentView(), otherView()})
            view->setFrameDelay(0);
    }
    CBookView* otherView()
    {
        frame->runCommand(cmd::OnePage);
        CBookView* one = frame->currentView();
        frame->runCommand(cmd::TwoPage);
        return one;
    }
    void showActive()
    {
        frame->show();
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    }
    // A book whose right page is a note page, its editors open and a line typed.
    CBookPage& typeIntoANoteLine(const char* typed)
    {
        openText(1, "A book with a note page.\n");
        int c = doc.firstContentPage();
        c += c % 2;  // a right page
        auto note = doc.createPage(PageKind::NotePage);
        note->lines = {"first thought"};
        CBookPage& page = *note;
        doc.pages.insert(doc.pages.begin() + c, std::move(note));
        doc.currentPage = c;
        doc.modified = 1;
        showActive();
        frame->RefreshViews();
        CBookView* view = frame->currentView();
        view->ensureComposed();
        const Rect right = view->painter().pageRects().right;
        QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier,
                          QPoint(right.left + 100, view->painter().geometryOf(page).lineTops[1] + 4));
        EXPECT_EQ(page.lineEditors.size(), 24u);
        QTest::keyClicks(QApplication::focusWidget(), typed);
        return page;
    }
    std::string fileBytes(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void openText(int window, const std::string& text)
    {
        doc.switchWindow(window);
        const std::string path = dir / ("book" + std::to_string(window) + ".txt");
        std::ofstream(path) << text;
        doc.openPath(path);
    }

    TestFolder dir;
    QString settingsFile = QString::fromStdString(dir / "settings.ini");
    SettingsStore settings{settingsFile};
    // The profile as another program would find it.
    QSettings stored{settingsFile, QSettings::IniFormat};
    CVersaleoDoc doc;
    DocumentPictures pictures{std::string(PROGRAM_FOLDER) + "/picture"};
    std::unique_ptr<CMainFrame> frame;
    std::vector<std::string> notices;
    std::vector<std::string> questions;
    bool discard = false;  // the answer to "Discard the changes of window n?"
    QString saveAsPath;    // what the reader picks in Save As; empty: cancelled
    int saveAsAsked = 0;
};

TEST_F(Frame, TheCurrentWindowIsCheckedAndItsTabDisabled)
{
    doc.switchWindow(3);
    frame->updateCommands();
    EXPECT_TRUE(frame->action(cmd::Window3)->isChecked());
    EXPECT_FALSE(frame->action(cmd::Window3)->isEnabled());
    EXPECT_FALSE(frame->button(cmd::Window3)->isEnabled());
    EXPECT_TRUE(frame->button(cmd::Window1)->isEnabled());
    frame->runCommand(cmd::Window1);
    EXPECT_EQ(doc.activeWindow(), 1);
}

TEST_F(Frame, SelectionModesReachTheViewsAndLeaveNothingSelected)
{
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += "A line of words that the reader selects. ";
    openText(1, text);
    doc.currentPage = doc.firstContentPage();
    while (doc.currentPage < doc.pageCount() && doc.pages[static_cast<size_t>(doc.currentPage)]->kind() != PageKind::BookPage)
        ++doc.currentPage;
    ASSERT_LT(doc.currentPage, doc.pageCount());
    frame->updateCommands();
    ASSERT_TRUE(frame->action(cmd::SelectText)->isEnabled());
    frame->runCommand(cmd::AddTag);
    frame->runCommand(cmd::SelectText);
    CBookView* view = frame->currentView();
    EXPECT_TRUE(view->modes().textSelection);
    EXPECT_FALSE(view->modes().tagPending);  // a selection mode drops a pending tag
    EXPECT_TRUE(frame->action(cmd::SelectText)->isChecked());
    EXPECT_FALSE(frame->action(cmd::ContinueLeft)->isEnabled());
    view->selectAll();
    CBookPage& page = *doc.pages[static_cast<size_t>(doc.currentPage)];
    ASSERT_TRUE(std::any_of(page.cells().begin(), page.cells().end(), [](const CharCell& c) { return c.selected; }));
    frame->runCommand(cmd::CancelSelect);
    EXPECT_FALSE(view->modes().textSelection);
    EXPECT_TRUE(std::none_of(page.cells().begin(), page.cells().end(), [](const CharCell& c) { return c.selected; }));
    EXPECT_TRUE(frame->action(cmd::ContinueLeft)->isEnabled());
    // The selection popup copies through the frame's commands.
    frame->runCommand(cmd::SelectText);
    const std::unique_ptr<QMenu> popup = frame->pagePopup(38);
    ASSERT_EQ(popup->actions().size(), 3);
    EXPECT_EQ(popup->actions()[0]->text(), "Copoy");
    popup->actions()[1]->trigger();  // Select All
    popup->actions()[0]->trigger();
    EXPECT_FALSE(QGuiApplication::clipboard()->text().isEmpty());
    popup->actions()[2]->trigger();
    EXPECT_FALSE(view->modes().textSelection);
    // The mark popup deletes and colours.
    const std::unique_ptr<QMenu> markPopup = frame->pagePopup(36);
    EXPECT_TRUE(markPopup->actions()[0]->isEnabled());
    EXPECT_TRUE(markPopup->actions()[1]->isEnabled());
    // Mark mode toggles with its command.
    frame->runCommand(cmd::AddMark);
    EXPECT_TRUE(view->modes().markMode);
    EXPECT_EQ(frame->button(cmd::AddMark)->text(), "Cancel");
    frame->runCommand(cmd::AddMark);
    EXPECT_FALSE(view->modes().markMode);
    EXPECT_EQ(frame->button(cmd::AddMark)->text(), "Mark");
    // So do the selection buttons.
    frame->runCommand(cmd::SelectText);
    EXPECT_EQ(frame->button(cmd::SelectText)->text(), "Cancel");
    EXPECT_EQ(frame->button(cmd::SelectBitmap)->text(), "Bitmap");
    frame->runCommand(cmd::SelectText);
    EXPECT_EQ(frame->button(cmd::SelectText)->text(), "Text");
    frame->runCommand(cmd::SelectBitmap);
    EXPECT_EQ(frame->button(cmd::SelectBitmap)->text(), "Cancel");
    frame->runCommand(cmd::CancelSelect);
    EXPECT_EQ(frame->button(cmd::SelectBitmap)->text(), "Bitmap");
}

TEST_F(Frame, TheClipWindowTakesTheBooksShape)
{
    openText(1, std::string(4000, 'w') + " words");
    frame->show();
    frame->runCommand(cmd::ClipWindow);
    ASSERT_TRUE(frame->state().clipWindow);
    CBookView* view = frame->currentView();
    view->repaint();
    const QRegion shape = frame->mask();
    ASSERT_FALSE(shape.isEmpty());
    const QPoint origin = view->mapTo(frame.get(), QPoint(0, 0));
    const Rect right = view->painter().pageRects().right;
    EXPECT_TRUE(shape.contains(origin + QPoint(right.left + 50, right.top + 50)));
    EXPECT_FALSE(shape.contains(origin + QPoint(4, 4)));  // the desktop shows there
    frame->runCommand(cmd::ClipWindow);
    EXPECT_TRUE(frame->mask().isEmpty());
}

TEST_F(Frame, ClosingAsksForExactlyTheModifiedWindows)
{
    openText(2, "The second window's book.\n");
    openText(4, "The fourth window's book.\n");
    doc.switchWindow(1);
    discard = true;
    frame->show();
    EXPECT_TRUE(frame->close());
    EXPECT_EQ(notices, (std::vector<std::string>{"Window2: Please save window2's content before you quit the program!",
                                                 "Window4: Please save window4's content before you quit the program!"}));
    EXPECT_EQ(saveAsAsked, 2);
    // Each cancelled Save As asks before the book goes.
    EXPECT_EQ(questions, (std::vector<std::string>{"Sure: Discard the changes of window 2?",
                                                   "Sure: Discard the changes of window 4?"}));
    EXPECT_EQ(stored.value("Settings/WindowWidth").toInt(), frame->width());
}

TEST_F(Frame, CancellingSaveAsOnCloseKeepsTheBook)
{
    openText(2, "The second window's book.\n");
    openText(4, "The fourth window's book.\n");
    doc.switchWindow(1);
    frame->show();
    const int pages = doc.pageCount();
    // The window manager's close (and Exit, and Alt+F4) is refused...
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(questions.size(), 1u);
    // ...and the reader sees the book kept, untouched.
    EXPECT_EQ(doc.activeWindow(), 2);
    EXPECT_EQ(doc.modified, 1);
    doc.switchWindow(4);
    EXPECT_EQ(doc.modified, 1);
    EXPECT_GT(doc.pageCount(), pages);

    // Close Window keeps it the same way; only a Yes lets it go.
    frame->runCommand(cmd::Window2);
    frame->runCommand(cmd::CloseWindow);
    EXPECT_EQ(doc.modified, 1);
    EXPECT_GT(doc.pageCount(), 4);
    discard = true;
    frame->runCommand(cmd::CloseWindow);
    EXPECT_EQ(doc.pageCount(), 4);
    EXPECT_EQ(doc.modified, 0);
    EXPECT_EQ(questions, (std::vector<std::string>{"Sure: Discard the changes of window 2?",
                                                   "Sure: Discard the changes of window 2?",
                                                   "Sure: Discard the changes of window 2?"}));
}

TEST_F(Frame, ClosingWhileFlippingStopsTheFlipBeforeAsking)
{
    std::string text;
    for (int i = 0; i < 400; ++i)
        text += "A line of words to fill many pages of the book. ";
    openText(1, text);
    doc.currentPage = doc.firstContentPage();
    frame->show();
    frame->runCommand(cmd::ContinueLeft);
    ASSERT_TRUE(frame->state().continuousFlip);
    // The window manager's close comes while the pages turn: the reader is
    // asked about a book that stands still.
    bool flippingWhileAsked = true;
    frame->showNotice = [this, &flippingWhileAsked](const QString&, const QString&) {
        flippingWhileAsked = frame->state().continuousFlip;
    };
    EXPECT_FALSE(frame->close());
    EXPECT_FALSE(flippingWhileAsked);
    EXPECT_FALSE(frame->state().continuousFlip);
    EXPECT_EQ(doc.modified, 1);
}

TEST_F(Frame, ClosingEndsTheSelectionBeforeWalkingTheWindows)
{
    openText(2, "The second window's book, modified.\n");
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += "A line of words that the reader selects. ";
    openText(1, text);
    doc.modified = 0;
    doc.currentPage = doc.firstContentPage();
    while (doc.pages[static_cast<size_t>(doc.currentPage)]->kind() != PageKind::BookPage)
        ++doc.currentPage;
    CBookPage& page = *doc.pages[static_cast<size_t>(doc.currentPage)];
    frame->show();
    frame->RefreshViews();
    frame->runCommand(cmd::SelectText);
    frame->currentView()->selectAll();
    ASSERT_TRUE(std::any_of(page.cells().begin(), page.cells().end(), [](const CharCell& c) { return c.selected; }));
    // Window 2's book is kept: the close stops there, away from the selection.
    EXPECT_FALSE(frame->close());
    ASSERT_EQ(doc.activeWindow(), 2);
    EXPECT_FALSE(frame->currentView()->modes().textSelection);
    frame->updateCommands();
    EXPECT_TRUE(frame->action(cmd::Window1)->isEnabled());
    EXPECT_TRUE(std::none_of(page.cells().begin(), page.cells().end(), [](const CharCell& c) { return c.selected; }));
}

TEST(FrameQuestions, EnterOnDiscardKeepsTheBook)
{
    useBuiltSkin();
    TestFolder dir;
    SettingsStore settings{QString::fromStdString(dir / "settings.ini")};
    CVersaleoDoc doc;
    DocumentPictures pictures{std::string(PROGRAM_FOLDER) + "/picture"};
    CMainFrame frame(doc, pictures, settings, 0);
    frame.show();
    // The reader who presses Enter through the close gives nothing up:
    // "No" is the answer in focus.
    bool answered = false;
    QTimer::singleShot(0, [&answered] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box || !QTest::qWaitForWindowActive(box))
            return;
        answered = true;
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus && box->isAncestorOf(focus) ? focus : box, Qt::Key_Return);
        if (box->isVisible())
            static_cast<QDialog*>(box)->done(-1);
    });
    EXPECT_FALSE(frame.askQuestion("Sure", "Discard the changes of window 1?"));
    EXPECT_TRUE(answered);
}

TEST_F(Frame, FailedSaveStopsTheCloseAndSaysSo)
{
    openText(3, "A book saved once.\n");
    const std::string path = dir / "novel.vl";
    saveAsPath = QString::fromStdString(path);
    frame->runCommand(cmd::SaveAs);
    ASSERT_EQ(doc.modified, 0);
    const std::string saved = fileBytes(path);
    ASSERT_FALSE(saved.empty());
    EXPECT_EQ(frame->title(), "novel.vl - Versaleo");

    openText(3, std::string(20000, 'x') + " and more.\n");
    ASSERT_EQ(doc.modified, 1);
    frame->show();
    // A disk that takes no more bytes: writing the new book fails.
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit old = limit;
    limit.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    const bool closed = frame->close();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldSignal);

    EXPECT_FALSE(closed);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(notices.back(), "Error: Fail to save " + path + ".");
    EXPECT_TRUE(questions.empty());  // a failed save is not a reason to give the book up
    EXPECT_EQ(doc.activeWindow(), 3);
    EXPECT_EQ(doc.modified, 1);
    EXPECT_EQ(fileBytes(path), saved);  // the old book, byte for byte
}

TEST_F(Frame, ClosingByTheWindowManagerKeepsTypedNoteLines)
{
    typeIntoANoteLine("typed before closing");
    saveAsPath = QString::fromStdString(dir / "notes.vl");
    QCloseEvent close;
    QApplication::sendEvent(frame.get(), &close);  // as the window manager sends it
    EXPECT_TRUE(close.isAccepted());

    CVersaleoDoc reopened;
    reopened.switchWindow(1);
    ASSERT_EQ(bookfile::read(reopened, dir / "notes.vl"), 1);
    const auto found = std::find_if(reopened.pages.begin(), reopened.pages.end(),
                                    [](const auto& p) { return p->kind() == PageKind::NotePage; });
    ASSERT_NE(found, reopened.pages.end());
    ASSERT_GE((*found)->lines.size(), 2u);
    EXPECT_EQ((*found)->lines[0], "first thought");
    EXPECT_EQ((*found)->lines[1], "typed before closing");
}

TEST_F(Frame, AfterACommandTheViewShowsTheTypedNoteLines)
{
    CBookPage& page = typeIntoANoteLine("typed, then saved");
    saveAsPath = QString::fromStdString(dir / "notes.vl");
    frame->runCommand(cmd::SaveAs);
    ASSERT_TRUE(page.lineEditors.empty());
    CBookView* view = frame->currentView();
    const QImage shown = view->grab().toImage();
    view->refresh();
    EXPECT_EQ(shown, view->grab().toImage());  // not the picture from before the typing
}

TEST_F(Frame, QuittingWritesOnlyThePlacement)
{
    stored.setValue("Settings/FlipSpeed", 9);
    frame->show();
    EXPECT_TRUE(frame->close());
    settings.sync();
    stored.sync();
    EXPECT_EQ(stored.value("Settings/WindowWidth").toInt(), frame->width());
    EXPECT_EQ(stored.value("Settings/MinWindowPositionRight").toInt(), 850);
    EXPECT_EQ(stored.value("Settings/FlipSpeed").toInt(), 9);  // not rewritten in its clamped form
    EXPECT_FALSE(stored.contains("Settings/Tunedeck"));
    EXPECT_FALSE(stored.contains("Settings/SaveFilePath"));
}

TEST_F(Frame, QuittingFromTheFullWindowStoresTheWindowBeforeIt)
{
    frame->setGeometry(60, 70, 900, 650);
    showActive();
    const QRect window = frame->geometry();
    frame->runCommand(cmd::FullWindow);
    ASSERT_TRUE(frame->state().fullWindow);
    ASSERT_TRUE(QTest::qWaitFor([this, &window] { return frame->geometry() != window; }));
    EXPECT_TRUE(frame->close());
    settings.sync();
    stored.sync();
    // The next start opens the window the reader had, not a borderless screen.
    EXPECT_EQ(stored.value("Settings/WindowPositionLeft").toInt(), window.left());
    EXPECT_EQ(stored.value("Settings/WindowPositionTop").toInt(), window.top());
    EXPECT_EQ(stored.value("Settings/WindowWidth").toInt(), window.width());
    EXPECT_EQ(stored.value("Settings/WindowHeight").toInt(), window.height());
}

TEST_F(Frame, ItNeverGetsSmallerThanItsMinimum)
{
    frame->show();
    frame->resize(600, 400);
    EXPECT_GE(frame->width(), 840);
    EXPECT_GE(frame->height(), 620);
}

TEST_F(Frame, TheTitleStartsAsVLDocumentAndCutsALongName)
{
    EXPECT_EQ(frame->title(), "VLDocument - Versaleo");
    frame->SetTitle(std::string(40, 'n'));
    EXPECT_EQ(frame->title().toStdString(), std::string(33, 'n') + "... - Versaleo");
}

TEST_F(Frame, TheHelpWindowOpensItsBookAndClosesBackToWindowOne)
{
    ScopedEnv home("VERSALEO_HOME", PROGRAM_FOLDER);
    frame->openHelpBook();
    EXPECT_EQ(doc.activeWindow(), CVersaleoDoc::kHelpWindow);
    EXPECT_TRUE(frame->state().helpWindowOpen);
    EXPECT_GT(doc.bookmarkCount(), 2);
    EXPECT_EQ(doc.modified, 0);
    frame->updateCommands();
    EXPECT_FALSE(frame->action(cmd::Open)->isEnabled());
    EXPECT_TRUE(frame->action(cmd::HelpWindow)->isChecked());
    frame->runCommand(cmd::CloseWindow);
    EXPECT_EQ(doc.activeWindow(), 1);
    EXPECT_FALSE(frame->state().helpWindowOpen);
}

TEST_F(Frame, WindowModesShowAndHideTheDecorations)
{
    openText(1, "A book to look at in every mode.\n");
    frame->show();
    CStyleButton* one = frame->button(cmd::OnePage);
    ASSERT_TRUE(one->isVisible());
    frame->runCommand(cmd::ClipWindow);
    EXPECT_TRUE(frame->state().clipWindow);
    EXPECT_TRUE(one->isVisible());  // the tool bars stay
    EXPECT_FALSE(frame->button(cmd::Exit)->isVisible());  // the top bar goes
    frame->runCommand(cmd::FullWindow);  // not while clipped
    EXPECT_FALSE(frame->state().fullWindow);
    frame->runCommand(cmd::ClipWindow);
    EXPECT_TRUE(frame->button(cmd::Exit)->isVisible());
    EXPECT_EQ(frame->size(), QSize(840, 620));

    frame->runCommand(cmd::FullWindow);
    EXPECT_TRUE(frame->state().fullWindow);
    EXPECT_FALSE(one->isVisible());
    frame->runCommand(cmd::FullWindow);
    EXPECT_TRUE(one->isVisible());

    frame->runCommand(cmd::OnePage);
    EXPECT_FALSE(frame->state().twoPageMode);
    EXPECT_EQ(frame->currentView()->spreadWidth(), 2 * frame->currentView()->width() - 80);
    frame->runCommand(cmd::TwoPage);
    EXPECT_TRUE(frame->state().twoPageMode);

    frame->runCommand(cmd::StyleWindow);
    EXPECT_TRUE(frame->state().traditionalStyle);
    EXPECT_FALSE(frame->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_FALSE(frame->button(cmd::Exit)->isVisible());
    frame->runCommand(cmd::StyleWindow);
    EXPECT_TRUE(frame->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(frame->button(cmd::Exit)->isVisible());
}

TEST_F(Frame, DroppedFilesOpenExceptOnTheHelpWindow)
{
    const std::string a = dir / "a.txt", b = dir / "b.txt";
    std::ofstream(a) << "first dropped\n";
    std::ofstream(b) << "second dropped\n";
    const auto drop = [this, &a, &b] { frame->DropFiles({QString::fromStdString(b), QString::fromStdString(a)}); };
    doc.switchWindow(CVersaleoDoc::kHelpWindow);
    drop();
    EXPECT_EQ(doc.pageCount(), 4);
    doc.switchWindow(2);
    drop();
    EXPECT_EQ(doc.bookmarkCount(), 2);
    EXPECT_EQ(frame->title(), "b.txt - Versaleo");
}

TEST_F(Frame, DroppedFilesFromSeveralFoldersOpenFromTheirOwnFolders)
{
    std::filesystem::create_directories(dir / "one");
    std::filesystem::create_directories(dir / "two");
    const std::string a = dir / "one/a.txt", b = dir / "two/b.txt", c = dir / "one/c.txt";
    std::ofstream(a) << "from the first folder\n";
    std::ofstream(b) << "from the second folder\n";
    std::ofstream(c) << "the first folder again\n";
    doc.switchWindow(1);
    frame->DropFiles({QString::fromStdString(a), QString::fromStdString(b), QString::fromStdString(c)});
    EXPECT_EQ(doc.bookmarkCount(), 3);
    EXPECT_EQ(frame->title(), "a.txt - Versaleo");
    // Nothing added, no new title.
    const int pages = doc.pageCount();
    frame->DropFiles({QString::fromStdString(dir / "two/notes.xyz")});
    EXPECT_EQ(doc.pageCount(), pages);
    EXPECT_EQ(frame->title(), "a.txt - Versaleo");
}

TEST_F(Frame, TheTitleNamesADroppedBookThatOpenedNotOneThatCouldNot)
{
    const std::string letter = dir / "a-letter.xyz", book = dir / "b-book.txt";
    std::ofstream(letter) << "a file of a kind no importer takes\n";
    std::ofstream(book) << "the book that opens\n";
    doc.switchWindow(1);
    frame->DropFiles({QString::fromStdString(letter), QString::fromStdString(book)});
    ASSERT_GT(doc.bookPageCount(), 0);
    EXPECT_EQ(frame->title().toStdString(), "b-book.txt - Versaleo");
}

TEST_F(Frame, TheTitleNamesTheBookOfTheWindowOnShow)
{
    const std::string a = dir / "a.txt", b = dir / "b.txt";
    std::ofstream(a) << "first window\n";
    std::ofstream(b) << "second window\n";
    doc.switchWindow(1);
    frame->DropFiles({QString::fromStdString(a)});
    frame->runCommand(cmd::Window2);
    EXPECT_EQ(frame->title(), "VLDocument - Versaleo");
    frame->DropFiles({QString::fromStdString(b)});
    EXPECT_EQ(frame->title(), "b.txt - Versaleo");
    frame->runCommand(cmd::Window1);
    EXPECT_EQ(frame->title(), "a.txt - Versaleo");
    saveAsPath = QString::fromStdString(dir / "novel");
    frame->runCommand(cmd::SaveAs);
    EXPECT_TRUE(std::filesystem::exists(dir / "novel.vl"));
    EXPECT_EQ(frame->title(), "novel.vl - Versaleo");
    frame->runCommand(cmd::CloseWindow);
    EXPECT_EQ(frame->title(), "VLDocument - Versaleo");
    frame->runCommand(cmd::Window2);
    EXPECT_EQ(frame->title(), "b.txt - Versaleo");
}

TEST_F(Frame, ArrowsTurnPagesAfterAToolButton)
{
    std::string text;
    for (int i = 0; i < 400; ++i)
        text += "A line of words to fill many pages of the book. ";
    openText(1, text);
    doc.currentPage = doc.firstContentPage() + 4;
    showActive();
    frame->RefreshViews();
    for (const int id : {cmd::OnePage, cmd::TwoPage}) {
        CStyleButton* button = frame->button(id);
        ASSERT_TRUE(button->isEnabled());
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(QApplication::focusWidget(), frame->currentView()) << id;
        const int before = doc.currentPage;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        EXPECT_NE(doc.currentPage, before) << id;
    }
    // A menu command gives the keys back the same way.
    frame->button(cmd::OnePage)->setFocus();
    frame->action(cmd::OnePage)->trigger();
    EXPECT_EQ(QApplication::focusWidget(), frame->currentView());
}

TEST_F(Frame, ContinuousFlipInTheOnePageViewShowsEveryPage)
{
    std::string text;
    for (int i = 0; i < 400; ++i)
        text += "A line of words to fill many pages of the book. ";
    openText(1, text);
    showActive();
    frame->runCommand(cmd::OnePage);
    for (const bool forward : {true, false}) {
        const int start = doc.firstContentPage() + 4;  // a right page: forward turns the leaf
        doc.currentPage = start;
        frame->RefreshViews();
        frame->runCommand(forward ? cmd::ContinueLeft : cmd::ContinueRight);
        // The ticks are driven here, one at a time, so a slow machine cannot
        // run two between looks.
        std::vector<int> seen{start};
        for (int tick = 0; tick < 3; ++tick) {
            frame->continuousFlipTick();
            seen.push_back(doc.currentPage);
        }
        frame->runCommand(cmd::StopFlip);
        frame->continuousFlipTick();
        EXPECT_FALSE(frame->state().continuousFlip);
        ASSERT_GE(seen.size(), 4u) << forward;
        for (size_t i = 1; i < 4; ++i)
            EXPECT_EQ(seen[i], seen[i - 1] + (forward ? 1 : -1)) << "forward " << forward << " step " << i;
    }
}

TEST_F(Frame, EscapeOrF11LeavesTheFullWindow)
{
    openText(1, "A book read in the full window.\n");
    showActive();
    frame->runCommand(cmd::FullWindow);
    ASSERT_TRUE(frame->state().fullWindow);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F11);
    EXPECT_FALSE(frame->state().fullWindow);
    frame->runCommand(cmd::FullWindow);
    ASSERT_TRUE(frame->state().fullWindow);
    // Esc the view has nothing to cancel with reaches the frame.
    ASSERT_EQ(QApplication::focusWidget(), frame->currentView());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(frame->state().fullWindow);
    EXPECT_TRUE(frame->button(cmd::OnePage)->isVisible());
}

TEST_F(Frame, TheClipWindowKeepsItsSideBars)
{
    openText(1, std::string(4000, 'w') + " words");
    frame->show();
    frame->runCommand(cmd::ClipWindow);
    frame->currentView()->repaint();
    const QRegion shape = frame->mask();
    for (const int id : {cmd::OnePage, cmd::Help}) {
        const CStyleButton* button = frame->button(id);
        ASSERT_TRUE(button->isVisible()) << id;
        EXPECT_TRUE(shape.contains(button->mapTo(frame.get(), button->rect().center()))) << id;
    }
}

TEST_F(Frame, TheTraditionalWindowGrowsBackToItsMinimum)
{
    frame->show();
    frame->runCommand(cmd::StyleWindow);
    ASSERT_TRUE(frame->state().traditionalStyle);
    frame->resize(600, 400);
    EXPECT_GE(frame->width(), 840);
    EXPECT_GE(frame->height(), 620);
}

TEST_F(Frame, ALookAtTheReader)
{
    // A novel of a few chapters, open on its first spread of text.
    std::string text;
    const char* chapters[] = {"Chapter 1 The Garden", "Chapter 2 The Atlas", "Chapter 3 The River",
                              "Chapter 4 The Ribbon", "Chapter 5 The Window"};
    for (const char* chapter : chapters) {
        text += std::string(chapter) + "\n";
        for (int twice = 0; twice < 2; ++twice) {
            for (const char* paragraph :
                 {"The lamp was lit before the rain began. Anna opened the old atlas on the kitchen table and "
                  "turned its heavy pages one by one, as her grandmother had done.",
                  "Every map had a note in the margin: a date, a name, sometimes only a small drawing of a bird.",
                  "Outside, the river rose a little in the dark, and the garden smelled of wet earth and late roses.",
                  "She marked the page with a ribbon and went on reading until the candle was short and the "
                  "window grey."})
                text += std::string("    ") + paragraph + "\n";
        }
    }
    openText(1, text);
    doc.currentPage = doc.firstContentPage() + 4;
    frame->SetTitle("novel.txt");
    frame->resize(1100, 760);
    frame->show();
    frame->RefreshViews();
    const QImage shot = frame->grab().toImage();
    EXPECT_EQ(shot.size(), QSize(1100, 760));
    EXPECT_EQ(shot.pixelColor(2, 300), QColor(122, 122, 255));  // the border strip
    if (const char* out = std::getenv("VERSALEO_SCREENSHOTS"))
        shot.save(QString(out) + "/reader.png");
}

TEST(FileDialogs, TypingNovelOverNovelVlAsksFirst)
{
    TestFolder dir;
    std::ofstream(dir / "novel.vl") << "an old book";
    std::ofstream(dir / "Vol.3.vl") << "another old book";
    const auto dialog = makeSaveAsDialog(nullptr, QString::fromStdString(dir.path()));
    dialog->show();
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    // Saves with the typed name; the question about replacing a file, if
    // any, is answered No and remembered.
    const auto save = [&dialog, name](const char* typed) {
        // Typed as the reader types it: into the focused name box.
        dialog->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        name->setFocus();
        name->clear();
        QTest::keyClicks(name, typed);
        auto asked = std::make_shared<QString>();
        QTimer::singleShot(0, [asked] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                *asked = box->text();
                box->button(QMessageBox::No)->click();
            }
        });
        static_cast<QDialog&>(*dialog).accept();  // the Save button
        QCoreApplication::processEvents();
        return *asked;
    };
    const QString asked = save("novel");
    EXPECT_TRUE(asked.contains(QStringLiteral("novel.vl"))) << asked.toStdString();
    EXPECT_NE(dialog->result(), QDialog::Accepted);  // No keeps the old book
    EXPECT_TRUE(dialog->isVisible());

    // A dot in the name does not make it a book of another kind: the book
    // gets its ".vl", and the question comes for the file really replaced.
    EXPECT_TRUE(save("Vol.3").contains(QStringLiteral("Vol.3.vl")));
    EXPECT_NE(dialog->result(), QDialog::Accepted);

    EXPECT_EQ(save("Vol.2").toStdString(), "");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->selectedFiles().join('|').toStdString(), dir / "Vol.2.vl");
}

TEST(FileDialogs, ABookIsSavedUnderANameEndingInVl)
{
    for (const auto& [typed, saved] : {std::pair{"novel", "novel.vl"}, std::pair{"novel.vl", "novel.vl"},
                                       std::pair{"NOVEL.VL", "NOVEL.VL"}, std::pair{"Vol.2", "Vol.2.vl"},
                                       std::pair{"novel.", "novel.vl"}, std::pair{"/books/my.novel", "/books/my.novel.vl"}})
        EXPECT_EQ(withBookSuffix(typed).toStdString(), saved) << typed;
}

TEST(FileDialogs, OpenOffersEverySupportedFileFirst)
{
    CVersaleoDoc doc;
    registerStandardImporters(doc);
    const auto dialog = makeOpenDialog(nullptr, QString(), doc.importers().extensions());
    const QStringList filters = dialog->nameFilters();
    ASSERT_EQ(filters.size(), 9);
    EXPECT_TRUE(filters[0].startsWith("All supported files (")) << filters[0].toStdString();
    for (const char* pattern : {"*.vl", "*.txt", "*.htm", "*.html", "*.chm", "*.pdf", "*.doc", "*.epub", "*.docx",
                                "*.odt", "*.rtf", "*.wps", "*.wpd"})
        EXPECT_TRUE(filters[0].contains(pattern)) << pattern;
    EXPECT_EQ(filters[1], "Versaleo File (*.vl)");
    EXPECT_EQ(filters[7], "EPUB Book (*.epub)");
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFiles);
}

TEST(FileDialogs, SaveAsStartsInTheDocumentsFolder)
{
    TestFolder home;
    ScopedEnv homeEnv("HOME", home.path());
    ScopedEnv config("XDG_CONFIG_HOME", home / "config");
    EXPECT_EQ(defaultSaveFolder(), QString::fromStdString(home.path()));  // none there yet
    std::filesystem::create_directories(home / "Documents");
    EXPECT_EQ(defaultSaveFolder(), QString::fromStdString(home / "Documents"));
}

}  // namespace
