// Damaged and hostile book files: each is refused as damaged, named in the
// message, before anything is allocated for what it claims, and the window
// keeps what it showed.
#include "DocFixtures.h"

#include "book/BookFile.h"
#include "book/ByteCursor.h"
#include "book/Importers.h"
#include "book/ZlibCodec.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace {

std::string dataFile(const std::string& name)
{
    return std::string(BOOK_TEST_DATA) + "/" + name;
}

// File bytes for logical content: the first 8 bytes scrambled, the rest deflated.
std::string fileOf(const std::string& content)
{
    std::string file = content.substr(0, 8);
    for (char& c : file)
        c = static_cast<char>(bookfile::scramble(static_cast<uint8_t>(c)));
    file += *zcodec::compress(content.data() + 8, content.size() - 8);
    return file;
}

// Logical content: the header, an empty index section and `count` records.
std::string contentOf(const std::string& records, int32_t count, int32_t startPage = 0)
{
    ByteWriter out;
    out.i32(24);
    out.u32(bookfile::kVersionBits);
    out.i32(startPage);
    out.zeros(12);
    out.i32(1);
    out.i32(0);
    out.i32(0);
    out.i32(2);
    out.i32(static_cast<int32_t>(records.size()));
    out.i32(count);
    out.bytes(records.data(), records.size());
    return out.buffer();
}

void chunkHeader(ByteWriter& out, int32_t type, size_t size, int32_t count)
{
    out.i32(type);
    out.i32(static_cast<int32_t>(size));
    out.i32(count);
}

std::string attributes(int32_t fontHeight = -16)
{
    ByteWriter out;
    chunkHeader(out, 3, 348, 1);
    out.zeros(12);
    out.i32(fontHeight);
    out.zeros(348 - 16);
    return out.buffer();
}

std::string linesChunk(const std::vector<std::string>& lines)
{
    ByteWriter body;
    for (const std::string& line : lines) {
        body.i32(static_cast<int32_t>(line.size()));
        body.bytes(line.data(), line.size());
    }
    ByteWriter out;
    chunkHeader(out, 4, body.size(), static_cast<int32_t>(lines.size()));
    out.bytes(body.buffer().data(), body.size());
    return out.buffer();
}

// A chunk of `count` zeroed records of `recordSize` bytes (marks, tags).
std::string zeroRecords(int32_t type, int32_t count, size_t recordSize)
{
    ByteWriter out;
    chunkHeader(out, type, recordSize * static_cast<size_t>(count), count);
    out.zeros(recordSize * static_cast<size_t>(count));
    return out.buffer();
}

std::string bookPage(const std::string& chunks)
{
    ByteWriter out;
    out.i32(0);
    out.i32(static_cast<int32_t>(chunks.size()));
    out.bytes(chunks.data(), chunks.size());
    return out.buffer();
}

bookfile::ReadResult readInto(CVersaleoDoc& doc, const std::string& content)
{
    return bookfile::readContent(doc, fileOf(content));
}

class DamagedBook : public ::testing::Test {
protected:
    TestFolder folder;
    CVersaleoDoc doc;
    RecordingNotifier notifier;

    void SetUp() override
    {
        doc.setNotifier(&notifier);
        registerStandardImporters(doc);
    }
    std::string write(const std::string& name, const std::string& bytes)
    {
        const std::string path = folder / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::string soundBook()
    {
        CVersaleoDoc source;
        addBookPages(source, 6);
        return *bookfile::encode(source);
    }
};

TEST_F(DamagedBook, ATruncatedBookSaysSoWithItsNameAndAddsNothing)
{
    const std::string file = soundBook();
    const std::string path = write("cut.vl", file.substr(0, file.size() / 2));
    doc.openPath(path);
    EXPECT_EQ(notifier.messages, std::vector<DocMessage>{DocMessage::DamagedFile});
    EXPECT_EQ(notifier.messagePaths, std::vector<std::string>{path});
    EXPECT_EQ(doc.pageCount(), 4);
    EXPECT_EQ(doc.modified, 0);
    EXPECT_EQ(fileMessageText(DocMessage::DamagedFile, path), "Fail to open " + path + ": the file is damaged.");
}

TEST_F(DamagedBook, TheWindowKeepsItsBookAndPage)
{
    doc.openPath(write("good.vl", soundBook()));
    doc.currentPage = doc.firstContentPage() + 3;
    const int pages = doc.pageCount();
    const int refreshes = notifier.refreshes;
    const std::string file = soundBook();
    doc.openPath(write("bad.vl", file.substr(0, 8) + std::string(40, 'x')));
    EXPECT_EQ(notifier.messages, std::vector<DocMessage>{DocMessage::DamagedFile});
    EXPECT_EQ(doc.pageCount(), pages);
    EXPECT_EQ(doc.currentPage, doc.firstContentPage() + 3);
    EXPECT_EQ(notifier.refreshes, refreshes);
}

// The texts imported before still answer the Encoding commands: an opening
// that adds nothing changes nothing.
TEST_F(DamagedBook, TheWindowKeepsItsImportedTexts)
{
    doc.openPath(write("story.txt", "Once upon a time\n"));
    ASSERT_EQ(doc.textSources.size(), 1u);
    const std::string file = soundBook();
    doc.openPath(write("bad.vl", file.substr(0, file.size() / 2)));
    EXPECT_EQ(notifier.messages, std::vector<DocMessage>{DocMessage::DamagedFile});
    ASSERT_EQ(doc.textSources.size(), 1u);
    EXPECT_EQ(doc.textSources[0]->bytes, "Once upon a time\n");
    // a sound book added after it takes the texts' place, as any opening does
    doc.openPath(write("good.vl", file));
    EXPECT_TRUE(doc.textSources.empty());
}

TEST_F(DamagedBook, AWrongHeaderLengthAndAnEmptyFileAreDamaged)
{
    std::string content = contentOf(bookPage(attributes()), 1);
    content[0] = 25;
    EXPECT_EQ(readInto(doc, content), bookfile::ReadResult::Damaged);
    EXPECT_EQ(bookfile::readContent(doc, ""), bookfile::ReadResult::Damaged);
    EXPECT_EQ(bookfile::readFile(doc, folder / "missing.vl"), bookfile::ReadResult::Unreadable);
    EXPECT_EQ(doc.pageCount(), 4);
}

TEST_F(DamagedBook, AMissingFileIsNotCalledDamaged)
{
    doc.openPath(folder / "missing.vl");
    EXPECT_TRUE(notifier.messages.empty());
}

TEST(BookBounds, ASoundPageAtEveryBoundIsRead)
{
    const std::vector<std::string> lines(static_cast<size_t>(bookfile::kMaxLinesPerPage), "line\r\n");
    std::string chunks = attributes() + linesChunk(lines) + zeroRecords(5, bookfile::kMaxMarksPerPage, 28) +
                         zeroRecords(6, bookfile::kMaxTagsPerPage, 344);
    const std::string longLine(static_cast<size_t>(bookfile::kMaxLineBytes), 'a');
    const std::string records = bookPage(chunks) + bookPage(attributes() + linesChunk({longLine}));
    CVersaleoDoc doc;
    ASSERT_EQ(readInto(doc, contentOf(records, 2)), bookfile::ReadResult::Read);
    EXPECT_EQ(doc.pages[2]->lines.size(), lines.size());
    EXPECT_EQ(doc.pages[2]->tags.size(), static_cast<size_t>(bookfile::kMaxTagsPerPage));
    EXPECT_EQ(doc.pages[3]->lines.front().size(), longLine.size());
}

TEST(BookBounds, APagePastABoundIsDamaged)
{
    const std::vector<std::string> tooMany(static_cast<size_t>(bookfile::kMaxLinesPerPage) + 1, "");
    const std::string tooLong(static_cast<size_t>(bookfile::kMaxLineBytes) + 1, 'a');
    const std::string pages[] = {
        attributes() + linesChunk(tooMany),
        attributes() + linesChunk({tooLong}),
        // two line chunks together past the bound
        attributes() + linesChunk(std::vector<std::string>(30, "")) + linesChunk(std::vector<std::string>(30, "")),
        attributes() + zeroRecords(5, bookfile::kMaxMarksPerPage + 1, 28),
        attributes() + zeroRecords(6, bookfile::kMaxTagsPerPage + 1, 344),
    };
    for (const std::string& chunks : pages) {
        CVersaleoDoc doc;
        EXPECT_EQ(readInto(doc, contentOf(bookPage(chunks), 1)), bookfile::ReadResult::Damaged);
        EXPECT_EQ(doc.pageCount(), 4);
    }
}

TEST(BookBounds, ACountThatCannotFitTheStoredBytesIsDamaged)
{
    // 52 lines claimed, room for one
    ByteWriter lines;
    chunkHeader(lines, 4, 5, bookfile::kMaxLinesPerPage);
    lines.i32(1);
    lines.bytes("a", 1);
    CVersaleoDoc doc;
    EXPECT_EQ(readInto(doc, contentOf(bookPage(attributes() + lines.buffer()), 1)), bookfile::ReadResult::Damaged);
    // two pages claimed, one there
    EXPECT_EQ(readInto(doc, contentOf(bookPage(attributes()), 2)), bookfile::ReadResult::Damaged);
    EXPECT_EQ(doc.pageCount(), 4);
}

TEST(BookBounds, MorePagesThanABookMayHoldAreRefusedBeforeReadingThem)
{
    const int32_t count = bookfile::kMaxPages + 1;
    // room for every record header, and a first page that is sound
    const std::string records = bookPage(attributes()) + std::string(static_cast<size_t>(count) * 8, '\0');
    CVersaleoDoc doc;
    EXPECT_EQ(readInto(doc, contentOf(records, count)), bookfile::ReadResult::Damaged);
    EXPECT_EQ(doc.pageCount(), 4);
}

// A small file whose body inflates to empty page records: the bound counts
// the pages of every section together.
TEST(BookBounds, PagesPastTheBoundAcrossSectionsAreDamaged)
{
    ByteWriter second;
    second.i32(2);
    second.i32(bookfile::kMaxPages * 8);
    second.i32(bookfile::kMaxPages);
    const std::string content = contentOf(bookPage(attributes()), 1) + second.buffer() +
                                std::string(static_cast<size_t>(bookfile::kMaxPages) * 8, '\0');
    const std::string file = fileOf(content);
    EXPECT_LT(file.size(), 100'000u);
    CVersaleoDoc doc;
    EXPECT_EQ(bookfile::readContent(doc, file), bookfile::ReadResult::Damaged);
    EXPECT_EQ(doc.pageCount(), 4);
}

// Books the program saves itself must open again however well they compress:
// deflate packs repeated text over a thousand to one.
class CompressibleBook : public ::testing::Test {
protected:
    TestFolder folder;
    RecordingNotifier notifier;

    // Saves `source` and opens it in a fresh window; true when it opened.
    bool savedAndReopened(CVersaleoDoc& source, CVersaleoDoc& reopened)
    {
        const std::string path = folder / "book.vl";
        if (!bookfile::save(source, path))
            return false;
        reopened.setNotifier(&notifier);
        registerStandardImporters(reopened);
        reopened.openPath(path);
        const auto bookPages = [](const CVersaleoDoc& doc) {
            return std::count_if(doc.pages.begin(), doc.pages.end(),
                                 [](const auto& page) { return page->kind() == PageKind::BookPage; });
        };
        return notifier.messages.empty() && bookPages(reopened) == bookPages(source);
    }
};

TEST_F(CompressibleBook, TenMegabytesOfOneRepeatedLineOpenAgain)
{
    const std::string line = "All work and no play makes Jack a dull boy.\r\n";
    CVersaleoDoc source;
    PageList pages;
    for (int i = 0; i < 9000; ++i) {
        auto page = source.createPage(PageKind::BookPage);
        page->lines.assign(26, line);
        page->rebuildCells();
        pages.push_back(std::move(page));
    }
    source.insertPages(source.firstContentPage(), std::move(pages));
    CVersaleoDoc reopened;
    ASSERT_TRUE(savedAndReopened(source, reopened));
    const CBookPage& last = *reopened.pages[static_cast<size_t>(reopened.lastContentPage())];
    EXPECT_EQ(last.lines, std::vector<std::string>(26, line));
}

TEST_F(CompressibleBook, ABookOfManyEmptyPagesOpensAgain)
{
    CVersaleoDoc source;
    PageList pages;
    for (int i = 0; i < 200'002; ++i)
        pages.push_back(source.createPage(PageKind::BookPage));
    source.insertPages(source.firstContentPage(), std::move(pages));
    CVersaleoDoc reopened;
    EXPECT_TRUE(savedAndReopened(source, reopened));
}

// What the reader would refuse is never written: the save fails (and says
// so) instead of leaving a file that cannot be opened again.
TEST_F(CompressibleBook, ABookPastTheReadersBoundsIsNotSaved)
{
    const auto pageWith = [](CVersaleoDoc& doc, std::vector<std::string> lines) {
        auto page = doc.createPage(PageKind::BookPage);
        page->lines = std::move(lines);
        page->rebuildCells();
        PageList pages;
        pages.push_back(std::move(page));
        pages.push_back(doc.createPage(PageKind::BookPage));
        doc.insertPages(doc.firstContentPage(), std::move(pages));
    };
    const std::string tooLong(static_cast<size_t>(bookfile::kMaxLineBytes) + 1, 'a');
    const std::vector<std::string> tooMany(static_cast<size_t>(bookfile::kMaxLinesPerPage) + 1, "\r\n");
    for (const auto& lines : {std::vector<std::string>{tooLong}, tooMany}) {
        CVersaleoDoc doc;
        pageWith(doc, lines);
        doc.modified = 1;
        EXPECT_FALSE(bookfile::encode(doc));
        EXPECT_FALSE(bookfile::save(doc, folder / "past.vl"));
        EXPECT_FALSE(std::filesystem::exists(folder / "past.vl"));
        EXPECT_EQ(doc.modified, 1);
    }
    // at the bounds it is saved and opens again
    CVersaleoDoc atBounds;
    pageWith(atBounds, std::vector<std::string>(static_cast<size_t>(bookfile::kMaxLinesPerPage),
                                                std::string(static_cast<size_t>(bookfile::kMaxLineBytes), 'a')));
    CVersaleoDoc reopened;
    EXPECT_TRUE(savedAndReopened(atBounds, reopened));
}

TEST(BookFileRegressions, StartPageOverflowVlOpensAtItsLastPage)
{
    CVersaleoDoc doc;
    registerStandardImporters(doc);
    doc.openPath(dataFile("start-page-overflow.vl"));
    ASSERT_GT(doc.pageCount(), 4);
    EXPECT_EQ(doc.currentPage, doc.lastContentPage());
}

TEST(BookFileRegressions, FontHeightOverflowVlKeepsFontsInTheSaneRange)
{
    CVersaleoDoc doc;
    ASSERT_EQ(bookfile::readFile(doc, dataFile("font-height-overflow.vl")), bookfile::ReadResult::Read);
    for (const auto& page : doc.pages) {
        EXPECT_LE(page->font.lfHeight, bookfile::kMaxFontHeight);
        EXPECT_GE(page->font.lfHeight, -bookfile::kMaxFontHeight);
    }
    // the stored 268435476 becomes the largest sane height
    EXPECT_TRUE(std::any_of(doc.pages.begin(), doc.pages.end(),
                            [](const auto& page) { return page->font.lfHeight == bookfile::kMaxFontHeight; }));
}

TEST(BookFileRegressions, HugeFontHeightsAreClampedKeepingTheirSign)
{
    const std::string records = bookPage(attributes(INT32_MIN)) + bookPage(attributes(-12));
    CVersaleoDoc doc;
    ASSERT_EQ(readInto(doc, contentOf(records, 2)), bookfile::ReadResult::Read);
    EXPECT_EQ(doc.pages[2]->font.lfHeight, -bookfile::kMaxFontHeight);
    EXPECT_EQ(doc.pages[3]->font.lfHeight, -12);
}

}  // namespace
