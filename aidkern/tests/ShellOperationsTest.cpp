#include "aidkern/CAKFileManager.h"

#include "TestFolder.h"

#include <gtest/gtest.h>

namespace {

TEST(ShellDelete, ToTheTrashWithARestorableRecord)
{
    TestFolder dir;
    ScopedEnv data("XDG_DATA_HOME", dir / "data");
    writeFile(dir / "work/old notes.txt", "notes");

    EXPECT_EQ(CAKFileManager::AKSHDeleteFile(dir / "work/old notes.txt", 0), S_OK);
    EXPECT_FALSE(pathExists(dir / "work/old notes.txt"));
    EXPECT_EQ(readFile(dir / "data/Trash/files/old notes.txt"), "notes");
    const std::string info = readFile(dir / "data/Trash/info/old notes.txt.trashinfo");
    EXPECT_TRUE(info.starts_with("[Trash Info]\nPath=")) << info;
    EXPECT_NE(info.find("/work/old%20notes.txt\n"), std::string::npos) << info;
    EXPECT_NE(info.find("\nDeletionDate=20"), std::string::npos) << info;
}

TEST(ShellDelete, ASecondItemOfTheSameNameDoesNotReplaceTheFirst)
{
    TestFolder dir;
    ScopedEnv data("XDG_DATA_HOME", dir / "data");
    writeFile(dir / "a/x", "first");
    writeFile(dir / "b/x/inside", "second");
    EXPECT_EQ(CAKFileManager::AKSHDeleteFile(dir / "a/x", 0), S_OK);
    EXPECT_EQ(CAKFileManager::AKSHDeleteFile(dir / "b/x", 0), S_OK);
    EXPECT_EQ(readFile(dir / "data/Trash/files/x"), "first");
    EXPECT_EQ(readFile(dir / "data/Trash/files/x.2/inside"), "second");
    EXPECT_TRUE(pathExists(dir / "data/Trash/info/x.2.trashinfo"));
}

TEST(ShellDelete, PermanentlyRemovesAFolderAndMissingFails)
{
    TestFolder dir;
    ScopedEnv data("XDG_DATA_HOME", dir / "data");
    writeFile(dir / "tree/a/b", "x");
    EXPECT_EQ(CAKFileManager::AKSHDeleteFile(dir / "tree", 1), S_OK);
    EXPECT_FALSE(pathExists(dir / "tree"));
    EXPECT_FALSE(pathExists(dir / "data/Trash/files/tree"));
    EXPECT_EQ(CAKFileManager::AKSHDeleteFile(dir / "tree", 1), E_FAIL);
}

TEST(ShellCopy, OntoAnExistingFolderMergesAndReplaces)
{
    TestFolder dir;
    writeFile(dir / "src/books/a.vl", "new a");
    writeFile(dir / "src/books/b.vl", "b");
    writeFile(dir / "dst/books/a.vl", "old a");
    writeFile(dir / "dst/books/c.vl", "c");
    EXPECT_EQ(CAKFileManager::AKSHCopyFile(dir / "src/books", dir / "dst/books"), S_OK);
    EXPECT_EQ(readFile(dir / "dst/books/a.vl"), "new a");
    EXPECT_EQ(readFile(dir / "dst/books/b.vl"), "b");
    EXPECT_EQ(readFile(dir / "dst/books/c.vl"), "c");
    EXPECT_FALSE(pathExists(dir / "dst/books/books"));
    EXPECT_TRUE(pathExists(dir / "src/books/a.vl"));
}

TEST(ShellCopy, ToANewNameMakesTheMissingFolders)
{
    TestFolder dir;
    writeFile(dir / "a.txt", "a");
    EXPECT_EQ(CAKFileManager::AKSHCopyFile(dir / "a.txt", dir / "x/y/b.txt"), S_OK);
    EXPECT_EQ(readFile(dir / "x/y/b.txt"), "a");
    EXPECT_EQ(CAKFileManager::AKSHCopyFile(dir / "none", dir / "z"), E_FAIL);
}

TEST(ShellMove, MovesAndMergesIntoAnExistingFolder)
{
    TestFolder dir;
    writeFile(dir / "src/pics/1.jpg", "one");
    writeFile(dir / "dst/pics/2.jpg", "two");
    EXPECT_EQ(CAKFileManager::AKSHMoveFile(dir / "src/pics", dir / "dst/pics"), S_OK);
    EXPECT_EQ(readFile(dir / "dst/pics/1.jpg"), "one");
    EXPECT_EQ(readFile(dir / "dst/pics/2.jpg"), "two");
    EXPECT_FALSE(pathExists(dir / "src/pics"));

    writeFile(dir / "f.txt", "f");
    EXPECT_EQ(CAKFileManager::AKSHMoveFile(dir / "f.txt", dir / "g.txt"), S_OK);
    EXPECT_EQ(readFile(dir / "g.txt"), "f");
    EXPECT_FALSE(pathExists(dir / "f.txt"));
}

TEST(ShellRename, RenamesButNeverOverAnExistingName)
{
    TestFolder dir;
    writeFile(dir / "a", "a");
    writeFile(dir / "b", "b");
    EXPECT_EQ(CAKFileManager::AKSHRenameFile(dir / "a", dir / "b"), E_FAIL);
    EXPECT_EQ(readFile(dir / "b"), "b");
    EXPECT_EQ(CAKFileManager::AKSHRenameFile(dir / "a", dir / "c"), S_OK);
    EXPECT_EQ(readFile(dir / "c"), "a");
}

}  // namespace
