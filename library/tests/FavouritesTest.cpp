#include "library/Favourites.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>
#include <sstream>

namespace {

std::vector<std::string> numbered(size_t count)
{
    std::vector<std::string> entries;
    for (size_t i = 0; i < count; ++i)
        entries.push_back("file:///pages/site" + std::to_string(i) + "/index.html");
    return entries;
}

std::string document(const std::vector<std::string>& hrefs)
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>\n";
    for (const std::string& href : hrefs)
        xml += "  <item href=\"" + href + "\"/>\n";
    return xml + "</root>\n";
}

std::string fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Go's address rules.

TEST(AddressBox, AnAddressInsideARememberedOneAddsNothing)
{
    std::vector<std::string> entries = {"http://example.org/books/index.html"};
    EXPECT_FALSE(favourites::remember(entries, "example.org/books"));
    EXPECT_EQ(entries.size(), 1u);
}

TEST(AddressBox, AnAddressHoldingARememberedOneAddsNothing)
{
    std::vector<std::string> entries = {"example.org"};
    EXPECT_FALSE(favourites::remember(entries, "http://example.org/books/"));
    EXPECT_EQ(entries, std::vector<std::string>{"example.org"});
}

TEST(AddressBox, TheSubstringTestMindsCase)
{
    std::vector<std::string> entries = {"http://Example.org/"};
    EXPECT_TRUE(favourites::remember(entries, "example.org"));
    EXPECT_EQ(entries.back(), "example.org");
}

TEST(AddressBox, ANewAddressIsAppendedAtTheEnd)
{
    std::vector<std::string> entries = {"file:///a.html", "file:///b.html"};
    EXPECT_TRUE(favourites::remember(entries, "file:///c.html"));
    EXPECT_EQ(entries, (std::vector<std::string>{"file:///a.html", "file:///b.html", "file:///c.html"}));
}

TEST(AddressBox, AnEmptyAddressAddsNothing)
{
    std::vector<std::string> entries;
    EXPECT_FALSE(favourites::remember(entries, ""));
    EXPECT_TRUE(entries.empty());
}

TEST(AddressBox, WithThirtyEntriesANewAddressRemovesEntryOneFirst)
{
    std::vector<std::string> entries = numbered(30);
    const std::vector<std::string> before = entries;
    EXPECT_TRUE(favourites::remember(entries, "file:///new.html"));
    ASSERT_EQ(entries.size(), 30u);
    EXPECT_EQ(entries[0], before[0]);
    EXPECT_EQ(entries[1], before[2]);
    EXPECT_EQ(entries[28], before[29]);
    EXPECT_EQ(entries[29], "file:///new.html");
}

TEST(AddressBox, WithTwentyNineEntriesNothingIsRemoved)
{
    std::vector<std::string> entries = numbered(29);
    EXPECT_TRUE(favourites::remember(entries, "file:///new.html"));
    EXPECT_EQ(entries.size(), 30u);
    EXPECT_EQ(entries[1], numbered(2)[1]);
}

TEST(AddressBox, ACoveredAddressLeavesAFullListWhole)
{
    std::vector<std::string> entries = numbered(30);
    EXPECT_FALSE(favourites::remember(entries, "site7/index"));
    EXPECT_EQ(entries, numbered(30));
}

// "favorite.xml".

TEST(FavouritesFile, FortyItemsLoadTheFirstTwentyNine)
{
    const std::vector<std::string> entries = favourites::parse(document(numbered(40)));
    std::vector<std::string> first = numbered(29);
    EXPECT_EQ(entries, first);
}

TEST(FavouritesFile, AnEmptyHrefIsSkippedButCounts)
{
    std::vector<std::string> hrefs = numbered(40);
    hrefs[3] = "";
    const std::vector<std::string> entries = favourites::parse(document(hrefs));
    // Twenty-nine values are read, one of them empty.
    ASSERT_EQ(entries.size(), 28u);
    EXPECT_EQ(entries[2], hrefs[2]);
    EXPECT_EQ(entries[3], hrefs[4]);
    EXPECT_EQ(entries.back(), hrefs[28]);
}

TEST(FavouritesFile, HrefsAreFoundAnywhereWhateverTheElements)
{
    const std::string xml = "<list><group><link href=\"a.html\"/></group><x href=\"b.html\">t</x>"
                            "<item name=\"c.html\"/></list>";
    EXPECT_EQ(favourites::parse(xml), (std::vector<std::string>{"a.html", "b.html"}));
}

TEST(FavouritesFile, SaveAndLoadKeepEveryEntryIncludingTheFirst)
{
    QTemporaryDir folder;
    const std::string path = favourites::filePath(folder.path().toStdString());
    const std::vector<std::string> entries = {"file:///first.html", "http://example.org/?a=1&b=<2>",
                                              "file:///tmp/\xE4\xB8\xAD\xE6\x96\x87.html", "file:///last.html"};
    ASSERT_TRUE(favourites::save(path, entries));
    EXPECT_EQ(favourites::load(path), entries);
}

TEST(FavouritesFile, IsWrittenInTheFormatsShapeAndLaidOut)
{
    const std::string xml = favourites::serialize({"file:///a.html", "file:///b.html"});
    EXPECT_EQ(xml, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                   "<root>\n"
                   "   <item href=\"file:///a.html\"/>\n"
                   "   <item href=\"file:///b.html\"/>\n"
                   "</root>\n");
}

TEST(FavouritesFile, ControlCharactersAreLeftOutSoTheFileStaysReadable)
{
    QTemporaryDir folder;
    const std::string path = favourites::filePath(folder.path().toStdString());
    ASSERT_TRUE(favourites::save(path, {std::string("file:///a\x01\x1b.html")}));
    EXPECT_EQ(favourites::load(path), std::vector<std::string>{"file:///a.html"});
}

TEST(FavouritesFile, AMissingOrDamagedFileGivesAnEmptyList)
{
    QTemporaryDir folder;
    const std::string path = favourites::filePath(folder.path().toStdString());
    EXPECT_TRUE(favourites::load(path).empty());
    std::ofstream(path) << "<root><item href=\"file:///a.html\"></root>";
    EXPECT_TRUE(favourites::load(path).empty());
    EXPECT_TRUE(favourites::parse("").empty());
}

TEST(FavouritesFile, NestedEntitiesDoNotExpandWithoutLimit)
{
    std::string xml = "<?xml version=\"1.0\"?><!DOCTYPE root [<!ENTITY a0 \"0123456789\">";
    for (int i = 1; i < 12; ++i) {
        const std::string previous = "&a" + std::to_string(i - 1) + ";";
        std::string body;
        for (int k = 0; k < 10; ++k)
            body += previous;
        xml += "<!ENTITY a" + std::to_string(i) + " \"" + body + "\">";
    }
    xml += "]><root><item href=\"&a11;\"/><item href=\"file:///b.html\"/></root>";
    EXPECT_TRUE(favourites::parse(xml).empty());
}

TEST(FavouritesFile, AFileSavedTwiceHoldsOnlyTheSecondList)
{
    QTemporaryDir folder;
    const std::string path = favourites::filePath(folder.path().toStdString());
    ASSERT_TRUE(favourites::save(path, numbered(5)));
    ASSERT_TRUE(favourites::save(path, {"file:///only.html"}));
    EXPECT_EQ(favourites::load(path), std::vector<std::string>{"file:///only.html"});
    EXPECT_EQ(fileBytes(path).find("site"), std::string::npos);
}

}  // namespace
