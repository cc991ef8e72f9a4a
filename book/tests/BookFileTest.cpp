#include "BookFixture.h"
#include "DocFixtures.h"

#include "book/BookFile.h"
#include "book/ByteCursor.h"
#include "book/TextLayout.h"
#include "book/ZlibCodec.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sys/resource.h>

namespace {

class ScratchFolder : public TestFolder {
public:
    const std::string path = TestFolder::path();
};

std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int32_t i32At(const std::string& bytes, size_t offset)
{
    ByteReader reader(reinterpret_cast<const uint8_t*>(bytes.data()) + offset, 4);
    int32_t value = 0;
    reader.readI32(value);
    return value;
}

// A book with every kind of stored content.
void fillBook(CVersaleoDoc& doc)
{
    FixedMeasurer m;
    layout::importText(doc, "/b/first.txt", "A first paragraph that wraps over more than one line of the page.\n\n"
                                            "\xD6\xD0\xCE\xC4 text\n", m);
    PageList notes;
    auto note = doc.createPage(PageKind::NotePage);
    note->lines = {"a note\r\n", "second"};
    note->rebuildCells();
    notes.push_back(std::move(note));
    notes.push_back(doc.createPage(PageKind::NotePage));
    doc.insertPages(doc.lastContentPage() + 1, std::move(notes));
    doc.rebuildIndexPages();
    doc.numberBookmarks();
    CBookPage& page = *doc.pages[static_cast<size_t>(doc.pageOfBookPage(1))];
    page.marks.push_back(PageMark{rgb(1, 2, 3), 1, 4});
    auto tag = std::make_unique<PageTag>();
    tag->setLines({"tag line", "two"});
    tag->colour = rgb(9, 8, 7);
    tag->x = 0.25;
    tag->y = 0.75;
    tag->open = 0;
    page.tags.push_back(std::move(tag));
    page.pictureNumber = 3;
    auto entry = std::make_unique<IndexEntry>();
    entry->setTitle("second entry");
    page.indexEntries.push_back(std::move(entry));
    doc.rebuildIndexPages();
    doc.currentPage = doc.firstContentPage() + 3;
}

// Everything a page stores in the file, as text, for comparisons.
std::string describe(const CVersaleoDoc& doc)
{
    std::string out;
    for (const auto& page : doc.pages) {
        out += std::to_string(static_cast<int>(page->kind())) + " c" + std::to_string(page->bookmarkColour) + " " +
               std::to_string(page->background) + "/" + std::to_string(page->textColour) + " " +
               std::string(page->font.faceName()) + std::to_string(page->font.lfHeight) + " '" + page->caption +
               "' p" + std::to_string(page->pictureNumber) + " cells" + std::to_string(page->cells().size()) + "\n";
        for (const auto& line : page->lines)
            out += "  [" + line + "]\n";
        for (const auto& mark : page->marks)
            out += "  mark " + std::to_string(mark.colour) + " " + std::to_string(mark.firstCell) + "-" +
                   std::to_string(mark.lastCell) + "\n";
        for (const auto& tag : page->tags)
            out += "  tag " + tag->line(0) + "|" + tag->line(1) + " " + std::to_string(tag->colour) + " " +
                   std::to_string(tag->x) + "," + std::to_string(tag->y) + " " + std::to_string(tag->open) + "\n";
        for (const auto& entry : page->indexEntries)
            out += "  entry " + std::to_string(entry->bookPageNumber) + " " + std::string(entry->titleText()) + "\n";
    }
    return out;
}

TEST(Scramble, IsItsOwnInverseAndGivesTheKnownHeader)
{
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(bookfile::scramble(bookfile::scramble(static_cast<uint8_t>(b))), b);
    CVersaleoDoc doc;
    const auto file = bookfile::encode(doc);
    ASSERT_TRUE(file);
    const unsigned char expected[8] = {0xBD, 0xFF, 0xFF, 0xFF, 0x13, 0x33, 0x3B, 0x0C};
    EXPECT_EQ(file->substr(0, 8), std::string(reinterpret_cast<const char*>(expected), 8));
}

TEST(FileLayout, AnEmptyBookStillWritesTheIndexSection)
{
    CVersaleoDoc doc;
    doc.rebuildIndexPages();
    const std::string content = bookfile::serialize(doc);
    ASSERT_EQ(content.size(), 48u);
    EXPECT_EQ(i32At(content, 0), 24);
    EXPECT_EQ(i32At(content, 24), 1);  // section 1
    EXPECT_EQ(i32At(content, 28), 0);  // body size
    EXPECT_EQ(i32At(content, 32), 0);  // count
    EXPECT_EQ(i32At(content, 36), 2);  // section 2
    EXPECT_EQ(i32At(content, 44), 0);
}

TEST(FileLayout, RecordSizesOfEachKind)
{
    CVersaleoDoc doc;
    addBookmark(doc, "mark");
    PageList pages;
    auto book = doc.createPage(PageKind::BookPage);
    book->lines = {"abc\r\n"};
    pages.push_back(std::move(book));
    auto note = doc.createPage(PageKind::NotePage);
    note->lines = {"xy"};
    pages.push_back(std::move(note));
    doc.insertPages(doc.lastContentPage() + 1, std::move(pages));
    doc.rebuildIndexPages();
    const std::string content = bookfile::serialize(doc);
    EXPECT_EQ(i32At(content, 44), 4);  // four records
    size_t at = 48;
    // a bookmark leaf: two records of 368 bytes with their headers
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(i32At(content, at), 3);
        EXPECT_EQ(i32At(content, at + 4), 360);
        at += 368;
    }
    // a book page without marks and tags still has chunks 5 and 6
    EXPECT_EQ(i32At(content, at), 0);
    EXPECT_EQ(i32At(content, at + 4), 396 + 4 + 5);
    EXPECT_EQ(i32At(content, at + 8 + 360 + 12 + 9), 5);
    EXPECT_EQ(i32At(content, at + 8 + 360 + 12 + 9 + 12), 6);
    at += 8 + 396 + 9;
    EXPECT_EQ(i32At(content, at), 1);
    EXPECT_EQ(i32At(content, at + 4), 372 + 4 + 2);
    EXPECT_EQ(at + 8 + 372 + 6, content.size());
}

TEST(FileLayout, StartPageIsContentRelativeAndZeroOutsideTheContent)
{
    CVersaleoDoc doc;
    addBookPages(doc, 4);  // C C I I B B B B C C
    doc.currentPage = 7;
    EXPECT_EQ(i32At(bookfile::serialize(doc), 8), 3);
    for (int page : {0, 1, 2, 3, 8, 9}) {
        doc.currentPage = page;
        EXPECT_EQ(i32At(bookfile::serialize(doc), 8), 0) << page;
    }
}

TEST(FileLayout, LongCaptionsAreCutAtACharacterBoundary)
{
    CVersaleoDoc doc;
    addBookmark(doc, std::string(258, 'c') + "\xD6\xD0" + "more");
    doc.rebuildIndexPages();
    const auto file = bookfile::encode(doc);
    CVersaleoDoc back;
    ASSERT_EQ(bookfile::readBytes(back, *file), 1);
    EXPECT_EQ(back.pages[2]->caption, std::string(258, 'c'));
}

TEST(RoundTrip, EverythingStoredComesBack)
{
    ScratchFolder dir;
    CVersaleoDoc doc;
    fillBook(doc);
    doc.modified = 1;
    ASSERT_TRUE(bookfile::save(doc, dir / "book.vl"));
    EXPECT_EQ(doc.modified, 0);

    CVersaleoDoc back;
    back.importers().add("vl", std::make_shared<bookfile::BookFileImporter>());
    ASSERT_EQ(back.openPath(dir / "book.vl"), 1);
    EXPECT_EQ(describe(back), describe(doc));
    EXPECT_EQ(back.currentPage, doc.currentPage);
    EXPECT_EQ(back.modified, 1);

    // saved again, the bytes are the same
    ASSERT_TRUE(bookfile::save(back, dir / "again.vl"));
    EXPECT_EQ(slurp(dir / "again.vl"), slurp(dir / "book.vl"));
}

TEST(RoundTrip, AVersionOneFileIsReadAsScrambledContent)
{
    CVersaleoDoc doc;
    fillBook(doc);
    std::string content = bookfile::serialize(doc);
    content.replace(4, 4, std::string("\x00\x00\x80\x3F", 4));  // 1.0f
    for (char& c : content)
        c = static_cast<char>(bookfile::scramble(static_cast<uint8_t>(c)));
    CVersaleoDoc back;
    ASSERT_EQ(bookfile::readBytes(back, content), 1);
    back.rebuildIndexPages();
    back.numberBookmarks();
    back.currentPage = doc.currentPage;
    EXPECT_EQ(describe(back), describe(doc));
}

TEST(RoundTrip, UnknownSectionsRecordsAndChunksAreSkipped)
{
    // header, an unknown section, then section 2 with an unknown record and
    // a bookmark record carrying an unknown chunk
    ByteWriter out;
    out.i32(24);
    out.u32(bookfile::kVersionBits);
    out.zeros(16);
    out.i32(9);
    out.i32(5);
    out.i32(1);
    out.zeros(5);
    ByteWriter records;
    records.i32(7);  // unknown kind
    records.i32(3);
    records.zeros(3);
    for (int i = 0; i < 2; ++i) {
        records.i32(3);
        records.i32(360 + 16);
        records.i32(99);  // unknown chunk
        records.i32(4);
        records.i32(1);
        records.zeros(4);
        records.i32(3);
        records.i32(348);
        records.i32(1);
        records.i32(0);
        records.u32(rgb(1, 1, 1));
        records.zeros(340);
    }
    out.i32(2);
    out.i32(static_cast<int32_t>(records.size()));
    out.i32(3);
    out.bytes(records.buffer().data(), records.size());
    std::string file = out.buffer();
    const auto body = zcodec::compress(file.data() + 8, file.size() - 8);
    file = file.substr(0, 8);
    for (char& c : file)
        c = static_cast<char>(bookfile::scramble(static_cast<uint8_t>(c)));
    file += *body;

    CVersaleoDoc doc;
    ASSERT_EQ(bookfile::readBytes(doc, file), 1);
    EXPECT_EQ(doc.pageCount(), 6);
    EXPECT_EQ(doc.pages[2]->kind(), PageKind::BookmarkPage);
    EXPECT_EQ(doc.pages[3]->background, rgb(1, 1, 1));
}

TEST(HostileFiles, TruncatedFilesFailAndAddNothing)
{
    CVersaleoDoc source;
    fillBook(source);
    const std::string file = *bookfile::encode(source);
    for (size_t length = 0; length < file.size(); length += 1 + length / 16) {
        CVersaleoDoc doc;
        EXPECT_EQ(bookfile::readBytes(doc, file.substr(0, length)), 0) << length;
        EXPECT_EQ(doc.pageCount(), 4);
        EXPECT_EQ(doc.modified, 0);
    }
}

TEST(HostileFiles, MutatedBytesNeverCrashAndAFailedReadAddsNothing)
{
    CVersaleoDoc source;
    fillBook(source);
    const std::string content = bookfile::serialize(source);
    std::mt19937 random(1234);
    int accepted = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string mutated = content;
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int c = 0; c < changes; ++c) {
            const size_t at = random() % mutated.size();
            // lying size fields are the interesting case: favour big values
            mutated[at] = static_cast<char>(random() % 3 == 0 ? 0x7F : random() % 256);
        }
        std::string file = mutated.substr(0, 8);
        for (char& ch : file)
            ch = static_cast<char>(bookfile::scramble(static_cast<uint8_t>(ch)));
        const auto body = zcodec::compress(mutated.data() + 8, mutated.size() - 8);
        file += *body;
        if (round % 3 == 0)
            file[8 + random() % (file.size() - 8)] ^= static_cast<char>(1 + random() % 255);
        CVersaleoDoc doc;
        const int result = bookfile::readBytes(doc, file);
        if (result == 0) {
            EXPECT_EQ(doc.pageCount(), 4);
        } else {
            ++accepted;
            EXPECT_EQ(doc.pageCount() % 2, 0);
            for (const auto& page : doc.pages) {
                for (const auto& mark : page->marks)
                    EXPECT_LT(mark.lastCell, static_cast<int32_t>(page->cells().size()));
            }
            doc.rebuildIndexPages();
            doc.numberBookmarks();
            (void)doc.statisticsLine();
        }
    }
    EXPECT_GT(accepted, 0);  // not every change is fatal: text bytes may change freely
}

TEST(HostileFiles, ALyingCountCannotExhaustMemory)
{
    ByteWriter out;
    out.i32(24);
    out.u32(bookfile::kVersionBits);
    out.zeros(16);
    out.i32(2);
    out.i32(8);
    out.i32(0x7FFFFFFF);
    out.i32(0);
    out.i32(0);
    std::string file = out.buffer().substr(0, 8);
    for (char& c : file)
        c = static_cast<char>(bookfile::scramble(static_cast<uint8_t>(c)));
    file += *zcodec::compress(out.buffer().data() + 8, out.size() - 8);
    CVersaleoDoc doc;
    EXPECT_EQ(bookfile::readBytes(doc, file), 0);
    EXPECT_EQ(doc.pageCount(), 4);
}

TEST(HostileFiles, InflatingStopsAtTheLimit)
{
    const std::string zeros(1 << 20, '\0');
    const auto packed = zcodec::compress(zeros.data(), zeros.size());
    ASSERT_TRUE(packed);
    EXPECT_LT(packed->size(), 2000u);
    EXPECT_FALSE(zcodec::uncompress(packed->data(), packed->size(), 1 << 19));
    const auto whole = zcodec::uncompress(packed->data(), packed->size(), 1 << 20);
    ASSERT_TRUE(whole);
    EXPECT_EQ(*whole, zeros);
    EXPECT_FALSE(zcodec::uncompress("not zlib", 8));
}

TEST(HostileFiles, AMissingFileFails)
{
    CVersaleoDoc doc;
    EXPECT_EQ(bookfile::read(doc, "/nonexistent/book.vl"), 0);
    EXPECT_EQ(doc.pageCount(), 4);
}

TEST(Saving, AFailedWriteLeavesThePreviousFileByteIdentical)
{
    ScratchFolder dir;
    const std::string path = dir / "book.vl";
    CVersaleoDoc small;
    addBookPages(small, 2);
    ASSERT_TRUE(bookfile::save(small, path));
    const std::string before = slurp(path);

    // a much bigger book, written where files may not grow past 4 KiB
    CVersaleoDoc big;
    FixedMeasurer m;
    std::string text;
    std::mt19937 random(7);
    for (int i = 0; i < 40000; ++i)
        text += i % 7 == 6 ? ' ' : static_cast<char>('a' + random() % 26);
    layout::importText(big, "/b/big.txt", text, m);
    big.modified = 1;

    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit limited = old;
    limited.rlim_cur = 4096;
    ::setrlimit(RLIMIT_FSIZE, &limited);
    const bool saved = bookfile::save(big, path);
    ::setrlimit(RLIMIT_FSIZE, &old);

    EXPECT_FALSE(saved);
    EXPECT_EQ(slurp(path), before);
    EXPECT_EQ(big.modified, 1);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 1);  // no temporary left
}

TEST(Saving, WhereNoFolderCanBeMadeFails)
{
    ScratchFolder dir;
    std::ofstream(dir / "file") << "x";
    CVersaleoDoc doc;
    doc.modified = 1;
    EXPECT_FALSE(bookfile::save(doc, dir / "file/book.vl"));
    EXPECT_EQ(doc.modified, 1);
}

TEST(StreamedFile, ASavedBookIsByteForByteTheFileSavedBeforeTheBodyWasStreamed)
{
    // fixture-book.vl was saved when the body was still compressed whole.
    const std::string before = slurp(std::string(BOOK_TEST_DATA) + "/fixture-book.vl");
    ASSERT_FALSE(before.empty());
    CVersaleoDoc doc;
    buildFixtureBook(doc);
    ScratchFolder dir;
    ASSERT_TRUE(bookfile::save(doc, dir / "fixture.vl"));
    EXPECT_EQ(slurp(dir / "fixture.vl"), before);
    EXPECT_EQ(bookfile::encode(doc), before);

    // Read back through the streamed reader, it saves to the same bytes.
    CVersaleoDoc back;
    back.importers().add("vl", std::make_shared<bookfile::BookFileImporter>());
    ASSERT_EQ(back.openPath(dir / "fixture.vl"), 1);
    ASSERT_TRUE(bookfile::save(back, dir / "again.vl"));
    EXPECT_EQ(slurp(dir / "again.vl"), before);
}

// A book whose body inflates to several megabytes and compresses badly, so
// that reading and writing cross many chunks of the stream.
void fillLargeBook(CVersaleoDoc& doc)
{
    std::mt19937 random(11);
    std::string text;
    while (text.size() < (3u << 20)) {
        for (int letters = 1 + static_cast<int>(random() % 9); letters > 0; --letters)
            text += static_cast<char>('a' + random() % 26);
        text += random() % 40 == 0 ? "\r\n" : " ";
    }
    FixedMeasurer m;
    layout::importText(doc, "/b/large.txt", text, m);
    doc.rebuildIndexPages();
    doc.numberBookmarks();
}

TEST(StreamedFile, ALargeBookComesBackWholeAndTheSameBodyAsCompressedWhole)
{
    CVersaleoDoc doc;
    fillLargeBook(doc);
    const std::string content = bookfile::serialize(doc);
    ASSERT_GT(content.size(), 3u << 20);
    const std::optional<std::string> file = bookfile::encode(doc);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->substr(8), *zcodec::compress(content.data() + 8, content.size() - 8));

    CVersaleoDoc back;
    ASSERT_EQ(bookfile::readBytes(back, *file), 1);
    back.rebuildIndexPages();
    back.numberBookmarks();
    // Compared whole: a diff of books this size would take longer than the test.
    EXPECT_TRUE(describe(back) == describe(doc));
}

TEST(StreamedFile, ALargeBookCutAnywhereOrWithTrailingBytesIsReadAsBefore)
{
    CVersaleoDoc doc;
    fillLargeBook(doc);
    const std::string file = *bookfile::encode(doc);
    for (const size_t length : {file.size() / 3, file.size() / 2 + 7, file.size() - 1}) {
        CVersaleoDoc cut;
        EXPECT_EQ(bookfile::readBytes(cut, file.substr(0, length)), 0) << length;
        EXPECT_EQ(cut.pageCount(), 4);
    }
    // Bytes after the end of the compressed stream are never read.
    CVersaleoDoc whole, trailing;
    ASSERT_EQ(bookfile::readBytes(whole, file), 1);
    EXPECT_EQ(bookfile::readBytes(trailing, file + "trailing bytes"), 1);
    EXPECT_TRUE(describe(trailing) == describe(whole));
}

TEST(StreamedFile, ASectionClaimingMoreBytesThanTheFileHoldsAddsNothing)
{
    CVersaleoDoc doc;
    fillBook(doc);
    std::string content = bookfile::serialize(doc);
    // Section 1 starts after the 24-byte header: claim a huge size for it.
    ByteWriter huge;
    huge.i32(0x7FFFFFF0);
    content.replace(28, 4, huge.buffer());
    std::string file;
    for (size_t i = 0; i < 8; ++i)
        file += static_cast<char>(bookfile::scramble(static_cast<uint8_t>(content[i])));
    file += *zcodec::compress(content.data() + 8, content.size() - 8);
    CVersaleoDoc back;
    EXPECT_EQ(bookfile::readBytes(back, file), 0);
    EXPECT_EQ(back.pageCount(), 4);
}

}  // namespace
