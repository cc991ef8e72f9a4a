#include "DocFixtures.h"

#include "book/ChapterScanner.h"
#include "book/CodePage.h"
#include "book/Encodings.h"
#include "book/Importers.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

std::string gb(const std::string& utf8)
{
    return codepage::fromUtf8(utf8);
}

TEST(ChapterHeadings, ShortParagraphsNamingAChapterAreHeadings)
{
    for (const std::string& heading :
         {gb("第一章"), gb("第十二章 归来"), gb("第1章：开始"), gb("第１２３回 群英会"), gb("　第三卷　风云  "),
          gb("第二百零五节"), gb("第壹部"), gb("第七篇 结语"), gb("第十集"), std::string("Chapter 7"),
          std::string("CHAPTER XII"), std::string("Part II - Exile"), std::string("Book 1: The Road"),
          std::string("  Chapter 3. Home"), std::string("Chapter 10 The Storm"), std::string("Part iv"),
          gb("Chapter 5 风暴")})
        EXPECT_TRUE(chapters::isHeading(heading)) << codepage::toUtf8(heading);
}

TEST(ChapterHeadings, ProseThatMentionsAChapterIsNoHeading)
{
    for (const std::string& prose :
         {gb("他读到第三章时"), gb("他读到第三章时，天已经黑了。"), gb("第三章写得很好。"), gb("第一天"), gb("第章"),
          gb("第一章") + gb("很长的一段话") + std::string(60, 'x'), std::string("Chapter seven"),
          std::string("Part 2 of the plan was simple"), std::string("Book Ideas"), std::string("Chapters 1"),
          std::string("Chapter"), std::string("Parting words"), std::string(""), std::string("   ")})
        EXPECT_FALSE(chapters::isHeading(prose)) << codepage::toUtf8(prose);
}

TEST(ChapterHeadings, CharactersAreComparedWholeNotByteByByte)
{
    // 暗谝徽隆: the bytes B5 DA D2 BB D5 C2 of 第一章 straddle these
    // characters without being them.
    const std::string straddling = "\xB0\xB5\xDA\xD2\xBB\xD5\xC2\xA1";
    ASSERT_NE(straddling.find(gb("第一章")), std::string::npos);
    EXPECT_FALSE(chapters::isHeading(straddling));
    EXPECT_TRUE(chapters::findHeadings(straddling + "\r\n" + straddling).empty());
}

TEST(ChapterHeadings, ParagraphsAreCountedAsTheLayoutCountsThem)
{
    const std::string text = "intro\r\nChapter 1\nbody\rmore\r\n\r\nChapter 2\r\n" + gb("第三章") + std::string("\0Chapter 9", 10);
    const std::vector<chapters::Heading> headings = chapters::findHeadings(text);
    ASSERT_EQ(headings.size(), 3u);
    EXPECT_EQ(headings[0].paragraph, 1u);
    EXPECT_EQ(headings[1].paragraph, 5u);
    EXPECT_EQ(headings[1].title, "Chapter 2");
    EXPECT_EQ(headings[2].paragraph, 6u);
}

class ChapterOpening : public testing::Test {
protected:
    ChapterOpening()
    {
        doc.setNotifier(&notifier);
        registerStandardImporters(doc);
    }
    // A novel of twelve chapters in GB18030, each a few pages long; the third
    // chapter's text mentions the third chapter in its middle.
    std::string writeNovel()
    {
        static const char* const kNumbers[] = {"一", "二", "三", "四", "五", "六", "七", "八", "九", "十", "十一", "十二"};
        std::string text = gb("序言：这是一本测试用的小说。") + "\r\n";
        for (int c = 0; c < 12; ++c) {
            text += gb(std::string("第") + kNumbers[c] + "章 风雨") + "\r\n";
            for (int p = 0; p < 40; ++p)
                text += gb(p == 20 ? "他读到第三章时，天已经黑了。" : "雨一直下着，街上没有一个行人，只有风吹过树梢的声音。") + "\r\n";
        }
        const std::string path = folder / "novel.txt";
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    std::vector<std::string> entryTitles() const
    {
        std::vector<std::string> titles;
        for (const IndexEntry* entry : doc.indexEntries)
            titles.emplace_back(entry->titleText());
        return titles;
    }

    TestFolder folder;
    CVersaleoDoc doc;
    RecordingNotifier notifier;
};

TEST_F(ChapterOpening, AChineseNovelGetsAnEntryPerChapterOnItsPageAfterTheFilesEntry)
{
    doc.openPath(writeNovel());
    static const char* const kNumbers[] = {"一", "二", "三", "四", "五", "六", "七", "八", "九", "十", "十一", "十二"};
    std::vector<std::string> expected = {"novel.txt"};
    for (const char* n : kNumbers)
        expected.push_back(gb(std::string("第") + n + "章 风雨"));
    EXPECT_EQ(entryTitles(), expected);
    int lastPage = 0;
    for (size_t i = 1; i < doc.indexEntries.size(); ++i) {
        const IndexEntry& entry = *doc.indexEntries[i];
        const int page = doc.pageOfBookPage(entry.bookPageNumber);
        ASSERT_GE(page, 0);
        const auto& lines = doc.pages[static_cast<size_t>(page)]->lines;
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                                [&](const std::string& line) { return line == "    " + std::string(entry.titleText()) + "\r\n"; }))
            << i;
        EXPECT_GT(entry.bookPageNumber, lastPage);
        lastPage = entry.bookPageNumber;
    }
}

TEST_F(ChapterOpening, AnEncodingCommandKeepsTheChapterEntries)
{
    doc.openPath(writeNovel());
    const std::vector<std::string> before = entryTitles();
    ASSERT_EQ(before.size(), 13u);
    encoding::reencode(doc, 0);
    EXPECT_EQ(entryTitles(), before);
}

TEST_F(ChapterOpening, TheSettingOrNeedIndexOffLeavesOnlyTheFilesOwnEntry)
{
    doc.detectChapters = 0;
    doc.openPath(writeNovel());
    EXPECT_EQ(entryTitles(), std::vector<std::string>{"novel.txt"});
    doc.emptyWindow();
    doc.detectChapters = 1;
    doc.needIndex = 0;
    doc.openPath(writeNovel());
    EXPECT_TRUE(doc.indexEntries.empty());
}

TEST_F(ChapterOpening, WebPagesKeepTheirOneEntry)
{
    const std::string path = folder / "page.html";
    std::ofstream(path) << "<p>Chapter 1<p>text<p>Chapter 2<p>more";
    doc.openPath(path);
    EXPECT_EQ(entryTitles(), std::vector<std::string>{"page.html"});
}


// Regression: "Part dim" and "Book civil" were taken for Roman numerals, and
// a full-width number after "Chapter" for none.
TEST(ChapterHeadings, OnlyWellFormedRomanNumeralsAndAnyDigitsNumberAnEnglishHeading)
{
    for (const std::string& heading : {std::string("Part MCMXCIV"), std::string("Book xlii"), std::string("CHAPTER IV"),
                                       gb("Chapter １２"), gb("CHAPTER ３：归来")})
        EXPECT_TRUE(chapters::isHeading(heading)) << codepage::toUtf8(heading);
    for (const std::string& prose : {std::string("Part dim"), std::string("Book civil"), std::string("Part IIII"),
                                     std::string("Book VX"), gb("Chapter １２ was long")})
        EXPECT_FALSE(chapters::isHeading(prose)) << codepage::toUtf8(prose);
}

}  // namespace
