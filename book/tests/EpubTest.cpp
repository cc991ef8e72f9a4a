#include "DocFixtures.h"
#include "EpubFixtures.h"

#include "book/CodePage.h"
#include "book/Encodings.h"
#include "book/Importers.h"
#include "book/import/EpubArchive.h"
#include "book/import/EpubPackage.h"

#include "TestSupport.h"
#include "ZipBombs.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>

namespace {

std::vector<std::string> manyParagraphs(const std::string& word, int count)
{
    std::vector<std::string> paragraphs;
    for (int i = 0; i < count; ++i)
        paragraphs.push_back(word + " paragraph " + std::to_string(i + 1) + " of this chapter.");
    return paragraphs;
}

// Three chapters; the second fills several pages, so the third starts well
// after the second.
std::vector<EpubChapter> threeChapters()
{
    return {{"text/one.xhtml", "Chapter One: Dawn", xhtmlPage("Dawn", manyParagraphs("Morning", 3))},
            {"text/two.xhtml", "Chapter Two: Noon", xhtmlPage("Noon", manyParagraphs("Midday", 80))},
            {"text/three.xhtml", "Chapter Three: Dusk", xhtmlPage("Dusk", manyParagraphs("Evening", 3))}};
}

class EpubOpening : public testing::Test {
protected:
    EpubOpening()
    {
        doc.setNotifier(&notifier);
        registerStandardImporters(doc);
    }
    std::string write(const std::string& name, const ZipEntries& entries)
    {
        const std::string path = folder / name;
        EXPECT_TRUE(writeZip(path, entries));
        return path;
    }
    // The first line of the page an index entry points at, without its indent and line end.
    std::string pointedLine(const IndexEntry& entry) const
    {
        const int page = doc.pageOfBookPage(entry.bookPageNumber);
        if (page < 0 || doc.pages[static_cast<size_t>(page)]->lines.empty())
            return {};
        std::string line = doc.pages[static_cast<size_t>(page)]->lines.front();
        line.erase(0, line.find_first_not_of(' '));
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        return line;
    }
    std::vector<std::string> entryTitles() const
    {
        std::vector<std::string> titles;
        for (const IndexEntry* entry : doc.indexEntries)
            titles.emplace_back(entry->titleText());
        return titles;
    }
    std::string allText() const
    {
        std::string text;
        for (const auto& page : doc.pages)
            for (const auto& line : page->lines)
                text += line;
        return text;
    }

    TestFolder folder;
    CVersaleoDoc doc;
    RecordingNotifier notifier;
};

TEST_F(EpubOpening, AnEpub3BookGivesATextPerChapterItsTitleAndAnEntryPerChapter)
{
    const int before = doc.pageCount();
    doc.openPath(write("dawn.epub", epubEntries("Three Times of Day", threeChapters(), true)));
    EXPECT_TRUE(notifier.messages.empty());
    EXPECT_EQ(doc.textSources.size(), 3u);
    ASSERT_EQ(doc.bookmarkCount(), 1);
    EXPECT_EQ(doc.pages[static_cast<size_t>(doc.pageOfBookmark(0))]->caption, "Three Times of Day");
    // the landmarks nav is not the table of contents
    EXPECT_EQ(entryTitles(), (std::vector<std::string>{"Chapter One: Dawn", "Chapter Two: Noon", "Chapter Three: Dusk"}));
    ASSERT_EQ(doc.indexEntries.size(), 3u);
    EXPECT_EQ(pointedLine(*doc.indexEntries[0]), "Dawn");
    EXPECT_EQ(pointedLine(*doc.indexEntries[1]), "Noon");
    EXPECT_EQ(pointedLine(*doc.indexEntries[2]), "Dusk");
    EXPECT_GT(doc.indexEntries[2]->bookPageNumber, doc.indexEntries[1]->bookPageNumber + 2);
    EXPECT_GT(doc.pageCount(), before);
    // paragraphs with attributes are paragraphs; the head's title and style are not text
    EXPECT_NE(allText().find("    Midday paragraph 2 of this chapter.\r\n"), std::string::npos);
    EXPECT_EQ(allText().find("margin"), std::string::npos);
}

TEST_F(EpubOpening, AnEpub2BookReadsItsNcxAndChaptersInTheirDeclaredEncoding)
{
    // 双城记, 第一部 ... in UTF-8; the second chapter is written in GB18030
    std::vector<EpubChapter> chapters = threeChapters();
    chapters[0].tocTitle = "\xE7\xAC\xAC\xE4\xB8\x80\xE9\x83\xA8";
    chapters[1].xhtml = codepage::fromUtf8(xhtmlPage("\xE6\xAD\xA3\xE5\x8D\x88", manyParagraphs("Midday", 80),
                                                     "<?xml version=\"1.0\" encoding=\"GB18030\"?>"));
    doc.openPath(write("city.epub", epubEntries("\xE5\x8F\x8C\xE5\x9F\x8E\xE8\xAE\xB0", chapters, false)));
    EXPECT_TRUE(notifier.messages.empty());
    EXPECT_EQ(doc.textSources.size(), 3u);
    ASSERT_EQ(doc.bookmarkCount(), 1);
    EXPECT_EQ(doc.pages[static_cast<size_t>(doc.pageOfBookmark(0))]->caption, codepage::fromUtf8("双城记"));
    EXPECT_EQ(entryTitles(), (std::vector<std::string>{codepage::fromUtf8("第一部"), "Chapter Two: Noon",
                                                       "Chapter Three: Dusk"}));
    ASSERT_EQ(doc.indexEntries.size(), 3u);
    EXPECT_EQ(pointedLine(*doc.indexEntries[1]), codepage::fromUtf8("正午"));
    EXPECT_EQ(pointedLine(*doc.indexEntries[2]), "Dusk");
}

TEST_F(EpubOpening, ABookTitleLongerThanACaptionIsCutAtACharacterBoundary)
{
    // eleven Chinese characters: 22 bytes, cut to ten
    const std::string title = "\xE9\x95\xBF\xE9\x95\xBF\xE9\x95\xBF\xE9\x95\xBF\xE9\x95\xBF\xE9\x95\xBF\xE9\x95\xBF"
                              "\xE9\x95\xBF\xE9\x95\xBF\xE9\x95\xBF\xE9\x95\xBF";
    doc.openPath(write("long.epub", epubEntries(title, threeChapters(), true)));
    ASSERT_EQ(doc.bookmarkCount(), 1);
    EXPECT_EQ(doc.pages[static_cast<size_t>(doc.pageOfBookmark(0))]->caption,
              codepage::fromUtf8(title).substr(0, 20));
}

TEST_F(EpubOpening, WithoutNeedIndexOrNeedBookmarkTheBookGetsNeither)
{
    doc.needIndex = 0;
    doc.needBookmark = 0;
    doc.openPath(write("plain.epub", epubEntries("Plain", threeChapters(), true)));
    EXPECT_EQ(doc.textSources.size(), 3u);
    EXPECT_EQ(doc.bookmarkCount(), 0);
    EXPECT_TRUE(doc.indexEntries.empty());
}

TEST_F(EpubOpening, EntriesThatStepOutOfTheBookAreRefusedWhole)
{
    const int before = doc.pageCount();
    for (const std::string& bad : {std::string("../evil.xhtml"), std::string("OEBPS/../../evil.xhtml"),
                                   std::string("/etc/evil.xhtml"), std::string("C:\\evil.xhtml"),
                                   std::string("OEBPS\\..\\..\\evil.xhtml"), "OEBPS/" + std::string(2000, 'n')}) {
        ZipEntries entries = epubEntries("Bad", threeChapters(), true);
        entries.push_back({bad, "<html/>"});
        notifier.messages.clear();
        doc.openPath(write("bad.epub", entries));
        EXPECT_EQ(notifier.messages, std::vector<DocMessage>{DocMessage::DamagedFile}) << bad.substr(0, 40);
        EXPECT_EQ(doc.pageCount(), before) << bad.substr(0, 40);
    }
}

TEST(EpubNames, OnlyRelativeNamesInsideTheBookAreSafe)
{
    EXPECT_TRUE(epub::isSafeEntryName("OEBPS/text/one.xhtml"));
    EXPECT_TRUE(epub::isSafeEntryName("a..b/..c"));
    EXPECT_FALSE(epub::isSafeEntryName(""));
    EXPECT_FALSE(epub::isSafeEntryName(".."));
    EXPECT_FALSE(epub::isSafeEntryName("a/../../b"));
    EXPECT_FALSE(epub::isSafeEntryName("\\share\\b"));
    EXPECT_FALSE(epub::isSafeEntryName(std::string(epub::kMaxNameBytes + 1, 'a')));
    EXPECT_TRUE(epub::isSafeEntryName(std::string(epub::kMaxNameBytes, 'a')));
}

TEST(EpubNames, HrefsResolveAgainstTheirFileAndNeverAboveTheBook)
{
    EXPECT_EQ(epub::resolve("OEBPS/content.opf", "text/one.xhtml"), "OEBPS/text/one.xhtml");
    EXPECT_EQ(epub::resolve("OEBPS/text/nav.xhtml", "../text/two%20parts.xhtml#start"), "OEBPS/text/two parts.xhtml");
    EXPECT_EQ(epub::resolve("OEBPS/text/nav.xhtml", "#here"), "OEBPS/text/nav.xhtml");
    EXPECT_EQ(epub::resolve("OEBPS/content.opf", "../../etc/passwd"), "");
    EXPECT_EQ(epub::resolve("OEBPS/content.opf", "/etc/passwd"), "");
    EXPECT_EQ(epub::resolve("OEBPS/content.opf", "http://example.org/x.html"), "");
}

TEST(EpubArchiveCaps, EntriesBeyondTheSizeCapsRefuseTheBook)
{
    TestFolder folder;
    const std::string path = folder / "big.epub";
    ASSERT_TRUE(writeZip(path, {{"a.txt", std::string(3000, 'a')}, {"b.txt", std::string(3000, 'b')}}));
    EXPECT_EQ(epub::Archive({.total = 100000, .entry = 2000}).open(path), epub::Archive::OpenResult::Refused);
    EXPECT_EQ(epub::Archive({.total = 5000, .entry = 4000}).open(path), epub::Archive::OpenResult::Refused);
    epub::Archive fits({.total = 6000, .entry = 3000});
    ASSERT_EQ(fits.open(path), epub::Archive::OpenResult::Opened);
    EXPECT_EQ(fits.read("a.txt"), std::string(3000, 'a'));
    EXPECT_EQ(fits.read("missing.txt"), std::nullopt);
    // what has been read counts against the book's cap
    EXPECT_EQ(fits.read("b.txt"), std::string(3000, 'b'));
    EXPECT_EQ(fits.read("a.txt"), std::nullopt);
}

std::string fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Regression: a few kilobytes listing 32 entries over one run of compressed
// bytes inflate to 32 times that run.
TEST(EpubArchiveCaps, ABookOf32OverlappingEntriesIsRefused)
{
    TestFolder folder;
    std::vector<std::string> names;
    for (int i = 0; i < 32; ++i)
        names.push_back("OEBPS/text/chapter" + std::to_string(i) + ".xhtml");
    const std::string content(1u << 20, 'a');
    std::ofstream(folder / "bomb.epub", std::ios::binary) << zipbombs::overlappingArchive(names, content);
    ASSERT_LT(fileBytes(folder / "bomb.epub").size(), 8u << 10);
    EXPECT_EQ(epub::Archive().open(folder / "bomb.epub"), epub::Archive::OpenResult::Refused);

    // One entry alone is an ordinary archive.
    std::ofstream(folder / "one.epub", std::ios::binary) << zipbombs::overlappingArchive({names[0]}, content);
    epub::Archive one;
    ASSERT_EQ(one.open(folder / "one.epub"), epub::Archive::OpenResult::Opened);
    EXPECT_EQ(one.read(names[0]), content);
}

TEST(EpubArchiveCaps, ABookClaimingMoreThanHalfAGigabyteIsRefusedBeforeAnythingIsInflated)
{
    TestFolder folder;
    const std::string path = folder / "claims.epub";
    ASSERT_TRUE(writeZip(path, {{"a.xhtml", "a"}, {"b.xhtml", "b"}, {"c.xhtml", "c"}}));
    std::string bytes = fileBytes(path);
    // Each entry under the cap of one, together over the cap of the book.
    for (size_t at = bytes.find("PK\x01\x02"); at != std::string::npos; at = bytes.find("PK\x01\x02", at + 4))
        bytes.replace(at + 24, 4, std::string("\0\0\0\x0B", 4));  // 176 MiB
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    EXPECT_EQ(epub::Archive().open(path), epub::Archive::OpenResult::Refused);
    EXPECT_EQ(epub::Archive({.total = uint64_t{3} * (176u << 20), .entry = 176u << 20}).open(path),
              epub::Archive::OpenResult::Opened);
}

TEST_F(EpubOpening, ABookWhoseChapterSharesAnotherChaptersBytesIsReportedDamaged)
{
    const std::string path = write("shared.epub", epubEntries("Shared", threeChapters(), true));
    std::string bytes = fileBytes(path);
    // The directory entry of chapter two points at chapter one's local header.
    const std::string one = "OEBPS/text/one.xhtml", two = "OEBPS/text/two.xhtml";
    size_t oneAt = std::string::npos;
    for (size_t at = bytes.find("PK\x03\x04"); at != std::string::npos; at = bytes.find("PK\x03\x04", at + 4)) {
        if (bytes.compare(at + 30, one.size(), one) == 0)
            oneAt = at;
    }
    size_t twoEntry = std::string::npos;
    for (size_t at = bytes.find("PK\x01\x02"); at != std::string::npos; at = bytes.find("PK\x01\x02", at + 4)) {
        if (bytes.compare(at + 46, two.size(), two) == 0)
            twoEntry = at;
    }
    ASSERT_NE(oneAt, std::string::npos);
    ASSERT_NE(twoEntry, std::string::npos);
    const auto offset = static_cast<uint32_t>(oneAt);
    bytes.replace(twoEntry + 42, 4, std::string{static_cast<char>(offset & 0xFF), static_cast<char>((offset >> 8) & 0xFF),
                                                static_cast<char>((offset >> 16) & 0xFF), static_cast<char>(offset >> 24)});
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    doc.openPath(path);
    EXPECT_EQ(notifier.messages, std::vector<DocMessage>{DocMessage::DamagedFile});
    EXPECT_TRUE(doc.textSources.empty());
}

TEST_F(EpubOpening, AMissingChapterIsSkippedAndItsEntryGoesToTheNextChapter)
{
    ZipEntries entries = epubEntries("Gaps", threeChapters(), true);
    std::erase_if(entries, [](const auto& entry) { return entry.first == "OEBPS/text/two.xhtml"; });
    doc.openPath(write("gaps.epub", entries));
    EXPECT_TRUE(notifier.messages.empty());
    EXPECT_EQ(doc.textSources.size(), 2u);
    ASSERT_EQ(doc.indexEntries.size(), 3u);
    EXPECT_EQ(pointedLine(*doc.indexEntries[0]), "Dawn");
    EXPECT_EQ(pointedLine(*doc.indexEntries[1]), "Dusk");
    EXPECT_EQ(pointedLine(*doc.indexEntries[2]), "Dusk");
}

TEST_F(EpubOpening, AChapterThatIsNotWellFormedIsReadAsAWebPage)
{
    std::vector<EpubChapter> chapters = threeChapters();
    chapters[1].xhtml = "<html><body><p>Broken <b>bold</p>text & more<br>after the break";
    doc.openPath(write("broken.epub", epubEntries("Broken", chapters, true)));
    EXPECT_EQ(doc.textSources.size(), 3u);
    EXPECT_NE(allText().find("Broken boldtext & more\r\n"), std::string::npos);
    EXPECT_NE(allText().find("after the break"), std::string::npos);
}

TEST_F(EpubOpening, ABookLockedByDrmIsReportedAndLeftClosed)
{
    ZipEntries entries = epubEntries("Locked", threeChapters(), true);
    entries.push_back({"META-INF/encryption.xml",
                       "<encryption xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\" "
                       "xmlns:enc=\"http://www.w3.org/2001/04/xmlenc#\"><enc:EncryptedData>"
                       "<enc:EncryptionMethod Algorithm=\"http://www.w3.org/2001/04/xmlenc#aes128-cbc\"/>"
                       "<enc:CipherData><enc:CipherReference URI=\"OEBPS/text/one.xhtml\"/></enc:CipherData>"
                       "</enc:EncryptedData></encryption>"});
    const int before = doc.pageCount();
    const std::string path = write("locked.epub", entries);
    doc.openPath(path);
    EXPECT_EQ(notifier.messages, std::vector<DocMessage>{DocMessage::LockedBook});
    EXPECT_EQ(notifier.messagePaths, std::vector<std::string>{path});
    EXPECT_EQ(doc.pageCount(), before);
}

TEST_F(EpubOpening, ObfuscatedFontsDoNotLockABook)
{
    ZipEntries entries = epubEntries("Fonts", threeChapters(), true);
    entries.push_back({"META-INF/encryption.xml",
                       "<encryption xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\" "
                       "xmlns:enc=\"http://www.w3.org/2001/04/xmlenc#\"><enc:EncryptedData>"
                       "<enc:EncryptionMethod Algorithm=\"http://www.idpf.org/2008/embedding\"/>"
                       "<enc:CipherData><enc:CipherReference URI=\"OEBPS/font.otf\"/></enc:CipherData>"
                       "</enc:EncryptedData></encryption>"});
    doc.openPath(write("fonts.epub", entries));
    EXPECT_TRUE(notifier.messages.empty());
    EXPECT_EQ(doc.textSources.size(), 3u);
}

TEST_F(EpubOpening, AFileThatIsNoBookIsReportedDamaged)
{
    const int before = doc.pageCount();
    const std::string notZip = folder / "text.epub";
    std::ofstream(notZip) << "just some text";
    doc.openPath(notZip);
    const std::string noContainer = write("empty.epub", {{"mimetype", "application/epub+zip"}});
    doc.openPath(noContainer);
    const std::string badPackage =
        write("package.epub", {{"META-INF/container.xml", kContainerXml}, {"OEBPS/content.opf", "<package><unclosed"}});
    doc.openPath(badPackage);
    EXPECT_EQ(notifier.messages, std::vector<DocMessage>(3, DocMessage::DamagedFile));
    EXPECT_EQ(doc.pageCount(), before);
}

TEST_F(EpubOpening, DeclaredEntitiesAreNeitherExpandedNorFetched)
{
    std::vector<EpubChapter> chapters = threeChapters();
    chapters[0].xhtml = "<?xml version=\"1.0\"?>\n<!DOCTYPE html [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;\">"
                        "<!ENTITY secret SYSTEM \"file:///etc/passwd\">]>\n"
                        "<html xmlns=\"http://www.w3.org/1999/xhtml\"><body><p>Dawn came &b; &secret; early</p></body></html>";
    doc.openPath(write("entities.epub", epubEntries("Entities", chapters, true)));
    EXPECT_EQ(doc.textSources.size(), 3u);
    EXPECT_NE(allText().find("Dawn came"), std::string::npos);
    EXPECT_EQ(allText().find("aaaaaaaaaa"), std::string::npos);
    EXPECT_EQ(allText().find("root:"), std::string::npos);
}

TEST_F(EpubOpening, TheEntitiesOfXhtmlReadWithoutTheirDtd)
{
    std::vector<EpubChapter> chapters = threeChapters();
    chapters[0].xhtml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.1//EN\" "
                        "\"http://www.w3.org/TR/xhtml11/DTD/xhtml11.dtd\">\n<html xmlns=\"http://www.w3.org/1999/xhtml\">"
                        "<body><p>Dawn&nbsp;came&mdash;early &amp; late</p></body></html>";
    doc.openPath(write("xhtml11.epub", epubEntries("Entities", chapters, true)));
    EXPECT_NE(allText().find(codepage::fromUtf8("Dawn came\xE2\x80\x94" "early & late")), std::string::npos);
}

TEST_F(EpubOpening, ABookWithoutATableOfContentsGetsOneEntryWithItsTitle)
{
    ZipEntries entries = epubEntries("No Contents", threeChapters(), true);
    std::erase_if(entries, [](const auto& entry) { return entry.first == "OEBPS/nav.xhtml"; });
    doc.openPath(write("nocontents.epub", entries));
    EXPECT_EQ(entryTitles(), std::vector<std::string>{"No Contents"});
    ASSERT_EQ(doc.indexEntries.size(), 1u);
    EXPECT_EQ(pointedLine(*doc.indexEntries[0]), "Dawn");
}


// Books a hostile or careless maker could write: none may crash the reader,
// and each opens what it can or is reported damaged, adding nothing.
TEST_F(EpubOpening, HostilePackagesOpenWhatTheyCanOrNothing)
{
    const auto opf = [](const std::string& manifest, const std::string& spine) {
        return "<?xml version=\"1.0\"?><package xmlns=\"http://www.idpf.org/2007/opf\" version=\"3.0\"><metadata "
               "xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:title>T</dc:title></metadata><manifest>" +
               manifest + "</manifest><spine>" + spine + "</spine></package>";
    };
    const std::string page = xhtmlPage("Only", {"Some words."});
    const auto container = [](const std::string& path) {
        return "<?xml version=\"1.0\"?><container xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\"><rootfiles>"
               "<rootfile full-path=\"" + path + "\" media-type=\"application/oebps-package+xml\"/></rootfiles></container>";
    };
    const std::vector<std::pair<std::string, ZipEntries>> books = {
        {"rootfile outside", {{"META-INF/container.xml", container("../content.opf")}, {"content.opf", opf("", "")}}},
        {"rootfile absolute", {{"META-INF/container.xml", container("/etc/passwd")}}},
        {"rootfile empty", {{"META-INF/container.xml", container("")}}},
        {"rootfile is the container", {{"META-INF/container.xml", container("META-INF/container.xml")}}},
        {"idref missing", {{"META-INF/container.xml", kContainerXml},
                           {"OEBPS/content.opf", opf("<item id=\"a\" href=\"a.xhtml\" media-type=\"application/xhtml+xml\"/>",
                                                     "<itemref idref=\"zz\"/><itemref/><itemref idref=\"a\"/>")},
                           {"OEBPS/a.xhtml", page}}},
        {"spine items all missing", {{"META-INF/container.xml", kContainerXml},
                           {"OEBPS/content.opf", opf("<item id=\"a\" href=\"a.xhtml\" media-type=\"application/xhtml+xml\"/>",
                                                     "<itemref idref=\"zz\"/><itemref idref=\"a\"/>")}}},
        {"nav at missing files", {{"META-INF/container.xml", kContainerXml},
                                  {"OEBPS/content.opf", opf("<item id=\"a\" href=\"a.xhtml\" media-type=\"application/xhtml+xml\"/>"
                                                            "<item id=\"n\" href=\"nav.xhtml\" properties=\"nav\" media-type=\"application/xhtml+xml\"/>",
                                                            "<itemref idref=\"a\"/>")},
                                  {"OEBPS/nav.xhtml", "<html><body><nav><ol><li><a href=\"gone.xhtml#x\">Gone</a></li><li><a href=\"#\">Self</a></li>"
                                                      "<li><a href=\"a.xhtml#nowhere\">A</a></li><li><a href=\"%2e%2e/%2e%2e/x\">Up</a></li>"
                                                      "<li><a>None</a></li><li><a href=\"a.xhtml%00.x\">Nul</a></li></ol></nav></body></html>"},
                                  {"OEBPS/a.xhtml", page}}},
        {"ncx at missing files", {{"META-INF/container.xml", kContainerXml},
                                  {"OEBPS/content.opf", opf("<item id=\"a\" href=\"a.xhtml\" media-type=\"application/xhtml+xml\"/>"
                                                            "<item id=\"t\" href=\"toc.ncx\" media-type=\"application/x-dtbncx+xml\"/>",
                                                            "<itemref idref=\"a\"/>")},
                                  {"OEBPS/toc.ncx", "<ncx><navMap><navPoint><navLabel><text>X</text></navLabel><content src=\"none.xhtml\"/>"
                                                    "<navPoint><navLabel/><content/></navPoint></navPoint></navMap></ncx>"},
                                  {"OEBPS/a.xhtml", page}}},
        {"empty chapter", {{"META-INF/container.xml", kContainerXml},
                           {"OEBPS/content.opf", opf("<item id=\"a\" href=\"a.xhtml\" media-type=\"application/xhtml+xml\"/>"
                                                     "<item id=\"b\" href=\"b.html\"/>", "<itemref idref=\"a\"/><itemref idref=\"b\"/>")},
                           {"OEBPS/a.xhtml", ""}, {"OEBPS/b.html", ""}}},
        {"spine of the package itself", {{"META-INF/container.xml", kContainerXml},
                           {"OEBPS/content.opf", opf("<item id=\"a\" href=\"content.opf\" media-type=\"application/xhtml+xml\"/>",
                                                     "<itemref idref=\"a\"/><itemref idref=\"a\"/>")}}},
        {"title not UTF-8", {{"META-INF/container.xml", kContainerXml},
                           {"OEBPS/content.opf", "<?xml version=\"1.0\"?><package><metadata><dc:title xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\xB9\xE9\xC0\xB4</dc:title></metadata>"
                                                 "<manifest><item id=\"a\" href=\"a.xhtml\"/></manifest><spine><itemref idref=\"a\"/></spine></package>"},
                           {"OEBPS/a.xhtml", page}}},
        {"title in GBK", {{"META-INF/container.xml", kContainerXml},
                           {"OEBPS/content.opf", "<?xml version=\"1.0\" encoding=\"GBK\"?><package><metadata><dc:title xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\xB9\xE9\xC0\xB4</dc:title></metadata>"
                                                 "<manifest><item id=\"a\" href=\"a.xhtml\"/></manifest><spine><itemref idref=\"a\"/></spine></package>"},
                           {"OEBPS/a.xhtml", page}}},
        {"chapter not UTF-8", {{"META-INF/container.xml", kContainerXml},
                           {"OEBPS/content.opf", opf("<item id=\"a\" href=\"a.xhtml\" media-type=\"application/xhtml+xml\"/>", "<itemref idref=\"a\"/>")},
                           {"OEBPS/a.xhtml", "<html><body><p>\xFF\xFE\x80 broken \xC3</p></body></html>"}}},
        {"chapter UTF-16 odd", {{"META-INF/container.xml", kContainerXml},
                           {"OEBPS/content.opf", opf("<item id=\"a\" href=\"a.xhtml\" media-type=\"application/xhtml+xml\"/>", "<itemref idref=\"a\"/>")},
                           {"OEBPS/a.xhtml", std::string("\xFF\xFE<\0h\0", 6)}}},
        {"deep nesting", {{"META-INF/container.xml", kContainerXml},
                           {"OEBPS/content.opf", opf("<item id=\"a\" href=\"a.xhtml\" media-type=\"application/xhtml+xml\"/>", "<itemref idref=\"a\"/>")},
                           {"OEBPS/a.xhtml", "<html><body>" + std::string(20000 * 5, ' ').replace(0, std::string::npos, [] {
                               std::string divs;
                               for (int i = 0; i < 20000; ++i)
                                   divs += "<div>";
                               return divs;
                           }()) + "x</body></html>"}}},
    };
    // No package, or a spine naming nothing the archive holds: no book.
    const std::set<std::string> damaged = {"rootfile outside", "rootfile absolute", "rootfile empty",
                                           "rootfile is the container", "spine items all missing"};
    for (const auto& [what, entries] : books) {
        notifier.messages.clear();
        doc.emptyWindow();
        doc.openPath(write("hostile.epub", entries));
        SCOPED_TRACE(what);
        // An undeclared GBK title is read as such.
        if (what == "title not UTF-8") {
            ASSERT_GE(doc.pageOfBookmark(0), 0);
            EXPECT_EQ(doc.pages[static_cast<size_t>(doc.pageOfBookmark(0))]->caption, "\xB9\xE9\xC0\xB4");
        }
        const bool refused = damaged.count(what) != 0;
        EXPECT_EQ(notifier.messages, refused ? std::vector<DocMessage>{DocMessage::DamagedFile} : std::vector<DocMessage>{});
        EXPECT_EQ(doc.textSources.size(), refused ? 0u : 1u);
        EXPECT_EQ(doc.indexEntries.empty(), refused);
        for (const IndexEntry* entry : doc.indexEntries)
            EXPECT_GE(doc.pageOfBookPage(entry->bookPageNumber), 0);
    }
}

TEST_F(EpubOpening, ADuplicatedEntryNameReadsItsFirstCopy)
{
    ZipEntries entries = epubEntries("Twice", threeChapters(), true);
    entries.push_back({"OEBPS/text/one.xhtmX", "<html><body><p>second copy</p></body></html>"});
    const std::string path = write("twice.epub", entries);
    std::string bytes;
    {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    for (size_t at = bytes.find("one.xhtmX"); at != std::string::npos; at = bytes.find("one.xhtmX", at))
        bytes[at + 8] = 'l';
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    doc.openPath(path);
    EXPECT_TRUE(notifier.messages.empty());
    EXPECT_EQ(doc.textSources.size(), 3u);
    EXPECT_NE(allText().find("Morning"), std::string::npos);
    EXPECT_EQ(allText().find("second copy"), std::string::npos);
}


// A zip bomb: an entry that claims a few bytes in both its headers but
// inflates to far more is cut at its cap when read, not trusted.
TEST(EpubArchiveCaps, AnEntryLyingAboutItsSizeIsCutAtTheCap)
{
    TestFolder folder;
    const std::string path = folder / "bomb.epub";
    ASSERT_TRUE(writeZip(path, {{"bomb.xhtml", std::string(1 << 20, 'a')}}));
    std::string bytes;
    {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    const auto claimSmall = [&bytes](std::string_view signature, size_t sizeOffset) {
        const size_t header = bytes.find(signature);
        ASSERT_NE(header, std::string::npos);
        bytes.replace(header + sizeOffset, 4, std::string("\x10\0\0\0", 4));
    };
    claimSmall("PK\x03\x04", 22);
    claimSmall("PK\x01\x02", 24);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    epub::Archive archive({.total = 1 << 30, .entry = 4096});
    ASSERT_EQ(archive.open(path), epub::Archive::OpenResult::Opened);
    const std::optional<std::string> read = archive.read("bomb.xhtml");
    EXPECT_TRUE(!read || read->size() <= 4096);
}


// Regression: the Encoding command kept only the first entry of each
// chapter, so a part and its first chapter sharing a file lost the chapter.
TEST_F(EpubOpening, AnEncodingCommandKeepsEveryEntryOfAChapter)
{
    ZipEntries entries = epubEntries("Parts", threeChapters(), true);
    for (auto& [name, content] : entries) {
        if (name == "OEBPS/nav.xhtml") {
            const std::string first = "<li><a href=\"text/one.xhtml\">Chapter One: Dawn</a></li>";
            content.insert(content.find(first), "<li><a href=\"text/one.xhtml#top\">Part One</a></li>");
        }
    }
    doc.openPath(write("parts.epub", entries));
    const std::vector<std::string> before = entryTitles();
    ASSERT_EQ(before, (std::vector<std::string>{"Part One", "Chapter One: Dawn", "Chapter Two: Noon", "Chapter Three: Dusk"}));
    encoding::reencode(doc, 2);
    EXPECT_EQ(entryTitles(), before);
}

}  // namespace
