#include "library/LibraryFile.h"

#include "book/CodePage.h"

#include "CabinetPrinting.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

std::string page(const char* utf8)
{
    return codepage::fromUtf8(utf8);
}

std::string fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::vector<CCabinet> sampleLibrary()
{
    CCabinet classics;
    classics.name = "Classics";
    classics.creator = "Reader";
    classics.createYear = 2008;
    classics.createMonth = 5;
    classics.createDay = 17;
    classics.books.push_back({rgb(100, 200, 100), "book1.txt", "Journey", "Anonymous"});
    classics.books.push_back({rgb(10, 20, 30), "book2.htm", "Tom & Jerry's \"<Best>\"", page("王小明")});
    CCabinet chinese;
    chinese.name = page("经典书柜");
    chinese.borderColor = rgb(0, 0, 255);
    chinese.createYear = 2024;
    chinese.createMonth = 12;
    chinese.createDay = 31;
    return {classics, chinese};
}

TEST(LibraryFileWriting, TheWrittenFileIsExactlyTheExpectedOne)
{
    EXPECT_EQ(libraryfile::serialize(sampleLibrary()), fileBytes(std::string(TEST_DATA) + "/library-expected.xml"));
}

TEST(LibraryFileWriting, AnEmptyLibraryIsAnEmptyRoot)
{
    EXPECT_EQ(libraryfile::serialize({}), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root/>\n");
}

TEST(LibraryFileWriting, MarkupCharactersQuotesAndChineseRoundTrip)
{
    std::vector<CCabinet> library = sampleLibrary();
    library[1].creator = page("<作者> & \"引号\" 'single'");
    // a copy's name is a file-system name (UTF-8), the rest page text
    library[1].books.push_back({rgb(255, 255, 255), "书名.txt", page("a<b&c>d\"e'f"), page("Ünïcödé 日本語 한국어")});
    library[1].books.push_back({rgb(1, 2, 3), "book3.txt", "line one\r\nline\ttwo", "  spaced  "});
    const auto read = libraryfile::parse(libraryfile::serialize(library));
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, library);
}

TEST(LibraryFileWriting, CharactersXmlCannotHoldAreLeftOutSoTheFileStaysReadable)
{
    std::vector<CCabinet> library(1);
    library[0].name = std::string("bell\x07") + "and\x01" + "null";
    const std::string written = libraryfile::serialize(library);
    const auto read = libraryfile::parse(written);
    ASSERT_TRUE(read);
    EXPECT_EQ((*read)[0].name, "bellandnull");
}

TEST(LibraryFileReading, AnyLayoutAndAttributeOrderIsRead)
{
    const auto read = libraryfile::parse(
        "<root><cabinet CreateDay='3' name='A' BorderColor=' 255 '><book FileName='book7.pdf' BookName='T' "
        "FrameColor='+16'/>\n\n<note>ignored</note></cabinet><other/>\n  <cabinet name='B'/></root>");
    ASSERT_TRUE(read);
    ASSERT_EQ(read->size(), 2u);
    const CCabinet& a = (*read)[0];
    EXPECT_EQ(a.name, "A");
    EXPECT_EQ(a.creator, "");
    EXPECT_EQ(a.borderColor, 255u);
    EXPECT_EQ(a.createDay, 3);
    // missing numbers read as 0, not as the defaults of a new cabinet
    EXPECT_EQ(a.createYear, 0);
    EXPECT_EQ((*read)[1].borderColor, 0u);
    ASSERT_EQ(a.books.size(), 1u);
    EXPECT_EQ(a.books[0], (CCabinetBook{16, "book7.pdf", "T", ""}));
}

TEST(LibraryFileReading, NumbersThatAreNoNumbersReadAsZero)
{
    const auto read = libraryfile::parse(
        "<root><cabinet CreateYear='20x8' CreateMonth='99999999999' CreateDay='-4' BorderColor='4294967295'/></root>");
    ASSERT_TRUE(read);
    const CCabinet& c = (*read)[0];
    EXPECT_EQ(c.createYear, 0);
    EXPECT_EQ(c.createMonth, 0);
    EXPECT_EQ(c.createDay, -4);
    EXPECT_EQ(c.borderColor, 0xFFFFFFFFu);  // written unsigned: the same 32 bits
}

TEST(LibraryFileReading, WhatIsNoLibraryIsNotReadAsAnEmptyOne)
{
    EXPECT_FALSE(libraryfile::parse(""));
    EXPECT_FALSE(libraryfile::parse("<root><cabinet name='A'>"));  // cut off mid-way
    EXPECT_FALSE(libraryfile::parse("\x89PNG\r\n\x1a\n"));
    EXPECT_FALSE(libraryfile::parse("<favorites><cabinet name='A'/></favorites>"));
    EXPECT_FALSE(libraryfile::parse(std::string(libraryfile::kMaxFileSize + 1, ' ')));
    const auto empty = libraryfile::parse("<root/>");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
}

TEST(LibraryFileReading, FileNamesThatCouldLeaveTheBooksFolderAreDropped)
{
    const auto read = libraryfile::parse(
        "<root><cabinet name='A'>"
        "<book FileName='../outside.txt'/><book FileName='/etc/passwd'/><book FileName='a\\b.txt'/>"
        "<book FileName='..'/><book FileName=''/><book BookName='no file name'/>"
        "<book FileName='book1.txt'/></cabinet></root>");
    ASSERT_TRUE(read);
    ASSERT_EQ((*read)[0].books.size(), 1u);
    EXPECT_EQ((*read)[0].books[0].fileName, "book1.txt");
}

TEST(LibraryFileReading, EntitiesFromOutsideAreNeverFetched)
{
    // An external entity in a name would read a file of the reader's into
    // the library: such a document is not well-formed, so it is no library.
    EXPECT_FALSE(libraryfile::parse("<!DOCTYPE root [<!ENTITY secret SYSTEM 'file:///etc/hostname'>]>"
                                    "<root><cabinet name='&secret;'/></root>"));
    // Internal entities are ordinary text.
    const auto read = libraryfile::parse("<!DOCTYPE root [<!ENTITY who 'Reader'>]>"
                                         "<root><cabinet name='A' creator='&who;'/></root>");
    ASSERT_TRUE(read);
    EXPECT_EQ((*read)[0].creator, "Reader");
}

TEST(LibraryFileReading, EntitiesThatExpandWithoutEndAreRefused)
{
    std::string dtd = "<!DOCTYPE root [<!ENTITY a0 'laugh'>";
    for (int k = 1; k <= 10; ++k) {
        dtd += "<!ENTITY a" + std::to_string(k) + " '";
        for (int n = 0; n < 10; ++n)
            dtd += "&a" + std::to_string(k - 1) + ";";
        dtd += "'>";
    }
    dtd += "]>";
    EXPECT_FALSE(libraryfile::parse(dtd + "<root><cabinet name='&a10;'/></root>"));
}

TEST(LibraryFileReading, ALargeEntityNamedOverAndOverIsRefused)
{
    // 100 KB of file that would read as a 40 MB name.
    std::string document = "<!DOCTYPE root [<!ENTITY big '" + std::string(100 * 1024, 'A') + "'>]><root><cabinet name='";
    for (int n = 0; n < 400; ++n)
        document += "&big;";
    document += "'/></root>";
    EXPECT_FALSE(libraryfile::parse(document));
    // A few uses of a small one are ordinary text, in every attribute.
    const auto read = libraryfile::parse("<!DOCTYPE root [<!ENTITY me 'Reader'><!ENTITY us '&me; &amp; &me;'>]>"
                                         "<root><cabinet name='&us;' creator='&me;'><book BookName='&us;' "
                                         "FileName='book1.txt'/></cabinet></root>");
    ASSERT_TRUE(read);
    EXPECT_EQ((*read)[0].name, "Reader & Reader");
    EXPECT_EQ((*read)[0].creator, "Reader");
    EXPECT_EQ((*read)[0].books.at(0).bookName, "Reader & Reader");
}

TEST(PrettyPrinting, ElementsIndentByDepthAndBlankTextIsDropped)
{
    EXPECT_EQ(libraryfile::prettyPrint("<?xml version='1.0'?><!--note--><a x='1'>\n\t <b>text<c/></b>"
                                       "<CData>x&lt;y</CData><?pi data?><d>  </d></a>"),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<!--note-->\n"
              "<a x=\"1\">\n"
              "   <b>text\n"
              "      <c/>\n"
              "   </b>\n"
              "   <CData><![CDATA[x<y]]></CData>\n"
              "   <?pi data?>\n"
              "   <d/>\n"
              "</a>\n");
    EXPECT_EQ(libraryfile::prettyPrint("not xml"), "");
}

TEST(PrettyPrinting, TheStylesheetIsAResourceOfTheProgram)
{
    const std::string sheet = libraryfile::prettyPrintStylesheet();
    EXPECT_NE(sheet.find("indent-increment"), std::string::npos);
}

}  // namespace
