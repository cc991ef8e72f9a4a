#include "library/CabinetLibrary.h"

#include "library/LibraryFile.h"

#include "book/CodePage.h"

#include "CabinetPrinting.h"
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

CCabinet cabinet(const std::string& name)
{
    CCabinet c;
    c.name = name;
    c.creator = "Reader";
    c.createYear = 2008;
    c.createMonth = 5;
    c.createDay = 17;
    return c;
}

class Library : public testing::Test {
protected:
    Library()
    {
        writeFile(sources / "novel.txt", "It was a dark and stormy night.");
        writeFile(sources / "README", "no extension");
    }
    std::vector<std::string> folderNames() const
    {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(folder.path()))
            found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        return found;
    }
    std::string libraryFile() const { return books::libraryFilePath(folder.path()); }
    // A library with one cabinet and the given number of copies of the novel.
    void fill(int books)
    {
        library.createCabinet(cabinet("Classics"));
        for (int i = 0; i < books; ++i)
            ASSERT_TRUE(library.addBook(sources / "novel.txt", "Novel " + std::to_string(i), "", rgb(1, 2, 3)));
    }

    TestFolder folder;
    TestFolder sources;
    CabinetLibrary library{folder.path()};
};

TEST(CabinetButtonRule, FollowsTheCabinetAndTheSelection)
{
    struct Row {
        int current;
        size_t books;
        int selected;
        CabinetButtons expected;
    };
    const Row rows[] = {
        {-1, 0, -1, {true, false, false, false, false, false, false}},
        {-1, 3, 1, {true, false, false, false, false, false, false}},
        {0, 0, -1, {true, true, true, true, false, false, false}},
        {2, 5, 4, {true, true, true, true, true, true, true}},
        {0, 23, -1, {true, true, true, true, false, false, false}},
        {0, 24, -1, {true, true, true, false, false, false, false}},
        {0, 24, 23, {true, true, true, false, true, true, true}},
        {0, 30, 0, {true, true, true, false, true, true, true}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(cabinetButtonStates(row.current, row.books, row.selected), row.expected)
            << "current " << row.current << ", books " << row.books << ", selected " << row.selected;
}

TEST(CabinetNames, SameNameInAnotherCaseIsTheCabinetsOwn)
{
    const std::vector<CCabinet> cabinets = {cabinet("Classics"), cabinet("Poetry"), cabinet(codepage::fromUtf8("Ärger"))};
    EXPECT_EQ(checkCabinetName(cabinets, "classics", "Classics"), CabinetNameCheck::Ok);
    EXPECT_EQ(checkCabinetName(cabinets, "POETRY", "Classics"), CabinetNameCheck::Taken);
    EXPECT_EQ(checkCabinetName(cabinets, "poetry", ""), CabinetNameCheck::Taken);
    EXPECT_EQ(checkCabinetName(cabinets, codepage::fromUtf8("ärger"), ""), CabinetNameCheck::Taken);
    EXPECT_EQ(checkCabinetName(cabinets, "Novels", ""), CabinetNameCheck::Ok);
    EXPECT_EQ(checkCabinetName(cabinets, "", ""), CabinetNameCheck::Empty);
    EXPECT_EQ(checkCabinetName(cabinets, " \t ", "Classics"), CabinetNameCheck::Empty);
}

TEST_F(Library, TwentyFourBooksFillACabinetAndDeletingOneMakesRoomAgain)
{
    fill(24);
    EXPECT_FALSE(library.buttonStates().addBook);
    EXPECT_FALSE(library.addBook(sources / "novel.txt", "one too many", "", 0));
    EXPECT_EQ(library.current()->books.size(), 24u);
    library.selectBook(5);
    library.deleteBook();
    EXPECT_TRUE(library.buttonStates().addBook);
    EXPECT_EQ(library.current()->books.size(), 23u);
    EXPECT_EQ(library.current()->books[5].bookName, "Novel 6");
}

TEST_F(Library, TheSameDocumentTwiceGivesTwoCopiesAndANumberFreedIsUsedAgain)
{
    fill(2);
    const auto& shelf = library.current()->books;
    EXPECT_EQ(shelf[0].fileName, "book1.txt");
    EXPECT_EQ(shelf[1].fileName, "book2.txt");
    EXPECT_EQ(readFile(folder / "book2.txt"), "It was a dark and stormy night.");
    library.selectBook(0);
    library.deleteBook();
    ASSERT_TRUE(library.save());  // OK
    EXPECT_EQ(folderNames(), (std::vector<std::string>{"book2.txt", "library.xml"}));
    ASSERT_TRUE(library.addBook(sources / "novel.txt", "Again", "", 0));
    EXPECT_EQ(library.current()->books.back().fileName, "book1.txt");
}

TEST_F(Library, AddingAndThenCancellingLeavesNeitherEntriesNorCopies)
{
    fill(1);
    ASSERT_TRUE(library.save());
    const std::string saved = readFile(libraryFile());
    ASSERT_TRUE(library.addBook(sources / "novel.txt", "Second", "", 0));
    library.createCabinet(cabinet("Poetry"));
    ASSERT_TRUE(library.addBook(sources / "README", "Third", "", 0));
    // Cancel: read the file again and save it, which cleans the folder.
    ASSERT_EQ(library.load(), CabinetLibrary::LoadStatus::Loaded);
    ASSERT_TRUE(library.save());
    ASSERT_EQ(library.cabinets().size(), 1u);
    EXPECT_EQ(library.cabinets()[0].books.size(), 1u);
    EXPECT_EQ(folderNames(), (std::vector<std::string>{"book1.txt", "library.xml"}));
    EXPECT_EQ(readFile(libraryFile()), saved);
}

TEST_F(Library, AFileWithoutExtensionIsCopiedAsBookNDot)
{
    library.createCabinet(cabinet("Classics"));
    ASSERT_TRUE(library.addBook(sources / "README", "Read me", "", 0));
    EXPECT_EQ(library.current()->books[0].fileName, "book1.");
    EXPECT_EQ(readFile(folder / "book1."), "no extension");
}

TEST_F(Library, StrayFilesAndTheBackupGoAtTheNextSave)
{
    fill(1);
    ASSERT_TRUE(library.save());
    writeFile(folder / "stray.txt", "put here by hand");
    ASSERT_TRUE(library.save());  // the first save's file is backed up, then cleaned away
    EXPECT_EQ(folderNames(), (std::vector<std::string>{"book1.txt", "library.xml"}));
}

TEST_F(Library, DeletingTheLastCabinetLeavesOnlyCreate)
{
    library.createCabinet(cabinet("Classics"));
    library.createCabinet(cabinet("Poetry"));
    EXPECT_EQ(library.currentCabinet(), 1);
    library.deleteCabinet();
    EXPECT_EQ(library.currentCabinet(), 0);
    library.deleteCabinet();
    EXPECT_EQ(library.currentCabinet(), -1);
    EXPECT_EQ(library.buttonStates(), (CabinetButtons{true, false, false, false, false, false, false}));
}

TEST_F(Library, DeletingAMiddleCabinetKeepsTheIndexAndPastTheEndTakesTheLast)
{
    for (const char* name : {"A", "B", "C"})
        library.createCabinet(cabinet(name));
    library.selectCabinet(1);
    library.deleteCabinet();
    EXPECT_EQ(library.current()->name, "C");
    library.deleteCabinet();
    EXPECT_EQ(library.current()->name, "A");
}

TEST_F(Library, CommandsChangeOnlyWhatTheyNameAndEndTheSelection)
{
    fill(2);
    library.selectBook(1);
    library.updateBook("Renamed", "Author", rgb(9, 9, 9));
    EXPECT_EQ(library.current()->books[1], (CCabinetBook{rgb(9, 9, 9), "book2.txt", "Renamed", "Author"}));
    EXPECT_EQ(library.selectedBook(), 1);  // the book is still there
    EXPECT_EQ(library.selectedCopyPath(), folder / "book2.txt");
    library.updateCabinet("Classics II", "Someone", rgb(1, 1, 1));
    EXPECT_EQ(library.selectedBook(), -1);
    EXPECT_EQ(library.current()->createYear, 2008);  // the date stays
    EXPECT_EQ(library.current()->name, "Classics II");
    library.selectBook(7);  // no such book
    EXPECT_EQ(library.selectedBook(), -1);
    EXPECT_EQ(library.selectedCopyPath(), "");
}

TEST_F(Library, LoadingDropsEntriesWithoutTheirCopyAndStartsAtTheFirstCabinet)
{
    fill(3);
    library.createCabinet(cabinet("Poetry"));
    ASSERT_TRUE(library.save());
    fs::remove(folder / "book2.txt");
    CabinetLibrary again(folder.path());
    ASSERT_EQ(again.load(), CabinetLibrary::LoadStatus::Loaded);
    EXPECT_EQ(again.currentCabinet(), 0);
    ASSERT_EQ(again.cabinets().size(), 2u);
    ASSERT_EQ(again.cabinets()[0].books.size(), 2u);
    EXPECT_EQ(again.cabinets()[0].books[1].fileName, "book3.txt");
    EXPECT_EQ(again.cabinets()[1].name, "Poetry");
}

TEST_F(Library, NamesInEveryScriptSurviveTheFile)
{
    CCabinet c = cabinet(codepage::fromUtf8("经典 <&> \"书柜\""));
    c.creator = codepage::fromUtf8("王小明 & 'friends'");
    library.createCabinet(c);
    ASSERT_TRUE(library.addBook(sources / "novel.txt", codepage::fromUtf8("红楼梦 <上>"), codepage::fromUtf8("曹雪芹"), 0));
    ASSERT_TRUE(library.save());
    EXPECT_NE(readFile(libraryFile()).find("曹雪芹"), std::string::npos);  // UTF-8 in the file
    CabinetLibrary again(folder.path());
    ASSERT_EQ(again.load(), CabinetLibrary::LoadStatus::Loaded);
    EXPECT_EQ(again.cabinets(), library.cabinets());
}

TEST_F(Library, AnEntryNamingItsCopyInAnotherCaseKeepsItAndTheCopy)
{
    // A books folder carried over from a disk blind to case.
    writeFile(folder / "BOOK1.TXT", "the copy");
    writeFile(libraryFile(), "<root><cabinet name='A'><book FileName='book1.txt' BookName='x'/></cabinet></root>");
    ASSERT_EQ(library.load(), CabinetLibrary::LoadStatus::Loaded);
    ASSERT_EQ(library.current()->books.size(), 1u);
    library.selectBook(0);
    EXPECT_EQ(readFile(library.selectedCopyPath()), "the copy");
    ASSERT_TRUE(library.save());
    EXPECT_EQ(folderNames(), (std::vector<std::string>{"BOOK1.TXT", "library.xml"}));
    CabinetLibrary again(folder.path());
    ASSERT_EQ(again.load(), CabinetLibrary::LoadStatus::Loaded);
    EXPECT_EQ(again.current()->books.size(), 1u);
}

TEST_F(Library, AMissingLibraryIsAnEmptyOne)
{
    EXPECT_EQ(library.load(), CabinetLibrary::LoadStatus::Missing);
    EXPECT_TRUE(library.cabinets().empty());
    EXPECT_EQ(library.currentCabinet(), -1);
}

TEST_F(Library, ADamagedLibraryKeepsEveryCopy)
{
    fill(3);
    ASSERT_TRUE(library.save());
    std::string damaged = readFile(libraryFile());
    damaged.resize(damaged.size() / 2);  // cut off, as by a crash of another program
    writeFile(libraryFile(), damaged);

    CabinetLibrary again(folder.path());
    again.setClock([] { return std::time_t{1715936887}; });
    ASSERT_EQ(again.load(), CabinetLibrary::LoadStatus::Damaged);
    EXPECT_TRUE(again.cabinets().empty());
    const std::string kept = again.damagedFileName();
    ASSERT_FALSE(kept.empty());
    EXPECT_TRUE(kept.starts_with("library.xml.2024")) << kept;
    EXPECT_TRUE(kept.ends_with(".damaged")) << kept;
    EXPECT_EQ(readFile(folder / kept), damaged);

    // The reader goes on: a new cabinet, a new book, OK; and another visit.
    again.createCabinet(cabinet("Fresh start"));
    ASSERT_TRUE(again.addBook(sources / "novel.txt", "New", "", 0));
    EXPECT_EQ(again.current()->books[0].fileName, "book4.txt");
    ASSERT_TRUE(again.save());
    ASSERT_EQ(again.load(), CabinetLibrary::LoadStatus::Loaded);
    ASSERT_TRUE(again.save());
    EXPECT_EQ(folderNames(), (std::vector<std::string>{"book1.txt", "book2.txt", "book3.txt", "book4.txt", "library.xml",
                                                       kept, "library.xml.bak"}));

    // Once the reader has dealt with the kept file, the folder is cleaned again.
    fs::remove(folder / kept);
    ASSERT_TRUE(again.save());
    EXPECT_EQ(folderNames(), (std::vector<std::string>{"book4.txt", "library.xml"}));
}

TEST_F(Library, ADamagedLibraryThatCannotBeMovedAsideIsNeverOverwritten)
{
    writeFile(libraryFile(), "<root><cabinet");
    // Every name it could be kept under this second is taken.
    library.setClock([] { return std::time_t{1715936887}; });
    CabinetLibrary probe(sources.path());
    probe.setClock([] { return std::time_t{1715936887}; });
    writeFile(books::libraryFilePath(sources.path()), "x");
    ASSERT_EQ(probe.load(), CabinetLibrary::LoadStatus::Damaged);
    const std::string stamp = probe.damagedFileName().substr(0, probe.damagedFileName().size() - 8);
    for (int n = 1; n < 1000; ++n)
        writeFile(folder / (stamp + (n == 1 ? "" : "-" + std::to_string(n)) + ".damaged"), "older");

    EXPECT_EQ(library.load(), CabinetLibrary::LoadStatus::Damaged);
    EXPECT_EQ(library.damagedFileName(), "");
    library.createCabinet(cabinet("A"));
    EXPECT_FALSE(library.save());
    EXPECT_EQ(readFile(libraryFile()), "<root><cabinet");
}

TEST_F(Library, ASaveInterruptedByAFailedWriteLeavesThePreviousFileByteIdentical)
{
    fill(2);
    ASSERT_TRUE(library.save());
    const std::string before = readFile(libraryFile());
    writeFile(folder / "stray.txt", "still here");
    library.selectBook(0);
    library.deleteBook();
    library.createCabinet(cabinet("More"));
    library.setWriter([](int fd, std::string_view bytes) {
        books::writeAll(fd, bytes.substr(0, 10));
        return false;
    });
    EXPECT_FALSE(library.save());
    EXPECT_EQ(readFile(libraryFile()), before);
    // No clean-up after a failed save: the deleted book's copy is still there.
    EXPECT_EQ(folderNames(), (std::vector<std::string>{"book1.txt", "book2.txt", "library.xml", "library.xml.bak",
                                                       "stray.txt"}));
    library.setWriter(books::writeAll);
    EXPECT_TRUE(library.save());
    EXPECT_EQ(folderNames(), (std::vector<std::string>{"book2.txt", "library.xml"}));
}

TEST_F(Library, AnEntryPointingOutOfTheBooksFolderIsDroppedAndItsFileLeftAlone)
{
    writeFile(sources / "private.txt", "mine");
    const std::string outside = fs::relative(sources / "private.txt", folder.path()).string();
    writeFile(libraryFile(), "<root><cabinet name='A'><book FileName='" + outside +
                                 "' BookName='x'/><book FileName='book1.txt'/></cabinet></root>");
    writeFile(folder / "book1.txt", "inside");
    ASSERT_EQ(library.load(), CabinetLibrary::LoadStatus::Loaded);
    ASSERT_EQ(library.current()->books.size(), 1u);
    EXPECT_EQ(library.current()->books[0].fileName, "book1.txt");
    ASSERT_TRUE(library.save());
    EXPECT_EQ(readFile(sources / "private.txt"), "mine");
}

TEST_F(Library, AFileNameWithTwoDotsInsideItIsNoWayOutAndItsCopyStays)
{
    writeFile(folder / "Vol..1.txt", "a copy named by hand");
    fs::create_directory(folder / "sub");
    writeFile(libraryFile(), "<root><cabinet name='A'><book FileName='Vol..1.txt' BookName='x'/>"
                             "<book FileName='.'/><book FileName='..'/><book FileName='sub'/></cabinet></root>");
    ASSERT_EQ(library.load(), CabinetLibrary::LoadStatus::Loaded);
    ASSERT_EQ(library.current()->books.size(), 1u);
    EXPECT_EQ(library.current()->books[0].fileName, "Vol..1.txt");
    ASSERT_TRUE(library.save());
    EXPECT_EQ(readFile(folder / "Vol..1.txt"), "a copy named by hand");
}

}  // namespace
