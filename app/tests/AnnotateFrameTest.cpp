#include "app/CBookmarkDlg.h"
#include "app/CIndexDlg.h"
#include "app/CMainFrame.h"
#include "app/CNotePageDlg.h"
#include "app/CodePageLimit.h"
#include "app/ColourBox.h"
#include "app/QtTranslations.h"
#include "app/UiText.h"

#include "book/BookFile.h"
#include "book/CVersaleoDoc.h"
#include "book/CodePage.h"
#include "book/Importers.h"
#include "library/DocumentPictures.h"
#include "library/Settings.h"
#include "style/CStyleButton.h"
#include "views/Canvas.h"
#include "views/FontMetrics.h"

#include "BuiltSkin.h"
#include "CBookViews.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>

namespace {

QString utf8(const char* text)
{
    return QString::fromUtf8(text);
}

// Types each character as a key press would bring it (QTest types ASCII only).
void typeText(QWidget* widget, const QString& text)
{
    for (const char32_t c : text.toUcs4()) {
        const QString one = QString::fromUcs4(&c, 1);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, one);
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, one);
        QApplication::sendEvent(widget, &release);
    }
}

// What must hold after every command: whole leaves, covers at both ends,
// bookmarks as whole leaves, marks inside their pages' cells, every index
// entry on a book page that exists and holds it.
void expectWholeBook(const CVersaleoDoc& doc)
{
    ASSERT_EQ(doc.pageCount() % 2, 0);
    ASSERT_GE(doc.pageCount(), 4);
    for (const int cover : {0, 1, doc.pageCount() - 2, doc.pageCount() - 1})
        EXPECT_EQ(doc.pages[static_cast<size_t>(cover)]->kind(), PageKind::CoverPage) << cover;
    for (int i = 0; i < doc.pageCount(); ++i) {
        const CBookPage& page = *doc.pages[static_cast<size_t>(i)];
        if (page.kind() == PageKind::BookmarkPage) {
            const int partner = i % 2 == 0 ? i + 1 : i - 1;
            EXPECT_EQ(doc.pages[static_cast<size_t>(partner)]->kind(), PageKind::BookmarkPage) << i;
        }
        for (const PageMark& mark : page.marks) {
            EXPECT_LE(0, mark.firstCell) << i;
            EXPECT_LE(mark.firstCell, mark.lastCell) << i;
            EXPECT_LT(mark.lastCell, static_cast<int>(page.cellCount())) << i;
        }
    }
    EXPECT_EQ(doc.indexPageCount() % 2, 0);
    for (const IndexEntry* entry : doc.indexEntries) {
        const int page = doc.pageOfBookPage(entry->bookPageNumber);
        ASSERT_GE(page, 0) << entry->titleText();
        const auto& held = doc.pages[static_cast<size_t>(page)]->indexEntries;
        EXPECT_TRUE(std::any_of(held.begin(), held.end(), [entry](const auto& e) { return e.get() == entry; }));
    }
}

class Annotating : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        useBuiltSkin();
        installFontSubstitutions();
    }
    Annotating()
    {
        doc.setMeasurerFactory([](const LOGFONT& font) { return std::make_shared<QtTextMeasurer>(font); });
        registerStandardImporters(doc);
        // A plain book: no bookmark leaf or index entry of its own.
        doc.needBookmark = 0;
        doc.needIndex = 0;
        pictures.loadFromSettings(settings.read());
        makeFrame();
        openBook();
    }
    ~Annotating() override { ui::setLanguage(0, PROGRAM_FOLDER); }
    // A frame in the interface language in force.
    void makeFrame()
    {
        frame.reset();
        frame = std::make_unique<CMainFrame>(doc, pictures, settings, ui::language());
        frame->showNotice = [this](const QString& caption, const QString& text) {
            notices.push_back((caption + ": " + text).toStdString());
        };
        frame->runDialog = [this](QDialog& dialog) {
            ++dialogs;
            dialog.show();
            if (onDialog)
                onDialog(dialog);
            return dialog.result();
        };
        frame->currentView()->setFrameDelay(0);
    }
    void openBook()
    {
        std::string text;
        for (int paragraph = 0; paragraph < 40; ++paragraph) {
            for (int word = 0; word < 60; ++word)
                text += "words ";
            text += "\n";
        }
        const std::string path = dir / "book.txt";
        std::ofstream(path) << text;
        doc.openPath(path);
        doc.modified = 0;
        ASSERT_GE(doc.bookPageCount(), 6);
        frame->RefreshViews();
    }
    // Turns to book page n (1-based).
    int turnToBookPage(int n)
    {
        doc.currentPage = doc.pageOfBookPage(n);
        frame->RefreshViews();
        return doc.currentPage;
    }
    CBookPage& current() { return *doc.pages[static_cast<size_t>(doc.currentPage)]; }
    // The statistics line as the status bar shows it.
    QString shownStatistics() const
    {
        for (const QLabel* label : frame->findChildren<QLabel*>()) {
            if (label->text().startsWith(QStringLiteral("Statistic:")) || label->text().startsWith(utf8("统计")))
                return label->text();
        }
        return {};
    }
    bool enabled(int id)
    {
        frame->updateCommands();
        return frame->action(id)->isEnabled();
    }
    // Runs a command whose dialog the reader fills in with `reader`.
    template <typename Dialog>
    void run(int id, std::function<void(Dialog&)> reader)
    {
        onDialog = [reader](QDialog& dialog) {
            auto* typed = dynamic_cast<Dialog*>(&dialog);
            ASSERT_NE(typed, nullptr);
            reader(*typed);
        };
        const int before = dialogs;
        frame->runCommand(id);
        EXPECT_EQ(dialogs, before + 1);
        onDialog = nullptr;
        expectWholeBook(doc);
    }
    // A click on a radio button's circle.
    static void pick(QRadioButton* radio)
    {
        QTest::mouseClick(radio, Qt::LeftButton, Qt::NoModifier, QPoint(6, radio->height() / 2));
        EXPECT_TRUE(radio->isChecked());
    }
    static void ok(CSkinDialog& dialog) { QTest::mouseClick(dialog.okButton(), Qt::LeftButton); }
    static void cancel(CSkinDialog& dialog) { QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton); }

    TestFolder dir;
    QString settingsFile = QString::fromStdString(dir / "settings.ini");
    SettingsStore settings{settingsFile};
    CVersaleoDoc doc;
    DocumentPictures pictures{std::string(PROGRAM_FOLDER) + "/picture"};
    std::unique_ptr<CMainFrame> frame;
    std::vector<std::string> notices;
    std::function<void(QDialog&)> onDialog;
    int dialogs = 0;
};

TEST_F(Annotating, EditIndexOnAPageWithoutEntriesOpensInAddModeWithPageN)
{
    turnToBookPage(3);
    const QString before = shownStatistics();
    run<CIndexDlg>(cmd::EditIndex, [](CIndexDlg& dialog) {
        EXPECT_TRUE(dialog.modeRadio(indexdlg::Add)->isChecked());
        EXPECT_FALSE(dialog.modeRadio(indexdlg::Delete)->isEnabled());
        EXPECT_FALSE(dialog.modeRadio(indexdlg::Update)->isEnabled());
        EXPECT_EQ(dialog.entryList()->currentIndex(), -1);
        EXPECT_EQ(dialog.titleEdit()->text(), "Page 3");
        ok(dialog);
    });
    ASSERT_EQ(current().indexEntries.size(), 1u);
    EXPECT_EQ(current().indexEntries[0]->titleText(), "Page 3");
    EXPECT_EQ(doc.indexEntries.size(), 1u);
    EXPECT_EQ(doc.indexEntries[0]->bookPageNumber, 3);
    EXPECT_EQ(doc.modified, 1);
    EXPECT_NE(shownStatistics(), before);
    EXPECT_TRUE(shownStatistics().contains("[Index: 1]"));
}

TEST_F(Annotating, TheIndexDialogAddsRetitlesAndDeletesEntriesOfThePage)
{
    turnToBookPage(2);
    for (const char* title : {"Gardens", "Rivers"}) {
        run<CIndexDlg>(cmd::EditIndex, [title](CIndexDlg& dialog) {
            pick(dialog.modeRadio(indexdlg::Add));
            dialog.titleEdit()->selectAll();
            QTest::keyClicks(dialog.titleEdit(), title);
            ok(dialog);
        });
    }
    ASSERT_EQ(doc.indexEntryCount(), 2);
    EXPECT_TRUE(shownStatistics().contains("[Index: 2]"));
    // With entries it opens on the first one, to update it.
    run<CIndexDlg>(cmd::EditIndex, [](CIndexDlg& dialog) {
        EXPECT_TRUE(dialog.modeRadio(indexdlg::Update)->isChecked());
        ASSERT_EQ(dialog.entryList()->count(), 2);
        EXPECT_EQ(dialog.titleEdit()->text(), "Gardens");
        dialog.entryList()->setCurrentIndex(1);
        emit dialog.entryList()->activated(1);
        EXPECT_EQ(dialog.titleEdit()->text(), "Rivers");
        dialog.titleEdit()->selectAll();
        QTest::keyClicks(dialog.titleEdit(), "Seas");
        ok(dialog);
    });
    EXPECT_EQ(current().indexEntries[1]->titleText(), "Seas");
    run<CIndexDlg>(cmd::EditIndex, [](CIndexDlg& dialog) {
        pick(dialog.modeRadio(indexdlg::Delete));
        // Nothing to type when deleting.
        EXPECT_FALSE(dialog.titleEdit()->isEnabled());
        EXPECT_FALSE(dialog.titleLabel()->isEnabled());
        ok(dialog);
    });
    ASSERT_EQ(doc.indexEntryCount(), 1);
    EXPECT_EQ(doc.indexEntries[0]->titleText(), "Seas");
    EXPECT_TRUE(shownStatistics().contains("[Index: 1]"));
}

TEST_F(Annotating, CancelledDialogsLeaveTheBookAsItWas)
{
    turnToBookPage(2);
    const int pages = doc.pageCount();
    const QString statistics = shownStatistics();
    run<CIndexDlg>(cmd::EditIndex, [](CIndexDlg& dialog) { cancel(dialog); });
    run<CBookmarkDlg>(cmd::EditBookmark, [](CBookmarkDlg& dialog) {
        QTest::keyClicks(dialog.titleEdit(), "never");
        cancel(dialog);
    });
    run<CNotePageDlg>(cmd::EditNotePage, [](CNotePageDlg& dialog) {
        dialog.askColour = [](const QColor&) { return QColor(1, 2, 3); };
        QTest::mouseClick(dialog.colourBox(), Qt::LeftButton);
        cancel(dialog);
    });
    EXPECT_EQ(doc.pageCount(), pages);
    EXPECT_EQ(doc.indexEntryCount(), 0);
    EXPECT_EQ(doc.modified, 0);
    EXPECT_EQ(shownStatistics(), statistics);
}

TEST_F(Annotating, AnIndexTitleIsBoundedToItsFieldWhenTypedOrPasted)
{
    turnToBookPage(1);
    run<CIndexDlg>(cmd::EditIndex, [](CIndexDlg& dialog) {
        QLineEdit* edit = dialog.titleEdit();
        edit->clear();
        // The field holds 39 bytes and a NUL.
        QTest::keyClicks(edit, QString(42, QLatin1Char('a')));
        EXPECT_EQ(edit->text(), QString(39, QLatin1Char('a')));
        // Pasted over the first two: 37 bytes stay, and one two-byte character fits.
        edit->setSelection(0, 2);
        QGuiApplication::clipboard()->setText(utf8("\u4e66\u9875\u7b14\u8bb0"));
        edit->paste();
        EXPECT_EQ(edit->text(), utf8("\u4e66") + QString(37, QLatin1Char('a')));
        EXPECT_EQ(edit->cursorPosition(), 1);
        ok(dialog);
    });
    EXPECT_EQ(doc.indexEntries[0]->titleText(), codepage::fromUtf8("\u4e66") + std::string(37, 'a'));
}

TEST_F(Annotating, OkOnTheIndexEntryALibraryBookNamedKeepsItsWholeTitle)
{
    // Opening a book of the library titles its first entry with the book's
    // name, up to the whole field.
    turnToBookPage(1);
    run<CIndexDlg>(cmd::EditIndex, [](CIndexDlg& dialog) { ok(dialog); });
    const std::string name = codepage::fromUtf8("\u56ed\u827a") + std::string(35, 'n');
    ASSERT_EQ(name.size(), IndexEntry::kTitleLimit);
    current().indexEntries[0]->setTitle(name, IndexEntry::kTitleLimit);
    run<CIndexDlg>(cmd::EditIndex, [](CIndexDlg& dialog) {
        EXPECT_TRUE(dialog.modeRadio(indexdlg::Update)->isChecked());
        ok(dialog);
    });
    EXPECT_EQ(current().indexEntries[0]->titleText(), name);
}

TEST_F(Annotating, ANewBookmarkGoesToTheOpenSpreadWithItsTitleCutAtACharacterBoundary)
{
    const int at = turnToBookPage(3);
    const int bookmarks = doc.bookmarkCount();
    const QString before = shownStatistics();
    std::vector<QColor> asked;
    run<CBookmarkDlg>(cmd::EditBookmark, [&asked](CBookmarkDlg& dialog) {
        EXPECT_FALSE(dialog.updateRadio()->isEnabled());
        EXPECT_TRUE(dialog.addRadio()->isChecked());
        // eleven two-byte characters: the tenth ends at byte 20
        typeText(dialog.titleEdit(), utf8("\u4e00\u4e8c\u4e09\u56db\u4e94\u516d\u4e03\u516b\u4e5d\u5341\u767e"));
        EXPECT_EQ(dialog.titleEdit()->text().size(), 10);
        dialog.askColour = [&asked](const QColor& start) {
            asked.push_back(start);
            return QColor(10, 200, 30);
        };
        QTest::mouseClick(dialog.colourBox(), Qt::LeftButton);
        EXPECT_EQ(dialog.colourBox()->colour(), QColor(10, 200, 30));
        ok(dialog);
    });
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], QColor(255, 122, 122));  // the document's bookmark colour
    EXPECT_EQ(doc.bookmarkCount(), bookmarks + 1);
    const int front = at - at % 2 + (at % 2 == 1 ? 2 : 0);
    const std::string caption =
        codepage::fromUtf8("\u4e00\u4e8c\u4e09\u56db\u4e94\u516d\u4e03\u516b\u4e5d\u5341");
    for (const int side : {front, front + 1}) {
        const CBookPage& page = *doc.pages[static_cast<size_t>(side)];
        ASSERT_EQ(page.kind(), PageKind::BookmarkPage) << side;
        EXPECT_EQ(page.caption, caption);
        EXPECT_EQ(page.background, rgb(10, 200, 30));
    }
    // The open spread shows it.
    EXPECT_TRUE(doc.currentPage == front || doc.currentPage == front + 1);
    EXPECT_NE(shownStatistics(), before);
    EXPECT_EQ(doc.modified, 1);
}

TEST_F(Annotating, UpdatingABookmarkChangesBothItsPages)
{
    turnToBookPage(2);
    run<CBookmarkDlg>(cmd::EditBookmark, [](CBookmarkDlg& dialog) {
        QTest::keyClicks(dialog.titleEdit(), "Spring");
        ok(dialog);
    });
    ASSERT_EQ(current().kind(), PageKind::BookmarkPage);
    const int front = doc.currentPage - doc.currentPage % 2;
    const int pages = doc.pageCount();
    const QString statistics = shownStatistics();
    run<CBookmarkDlg>(cmd::EditBookmark, [](CBookmarkDlg& dialog) {
        EXPECT_TRUE(dialog.updateRadio()->isChecked());
        EXPECT_EQ(dialog.titleEdit()->text(), "Spring");
        dialog.titleEdit()->selectAll();
        QTest::keyClicks(dialog.titleEdit(), "Summer");
        std::vector<QColor> asked;
        dialog.askColour = [&asked](const QColor& start) {
            asked.push_back(start);
            return QColor(0, 0, 255);
        };
        QTest::mouseClick(dialog.colourBox(), Qt::LeftButton);
        EXPECT_EQ(asked, std::vector<QColor>{QColor(255, 122, 122)});  // from the bookmark's own colour
        ok(dialog);
    });
    EXPECT_EQ(doc.pageCount(), pages);
    EXPECT_EQ(shownStatistics(), statistics);
    for (const int side : {front, front + 1}) {
        EXPECT_EQ(doc.pages[static_cast<size_t>(side)]->caption, "Summer");
        EXPECT_EQ(doc.pages[static_cast<size_t>(side)]->background, rgb(0, 0, 255));
    }
}

TEST_F(Annotating, EditBookmarkWaitsBesideABookmarkAndOnTheCovers)
{
    turnToBookPage(2);
    run<CBookmarkDlg>(cmd::EditBookmark, [](CBookmarkDlg& dialog) { ok(dialog); });
    // The page facing the new bookmark on the open spread.
    const int c = doc.currentPage;
    doc.currentPage = c % 2 == 0 ? c - 1 : c + 1;
    ASSERT_NE(current().kind(), PageKind::BookmarkPage);
    EXPECT_FALSE(enabled(cmd::EditBookmark));
    EXPECT_TRUE(enabled(cmd::EditNotePage));
    doc.currentPage = 0;
    EXPECT_FALSE(enabled(cmd::EditBookmark));
    EXPECT_FALSE(enabled(cmd::EditNotePage));
    EXPECT_FALSE(enabled(cmd::EditIndex));
}

TEST_F(Annotating, ANewNotePageTakesTheChosenColourFontAndTextColour)
{
    turnToBookPage(4);
    const int notes = doc.notePageCount();
    const QString before = shownStatistics();
    std::vector<FontAndColour> asked;
    run<CNotePageDlg>(cmd::EditNotePage, [&asked](CNotePageDlg& dialog) {
        EXPECT_FALSE(dialog.updateRadio()->isEnabled());
        EXPECT_TRUE(dialog.addRadio()->isChecked());
        dialog.askColour = [](const QColor&) { return QColor(250, 250, 200); };
        dialog.askFont = [&asked](const FontAndColour& start) {
            asked.push_back(start);
            QFont bold(QStringLiteral("Liberation Serif"));
            bold.setBold(true);
            bold.setItalic(true);
            return FontAndColour{bold, QColor(0, 0, 128)};
        };
        QTest::mouseClick(dialog.colourBox(), Qt::LeftButton);
        const QImage plain = dialog.sample()->grab().toImage();
        QTest::mouseClick(dialog.fontButton(), Qt::LeftButton);
        const QImage sample = dialog.sample()->grab().toImage();
        // The sample shows the page colour and the text in the new colour.
        EXPECT_EQ(sample.pixelColor(3, 3), QColor(250, 250, 200));
        bool written = false;
        for (int y = 0; y < sample.height() && !written; ++y) {
            for (int x = 0; x < sample.width() && !written; ++x)
                written = sample.pixelColor(x, y) == QColor(0, 0, 128);
        }
        EXPECT_TRUE(written);
        EXPECT_NE(plain, sample);
        ok(dialog);
    });
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].colour, QColor(122, 255, 122));  // the note-page style's text colour
    EXPECT_EQ(doc.notePageCount(), notes + 2);
    ASSERT_EQ(current().kind(), PageKind::NotePage);
    const int front = doc.currentPage - doc.currentPage % 2;
    for (const int side : {front, front + 1}) {
        const CBookPage& page = *doc.pages[static_cast<size_t>(side)];
        EXPECT_EQ(page.kind(), PageKind::NotePage);
        EXPECT_EQ(page.background, rgb(250, 250, 200));
        EXPECT_EQ(page.textColour, rgb(0, 0, 128));
        EXPECT_EQ(page.font.faceName(), "Liberation Serif");
        EXPECT_EQ(page.font.lfWeight, 700);
        EXPECT_EQ(page.font.lfItalic, 1);
    }
    EXPECT_NE(shownStatistics(), before);

    // Updating it changes that page alone.
    const int c = doc.currentPage;
    const int pages = doc.pageCount();
    run<CNotePageDlg>(cmd::EditNotePage, [](CNotePageDlg& dialog) {
        EXPECT_TRUE(dialog.updateRadio()->isChecked());
        dialog.askColour = [](const QColor& start) {
            EXPECT_EQ(start, QColor(250, 250, 200));
            return QColor(200, 255, 200);
        };
        QTest::mouseClick(dialog.colourBox(), Qt::LeftButton);
        ok(dialog);
    });
    EXPECT_EQ(doc.pageCount(), pages);
    EXPECT_EQ(current().background, rgb(200, 255, 200));
    const int other = c % 2 == 0 ? c + 1 : c - 1;
    EXPECT_EQ(doc.pages[static_cast<size_t>(other)]->background, rgb(250, 250, 200));
}

TEST_F(Annotating, ReadingTheTextInAnotherEncodingKeepsANoteLeafAddedInsideIt)
{
    turnToBookPage(3);
    ASSERT_TRUE(enabled(cmd::ReadAsGb2312));
    run<CNotePageDlg>(cmd::EditNotePage, [](CNotePageDlg& dialog) { ok(dialog); });
    run<CBookmarkDlg>(cmd::EditBookmark, [](CBookmarkDlg& dialog) {
        QTest::keyClicks(dialog.titleEdit(), "Here");
        ok(dialog);
    });
    const int pages = doc.pageCount();
    frame->runCommand(cmd::ReadAsGb2312);
    EXPECT_EQ(doc.notePageCount(), 2);
    EXPECT_EQ(doc.bookmarkCount(), 1);
    EXPECT_EQ(doc.pageCount(), pages);
    expectWholeBook(doc);
}

TEST_F(Annotating, ANewBookmarkAndNotePageComeBackFromTheBookFile)
{
    turnToBookPage(2);
    run<CBookmarkDlg>(cmd::EditBookmark, [](CBookmarkDlg& dialog) {
        typeText(dialog.titleEdit(), utf8("Chapter \u4e00"));
        dialog.askColour = [](const QColor&) { return QColor(20, 40, 60); };
        QTest::mouseClick(dialog.colourBox(), Qt::LeftButton);
        ok(dialog);
    });
    turnToBookPage(5);
    run<CNotePageDlg>(cmd::EditNotePage, [](CNotePageDlg& dialog) {
        dialog.askColour = [](const QColor&) { return QColor(240, 230, 140); };
        dialog.askFont = [](const FontAndColour&) {
            QFont bold(QStringLiteral("Liberation Mono"));
            bold.setBold(true);
            return FontAndColour{bold, QColor(128, 0, 0)};
        };
        QTest::mouseClick(dialog.colourBox(), Qt::LeftButton);
        QTest::mouseClick(dialog.fontButton(), Qt::LeftButton);
        ok(dialog);
    });
    const std::string path = dir / "annotated.vl";
    ASSERT_TRUE(bookfile::save(doc, path));
    CVersaleoDoc reopened;
    registerStandardImporters(reopened);
    reopened.openPath(path);
    expectWholeBook(reopened);
    ASSERT_EQ(reopened.bookmarkCount(), 1);
    const CBookPage& mark = *reopened.pages[static_cast<size_t>(reopened.pageOfBookmark(0))];
    EXPECT_EQ(mark.caption, codepage::fromUtf8("Chapter \u4e00"));
    EXPECT_EQ(mark.background, rgb(20, 40, 60));
    ASSERT_EQ(reopened.notePageCount(), 2);
    for (const auto& page : reopened.pages) {
        if (page->kind() != PageKind::NotePage)
            continue;
        EXPECT_EQ(page->background, rgb(240, 230, 140));
        EXPECT_EQ(page->textColour, rgb(128, 0, 0));
        EXPECT_EQ(page->font.faceName(), "Liberation Mono");
        EXPECT_EQ(page->font.lfWeight, 700);
    }
    EXPECT_EQ(reopened.bookPageCount(), doc.bookPageCount());
}

// A point of the current page where a right click brings up `menu`.
std::optional<QPoint> popupPoint(CBookView* view, int menu)
{
    view->ensureComposed();
    for (int y = 0; y < view->height(); y += 2) {
        for (int x = 0; x < view->spreadWidth(); x += 2) {
            if (view->contextMenuAt({x, y}) == menu)
                return QPoint(x, y);
        }
    }
    return std::nullopt;
}

TEST_F(Annotating, ThePopupsColourTheMarkOrTagUnderThePointer)
{
    frame->show();
    turnToBookPage(2);
    current().marks.push_back(PageMark{rgb(122, 255, 122), 2, 8});
    auto tag = std::make_unique<PageTag>();
    tag->colour = rgb(122, 255, 122);
    tag->x = 0.5;
    tag->y = 0.8;
    tag->open = 0;
    current().tags.push_back(std::move(tag));
    frame->RefreshViews();
    CBookView* view = frame->currentView();
    std::vector<int> popups;
    view->popupMenu = [&popups](int menu, QPoint) { popups.push_back(menu); };
    std::vector<QColor> asked;
    frame->askItemColour = [&asked](const QColor& start) {
        asked.push_back(start);
        return QColor(255, 0, 0);
    };

    const auto onMark = popupPoint(view, 36);
    ASSERT_TRUE(onMark);
    view->rightClickAt(*onMark, {});
    frame->pagePopup(36)->actions()[1]->trigger();
    EXPECT_EQ(current().marks[0].colour, rgb(255, 0, 0));
    EXPECT_EQ(current().tags[0]->colour, rgb(122, 255, 122));
    EXPECT_EQ(doc.modified, 1);

    const auto onTag = popupPoint(view, 37);
    ASSERT_TRUE(onTag);
    view->rightClickAt(*onTag, {});
    frame->askItemColour = [&asked](const QColor& start) {
        asked.push_back(start);
        return QColor(0, 0, 255);
    };
    frame->pagePopup(37)->actions()[1]->trigger();
    EXPECT_EQ(current().tags[0]->colour, rgb(0, 0, 255));
    EXPECT_EQ(current().marks[0].colour, rgb(255, 0, 0));
    EXPECT_EQ(asked, (std::vector<QColor>{QColor(122, 255, 122), QColor(122, 255, 122)}));
    EXPECT_EQ(popups, (std::vector<int>{36, 37}));

    // Cancelling the colour dialog keeps the colour.
    frame->askItemColour = [](const QColor&) { return std::optional<QColor>(); };
    view->rightClickAt(*onTag, {});
    frame->pagePopup(37)->actions()[1]->trigger();
    EXPECT_EQ(current().tags[0]->colour, rgb(0, 0, 255));
    expectWholeBook(doc);
}

TEST_F(Annotating, TheDialogsSpeakChinese)
{
    ASSERT_EQ(ui::setLanguage(1, PROGRAM_FOLDER), 1);
    turnToBookPage(6);
    run<CIndexDlg>(cmd::EditIndex, [](CIndexDlg& dialog) {
        EXPECT_EQ(dialog.titleEdit()->text(), utf8("第 6 页"));
        EXPECT_EQ(dialog.modeRadio(indexdlg::Add)->text(), utf8("添加新索引"));
        ok(dialog);
    });
    EXPECT_EQ(doc.indexEntries[0]->titleText(), codepage::fromUtf8("第 6 页"));
    EXPECT_TRUE(shownStatistics().contains(utf8("[索引: 1]")));
    EXPECT_EQ(ui::textOr(ui::kMenuLabel + cmd::MarkColour, "Color..."), utf8("颜色..."));
    EXPECT_EQ(ui::textOr(ui::kMenuLabel + cmd::TagColour, "Color..."), utf8("颜色..."));
}

// Presses OK on the modal font chooser as soon as it shows.
void acceptTheChooserOnceShown()
{
    QTimer::singleShot(0, [] {
        QWidget* chooser = QApplication::activeModalWidget();
        ASSERT_NE(chooser, nullptr);
        auto* buttons = chooser->findChild<QDialogButtonBox*>();
        ASSERT_NE(buttons, nullptr);
        buttons->button(QDialogButtonBox::Ok)->click();
    });
}

// Regression: with Qt's Chinese texts the font dialog started a regular
// face on "Bold Italic", and OK gave the reader a font they never chose.
TEST_F(Annotating, TheFontChooserStartsOnTheFontsOwnStyleInAChineseInterface)
{
    if (!installQtTranslations(1))
        GTEST_SKIP() << "Qt's translations are not installed (qt6-translations-l10n)";
    acceptTheChooserOnceShown();
    const auto chosen = askFontAndColour(nullptr, FontAndColour{QFont(QStringLiteral("Liberation Sans")), QColor(1, 2, 3)},
                                         QStringLiteral("Font"));
    installQtTranslations(0);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->font.family(), "Liberation Sans");
    EXPECT_EQ(chosen->font.weight(), QFont::Normal);
    EXPECT_FALSE(chosen->font.italic());
    EXPECT_EQ(chosen->colour, QColor(1, 2, 3));
}

// The book-page style dialog's font chooser had the same fault.
TEST_F(Annotating, TheFontAloneStartsOnItsOwnStyleInAChineseInterface)
{
    if (!installQtTranslations(1))
        GTEST_SKIP() << "Qt's translations are not installed (qt6-translations-l10n)";
    acceptTheChooserOnceShown();
    const auto chosen = askFont(nullptr, QFont(QStringLiteral("Liberation Sans")), QStringLiteral("Font"));
    installQtTranslations(0);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->family(), "Liberation Sans");
    EXPECT_EQ(chosen->weight(), QFont::Normal);
    EXPECT_FALSE(chosen->italic());
}

// Each dialog over the open book, in English and Chinese, for the docs.
TEST_F(Annotating, Screenshots)
{
    const char* out = std::getenv("VERSALEO_SCREENSHOTS");
    if (!out)
        GTEST_SKIP() << "VERSALEO_SCREENSHOTS names the folder for the pictures";
    for (const char* language : {"en", "ch"}) {
        ui::setLanguage(std::string(language) == "ch" ? 1 : 0, PROGRAM_FOLDER);
        installQtTranslations(ui::language());
        makeFrame();
        frame->resize(1000, 700);
        frame->show();
        frame->RefreshViews();
        turnToBookPage(3);
        const auto shoot = [&](QDialog& dialog, const char* name) {
            QImage shot = frame->grab().toImage();
            QPainter painter(&shot);
            painter.drawImage(QPoint((shot.width() - dialog.width()) / 2, (shot.height() - dialog.height()) / 2),
                              dialog.grab().toImage());
            painter.end();
            EXPECT_TRUE(shot.save(QString("%1/dialog-%2-%3.png").arg(out, name, language)));
        };
        run<CIndexDlg>(cmd::EditIndex, [&](CIndexDlg& dialog) {
            shoot(dialog, "index");
            cancel(dialog);
        });
        run<CBookmarkDlg>(cmd::EditBookmark, [&](CBookmarkDlg& dialog) {
            typeText(dialog.titleEdit(), language == std::string("ch") ? utf8("第一章") : utf8("Chapter One"));
            shoot(dialog, "bookmark");
            cancel(dialog);
        });
        run<CNotePageDlg>(cmd::EditNotePage, [&](CNotePageDlg& dialog) {
            shoot(dialog, "note-page");
            // The font chooser it opens, with the text colour.
            QTimer::singleShot(0, [&] {
                if (QWidget* chooser = QApplication::activeModalWidget()) {
                    EXPECT_TRUE(chooser->grab().save(QString("%1/font-chooser-%2.png").arg(out, language)));
                    chooser->close();
                }
            });
            dialog.askFont(FontAndColour{QFont(QStringLiteral("Liberation Sans")), QColor(122, 255, 122)});
            cancel(dialog);
        });
    }
    installQtTranslations(0);
}

}  // namespace

namespace {

TEST(CodePageLimit, AnEditWithinTheLimitStandsAsTyped)
{
    const codepagelimit::Fitted fitted = codepagelimit::fitEdit("abc", "abcd", 4, 4);
    EXPECT_EQ(fitted.text, "abcd");
    EXPECT_EQ(fitted.cursor, 4);
}

TEST(CodePageLimit, WhatAnEditPutsInIsCutToTheRoomLeft)
{
    struct Row {
        const char* before;
        const char* after;
        int cursor;
        size_t limit;
        const char* text;
        int fittedCursor;
    };
    const Row rows[] = {
        {"abcd", "abcde", 5, 4, "abcd", 4},                          // one typed past the end: refused
        {"abcd", "abXcd", 3, 4, "abcd", 2},                          // typed in the middle
        {"ab", "ab\u4e66\u9875", 4, 5, "ab\u4e66", 3},                // a two-byte character fits, the next does not
        {"ab", "ab\u4e66", 3, 3, "ab", 2},                           // no half character
        {"abcdef", "\u4e66\u9875\u7b14ef", 3, 6, "\u4e66\u9875ef", 2},  // pasted over a selection
        {"", "\U0001F600\U0001F600", 4, 4, "\U0001F600", 2},          // a four-byte character whole
        {"toolongtext", "toolongtext!", 12, 4, "tool", 4},            // an old text past the limit is cut
    };
    for (const Row& row : rows) {
        const codepagelimit::Fitted fitted = codepagelimit::fitEdit(utf8(row.before), utf8(row.after), row.cursor,
                                                                    row.limit);
        EXPECT_EQ(fitted.text, utf8(row.text)) << row.after;
        EXPECT_EQ(fitted.cursor, row.fittedCursor) << row.after;
        EXPECT_LE(codepagelimit::pageBytes(fitted.text), row.limit) << row.after;
    }
}

}  // namespace
