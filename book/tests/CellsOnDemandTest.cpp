// Character cells built when asked for and kept only for the pages used last:
// every page gives the cells it always gave, a selection or an open editor
// survives any number of other pages, and a destroyed page leaves nothing behind.
#include "DocFixtures.h"

#include "book/BookFile.h"
#include "book/CellCache.h"
#include "book/Dbcs.h"
#include "book/TextLayout.h"
#include "book/TextMeasurer.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const std::string kHan = "\xD6\xD0";             // two bytes
const std::string kEmoji = "\x94\x39\xFC\x36";   // four bytes
const std::string kHangul = "\x83\x34\xE9\x39";  // four bytes

// How cells were made when every page stored them: each line walked a
// character at a time, blanks skipped, one cell per other character.
std::vector<CharCell> storedCells(const std::vector<std::string>& lines)
{
    std::vector<CharCell> cells;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        for (size_t at = 0; at < line.size(); at += dbcs::charLength(line, at)) {
            if (dbcs::isHighByte(line[at]) || !dbcs::isBlank(line[at]))
                cells.push_back(CharCell{static_cast<int32_t>(i), 0});
        }
    }
    return cells;
}

bool sameCells(const std::vector<CharCell>& a, const std::vector<CharCell>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const CharCell& x, const CharCell& y) {
        return x.line == y.line && x.selected == y.selected;
    });
}

std::string bookText()
{
    std::string text;
    for (int paragraph = 0; paragraph < 40; ++paragraph) {
        text += "    Paragraph " + std::to_string(paragraph) + " tells\tof a reader who turns the pages slowly, ";
        text += kHan + kHan + " " + kEmoji + kHangul + " and then \x81\x30\x81\x30 ends";
        if (paragraph % 3 == 0)
            text += " with a stray lead byte \xD6";
        text += "\r\n";
        if (paragraph % 5 == 0)
            text += "   \t  \r\n";
    }
    return text;
}

class CellsOnDemand : public testing::Test {
protected:
    void SetUp() override { m_capacity = CellCache::instance().capacity(); }
    void TearDown() override { CellCache::instance().setCapacity(m_capacity); }

    // A laid-out book with marks, tags, wide lines built and a note page.
    void layOut(CVersaleoDoc& doc)
    {
        FixedMeasurer m;
        ASSERT_TRUE(layout::layOutText(doc, doc.firstContentPage(), bookText(), nullptr, "caption", "title", m));
        PageList notes;
        auto note = doc.createPage(PageKind::NotePage);
        note->lines = {"a note\r\n", kHan + " " + kEmoji};
        note->rebuildCells();
        notes.push_back(std::move(note));
        notes.push_back(doc.createPage(PageKind::NotePage));
        doc.insertPages(doc.lastContentPage() + 1, std::move(notes));
        doc.rebuildIndexPages();
        doc.numberBookmarks();
        for (int n = 1; doc.pageOfBookPage(n) >= 0; n += 2) {
            CBookPage& page = *doc.pages[static_cast<size_t>(doc.pageOfBookPage(n))];
            page.marks.push_back(PageMark{rgb(1, 2, 3), 2, 9});
            auto tag = std::make_unique<PageTag>();
            tag->setLines({"tag", kHan});
            page.tags.push_back(std::move(tag));
            (void)page.wideLines();
        }
    }

private:
    size_t m_capacity = 0;
};

TEST_F(CellsOnDemand, EveryPageGivesTheCellsItsLinesAlwaysGave)
{
    CellCache::instance().setCapacity(3);  // most pages build their cells again on the second round
    CVersaleoDoc doc;
    layOut(doc);
    ASSERT_GT(doc.pageCount(), 12);
    const auto file = bookfile::encode(doc);
    ASSERT_TRUE(file);
    CVersaleoDoc back;
    ASSERT_EQ(bookfile::readBytes(back, *file), 1);
    ASSERT_EQ(back.bookPageCount(), doc.bookPageCount());

    bool fourByte = false, multiLine = false;
    for (const CVersaleoDoc* book : {&doc, &back}) {
        for (int round = 0; round < 2; ++round) {
            for (int i = 0; i < book->pageCount(); ++i) {
                const CBookPage& page = *book->pages[static_cast<size_t>(i)];
                const std::vector<CharCell> expected = storedCells(page.lines);
                EXPECT_EQ(page.cellCount(), expected.size()) << i;
                EXPECT_TRUE(sameCells(page.cells(), expected)) << i << " round " << round;
                for (const std::string& line : page.lines)
                    fourByte = fourByte || line.find(kEmoji) != std::string::npos;
                multiLine = multiLine || (!expected.empty() && expected.back().line > 0);
            }
        }
    }
    EXPECT_TRUE(fourByte);
    EXPECT_TRUE(multiLine);
    // The marks read back are the marks written: the count that checks them is the cells'.
    EXPECT_GT(doc.markCount(), 0);
    EXPECT_EQ(back.markCount(), doc.markCount());
}

TEST_F(CellsOnDemand, LayoutAndReadingBuildNoCells)
{
    const size_t before = CellCache::instance().size();
    CVersaleoDoc doc;
    layOut(doc);
    const auto file = bookfile::encode(doc);
    ASSERT_TRUE(file);
    CVersaleoDoc back;
    ASSERT_EQ(bookfile::readBytes(back, *file), 1);
    for (const CVersaleoDoc* book : {&doc, &back}) {
        for (const auto& page : book->pages)
            EXPECT_FALSE(page->holdsCells());
    }
    EXPECT_EQ(CellCache::instance().size(), before);
}

TEST_F(CellsOnDemand, OnlyTheRecentlyUsedPagesHoldCells)
{
    CellCache::instance().setCapacity(4);
    CVersaleoDoc doc;
    layOut(doc);
    for (const auto& page : doc.pages)
        (void)page->cells();
    int holding = 0;
    for (const auto& page : doc.pages)
        holding += page->holdsCells() ? 1 : 0;
    EXPECT_EQ(holding, 4);
    EXPECT_TRUE(doc.pages.back()->holdsCells());
    EXPECT_FALSE(doc.pages.front()->holdsCells());
    // Asking again moves a page to the front: the one asked for before it goes.
    const size_t last = doc.pages.size() - 1;
    (void)doc.pages[last - 3]->cells();
    (void)doc.pages[0]->cells();
    EXPECT_TRUE(doc.pages[last - 3]->holdsCells());
    EXPECT_FALSE(doc.pages[last - 2]->holdsCells());
}

TEST_F(CellsOnDemand, ASelectionOutlivesAnyNumberOfOtherPages)
{
    CellCache::instance().setCapacity(2);
    CVersaleoDoc doc;
    layOut(doc);
    CBookPage& selected = *doc.pages[static_cast<size_t>(doc.pageOfBookPage(2))];
    selected.cells()[3].selected = 1;
    selected.cells()[4].selected = 1;
    const std::string text = selected.selectedText(false);
    const std::string wideText = selected.selectedText(true);
    ASSERT_FALSE(text.empty());
    for (const auto& page : doc.pages)
        (void)page->cells();
    ASSERT_TRUE(selected.holdsCells());
    EXPECT_EQ(selected.cells()[3].selected, 1);
    EXPECT_EQ(selected.cells()[5].selected, 0);
    EXPECT_EQ(doc.selectedText(doc.pageOfBookPage(2), true), text);
    EXPECT_EQ(doc.selectedText(doc.pageOfBookPage(2), false), wideText);

    // Unselected, it goes like any other page, and comes back unselected.
    for (CharCell& cell : selected.cells())
        cell.selected = 0;
    for (const auto& page : doc.pages)
        (void)page->cells();
    EXPECT_FALSE(selected.holdsCells());
    EXPECT_TRUE(sameCells(selected.cells(), storedCells(selected.lines)));
}

TEST_F(CellsOnDemand, OpenEditorsKeepTheirPageAndCommitAsBefore)
{
    CellCache::instance().setCapacity(2);
    CVersaleoDoc doc;
    layOut(doc);
    int hidden = 0, destroyed = 0;
    CBookPage& note = *doc.pages[static_cast<size_t>(doc.lastContentPage() - 1)];
    ASSERT_EQ(note.kind(), PageKind::NotePage);
    (void)note.cells();
    note.lineEditors.push_back(std::make_unique<FakeEditor>("edited " + kHan, &hidden, &destroyed));
    CBookPage& tagged = *doc.pages[static_cast<size_t>(doc.pageOfBookPage(1))];
    (void)tagged.cells();
    ASSERT_FALSE(tagged.tags.empty());
    tagged.tags[0]->editor = std::make_unique<FakeEditor>("new tag", &hidden, &destroyed);
    for (const auto& page : doc.pages) {
        if (page.get() != &note && page.get() != &tagged)
            (void)page->cells();
    }
    EXPECT_TRUE(note.holdsCells());
    EXPECT_TRUE(tagged.holdsCells());

    EXPECT_TRUE(note.commitEditors());
    EXPECT_TRUE(tagged.commitEditors());
    EXPECT_EQ(note.lines, (std::vector<std::string>{"edited " + kHan}));
    EXPECT_EQ(tagged.tags[0]->line(0), "new tag");
    EXPECT_EQ(destroyed, 2);
    // The cells follow the committed lines.
    EXPECT_TRUE(sameCells(note.cells(), storedCells(note.lines)));
    EXPECT_EQ(note.cellCount(), 7u);
}

TEST_F(CellsOnDemand, ADestroyedPageLeavesNothingBehind)
{
    CellCache::instance().setCapacity(3);
    const size_t before = CellCache::instance().size();
    CVersaleoDoc doc;
    addBookPages(doc, 8);
    const int first = doc.firstContentPage();
    // A selected page and a plain one of the same leaf, both holding cells.
    doc.pages[static_cast<size_t>(first)]->cells()[0].selected = 1;
    (void)doc.pages[static_cast<size_t>(first) + 1]->cells();
    EXPECT_EQ(CellCache::instance().size(), before + 2);
    doc.currentPage = first;
    ASSERT_EQ(doc.deleteCurrentLeaf(), 1);
    EXPECT_EQ(CellCache::instance().size(), before);
    // The cache walks its pages to make room: a page left in it would be read after its end.
    for (int round = 0; round < 2; ++round) {
        for (const auto& page : doc.pages)
            (void)page->cells();
    }
    EXPECT_LE(CellCache::instance().size(), before + 3);
    {
        CBookPage alone(PageKind::BookPage);
        alone.lines = {"abc"};
        alone.cells()[1].selected = 1;
    }
    EXPECT_LE(CellCache::instance().size(), before + 3);
    for (const auto& page : doc.pages)
        (void)page->cells();
}

TEST_F(CellsOnDemand, NewLinesDropTheOldCellsAndTheirSelection)
{
    CBookPage page(PageKind::BookPage);
    page.lines = {"ab cd\r\n"};
    page.cells()[1].selected = 1;
    EXPECT_EQ(page.cellCount(), 4u);
    page.lines = {kHan + kEmoji + "\r\n", "xyz"};
    page.rebuildCells();
    EXPECT_FALSE(page.holdsCells());
    EXPECT_EQ(page.cellCount(), 5u);
    EXPECT_FALSE(page.hasTextSelection());
    EXPECT_TRUE(sameCells(page.cells(), storedCells(page.lines)));
}

TEST_F(CellsOnDemand, ACopyKeepsHeldCellsAndBuildsOthersWhenAsked)
{
    CVersaleoDoc doc;
    auto plain = doc.createPage(PageKind::BookPage);
    plain->lines = {"one two\r\n", kHan};
    const auto plainCopy = plain->deepCopy();
    EXPECT_FALSE(plainCopy->holdsCells());
    EXPECT_TRUE(sameCells(plainCopy->cells(), storedCells(plain->lines)));

    plain->cells()[6].selected = 1;
    const auto selectedCopy = plain->deepCopy();
    EXPECT_TRUE(selectedCopy->holdsCells());
    EXPECT_EQ(selectedCopy->selectedText(false), kHan + "\r\n");
}

}  // namespace
