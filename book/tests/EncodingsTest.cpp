#include "DocFixtures.h"

#include "book/BookFile.h"
#include "book/CodePage.h"
#include "book/Encodings.h"
#include "book/TextLayout.h"

#include <gtest/gtest.h>

namespace {

using encoding::Text;

std::string str(const Text& text)
{
    return text ? std::string(text.get()) : std::string("<null>");
}

const std::string kBig5Zhongwen = "\xA4\xA4\xA4\xE5";  // 中文 in Big5
const std::string kGbkZhongwen = "\xD6\xD0\xCE\xC4";   // 中文 in GBK

TEST(Conversions, BetweenTheChineseCodePages)
{
    EXPECT_EQ(str(encoding::big5ToGbk(kBig5Zhongwen.c_str())), kGbkZhongwen);
    EXPECT_EQ(str(encoding::gbkToBig5(kGbkZhongwen.c_str())), kBig5Zhongwen);
    EXPECT_EQ(str(encoding::utf8ToAnsi("\xE4\xB8\xAD\xE6\x96\x87")), kGbkZhongwen);
    // every character has a place in the code page: an emoji takes four bytes
    EXPECT_EQ(str(encoding::utf8ToAnsi("a\xF0\x9F\x98\x80" "b")), "a\x94\x39\xFC\x36" "b");
    // bytes that are not UTF-8 become U+FFFD, never a question mark; a mark goes
    EXPECT_EQ(str(encoding::utf8ToAnsi("\xEF\xBB\xBF" "a\xFF" "b")), "a\x84\x31\xA4\x37" "b");
    EXPECT_EQ(encoding::big5ToGbk(nullptr), nullptr);
    EXPECT_EQ(encoding::traditionalToSimplified(nullptr), nullptr);
}

TEST(Conversions, SimplifiedAndTraditional)
{
    const std::string simplified = codepage::fromUtf8("书学");
    const std::string traditional = codepage::fromUtf8("書學");
    EXPECT_EQ(str(encoding::simplifiedToTraditional(simplified.c_str())), traditional);
    EXPECT_EQ(str(encoding::traditionalToSimplified(traditional.c_str())), simplified);
    const std::string big5Traditional = codepage::fromUtf8("書學", codepage::kBig5);
    EXPECT_EQ(str(encoding::big5ToGb2312(big5Traditional.c_str())), simplified);
    EXPECT_EQ(str(encoding::gb2312ToBig5(simplified.c_str())), big5Traditional);
}

TEST(EncodingTable, RowsAndCodesWithoutOne)
{
    ASSERT_NE(encoding::findEncoding(0), nullptr);
    EXPECT_STREQ(encoding::findEncoding(0)->face, "\xCB\xCE\xCC\xE5");
    EXPECT_EQ(encoding::findEncoding(1)->charset, 136);
    EXPECT_EQ(encoding::findEncoding(4)->charset, 128);
    EXPECT_STREQ(encoding::findEncoding(4)->face, "MS Gothic");
    EXPECT_EQ(encoding::findEncoding(103)->charset, 136);
    EXPECT_EQ(encoding::findEncoding(5), nullptr);
    EXPECT_EQ(encoding::findEncoding(99), nullptr);
    EXPECT_EQ(encoding::findEncoding(106), nullptr);
}

class Reencode : public testing::Test {
protected:
    Reencode()
    {
        doc.setNotifier(&notifier);
        doc.importers().add("txt", std::make_shared<layout::PlainTextImporter>());
    }
    void importText(const std::string& path, const std::string& bytes)
    {
        FixedMeasurer m;
        layout::importText(doc, path, bytes, m);
        doc.rebuildIndexPages();
        doc.numberBookmarks();
    }
    std::string firstLineOf(const TextSource& source)
    {
        return source.firstPage->lines.empty() ? "" : source.firstPage->lines[0];
    }
    CVersaleoDoc doc;
    RecordingNotifier notifier;
};

TEST_F(Reencode, EveryCommandStartsAgainFromTheKeptBytes)
{
    importText("/b/big5.txt", kBig5Zhongwen + "\n");
    encoding::reencode(doc, 101);
    EXPECT_EQ(firstLineOf(*doc.textSources[0]), "    " + kGbkZhongwen + "\r\n");
    EXPECT_EQ(doc.styles.bookPage.font.lfCharSet, 134);
    EXPECT_EQ(doc.styles.bookPage.font.faceName(), "\xCB\xCE\xCC\xE5");
    // the kept Big5 bytes, read as GBK and turned into Big5: not the first result
    encoding::reencode(doc, 103);
    const std::string expected = str(encoding::gbkToBig5(kBig5Zhongwen.c_str()));
    EXPECT_EQ(firstLineOf(*doc.textSources[0]), "    " + expected + "\r\n");
    EXPECT_NE(expected, kBig5Zhongwen);
    EXPECT_EQ(doc.styles.bookPage.font.lfCharSet, 136);
    EXPECT_EQ(doc.textSources[0]->bytes, kBig5Zhongwen + "\n");
    EXPECT_EQ(doc.currentPage, doc.firstContentPage());
    EXPECT_EQ(notifier.refreshes, 2);
}

TEST_F(Reencode, TheIndexEntrySurvivesAndTheBookmarkIsNotDuplicated)
{
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "A line of the first text.\n";
    importText("/b/one.txt", text);
    const std::string before = pageNames(doc)[4];
    ASSERT_EQ(doc.bookmarkCount(), 1);
    ASSERT_EQ(doc.indexEntryCount(), 1);
    const int pages = doc.pageCount();
    encoding::reencode(doc, 3);
    EXPECT_EQ(doc.bookmarkCount(), 1);
    ASSERT_EQ(doc.indexEntryCount(), 1);
    EXPECT_EQ(doc.indexEntries[0]->titleText(), "one.txt");
    EXPECT_EQ(doc.indexEntries[0]->bookPageNumber, 1);
    EXPECT_EQ(doc.pageCount(), pages);
    EXPECT_EQ(doc.pages[4]->kind(), PageKind::BookmarkPage);
    EXPECT_EQ(doc.pages[6].get(), doc.textSources[0]->firstPage);
    EXPECT_EQ(doc.styles.bookPage.font.faceName(), "Arial");
}

TEST_F(Reencode, ASourceWhosePagesWentIsSkipped)
{
    importText("/b/b.txt", "second text\n");
    importText("/b/a.txt", "first text\n");
    ASSERT_EQ(doc.textSources.size(), 2u);
    // C C I I [M M A a] [M M B b] C C: delete the first text's pages by a page command
    doc.deleteLeaves(6, 7);
    ASSERT_EQ(doc.textSources.size(), 1u);
    EXPECT_EQ(doc.textSources[0]->bytes, "second text\n");
    encoding::reencode(doc, 3);
    EXPECT_EQ(doc.pages[doc.indexOfPage(doc.textSources[0]->firstPage)]->lines[0], "    second text\r\n");
}

TEST_F(Reencode, NothingChangesWithoutTextSourcesOrForAnUnknownCode)
{
    addBookPages(doc, 2);
    doc.modified = 0;
    encoding::reencode(doc, 101);
    EXPECT_EQ(doc.modified, 0);
    EXPECT_EQ(notifier.waits, 0);
    EXPECT_EQ(doc.styles.bookPage.font.faceName(), "Arial");

    importText("/b/a.txt", "text\n");
    doc.modified = 0;
    encoding::reencode(doc, 50);
    EXPECT_EQ(doc.modified, 0);
    EXPECT_EQ(doc.styles.bookPage.font.faceName(), "Arial");
}

TEST_F(Reencode, AfterOpeningABookFileThereIsNothingToReencode)
{
    importText("/b/a.txt", "text\n");
    const auto file = bookfile::encode(doc);
    CVersaleoDoc opened;
    opened.importers().add("vl", std::make_shared<bookfile::BookFileImporter>());
    ASSERT_EQ(bookfile::readBytes(opened, *file), 1);
    opened.textSources.clear();  // what opening does first
    opened.modified = 0;
    encoding::reencode(opened, 100);
    EXPECT_EQ(opened.modified, 0);
    EXPECT_EQ(opened.styles.bookPage.font.faceName(), "Arial");
}

}  // namespace
