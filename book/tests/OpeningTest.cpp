#include "DocFixtures.h"

#include <gtest/gtest.h>

namespace {

using Paths = std::vector<std::string>;

std::string selection(std::initializer_list<const char*> parts)
{
    std::string buffer;
    for (const char* part : parts) {
        buffer += part;
        buffer += '\0';
    }
    buffer += '\0';
    return buffer;
}

TEST(OpenSelection, FolderThenNamesSortedWithoutRegardToCase)
{
    const std::string buffer = selection({"/books", "b.txt", "A.txt", "c.vl", "a.txt"});
    EXPECT_EQ(parseOpenSelection(buffer.data(), buffer.size(), 7),
              (Paths{"/books/A.txt", "/books/a.txt", "/books/b.txt", "/books/c.vl"}));
}

TEST(OpenSelection, ASinglePathSplitsAtItsLastSeparator)
{
    const std::string path = "/home/me/novel.txt";
    EXPECT_EQ(parseOpenSelection(path.c_str(), path.size() + 1, 9), (Paths{"/home/me/novel.txt"}));
    const std::string root = "/x.txt";
    EXPECT_EQ(parseOpenSelection(root.c_str(), root.size() + 1, 1), (Paths{"/x.txt"}));
}

TEST(OpenSelection, BoundedByTheBufferAndTheLimit)
{
    // a name without its NUL inside the buffer is cut off, so it is not used
    const std::string unterminated = std::string("/d") + '\0' + "abc" + '\0' + "ab";
    EXPECT_EQ(parseOpenSelection(unterminated.data(), unterminated.size(), 3), (Paths{"/d/abc"}));
    // a first name past the end, or nothing after the folder
    EXPECT_TRUE(parseOpenSelection(unterminated.data(), unterminated.size(), 50).empty());
    const std::string folderOnly = selection({"/d"});
    EXPECT_TRUE(parseOpenSelection(folderOnly.data(), folderOnly.size(), 3).empty());
    EXPECT_TRUE(parseOpenSelection(nullptr, 10, 0).empty());
    // names beyond 26,000 bytes are not read
    std::string big = "/d";
    big += '\0';
    big += std::string(25990, 'n');
    big += '\0';
    big += "late.txt";
    big += '\0';
    EXPECT_EQ(parseOpenSelection(big.data(), big.size(), 3).size(), 1u);
}

class Opening : public testing::Test {
protected:
    Opening()
    {
        doc.setNotifier(&notifier);
        doc.importers().add("txt", txt);
        doc.importers().add("vl", vl);
    }
    CVersaleoDoc doc;
    RecordingNotifier notifier;
    std::shared_ptr<FakeImporter> txt = std::make_shared<FakeImporter>();
    std::shared_ptr<FakeImporter> vl = std::make_shared<FakeImporter>(true, true);
};

TEST_F(Opening, NothingToOpenShowsTheMessageAndReturnsZero)
{
    const std::string buffer = selection({"/books"});
    EXPECT_EQ(doc.openFiles(buffer.data(), buffer.size(), 7), 0);
    EXPECT_EQ(notifier.messages, std::vector<DocMessage>{DocMessage::NoFileToOpen});
    EXPECT_STREQ(messageText(notifier.messages[0]), "There isn't file to open.");
    EXPECT_STREQ(messageCaption(notifier.messages[0]), "Error");
}

TEST_F(Opening, FilesEndUpInListOrderAndTheBookOpensAtItsContent)
{
    const std::string buffer = selection({"/b", "2.TXT", "1.txt"});
    EXPECT_EQ(doc.openFiles(buffer.data(), buffer.size(), 3), 1);
    EXPECT_EQ(txt->imported, (Paths{"/b/2.TXT", "/b/1.txt"}));  // last first
    const auto names = pageNames(doc);
    EXPECT_EQ(names[6], "/b/1.txt");
    EXPECT_EQ(names[10], "/b/2.TXT");
    EXPECT_EQ(doc.currentPage, doc.firstContentPage());
    EXPECT_EQ(doc.bookmarkCount(), 2);
    EXPECT_EQ(doc.pages[static_cast<size_t>(doc.pageOfBookmark(1))]->bookmarkColour, 2);
    EXPECT_EQ(doc.indexEntryCount(), 2);
    EXPECT_EQ(notifier.refreshes, 1);
    EXPECT_EQ(notifier.waits, 1);
    EXPECT_EQ(notifier.waitsEnded, 1);
    EXPECT_TRUE(notifier.messages.empty());
}

TEST_F(Opening, AnUnsupportedTypeStopsTheRestButKeepsWhatWasOpened)
{
    const std::string buffer = selection({"/b", "a.txt", "b.xyz", "c.txt", "noextension"});
    EXPECT_EQ(doc.openFiles(buffer.data(), buffer.size(), 3), 1);
    // taken from the last: "noextension" is refused before anything opens
    EXPECT_TRUE(txt->imported.empty());
    EXPECT_EQ(notifier.messages, std::vector<DocMessage>{DocMessage::UnsupportedType});

    notifier.messages.clear();
    const std::string second = selection({"/b", "a.txt", "b.xyz", "c.txt"});
    EXPECT_EQ(doc.openFiles(second.data(), second.size(), 3), 1);
    EXPECT_EQ(txt->imported, (Paths{"/b/c.txt"}));
    EXPECT_EQ(notifier.messages, std::vector<DocMessage>{DocMessage::UnsupportedType});
    EXPECT_EQ(pageNames(doc)[6], "/b/c.txt");
}

TEST_F(Opening, AFileThatFailsToLoadDoesNotChangeTheResult)
{
    auto failing = std::make_shared<FakeImporter>(false);
    doc.importers().add("pdf", failing);
    EXPECT_EQ(doc.openPath("/b/broken.PDF"), 1);
    EXPECT_EQ(failing->imported, (Paths{"/b/broken.PDF"}));
    EXPECT_EQ(doc.pageCount(), 4);
    EXPECT_EQ(notifier.refreshes, 0);  // nothing changed, nothing to repaint
}

TEST_F(Opening, TheStartPageOfABookIsKeptInsideTheBook)
{
    doc.pageToOpenAt = 0;
    struct StartAt : FakeImporter {
        StartAt() : FakeImporter(true, true) {}
        bool import(CVersaleoDoc& d, const std::string& path) override
        {
            FakeImporter::import(d, path);
            d.pageToOpenAt = 1000;  // what a damaged file may say
            return true;
        }
    };
    doc.importers().add("vl", std::make_shared<StartAt>());
    EXPECT_EQ(doc.openPath("/b/book.vl"), 1);
    EXPECT_EQ(doc.currentPage, doc.lastContentPage());
}

TEST_F(Opening, ALibraryNameReplacesTheFirstCaptionAndIndexTitle)
{
    const std::string name = "A library name longer than any caption or title can hold";
    EXPECT_EQ(doc.openLibraryBook("/lib/novel.txt", name), 1);
    const int front = doc.pageOfBookmark(0);
    ASSERT_GE(front, 0);
    EXPECT_EQ(doc.pages[static_cast<size_t>(front)]->caption, name.substr(0, 20));
    EXPECT_EQ(doc.pages[static_cast<size_t>(front) + 1]->caption, name.substr(0, 20));
    EXPECT_EQ(doc.indexEntries[0]->titleText(), name.substr(0, 39));
}

TEST_F(Opening, ALibraryNameLeavesBookFilesAndSwitchedOffPartsAlone)
{
    doc.needBookmark = 0;
    EXPECT_EQ(doc.openLibraryBook("/lib/novel.txt", "Name"), 1);
    EXPECT_EQ(doc.pages[static_cast<size_t>(doc.pageOfBookmark(0))]->caption, "file caption");
    EXPECT_EQ(doc.indexEntries[0]->titleText(), "Name");

    doc.emptyWindow();
    doc.needBookmark = 1;
    EXPECT_EQ(doc.openLibraryBook("/lib/saved.vl", "Name"), 1);
    EXPECT_EQ(doc.bookmarkCount(), 0);
    EXPECT_EQ(doc.indexEntryCount(), 0);
}

TEST_F(Opening, ALibraryBookThatFailsToLoadLeavesTheOpenBooksNamesAlone)
{
    ASSERT_EQ(doc.openPath("/b/first.txt"), 1);
    doc.importers().add("pdf", std::make_shared<FakeImporter>(false));
    EXPECT_EQ(doc.openLibraryBook("/lib/book1.pdf", "Library name"), 1);
    EXPECT_EQ(doc.pages[static_cast<size_t>(doc.pageOfBookmark(0))]->caption, "file caption");
    EXPECT_EQ(doc.indexEntries[0]->titleText(), "file title");
}

}  // namespace
