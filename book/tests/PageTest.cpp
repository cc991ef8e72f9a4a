#include "DocFixtures.h"

#include "book/Dbcs.h"

#include <gtest/gtest.h>

namespace {

const std::string kHan = "\xD6\xD0";  // one double-byte character

TEST(Cells, OnePerCharacterBlanksSkippedDoubleByteWhole)
{
    CBookPage page(PageKind::BookPage);
    page.lines = {"    \t  \r\n", "ab c\r\n", kHan + kHan + "x", ""};
    page.rebuildCells();
    ASSERT_EQ(page.cells().size(), 6u);
    // the blank line has none; "ab c" has three on line 1
    EXPECT_EQ(page.cells()[0].line, 1);
    EXPECT_EQ(page.cells()[2].line, 1);
    // two double-byte characters and one letter on line 2
    EXPECT_EQ(page.cells()[3].line, 2);
    EXPECT_EQ(page.cells()[5].line, 2);
    EXPECT_EQ(page.cells()[5].selected, 0);
}

TEST(Cells, ALoneLeadByteAtTheEndIsOneCell)
{
    CBookPage page(PageKind::BookPage);
    page.lines = {"a\xD6"};
    page.rebuildCells();
    EXPECT_EQ(page.cells().size(), 2u);
}

TEST(WideLines, JoinsWrappedPairsNeverAcrossAParagraphEnd)
{
    const std::vector<std::string> lines{"    The first", "line goes on", "and ends\r\n", "short\r\n",
                                         kHan + kHan, kHan + "\r\n", "odd out"};
    EXPECT_EQ(makeWideLines(lines),
              (std::vector<std::string>{"    The first line goes on", "and ends\r\n", "short\r\n",
                                        kHan + kHan + kHan + "\r\n", "odd out"}));
    // a next line that does not start with a letter joins without a space
    EXPECT_EQ(makeWideLines({"price", "12 pounds\r\n"}), (std::vector<std::string>{"price12 pounds\r\n"}));
}

TEST(SelectedText, FromTheFirstToTheLastSelectedCharacterOfEachLine)
{
    CBookPage page(PageKind::BookPage);
    page.lines = {"ab cd\r\n", "ef" + kHan + "g", "hi\r\n"};
    page.rebuildCells();
    // cells: a b c d | e f HAN g | h i
    page.cells()[1].selected = 1;  // b
    page.cells()[2].selected = 1;  // c
    page.cells()[6].selected = 1;  // HAN
    page.cells()[7].selected = 1;  // g
    EXPECT_EQ(page.selectedText(false), "b c\r\n" + kHan + "g\r\n");
    // the wide lines count the same characters
    EXPECT_EQ(page.selectedText(true), "b c\r\n" + kHan + "g\r\n");
    page.cells()[8].selected = 1;  // h: on the same wide line as the HAN
    EXPECT_EQ(page.selectedText(true), "b c\r\n" + kHan + "g h\r\n");
}

TEST(SelectedText, NothingSelectedIsEmpty)
{
    CVersaleoDoc doc;
    addBookPages(doc, 2);
    EXPECT_EQ(doc.selectedText(4, true), "");
    EXPECT_EQ(doc.selectedText(99, true), "");
}

TEST(Tags, TenLinesOfThirtyBytesCutAtACharacterBoundary)
{
    PageTag tag;
    std::vector<std::string> lines;
    for (int i = 0; i < 12; ++i)
        lines.push_back("line " + std::to_string(i));
    lines[1] = std::string(29, 'x') + kHan;  // 31 bytes: the split character goes
    lines[2] = std::string(30, 'y');         // fills its slot, no NUL
    tag.setLines(lines);
    EXPECT_EQ(tag.line(0), "line 0");
    EXPECT_EQ(tag.line(1), std::string(29, 'x'));
    EXPECT_EQ(tag.line(2), std::string(30, 'y'));
    EXPECT_EQ(tag.line(9), "line 9");
    EXPECT_EQ(tag.line(10), "");
}

TEST(Tags, CommittingTheEditorStoresItsLinesAndDestroysIt)
{
    int hidden = 0, destroyed = 0;
    PageTag tag;
    tag.setLines({"old text that is long"});
    tag.editor = std::make_unique<FakeEditor>("new\r\nsecond", &hidden, &destroyed);
    tag.commitEditor();
    EXPECT_EQ(tag.line(0), "new");
    EXPECT_EQ(tag.line(1), "second");
    // the slot was cleared before: no tail of the old text remains
    EXPECT_EQ(std::string(tag.text.data() + 3, 27), std::string(27, '\0'));
    EXPECT_EQ(hidden, 1);
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(tag.editor, nullptr);
}

TEST(NoteEditors, CommitReplacesTheLinesDiscardKeepsThem)
{
    int hidden = 0, destroyed = 0;
    CBookPage note(PageKind::NotePage);
    note.lines = {"old 1", "old 2", "old 3"};
    note.lineEditors.push_back(std::make_unique<FakeEditor>("new 1", &hidden, &destroyed));
    note.lineEditors.push_back(std::make_unique<FakeEditor>("new 2", &hidden, &destroyed));
    note.discardLineEditors();
    EXPECT_EQ(note.lines.size(), 3u);
    EXPECT_EQ(hidden, 2);
    EXPECT_EQ(destroyed, 2);

    note.lineEditors.push_back(std::make_unique<FakeEditor>("new 1", &hidden, &destroyed));
    note.lineEditors.push_back(std::make_unique<FakeEditor>("new two", &hidden, &destroyed));
    note.commitLineEditors();
    EXPECT_EQ(note.lines, (std::vector<std::string>{"new 1", "new two"}));
    EXPECT_EQ(note.cells().size(), 10u);  // cells follow the new lines
    EXPECT_TRUE(note.lineEditors.empty());
    EXPECT_EQ(destroyed, 4);
}

TEST(DeepCopy, CommitsEditorsAndLeavesPictureAndHighlightBehind)
{
    int hidden = 0, destroyed = 0;
    CVersaleoDoc doc;
    auto page = doc.createPage(PageKind::BookPage);
    page->lines = {"abc\r\n"};
    page->rebuildCells();
    page->cells()[1].selected = 1;
    page->marks.push_back(PageMark{rgb(1, 2, 3), 0, 2});
    auto tag = std::make_unique<PageTag>();
    tag->x = 0.25;
    tag->editor = std::make_unique<FakeEditor>("from editor", &hidden, &destroyed);
    page->tags.push_back(std::move(tag));
    auto entry = std::make_unique<IndexEntry>();
    entry->bookPageNumber = 3;
    entry->setTitle("entry");
    page->indexEntries.push_back(std::move(entry));
    page->caption = "caption";
    page->pictureNumber = 4;
    page->setHighlightedLine(2);

    const auto copy = page->deepCopy();
    EXPECT_EQ(destroyed, 1);  // the original's editor was committed first
    EXPECT_EQ(page->tags[0]->line(0), "from editor");
    ASSERT_EQ(copy->tags.size(), 1u);
    EXPECT_EQ(copy->tags[0]->line(0), "from editor");
    EXPECT_EQ(copy->tags[0]->x, 0.25);
    EXPECT_EQ(copy->tags[0]->editor, nullptr);
    EXPECT_NE(copy->tags[0].get(), page->tags[0].get());
    ASSERT_EQ(copy->indexEntries.size(), 1u);
    EXPECT_EQ(std::memcmp(copy->indexEntries[0].get(), page->indexEntries[0].get(), sizeof(IndexEntry)), 0);
    EXPECT_NE(copy->indexEntries[0].get(), page->indexEntries[0].get());
    EXPECT_EQ(copy->cells()[1].selected, 1);
    ASSERT_EQ(copy->marks.size(), 1u);
    EXPECT_EQ(copy->marks[0].colour, rgb(1, 2, 3));
    EXPECT_EQ(copy->marks[0].lastCell, 2);
    EXPECT_EQ(copy->caption, "caption");
    EXPECT_EQ(copy->background, page->background);
    EXPECT_EQ(copy->font, page->font);
    EXPECT_EQ(copy->pictureNumber, 0);
    EXPECT_EQ(copy->highlightedLine(), 0);
}

TEST(SpreadEditors, TheCurrentPageAndBothNeighboursAreCommitted)
{
    CVersaleoDoc doc;
    addBookPages(doc, 8);
    int hidden = 0, destroyed = 0;
    const int c = doc.firstContentPage() + 2;
    for (int i = c - 2; i <= c + 2; ++i) {
        auto tag = std::make_unique<PageTag>();
        tag->editor = std::make_unique<FakeEditor>("note " + std::to_string(i), &hidden, &destroyed);
        doc.pages[static_cast<size_t>(i)]->tags.push_back(std::move(tag));
    }
    doc.currentPage = c;
    doc.commitSpreadEditors();
    EXPECT_EQ(destroyed, 3);
    for (int i = c - 1; i <= c + 1; ++i)
        EXPECT_EQ(doc.pages[static_cast<size_t>(i)]->tags[0]->line(0), "note " + std::to_string(i));
    EXPECT_NE(doc.pages[static_cast<size_t>(c - 2)]->tags[0]->editor, nullptr);
    EXPECT_NE(doc.pages[static_cast<size_t>(c + 2)]->tags[0]->editor, nullptr);
    // At either end of the book nothing outside it is touched.
    doc.currentPage = 0;
    doc.commitSpreadEditors();
    doc.currentPage = doc.pageCount() - 1;
    doc.commitSpreadEditors();
    EXPECT_EQ(destroyed, 3);
}

TEST(NewPages, TakeTheStyleOfTheirKind)
{
    CVersaleoDoc doc;
    const auto book = doc.createPage(PageKind::BookPage);
    EXPECT_EQ(book->background, rgb(249, 181, 249));
    EXPECT_EQ(book->textColour, rgb(50, 128, 23));
    EXPECT_EQ(book->font.faceName(), "Arial");
    EXPECT_EQ(book->font.lfHeight, 20);
    const auto note = doc.createPage(PageKind::NotePage);
    EXPECT_EQ(note->background, rgb(255, 122, 122));
    EXPECT_EQ(note->textColour, rgb(122, 255, 122));
    const auto mark = doc.createPage(PageKind::BookmarkPage);
    EXPECT_EQ(mark->background, rgb(255, 122, 122));
    EXPECT_EQ(mark->textColour, 0u);
    EXPECT_EQ(mark->font, LOGFONT{});
    const auto cover = doc.createPage(PageKind::CoverPage);
    EXPECT_EQ(cover->background, rgb(255, 255, 255));
}

TEST(Defaults, DocumentStylesAndSettings)
{
    CVersaleoDoc doc;
    EXPECT_EQ(doc.styles.smallFont.lfHeight, 14);
    EXPECT_EQ(doc.styles.tagFont.lfHeight, 14);
    EXPECT_EQ(doc.styles.normalFont.lfHeight, 20);
    EXPECT_EQ(doc.styles.bookPage.font.lfQuality, 6);
    EXPECT_EQ(doc.styles.bookPage.font.lfPitchAndFamily, 0x40);
    EXPECT_EQ(doc.styles.markColour, rgb(122, 255, 122));
    EXPECT_EQ(doc.lineWidth, 407);
    EXPECT_DOUBLE_EQ(doc.pageProportion, 0.6450079239302694);
    EXPECT_EQ(doc.pageEdgePalette[6], rgb(138, 43, 226));
    EXPECT_EQ(doc.viewValue1, -1);
    doc.setFlipSpeed(9);
    EXPECT_EQ(doc.flipSpeed, 50);
    doc.setFlipSpeed(10);
    EXPECT_EQ(doc.flipSpeed, 10);
    doc.setFlipSpeed(51);
    EXPECT_EQ(doc.flipSpeed, 50);
}

TEST(CutToLength, NeverSplitsADoubleByteCharacter)
{
    // a 22-byte title whose 20th and 21st bytes form one character
    std::string title = std::string(19, 'a') + kHan + "b";
    dbcs::cutToLength(title, 20);
    EXPECT_EQ(title, std::string(19, 'a'));

    std::string fits = std::string(18, 'a') + kHan + "bc";
    dbcs::cutToLength(fits, 20);
    EXPECT_EQ(fits, std::string(18, 'a') + kHan);

    std::string shorter = "short";
    dbcs::cutToLength(shorter, 20);
    EXPECT_EQ(shorter, "short");

    EXPECT_EQ(dbcs::cutCopy(kHan + kHan, 3), kHan);
    EXPECT_EQ(dbcs::cutCopy("abcdef", 0), "");
}

TEST(IndexEntryTitle, CutToItsLimitAndTerminated)
{
    IndexEntry entry;
    entry.setTitle(std::string(50, 'z'));
    EXPECT_EQ(entry.titleText(), std::string(36, 'z'));
    entry.setTitle(std::string(50, 'q'), IndexEntry::kTitleLimit);
    EXPECT_EQ(entry.titleText(), std::string(39, 'q'));
    EXPECT_EQ(entry.title[39], '\0');
    entry.setTitle("ab");
    EXPECT_EQ(entry.title[2], '\0');
    EXPECT_EQ(entry.title[3], '\0');  // cleared, not overwritten in place
}

}  // namespace
