#include "app/CMainFrame.h"
#include "app/CSkinDialog.h"

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
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QSettings>

#include "BuiltSkin.h"

#include <gtest/gtest.h>

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
        frame->askSaveAsPath = [this] {
            ++saveAsAsked;
            return QString();
        };
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
    // commands whose work is not built yet stay disabled
    EXPECT_FALSE(frame->action(cmd::CopyPage)->isEnabled());
    EXPECT_FALSE(frame->action(cmd::Print)->isEnabled());
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
    ASSERT_TRUE(std::any_of(page.cells.begin(), page.cells.end(), [](const CharCell& c) { return c.selected; }));
    frame->runCommand(cmd::CancelSelect);
    EXPECT_FALSE(view->modes().textSelection);
    EXPECT_TRUE(std::none_of(page.cells.begin(), page.cells.end(), [](const CharCell& c) { return c.selected; }));
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
    // Colours are chosen elsewhere; deleting is here.
    const std::unique_ptr<QMenu> markPopup = frame->pagePopup(36);
    EXPECT_TRUE(markPopup->actions()[0]->isEnabled());
    EXPECT_FALSE(markPopup->actions()[1]->isEnabled());
    // Mark mode toggles with its command.
    frame->runCommand(cmd::AddMark);
    EXPECT_TRUE(view->modes().markMode);
    EXPECT_EQ(frame->button(cmd::AddMark)->text(), "Cancel");
    frame->runCommand(cmd::AddMark);
    EXPECT_FALSE(view->modes().markMode);
    EXPECT_EQ(frame->button(cmd::AddMark)->text(), "Mark");
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
    frame->show();
    frame->close();
    EXPECT_EQ(notices, (std::vector<std::string>{"Window2: Please save window2's content before you quit the program!",
                                                 "Window4: Please save window4's content before you quit the program!"}));
    EXPECT_EQ(saveAsAsked, 2);
    EXPECT_EQ(stored.value("Settings/WindowWidth").toInt(), frame->width());
}

TEST_F(Frame, ItNeverGetsSmallerThanItsMinimum)
{
    frame->show();
    frame->resize(600, 400);
    EXPECT_GE(frame->width(), 840);
    EXPECT_GE(frame->height(), 620);
}

TEST_F(Frame, TheTitleAndTheStatusLineFollowTheBook)
{
    EXPECT_EQ(frame->title(), "VLDocument - Versaleo");
    frame->SetTitle(std::string(40, 'n'));
    EXPECT_EQ(frame->title().toStdString(), std::string(33, 'n') + "... - Versaleo");
}

TEST_F(Frame, TheHelpWindowOpensItsBookAndIgnoresDrops)
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
    std::string text;
    for (int i = 0; i < 30; ++i)
        text += "The reader turns a page of the old book while night falls quietly over the garden. ";
    openText(1, text);
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

}  // namespace
