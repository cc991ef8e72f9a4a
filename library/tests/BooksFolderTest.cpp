#include "library/BooksFolder.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::vector<std::string> names(const std::string& folder)
{
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder))
        found.push_back(entry.path().filename().string());
    std::sort(found.begin(), found.end());
    return found;
}

class BooksFolder : public testing::Test {
protected:
    TestFolder folder;
    TestFolder sources;
};

TEST_F(BooksFolder, TheFolderIsMadeBesideTheProgramWhenAskedFor)
{
    const ScopedEnv home("VERSALEO_HOME", folder.path());
    EXPECT_EQ(books::booksFolder(), folder / "books");
    EXPECT_TRUE(fs::is_directory(folder / "books"));
    EXPECT_EQ(books::libraryFilePath(folder / "books"), folder / "books/library.xml");
}

TEST_F(BooksFolder, CopiesTakeTheFirstFreeNumber)
{
    EXPECT_EQ(books::freeCopyName(folder.path(), "txt"), "book1.txt");
    writeFile(folder / "book1.txt", "");
    writeFile(folder / "book3.txt", "");
    writeFile(folder / "book2.pdf", "");
    EXPECT_EQ(books::freeCopyName(folder.path(), "txt"), "book2.txt");
    EXPECT_EQ(books::freeCopyName(folder.path(), "pdf"), "book1.pdf");
    EXPECT_EQ(books::freeCopyName(folder.path(), ""), "book1.");
}

TEST_F(BooksFolder, ANameTakenInAnotherCaseIsNotFree)
{
    // The clean-up takes Book1.TXT for book1.txt, and a disk blind to case
    // holds only one of them.
    writeFile(folder / "BOOK1.TXT", "");
    fs::create_directory(folder / "Book2.txt");
    EXPECT_EQ(books::freeCopyName(folder.path(), "txt"), "book3.txt");
    EXPECT_EQ(books::freeCopyName(folder.path(), "TXT"), "book3.TXT");
}

TEST_F(BooksFolder, TheExtensionIsWhatFollowsTheLastDotOfTheName)
{
    EXPECT_EQ(books::copyExtension("/a/novel.part1.TXT"), "TXT");
    EXPECT_EQ(books::copyExtension("/a.dir/readme"), "");
    EXPECT_EQ(books::copyExtension("/a/ends-in-dot."), "");
    EXPECT_EQ(books::copyExtension("/a/中文.文本"), "文本");
    // what the library file could not hold, or absurd lengths
    EXPECT_EQ(books::copyExtension("/a/x.\xff\xfe"), "");
    EXPECT_EQ(books::copyExtension("/a/x.t\x01t"), "");
    EXPECT_EQ(books::copyExtension("/a/x." + std::string(200, 'e')), "");
}

TEST_F(BooksFolder, ACopyKeepsTheBytesAndOnlyPlainFilesAreCopied)
{
    writeFile(sources / "novel.txt", "chapter one");
    EXPECT_EQ(books::makeBookCopy(sources / "novel.txt", folder.path()), "book1.txt");
    EXPECT_EQ(books::makeBookCopy(sources / "novel.txt", folder.path()), "book2.txt");
    EXPECT_EQ(readFile(folder / "book2.txt"), "chapter one");
    EXPECT_EQ(books::makeBookCopy(sources / "missing.txt", folder.path()), "");
    EXPECT_EQ(books::makeBookCopy(sources.path(), folder.path()), "");
    EXPECT_EQ(books::makeBookCopy("/dev/zero", folder.path()), "");
    EXPECT_EQ(names(folder.path()), (std::vector<std::string>{"book1.txt", "book2.txt"}));
}

TEST_F(BooksFolder, TheCleanUpKeepsTheNamedFilesIgnoringCaseAndEveryFolder)
{
    for (const char* name : {"library.xml", "library.xml.bak", "book1.txt", "BOOK2.PDF", "stray.doc", "book3.txt"})
        writeFile(folder / name, "x");
    fs::create_directory(folder / "sub");
    fs::create_symlink(sources / "elsewhere.txt", folder / "link.txt");
    writeFile(sources / "elsewhere.txt", "kept");
    EXPECT_EQ(books::cleanFolder(folder.path(), {"library.xml", "book1.txt", "book2.pdf"}), 4);
    EXPECT_EQ(names(folder.path()), (std::vector<std::string>{"BOOK2.PDF", "book1.txt", "library.xml", "sub"}));
    // a link goes, never what it points to
    EXPECT_EQ(readFile(sources / "elsewhere.txt"), "kept");
}

TEST_F(BooksFolder, ADamagedLibraryIsKeptAsideUnderItsDateAndNeverOverwritten)
{
    std::tm when{};
    when.tm_year = 2024 - 1900;
    when.tm_mon = 4;
    when.tm_mday = 17;
    when.tm_hour = 9;
    when.tm_min = 8;
    when.tm_sec = 7;
    when.tm_isdst = -1;
    const std::time_t now = std::mktime(&when);
    writeFile(books::libraryFilePath(folder.path()), "first");
    EXPECT_FALSE(books::holdsDamagedLibrary(folder.path()));
    EXPECT_EQ(books::keepDamagedLibrary(folder.path(), now), "library.xml.20240517-090807.damaged");
    writeFile(books::libraryFilePath(folder.path()), "second");
    EXPECT_EQ(books::keepDamagedLibrary(folder.path(), now), "library.xml.20240517-090807-2.damaged");
    EXPECT_EQ(readFile(folder / "library.xml.20240517-090807.damaged"), "first");
    EXPECT_EQ(readFile(folder / "library.xml.20240517-090807-2.damaged"), "second");
    EXPECT_FALSE(fs::exists(books::libraryFilePath(folder.path())));
    EXPECT_TRUE(books::holdsDamagedLibrary(folder.path()));
    EXPECT_EQ(books::keepDamagedLibrary(folder.path(), now), "");  // nothing left to keep
}

TEST_F(BooksFolder, AReplacementIsWholeOrNotAtAll)
{
    const std::string path = folder / "library.xml";
    writeFile(path, "old bytes");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_TRUE(books::replaceFileAtomically(path, "new bytes"));
    EXPECT_EQ(readFile(path), "new bytes");
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    // A writer that gives up half-way, as a full disk does.
    const books::FileWriter halfThenFail = [](int fd, std::string_view bytes) {
        books::writeAll(fd, bytes.substr(0, bytes.size() / 2));
        return false;
    };
    EXPECT_FALSE(books::replaceFileAtomically(path, "a much longer replacement", halfThenFail));
    EXPECT_EQ(readFile(path), "new bytes");
    EXPECT_EQ(names(folder.path()), (std::vector<std::string>{"library.xml"}));  // no temporary left

    EXPECT_FALSE(books::replaceFileAtomically(folder / "no-such-folder/library.xml", "x"));
}

}  // namespace
