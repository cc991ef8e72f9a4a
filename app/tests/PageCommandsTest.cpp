#include "app/CContentDlg.h"
#include "app/CMainFrame.h"
#include "app/CSelectBookmarkDlg.h"
#include "app/CTurnToDlg.h"
#include "app/Commands.h"
#include "app/PageJump.h"
#include "app/UiText.h"

#include "book/BookFile.h"
#include "book/CVersaleoDoc.h"
#include "book/Importers.h"
#include "library/DocumentPictures.h"
#include "library/Settings.h"
#include "style/CStyleButton.h"
#include "views/Canvas.h"
#include "views/FlipAnimation.h"
#include "views/FontMetrics.h"

#include "CBookViews.h"
#include "TagEditor.h"
#include "TestSupport.h"

#include "BuiltSkin.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

namespace {

using namespace cmd;

// --- the enable rules ---

DocState onPage(PageKind kind, int window = 1)
{
    DocState d;
    d.activeWindow = window;
    d.pageCount = 12;
    d.currentPage = 6;
    d.hasContent = true;
    d.currentKind = kind;
    d.clipboardFilled = true;
    d.pasteAllowed = true;
    return d;
}

FrameState with(bool FrameState::*mode)
{
    FrameState f;
    if (mode)
        f.*mode = true;
    return f;
}

struct RuleRow {
    const char* name;
    FrameState frame;
    DocState doc;
    bool copy, cut, paste, remove, content;
};

TEST(PageCommandRules, LeavesAndEditContentFollowTheModesThePageAndTheClipboard)
{
    DocState help = onPage(PageKind::BookPage, CVersaleoDoc::kHelpWindow);
    DocState empty = onPage(PageKind::None);
    empty.pageCount = 0;
    DocState nothingCopied = onPage(PageKind::BookPage);
    nothingCopied.clipboardFilled = false;
    DocState onTheCover = onPage(PageKind::CoverPage);
    onTheCover.pasteAllowed = false;
    FrameState onePage;
    onePage.twoPageMode = false;
    const RuleRow rows[] = {
        {"book page", {}, onPage(PageKind::BookPage), true, true, true, true, true},
        {"note page", {}, onPage(PageKind::NotePage), true, true, true, true, false},
        {"bookmark page", {}, onPage(PageKind::BookmarkPage), true, true, true, true, false},
        {"index page", {}, onPage(PageKind::IndexPage), false, false, true, false, false},
        {"cover page", {}, onTheCover, false, false, false, false, false},
        {"help window", {}, help, true, false, false, false, false},
        {"empty book", {}, empty, false, false, true, false, false},
        {"empty clipboard", {}, nothingCopied, true, true, false, true, true},
        {"one-page mode", onePage, onPage(PageKind::BookPage), true, true, true, true, false},
        {"continuous flip", with(&FrameState::continuousFlip), onPage(PageKind::BookPage), false, false, false, false, false},
        {"mark mode", with(&FrameState::markMode), onPage(PageKind::BookPage), false, false, false, false, false},
        {"text selection", with(&FrameState::textSelection), onPage(PageKind::BookPage), false, false, false, false, false},
        {"bitmap selection", with(&FrameState::bitmapSelection), onPage(PageKind::BookPage), false, false, false, false, false},
        {"browser shown", with(&FrameState::browserShown), onPage(PageKind::BookPage), false, false, false, false, false},
        {"print view", with(&FrameState::printView), onPage(PageKind::BookPage), false, false, false, false, false},
    };
    for (const RuleRow& row : rows) {
        EXPECT_EQ(updateRule(CopyPage, row.frame, row.doc).enabled, row.copy) << row.name;
        EXPECT_EQ(updateRule(CutPage, row.frame, row.doc).enabled, row.cut) << row.name;
        EXPECT_EQ(updateRule(PastePage, row.frame, row.doc).enabled, row.paste) << row.name;
        EXPECT_EQ(updateRule(DeletePage, row.frame, row.doc).enabled, row.remove) << row.name;
        EXPECT_EQ(updateRule(EditContent, row.frame, row.doc).enabled, row.content) << row.name;
    }
}

TEST(PageCommandRules, JumpWantsContentAndNoMarkingOrSelecting)
{
    FrameState typed;
    typed.pageBoxEmpty = false;
    DocState coversOnly = onPage(PageKind::CoverPage);
    coversOnly.pageCount = 4;
    coversOnly.hasContent = false;
    DocState help = onPage(PageKind::BookPage, CVersaleoDoc::kHelpWindow);
    struct Row {
        const char* name;
        FrameState frame;
        DocState doc;
        bool dialog, box;
    };
    auto typedWith = [&typed](bool FrameState::*mode) {
        FrameState f = typed;
        f.*mode = true;
        return f;
    };
    FrameState onePage = typed;
    onePage.twoPageMode = false;
    const Row rows[] = {
        {"a book", typed, onPage(PageKind::IndexPage), true, true},
        {"one-page mode", onePage, onPage(PageKind::BookPage), true, true},
        {"the help window", typed, help, true, true},
        {"an empty page box", {}, onPage(PageKind::BookPage), true, false},
        {"covers only", typed, coversOnly, false, false},
        {"continuous flip", typedWith(&FrameState::continuousFlip), onPage(PageKind::BookPage), true, false},
        {"browser shown", typedWith(&FrameState::browserShown), onPage(PageKind::BookPage), true, false},
        {"mark mode", typedWith(&FrameState::markMode), onPage(PageKind::BookPage), false, false},
        {"text selection", typedWith(&FrameState::textSelection), onPage(PageKind::BookPage), false, false},
        {"bitmap selection", typedWith(&FrameState::bitmapSelection), onPage(PageKind::BookPage), false, false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(updateRule(Jump, row.frame, row.doc).enabled, row.dialog) << row.name;
        EXPECT_EQ(updateRule(JumpBox, row.frame, row.doc).enabled, row.box) << row.name;
    }
}

TEST(PageCommandRules, PasteFollowsTheModelsPositionRule)
{
    CVersaleoDoc doc;
    PageList pages;
    for (int i = 0; i < 4; ++i)
        pages.push_back(doc.createPage(PageKind::BookPage));
    doc.insertPages(doc.firstContentPage(), std::move(pages));
    doc.rebuildIndexPages();
    doc.clipboard.push_back(doc.createPage(PageKind::NotePage));
    doc.clipboard.push_back(doc.createPage(PageKind::NotePage));
    // Covers 0-1, index pages 2-3, content 4-7, covers 8-9.
    ASSERT_EQ(doc.pageCount(), 10);
    for (int c = 0; c < doc.pageCount(); ++c) {
        doc.currentPage = c;
        const bool allowed = c >= 3 && c <= 8;
        EXPECT_EQ(docState(doc).pasteAllowed, allowed) << c;
        EXPECT_EQ(updateRule(PastePage, {}, docState(doc)).enabled, allowed) << c;
    }
    doc.clipboard.clear();
    doc.currentPage = 4;
    EXPECT_FALSE(updateRule(PastePage, {}, docState(doc)).enabled);
}

TEST(PageNumberInput, OnlyHalfAngleDigitsAreANumber)
{
    EXPECT_EQ(pagejump::parseNumber("120"), 120);
    EXPECT_EQ(pagejump::parseNumber(""), 0);
    EXPECT_EQ(pagejump::parseNumber("007"), 7);
    EXPECT_EQ(pagejump::parseNumber("12a"), std::nullopt);
    EXPECT_EQ(pagejump::parseNumber(" 12"), std::nullopt);
    EXPECT_EQ(pagejump::parseNumber("-3"), std::nullopt);
    EXPECT_EQ(pagejump::parseNumber(QString::fromUtf8("\xEF\xBC\x91\xEF\xBC\x92")), std::nullopt);  // full-width 12
    EXPECT_GT(*pagejump::parseNumber("99999999999999999999999"), 120);
}

TEST(PageNumberInput, ZeroGoesNowhereAndPastTheEndGoesToTheLastPage)
{
    EXPECT_EQ(pagejump::targetBookPage(0, 120), 0);
    EXPECT_EQ(pagejump::targetBookPage(1, 120), 1);
    EXPECT_EQ(pagejump::targetBookPage(120, 120), 120);
    EXPECT_EQ(pagejump::targetBookPage(500, 120), 120);
    EXPECT_EQ(pagejump::targetBookPage(5, 0), 0);
}

// --- the commands through the frame ---

class PageCommands : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        useBuiltSkin();
        installFontSubstitutions();
    }
    PageCommands()
    {
        doc.setMeasurerFactory([](const LOGFONT& font) { return std::make_shared<QtTextMeasurer>(font); });
        registerStandardImporters(doc);
        pictures.loadFromSettings(settings.read());
        makeFrame(0);
    }
    void makeFrame(int language)
    {
        frame = std::make_unique<CMainFrame>(doc, pictures, settings, language);
        frame->setGeometry(40, 40, 1000, 720);
        frame->showNotice = [this](const QString& caption, const QString& text) {
            notices.push_back((caption + ": " + text).toStdString());
        };
        frame->askQuestion = [this](const QString& caption, const QString& text) {
            questions.push_back((caption + ": " + text).toStdString());
            return answerYes;
        };
        frame->runDialog = [this](QDialog& dialog) {
            dialogs.push_back(dialog.metaObject()->className());
            dialog.show();
            QCoreApplication::processEvents();
            const int result = answerDialog ? answerDialog(dialog) : QDialog::Rejected;
            dialog.hide();
            return result;
        };
        for (CBookView* view : {frame->currentView(), oneView()})
            view->setFrameDelay(0);
    }
    ~PageCommands() override { ui::setLanguage(0, PROGRAM_FOLDER); }
    CBookView* oneView()
    {
        frame->runCommand(OnePage);
        CBookView* one = frame->currentView();
        frame->runCommand(TwoPage);
        return one;
    }
    // A window holding n book pages of two lines each, "Page k" first.
    void makeBook(int window, int bookPages)
    {
        doc.switchWindow(window);
        PageList pages;
        for (int i = 0; i < bookPages; ++i) {
            auto page = doc.createPage(PageKind::BookPage);
            page->lines = {"Page " + std::to_string(i + 1) + " of window " + std::to_string(window) + ".\r\n",
                           "    A second paragraph on it.\r\n"};
            page->rebuildCells();
            pages.push_back(std::move(page));
        }
        doc.insertPages(doc.firstContentPage(), std::move(pages));
        doc.rebuildIndexPages();
        doc.numberBookmarks();
        doc.currentPage = doc.firstContentPage();
        frame->RefreshViews();
    }
    // A bookmark leaf in front of page index `at` (even).
    void insertBookmark(int at, const std::string& caption)
    {
        PageList leaf;
        for (int side = 0; side < 2; ++side) {
            leaf.push_back(doc.createPage(PageKind::BookmarkPage));
            leaf.back()->caption = caption;
        }
        doc.insertPages(at, std::move(leaf));
        doc.rebuildIndexPages();
        doc.numberBookmarks();
    }
    CBookPage& page(int i) { return *doc.pages[static_cast<size_t>(i)]; }
    QString statusText() const
    {
        for (const QLabel* label : frame->findChildren<QLabel*>()) {
            if (label->text().startsWith("Statistic"))
                return label->text();
        }
        return {};
    }
    // What every command must leave: whole leaves, marks on their cells, and
    // index entries on pages that exist.
    void expectSoundBook(const char* after)
    {
        EXPECT_EQ(doc.pageCount() % 2, 0) << after;
        for (const auto& p : doc.pages) {
            for (const PageMark& mark : p->marks) {
                EXPECT_GE(mark.firstCell, 0) << after;
                EXPECT_LE(mark.firstCell, mark.lastCell) << after;
                EXPECT_LT(mark.lastCell, static_cast<int>(p->cellCount())) << after;
            }
        }
        for (const IndexEntry* entry : doc.indexEntries) {
            const int at = doc.pageOfBookPage(entry->bookPageNumber);
            ASSERT_GE(at, 0) << after;
            const auto& entries = page(at).indexEntries;
            EXPECT_TRUE(std::any_of(entries.begin(), entries.end(), [entry](const auto& e) { return e.get() == entry; }))
                << after;
        }
        // The status line shows the counts as they are now.
        EXPECT_EQ(statusText(), frame->statusLine()) << after;
    }
    template <class Dialog>
    int countDialogs() const
    {
        return static_cast<int>(std::count(dialogs.begin(), dialogs.end(), Dialog::staticMetaObject.className()));
    }

    TestFolder dir;
    SettingsStore settings{QString::fromStdString(dir / "settings.ini")};
    CVersaleoDoc doc;
    DocumentPictures pictures{std::string(PROGRAM_FOLDER) + "/picture"};
    std::unique_ptr<CMainFrame> frame;
    std::vector<std::string> notices;
    std::vector<std::string> questions;
    std::vector<std::string> dialogs;  // the class of each dialog run
    bool answerYes = true;
    std::function<int(QDialog&)> answerDialog;
};

TEST_F(PageCommands, DeletingOrCuttingAnIndexPageOrACoverAsksNothingAndChangesNothing)
{
    makeBook(1, 6);
    doc.modified = 0;
    const int count = doc.pageCount();
    for (const int at : {0, 1, 2, 3, count - 2, count - 1}) {
        doc.currentPage = at;
        frame->updateCommands();
        EXPECT_FALSE(frame->action(DeletePage)->isEnabled()) << at;
        EXPECT_FALSE(frame->button(CutPage)->isEnabled()) << at;
        frame->runCommand(DeletePage);
        frame->runCommand(CutPage);
        EXPECT_EQ(doc.currentPage, at);
    }
    EXPECT_TRUE(questions.empty());
    EXPECT_EQ(doc.pageCount(), count);
    EXPECT_TRUE(doc.clipboard.empty());
    EXPECT_EQ(doc.modified, 0);
    expectSoundBook("index and cover pages");
}

TEST_F(PageCommands, DeleteAsksByKindAndNoKeepsTheLeaf)
{
    makeBook(1, 6);
    const int c = doc.firstContentPage();
    auto note = doc.createPage(PageKind::NotePage);
    doc.pages[static_cast<size_t>(c) + 1] = std::move(note);
    doc.currentPage = c + 1;
    answerYes = false;
    const QString before = statusText();
    frame->runCommand(DeletePage);
    frame->runCommand(CutPage);
    EXPECT_EQ(questions, (std::vector<std::string>{"Sure: Are you sure to delete this note page?",
                                                   "Sure: Are you sure to cut this note page?"}));
    EXPECT_EQ(doc.bookPageCount(), 5);
    EXPECT_TRUE(doc.clipboard.empty());
    answerYes = true;
    doc.currentPage = c;
    frame->runCommand(DeletePage);
    EXPECT_EQ(questions.back(), "Sure: Are you sure to delete this book page?");
    EXPECT_EQ(doc.bookPageCount(), 4);
    EXPECT_EQ(doc.notePageCount(), 0);
    EXPECT_NE(statusText(), before);
    expectSoundBook("delete");
}

TEST_F(PageCommands, DeletingABookPageRollsItUpOnTheViewOnShow)
{
    makeBook(1, 6);
    frame->show();
    const int c = doc.firstContentPage() + 1;  // a left page
    doc.currentPage = c;
    frame->RefreshViews();
    CBookView* view = frame->currentView();
    view->ensureComposed();
    QImage shown(view->spreadWidth(), view->height(), QImage::Format_RGB32);
    view->painter().compose(shown, view->options());
    const PageGeometry geometry = view->painter().geometryOf(page(c));
    const QColor background = toQColor(page(c).background);
    // Pixels of the first line's row that are not the page's own colour.
    const auto ink = [&](const QImage& image) {
        int count = 0;
        for (int y = geometry.lineTops[0]; y < geometry.lineTops[1]; ++y) {
            for (int x = geometry.area.left; x < geometry.area.right; ++x)
                count += image.pixelColor(x, y) != background;
        }
        return count;
    };
    ASSERT_GT(ink(shown), 0);
    view->setRecording(true);
    frame->runCommand(DeletePage);
    view->setRecording(false);
    const std::vector<QImage>& frames = view->recordedFrames();
    EXPECT_EQ(frames.size(), flip::RollUp::steps(shown.height() - 50, doc.flipSpeed).size());
    ASSERT_GT(frames.size(), 2u);
    // Half way the page has rolled up past its middle, blank in its colour.
    EXPECT_EQ(ink(frames[frames.size() / 2]), 0);
    EXPECT_EQ(doc.bookPageCount(), 4);
}

TEST_F(PageCommands, CutAndPasteCarryALeafWithItsMarksTagsAndNoteLinesIntoAnotherWindowAndThroughASave)
{
    makeBook(1, 6);
    int c = doc.firstContentPage() + 2;  // an even page: the front of a leaf
    CBookPage& front = page(c);
    front.marks.push_back({rgb(1, 2, 3), 2, 6});
    auto tag = std::make_unique<PageTag>();
    tag->setLines({"a tag", "on the page"});
    tag->colour = rgb(9, 8, 7);
    tag->x = 0.25;
    front.tags.push_back(std::move(tag));
    auto note = doc.createPage(PageKind::NotePage);
    note->lines = {"my note", "second thought"};
    doc.pages[static_cast<size_t>(c) + 1] = std::move(note);
    doc.currentPage = c;
    frame->RefreshViews();
    QString status = statusText();
    frame->runCommand(CutPage);
    EXPECT_EQ(questions.back(), "Sure: Are you sure to cut this book page?");
    ASSERT_EQ(doc.clipboard.size(), 2u);
    EXPECT_EQ(doc.markCount(), 0);
    EXPECT_EQ(doc.notePageCount(), 0);
    EXPECT_NE(statusText(), status);
    expectSoundBook("cut");

    frame->runCommand(Window2);
    makeBook(2, 4);
    doc.currentPage = doc.firstContentPage() + 1;  // odd: pasted after it
    frame->updateCommands();
    ASSERT_TRUE(frame->button(PastePage)->isEnabled());
    status = statusText();
    frame->runCommand(PastePage);
    expectSoundBook("paste");
    EXPECT_NE(statusText(), status);
    const int pasted = doc.firstContentPage() + 2;
    EXPECT_EQ(doc.currentPage, doc.firstContentPage() + 3);
    ASSERT_EQ(page(pasted).marks.size(), 1u);
    EXPECT_EQ(page(pasted).marks[0].lastCell, 6);
    ASSERT_EQ(page(pasted).tags.size(), 1u);
    EXPECT_EQ(page(pasted).tags[0]->line(1), "on the page");
    EXPECT_EQ(page(pasted + 1).lines, (std::vector<std::string>{"my note", "second thought"}));

    const std::string path = dir / "pasted.vl";
    ASSERT_TRUE(bookfile::save(doc, path));
    doc.emptyWindow();
    doc.openPath(path);
    int found = -1;
    for (int i = 0; i < doc.pageCount(); ++i) {
        if (page(i).kind() == PageKind::NotePage)
            found = i;
    }
    ASSERT_GT(found, 0);
    EXPECT_EQ(page(found).lines, (std::vector<std::string>{"my note", "second thought"}));
    ASSERT_EQ(page(found - 1).marks.size(), 1u);
    EXPECT_EQ(page(found - 1).marks[0].colour, rgb(1, 2, 3));
    ASSERT_EQ(page(found - 1).tags.size(), 1u);
    EXPECT_EQ(page(found - 1).tags[0]->line(0), "a tag");
    EXPECT_EQ(doc.bookPageCount(), 5);
    expectSoundBook("reopen");
}

TEST_F(PageCommands, CopyKeepsTheLeafAndPasteRebuildsTheIndexInAnotherWindow)
{
    makeBook(1, 4);
    CBookPage& copied = page(doc.firstContentPage());
    copied.indexEntries.push_back(std::make_unique<IndexEntry>());
    copied.indexEntries.back()->setTitle("Chapter");
    doc.rebuildIndexPages();
    doc.currentPage = doc.firstContentPage();
    frame->runCommand(CopyPage);
    EXPECT_TRUE(questions.empty());
    EXPECT_EQ(doc.clipboard.size(), 2u);
    EXPECT_EQ(doc.bookPageCount(), 4);
    expectSoundBook("copy");
    makeBook(3, 2);
    insertBookmark(doc.firstContentPage(), "First");
    frame->runCommand(Window3);
    doc.currentPage = doc.firstContentPage() + 2;  // even: pasted in front of it
    frame->runCommand(PastePage);
    expectSoundBook("paste");
    ASSERT_EQ(doc.indexEntryCount(), 1);
    EXPECT_EQ(doc.indexEntries[0]->bookPageNumber, 1);
    EXPECT_EQ(doc.bookmarkCount(), 1);
    EXPECT_EQ(doc.currentPage, doc.firstContentPage() + 2);
    EXPECT_EQ(page(doc.currentPage).indexEntries.size(), 1u);
}

TEST_F(PageCommands, DeletingOneOfTwoFacingBookmarksAsksWhichAndThatOneGoes)
{
    makeBook(1, 4);
    const int first = doc.firstContentPage() + 2;
    insertBookmark(first, "Second");
    insertBookmark(first, "First");
    // The spread: the back of "First" on the left, the front of "Second" on the right.
    doc.currentPage = first + 1;
    frame->RefreshViews();
    answerDialog = [](QDialog& dialog) {
        auto* choice = dynamic_cast<CSelectBookmarkDlg*>(&dialog);
        if (!choice)
            return int(QDialog::Rejected);
        EXPECT_TRUE(choice->leftButton()->isChecked());  // the current page's side
        return int(QDialog::Rejected);
    };
    frame->runCommand(DeletePage);
    EXPECT_EQ(questions.back(), "Sure: Are you sure to delete this bookmark?");
    EXPECT_EQ(countDialogs<CSelectBookmarkDlg>(), 1);
    EXPECT_EQ(doc.bookmarkCount(), 2);  // the choice was cancelled

    answerDialog = [](QDialog& dialog) {
        auto* choice = dynamic_cast<CSelectBookmarkDlg*>(&dialog);
        if (!choice)
            return int(QDialog::Rejected);
        choice->rightButton()->setChecked(true);
        QTest::mouseClick(choice->okButton(), Qt::LeftButton);
        return choice->result();
    };
    const QString status = statusText();
    frame->runCommand(DeletePage);
    EXPECT_EQ(countDialogs<CSelectBookmarkDlg>(), 2);
    ASSERT_EQ(doc.bookmarkCount(), 1);
    EXPECT_EQ(page(doc.pageOfBookmark(0)).caption, "First");
    // The reader still looks at the bookmark kept.
    EXPECT_EQ(doc.currentPage, first + 1);
    EXPECT_NE(statusText(), status);
    expectSoundBook("delete bookmark");
}

TEST_F(PageCommands, ABookmarkFacingABookPageGoesWithoutAChoice)
{
    makeBook(1, 4);
    const int at = doc.firstContentPage() + 2;
    insertBookmark(at, "Only");
    doc.currentPage = at;
    frame->RefreshViews();
    frame->runCommand(CutPage);
    EXPECT_EQ(questions.back(), "Sure: Are you sure to cut this bookmark?");
    EXPECT_EQ(countDialogs<CSelectBookmarkDlg>(), 0);
    EXPECT_EQ(doc.bookmarkCount(), 0);
    ASSERT_EQ(doc.clipboard.size(), 2u);
    EXPECT_EQ(doc.clipboard[0]->caption, "Only");
    expectSoundBook("cut bookmark");
}

TEST_F(PageCommands, TurnTo500InABookOf120PagesLandsOnPage120InEitherView)
{
    makeBook(1, 120);
    for (const bool two : {true, false}) {
        frame->runCommand(two ? TwoPage : OnePage);
        doc.currentPage = doc.firstContentPage();
        frame->RefreshViews();
        answerDialog = [](QDialog& dialog) {
            auto* turnTo = dynamic_cast<CTurnToDlg*>(&dialog);
            if (!turnTo)
                return int(QDialog::Rejected);
            QTest::keyClicks(turnTo->numberEdit(), "500");
            QTest::mouseClick(turnTo->okButton(), Qt::LeftButton);
            return turnTo->result();
        };
        frame->runCommand(Jump);
        EXPECT_EQ(countDialogs<CTurnToDlg>(), two ? 1 : 2);
        EXPECT_EQ(doc.currentPage, doc.pageOfBookPage(120)) << two;
        EXPECT_EQ(doc.bookPageNumberOf(doc.currentPage), 120);
        expectSoundBook("turn to");
    }
}

TEST_F(PageCommands, TurnToDuringAContinuousFlipEndsTheFlipOnThePageAskedFor)
{
    makeBook(1, 40);
    frame->runCommand(ContinueLeft);
    ASSERT_TRUE(frame->state().continuousFlip);
    answerDialog = [](QDialog& dialog) {
        auto* turnTo = dynamic_cast<CTurnToDlg*>(&dialog);
        if (!turnTo)
            return int(QDialog::Rejected);
        turnTo->numberEdit()->setText("25");
        QTest::mouseClick(turnTo->okButton(), Qt::LeftButton);
        return turnTo->result();
    };
    frame->runCommand(Jump);
    EXPECT_FALSE(frame->state().continuousFlip);
    frame->continuousFlipTick();
    EXPECT_EQ(doc.bookPageNumberOf(doc.currentPage), 25);
}

TEST_F(PageCommands, TurnToRefusesLettersAndStaysOpenAndZeroGoesNowhere)
{
    makeBook(1, 20);
    const int start = doc.currentPage;
    std::vector<std::string> messages;
    answerDialog = [&messages](QDialog& dialog) {
        auto* turnTo = dynamic_cast<CTurnToDlg*>(&dialog);
        if (!turnTo)
            return int(QDialog::Rejected);
        turnTo->showMessage = [&messages](const QString& caption, const QString& text) {
            messages.push_back((caption + ": " + text).toStdString());
        };
        QTest::keyClicks(turnTo->numberEdit(), "1x");
        QTest::mouseClick(turnTo->okButton(), Qt::LeftButton);
        EXPECT_TRUE(turnTo->isVisible());
        turnTo->numberEdit()->setText("0");
        QTest::mouseClick(turnTo->okButton(), Qt::LeftButton);
        return turnTo->result();
    };
    frame->runCommand(Jump);
    EXPECT_EQ(messages, (std::vector<std::string>{"Error: Please input English half-angle numbers: 0 - 9."}));
    EXPECT_EQ(doc.currentPage, start);
}

TEST_F(PageCommands, ThePageBoxRefusesTwelveAAndMovesOnDigits)
{
    makeBook(1, 30);
    const int start = doc.currentPage;
    frame->updateCommands();
    EXPECT_FALSE(frame->button(JumpBox)->isEnabled());  // nothing typed
    QTest::keyClicks(frame->pageBox(), "12a");
    EXPECT_TRUE(frame->button(JumpBox)->isEnabled());
    QTest::mouseClick(frame->button(JumpBox), Qt::LeftButton);
    EXPECT_EQ(notices, (std::vector<std::string>{"Error: Please input English half-angle numbers: 0 - 9."}));
    EXPECT_EQ(doc.currentPage, start);
    frame->pageBox()->setText("0");
    frame->runCommand(JumpBox);
    EXPECT_EQ(doc.currentPage, start);
    frame->pageBox()->setText("12");
    QTest::keyClick(frame->pageBox(), Qt::Key_Return);
    EXPECT_EQ(doc.bookPageNumberOf(doc.currentPage), 12);
    EXPECT_EQ(notices.size(), 1u);
    expectSoundBook("page box");
}

class EditContent : public PageCommands {
protected:
    // A right page (even index) of four lines with marks across them.
    CBookPage& markedPage()
    {
        makeBook(1, 6);
        const int c = doc.firstContentPage() + 2;
        CBookPage& p = page(c);
        p.lines = {"    One two three", "four five six\r\n", "seven eight", "nine ten\r\n"};
        p.rebuildCells();
        // cells: 0-10 line 0, 11-21 line 1, 22-31 line 2, 32-38 line 3
        p.marks = {{rgb(1, 0, 0), 0, 5}, {rgb(2, 0, 0), 15, 25}, {rgb(3, 0, 0), 30, 38}};
        doc.currentPage = c;
        doc.modified = 0;
        frame->show();
        frame->RefreshViews();
        return p;
    }
    std::function<int(QDialog&)> typing(std::function<void(CContentDlg&)> edit, bool ok)
    {
        return [this, edit, ok](QDialog& dialog) {
            auto* content = dynamic_cast<CContentDlg*>(&dialog);
            if (!content)
                return int(QDialog::Rejected);
            shownLines.clear();
            for (const NoteLineBox* box : content->lineBoxes())
                shownLines.push_back(box->text());
            focusedFirst = QApplication::focusWidget() == content->lineBoxes().front() ||
                           content->focusWidget() == content->lineBoxes().front();
            firstSelected = content->lineBoxes().front()->hasSelectedText();
            place = content->geometry();
            firstLine = content->lineBoxes().front()->geometry();
            lastLine = content->lineBoxes().back()->geometry();
            edit(*content);
            QTest::mouseClick(ok ? content->okButton() : content->cancelButton(), Qt::LeftButton);
            return content->result();
        };
    }
    QStringList shownLines;
    bool focusedFirst = false;
    bool firstSelected = true;  // typing would replace the whole line
    QRect place, firstLine, lastLine;
};

TEST_F(EditContent, OpensOverThePageWithALineEditorPerSlot)
{
    CBookPage& p = markedPage();
    answerDialog = typing([](CContentDlg&) {}, false);
    frame->runCommand(cmd::EditContent);
    ASSERT_EQ(shownLines.size(), 26);
    EXPECT_EQ(shownLines[0], "    One two three");
    EXPECT_EQ(shownLines[1], "four five six");
    EXPECT_EQ(shownLines[4], "");
    EXPECT_TRUE(focusedFirst);
    EXPECT_FALSE(firstSelected);
    CBookView* view = frame->currentView();
    const Rect right = view->painter().pageRects().right;
    const QPoint origin = view->mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(place, QRect(origin + QPoint(right.left, right.top), QSize(right.width(), right.height())));
    const PageGeometry& geometry = view->painter().geometryOf(p);
    // Each line's box stands where its line was painted, out by the few
    // pixels a line edit keeps around its text.
    const int above = geometry.lineTops[0] - right.top - firstLine.top();
    EXPECT_GE(above, 0);
    EXPECT_LE(above, 2);
    EXPECT_EQ(geometry.lineTops[25] - right.top - lastLine.top(), above);
    const int before = geometry.area.left - right.left - firstLine.left();
    EXPECT_GE(before, 0);
    EXPECT_LE(before, 3);
}

TEST_F(EditContent, CancelChangesNothing)
{
    CBookPage& p = markedPage();
    const std::vector<std::string> lines = p.lines;
    answerDialog = typing([](CContentDlg& content) { content.lineBoxes()[0]->setText("changed"); }, false);
    frame->runCommand(cmd::EditContent);
    EXPECT_EQ(p.lines, lines);
    EXPECT_EQ(p.marks.size(), 3u);
    EXPECT_EQ(doc.modified, 0);
}

TEST_F(EditContent, ShorteningThePageDropsTheMarksPastItsEndAndCutsBackTheOneAcrossIt)
{
    CBookPage& p = markedPage();
    const QString status = statusText();
    answerDialog = typing(
        [](CContentDlg& content) {
            content.lineBoxes()[1]->setText("four   five  ");
            content.lineBoxes()[2]->clear();
            content.lineBoxes()[3]->clear();
        },
        true);
    frame->runCommand(cmd::EditContent);
    EXPECT_EQ(p.lines, (std::vector<std::string>{"    One two three", "four five\r\n", "", "\r\n"}));
    ASSERT_EQ(p.cells().size(), 19u);
    ASSERT_EQ(p.marks.size(), 2u);
    EXPECT_EQ(p.marks[0].lastCell, 5);
    EXPECT_EQ(p.marks[1].firstCell, 15);
    EXPECT_EQ(p.marks[1].lastCell, 18);
    EXPECT_EQ(doc.modified, 1);
    EXPECT_NE(statusText(), status);
    expectSoundBook("edit content");
}

TEST_F(EditContent, AMarkSelectedBeforeTheEditIsNotTakenForAnotherAfterIt)
{
    CBookPage& p = markedPage();
    // The mark that will go comes first, so the ones after it move up.
    p.marks = {{rgb(3, 0, 0), 30, 38}, {rgb(1, 0, 0), 0, 5}, {rgb(2, 0, 0), 15, 25}};
    frame->RefreshViews();
    CBookView* view = frame->currentView();
    view->ensureComposed();
    const Rect run = view->painter().geometryOf(p).marks[1].front();
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, QPoint((run.left + run.right) / 2, (run.top + run.bottom) / 2));
    ASSERT_EQ(view->selectedMark(), 1);
    answerDialog = typing(
        [](CContentDlg& content) {
            content.lineBoxes()[2]->clear();
            content.lineBoxes()[3]->clear();
        },
        true);
    frame->runCommand(cmd::EditContent);
    ASSERT_EQ(p.marks.size(), 2u);
    EXPECT_EQ(view->selectedMark(), -1);
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_EQ(p.marks.size(), 2u);
}

TEST_F(EditContent, ChineseTextGoesBackInTheCodePageWhole)
{
    CBookPage& p = markedPage();
    answerDialog = typing([](CContentDlg& content) { content.lineBoxes()[5]->setText(QString::fromUtf8("中文 字")); }, true);
    frame->runCommand(cmd::EditContent);
    ASSERT_EQ(p.lines.size(), 6u);
    EXPECT_EQ(p.lines[5], "\xD6\xD0\xCE\xC4 \xD7\xD6");
    EXPECT_EQ(p.cells().size(), 39u + 3u);
    expectSoundBook("chinese content");
}

TEST_F(EditContent, LinesLeftAsTheyWereKeepTheirBytesAndTheirMarksCells)
{
    CBookPage& p = markedPage();
    // Two blanks after a full stop and a byte the code page cannot decode:
    // re-joined or sent through Unicode they would come back changed.
    p.lines[2] = "seven.  eight \x80x";
    p.rebuildCells();
    const std::vector<std::string> lines = {p.lines[0], p.lines[1], p.lines[2], "nine ten eleven\r\n"};
    const size_t marks = p.marks.size();
    answerDialog = typing([](CContentDlg& content) { content.lineBoxes()[3]->setText("nine ten eleven"); }, true);
    frame->runCommand(cmd::EditContent);
    EXPECT_EQ(p.lines, lines);
    EXPECT_EQ(p.marks.size(), marks);
    EXPECT_EQ(p.marks[1].firstCell, 15);
    EXPECT_EQ(doc.modified, 1);
    expectSoundBook("untouched lines");
}

// The dialogs over an open book, English and Chinese, for looking at them.
TEST_F(PageCommands, Screenshots)
{
    const char* out = std::getenv("VERSALEO_SCREENSHOTS");
    if (!out)
        GTEST_SKIP() << "VERSALEO_SCREENSHOTS names the folder for the pictures";
    const std::string english =
        "Chapter One\n"
        "The river ran quietly past the old mill, and the miller's daughter sat on the bank with a book she had "
        "read so often that its pages fell open by themselves at the places she loved best. She marked them with "
        "pressed flowers and little slips of paper, and she wrote her own thoughts in the margins.\n"
        "In the evening her father came out to call her in, and found her asleep with the book upon her knees. He "
        "did not wake her at once, but stood and watched the light go from the water.\n";
    const std::string chinese =
        "第一章\n"
        "河水静静地流过古老的磨坊，磨坊主的女儿坐在岸边，手里拿着一本书。这本书她读过很多遍，书页会自己翻到她最喜欢的"
        "地方。她用压干的花和小纸条做记号，还在页边写下自己的想法。\n"
        "傍晚，父亲出来叫她回家，发现她已经睡着了，书还放在膝上。他没有马上叫醒她，只是站在那里，看着水面上的光渐渐消失。\n";
    for (const int language : {0, 1}) {
        ASSERT_EQ(ui::setLanguage(language, PROGRAM_FOLDER), language);
        doc.switchWindow(language + 1);
        const std::string path = dir / ("book" + std::to_string(language) + ".txt");
        std::string text;
        for (int i = 0; i < (language == 1 ? 14 : 6); ++i)
            text += language == 1 ? chinese : english;
        std::ofstream(path) << text;
        doc.openPath(path);
        insertBookmark(doc.firstContentPage() + 4, language == 1 ? "\xB5\xDA\xB6\xFE" : "Second");
        insertBookmark(doc.firstContentPage() + 4, language == 1 ? "\xB5\xDA\xD2\xBB" : "First");
        makeFrame(language);
        frame->runCommand(language == 1 ? Window2 : Window1);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        const char* suffix = language == 1 ? "ch" : "en";
        const auto shoot = [&](const char* name) {
            return [&, name](QDialog& dialog) {
                QCoreApplication::processEvents();
                QImage picture = frame->grab().toImage();
                QPainter painter(&picture);
                painter.drawPixmap(dialog.geometry().topLeft() - frame->geometry().topLeft(), dialog.grab());
                painter.end();
                EXPECT_TRUE(picture.save(QString("%1/dialog-%2-%3.png").arg(out, name, suffix)));
                return int(QDialog::Rejected);
            };
        };
        doc.currentPage = doc.firstContentPage();
        frame->RefreshViews();
        answerDialog = shoot("turnto");
        frame->runCommand(Jump);
        doc.currentPage = doc.firstContentPage() + 5;  // two bookmarks face each other
        frame->RefreshViews();
        answerDialog = shoot("select-bookmark");
        frame->runCommand(DeletePage);
        // A full left page of text.
        doc.currentPage = doc.firstContentPage() + 1;
        while (doc.currentPage < doc.lastContentPage() &&
               (page(doc.currentPage).kind() != PageKind::BookPage || page(doc.currentPage).lines.size() < 20))
            doc.currentPage += 2;
        frame->RefreshViews();
        answerDialog = shoot("content");
        frame->runCommand(cmd::EditContent);
        frame.reset();
    }
}

}  // namespace
