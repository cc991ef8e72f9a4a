// The lantern slide as the reader meets it in the frame: started from either
// reading view, stepped with keys and its popup, its frame shown and hidden,
// ended with Esc or "End Demo", the reader's view and window back after it.
#include "app/CMainFrame.h"

#include "book/CVersaleoDoc.h"
#include "book/Importers.h"
#include "library/DocumentPictures.h"
#include "library/Settings.h"
#include "style/CStyleButton.h"
#include "views/FontMetrics.h"
#include "views/SlideLayout.h"

#include "CBookViews.h"
#include "CDemoView.h"

#include "BuiltSkin.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLayout>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>

namespace {

class FrameSlide : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        useBuiltSkin();
        installFontSubstitutions();
    }
    FrameSlide()
    {
        doc.setMeasurerFactory([](const LOGFONT& font) { return std::make_shared<QtTextMeasurer>(font); });
        registerStandardImporters(doc);
        pictures.loadFromSettings(settings.read());
        frame = std::make_unique<CMainFrame>(doc, pictures, settings, 0);
        frame->showNotice = [](const QString&, const QString&) {};
        frame->askQuestion = [](const QString&, const QString&) { return true; };
        frame->askSaveAsPath = [] { return QString(); };
    }
    // A book of several book pages with a note leaf after its second one.
    void openBook()
    {
        std::string text;
        for (int i = 0; i < 200; ++i)
            text += "The slide shows one page of the book to the whole room. ";
        const std::string path = dir / "talk.txt";
        std::ofstream(path) << text;
        doc.openPath(path);
        const int second = doc.pageOfBookPage(2);
        notes = second + 1 + (second + 1) % 2;
        for (int k = 0; k < 2; ++k)
            doc.pages.insert(doc.pages.begin() + notes, doc.createPage(PageKind::NotePage));
        ASSERT_GT(doc.bookPageCount(), 4);
    }
    void showActive()
    {
        frame->show();
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    }
    CDemoView* slideView() { return qobject_cast<CDemoView*>(frame->viewOnShow()); }
    int bookPage(int n) const { return doc.pageOfBookPage(n); }

    TestFolder dir;
    SettingsStore settings{QString::fromStdString(dir / "settings.ini")};
    CVersaleoDoc doc;
    DocumentPictures pictures{std::string(PROGRAM_FOLDER) + "/picture"};
    std::unique_ptr<CMainFrame> frame;
    int notes = 0;
};

TEST_F(FrameSlide, LeavingBringsBackTheViewAndTheWindowItStartedFrom)
{
    openBook();
    showActive();
    frame->resize(900, 700);
    for (const int mode : {cmd::TwoPage, cmd::OnePage}) {
        frame->runCommand(mode);
        CBookView* reading = frame->currentView();
        doc.currentPage = bookPage(2);
        frame->RefreshViews();
        const QRect window = frame->geometry();
        ASSERT_TRUE(frame->button(cmd::OnePage)->isVisible());

        frame->runCommand(cmd::LanternSlide);
        ASSERT_TRUE(frame->state().lanternSlide) << mode;
        CDemoView* slide = slideView();
        ASSERT_NE(slide, nullptr);
        EXPECT_TRUE(slide->isVisible());
        EXPECT_FALSE(reading->isVisible());
        EXPECT_EQ(QApplication::focusWidget(), slide);
        // No tool bars; the frame stays until hidden; the whole screen.
        EXPECT_FALSE(frame->button(cmd::OnePage)->isVisible());
        EXPECT_FALSE(frame->button(cmd::CopyPage)->isVisible());
        EXPECT_TRUE(frame->button(cmd::Exit)->isVisible());
        EXPECT_EQ(frame->frameGeometry(), frame->screen()->geometry());
        EXPECT_EQ(frame->minimumSize(), QSize(300, 300));
        // The lines of the view it started from.
        EXPECT_EQ(slide->narrowLines(), mode == cmd::TwoPage);

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        EXPECT_EQ(doc.currentPage, bookPage(3));  // past the notes
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        EXPECT_FALSE(frame->state().lanternSlide) << mode;
        EXPECT_EQ(frame->currentView(), reading);
        EXPECT_EQ(frame->viewOnShow(), reading);
        EXPECT_TRUE(reading->isVisible());
        EXPECT_FALSE(slide->isVisible());
        EXPECT_EQ(QApplication::focusWidget(), reading);
        EXPECT_TRUE(frame->button(cmd::OnePage)->isVisible());
        EXPECT_EQ(frame->geometry(), window) << mode;
        EXPECT_EQ(frame->minimumSize(), QSize(840, 620));
        // The reader goes on from the page the slide reached.
        EXPECT_EQ(doc.currentPage, bookPage(3));
    }
}

TEST_F(FrameSlide, ANotePageCurrentStartsOnTheNextBookPage)
{
    openBook();
    showActive();
    doc.currentPage = notes;
    frame->RefreshViews();
    frame->runCommand(cmd::LanternSlide);
    EXPECT_EQ(doc.currentPage, bookPage(3));
    // The window shows that page's slide: its paper, its lines in large type.
    CDemoView* slide = slideView();
    ASSERT_NE(slide, nullptr);
    const QImage shown = slide->grab().toImage();
    const CBookPage& page = *doc.pages[static_cast<size_t>(bookPage(3))];
    EXPECT_EQ(shown.pixelColor(5, 5), toQColor(page.background));
    EXPECT_EQ(page.font.lfHeight, slide::textLayout(slide->width(), slide->height(), 26, true).fontHeight);
}

TEST_F(FrameSlide, LeftGoesBackInTheSlideAndTheEndsStay)
{
    openBook();
    showActive();
    doc.currentPage = bookPage(1);
    frame->runCommand(cmd::LanternSlide);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    EXPECT_EQ(doc.currentPage, bookPage(1));  // the first book page: nothing before it
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(doc.currentPage, bookPage(3));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    EXPECT_EQ(doc.currentPage, bookPage(2));
    const int last = bookPage(doc.bookPageCount());
    doc.currentPage = last;
    frame->RefreshViews();
    frame->runCommand(cmd::SlideNext);
    EXPECT_EQ(doc.currentPage, last);
    frame->runCommand(cmd::SlidePrevious);
    EXPECT_EQ(doc.currentPage, bookPage(doc.bookPageCount() - 1));
}

TEST_F(FrameSlide, ThePopupStepsShowsOrHidesTheFrameAndEndsTheDemo)
{
    openBook();
    showActive();
    doc.currentPage = bookPage(1);
    frame->runCommand(cmd::LanternSlide);
    const std::unique_ptr<QMenu> popup = frame->pagePopup(39);
    std::vector<QString> texts;
    for (QAction* item : popup->actions())
        texts.push_back(item->text());
    EXPECT_EQ(texts, (std::vector<QString>{"Previous", "Next", "Show/Hide Frame", "End Demo"}));
    for (QAction* item : popup->actions())
        EXPECT_TRUE(item->isEnabled()) << item->text().toStdString();
    popup->actions()[1]->trigger();
    EXPECT_EQ(doc.currentPage, bookPage(2));
    popup->actions()[0]->trigger();
    EXPECT_EQ(doc.currentPage, bookPage(1));

    popup->actions()[2]->trigger();
    EXPECT_FALSE(frame->state().slideFrameShown);
    EXPECT_FALSE(frame->button(cmd::Exit)->isVisible());
    frame->layout()->activate();
    EXPECT_EQ(slideView()->mapTo(frame.get(), QPoint(0, 0)), QPoint(0, 0));  // no border either
    EXPECT_EQ(slideView()->size(), frame->size());
    EXPECT_EQ(QApplication::focusWidget(), slideView());
    popup->actions()[2]->trigger();
    EXPECT_TRUE(frame->button(cmd::Exit)->isVisible());
    EXPECT_TRUE(frame->state().lanternSlide);

    popup->actions()[3]->trigger();
    EXPECT_FALSE(frame->state().lanternSlide);
    EXPECT_TRUE(frame->button(cmd::Exit)->isVisible());
    EXPECT_TRUE(frame->button(cmd::OnePage)->isVisible());
    // Outside the slide its items do nothing.
    frame->runCommand(cmd::SlideNext);
    EXPECT_EQ(doc.currentPage, bookPage(1));
}

TEST_F(FrameSlide, ARightClickOnTheSlideOpensItsPopup)
{
    openBook();
    showActive();
    doc.currentPage = bookPage(1);
    frame->runCommand(cmd::LanternSlide);
    std::vector<QString> texts;
    QTimer::singleShot(0, [&texts] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction* item : menu->actions())
            texts.push_back(item->text());
        // "Next", as the reader would pick it.
        menu->close();
        menu->actions()[1]->trigger();
    });
    const QPoint at(200, 150);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, slideView()->mapToGlobal(at));
    QApplication::sendEvent(slideView(), &event);
    EXPECT_EQ(texts.size(), 4u);
    EXPECT_EQ(doc.currentPage, bookPage(2));
}

TEST_F(FrameSlide, ABookWithoutBookPagesShowsOnlyTheBackground)
{
    openBook();
    showActive();
    // Only the note pages stay between the covers and the index.
    for (int i = doc.pageCount() - 1; i >= 0; --i) {
        if (doc.pages[static_cast<size_t>(i)]->kind() == PageKind::BookPage)
            doc.pages.erase(doc.pages.begin() + i);
    }
    doc.currentPage = 0;
    frame->RefreshViews();
    frame->runCommand(cmd::LanternSlide);
    ASSERT_TRUE(frame->state().lanternSlide);
    CDemoView* slide = slideView();
    const QImage shown = slide->grab().toImage().convertToFormat(QImage::Format_RGB32);
    // The document's background picture, tiled or stretched, and nothing else.
    const QImage& picture = pictures.background();
    ASSERT_FALSE(picture.isNull());
    QImage expected(slide->size(), QImage::Format_RGB32);
    {
        QPainter painter(&expected);
        if (tilesBackground(picture.width(), picture.height()))
            painter.fillRect(expected.rect(), QBrush(picture));
        else
            painter.drawImage(expected.rect(), picture);
    }
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(doc.currentPage, 0);
}

TEST_F(FrameSlide, TheSlideWindowMayBeSmallButNotBelowItsMinimum)
{
    openBook();
    frame->show();
    frame->runCommand(cmd::LanternSlide);
    frame->resize(400, 350);
    EXPECT_EQ(frame->size(), QSize(400, 350));
    frame->resize(200, 100);
    EXPECT_EQ(frame->size(), QSize(300, 300));
    frame->runCommand(cmd::LanternSlide);
    EXPECT_GE(frame->width(), 840);
    EXPECT_GE(frame->height(), 620);
}

TEST_F(FrameSlide, InTheTraditionalWindowTheSystemFrameComesAndGoes)
{
    openBook();
    frame->show();
    frame->runCommand(cmd::StyleWindow);
    ASSERT_TRUE(frame->state().traditionalStyle);
    frame->runCommand(cmd::LanternSlide);
    ASSERT_TRUE(frame->state().lanternSlide);
    EXPECT_FALSE(frame->windowFlags() & Qt::FramelessWindowHint);
    frame->runCommand(cmd::SlideFrame);
    EXPECT_TRUE(frame->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(frame->isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    EXPECT_EQ(QApplication::focusWidget(), slideView());
    frame->runCommand(cmd::LanternSlide);
    EXPECT_FALSE(frame->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(frame->isVisible());
}

TEST_F(FrameSlide, QuittingDuringTheSlideKeepsTheReadersWindow)
{
    openBook();
    frame->show();
    frame->setGeometry(120, 90, 900, 700);
    const QRect window = frame->geometry();
    frame->runCommand(cmd::LanternSlide);
    ASSERT_NE(frame->geometry(), window);
    frame->close();
    const AppSettings stored = settings.read();
    EXPECT_EQ(stored.windowPositionLeft, window.left());
    EXPECT_EQ(stored.windowPositionTop, window.top());
    EXPECT_EQ(stored.windowWidth, window.width());
    EXPECT_EQ(stored.windowHeight, window.height());
}

}  // namespace
