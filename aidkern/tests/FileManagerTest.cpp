#include "aidkern/CAKFileManager.h"

#include "TestFolder.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

int isExist(const std::string& path)
{
    int exists = -1;
    EXPECT_EQ(CAKFileManager::AKIsExist(path, &exists), S_OK);
    return exists;
}

bool isReadOnly(const std::string& path)
{
    int readOnly = -1;
    EXPECT_EQ(CAKFileManager::AKIsReadOnly(path, &readOnly), S_OK);
    return readOnly == 1;
}

TEST(FileQueries, ExistenceAttributesSizeAndTime)
{
    TestFolder dir;
    const std::string file = dir / "a.txt";
    writeFile(file, "12345");

    EXPECT_EQ(isExist(file), 1);
    EXPECT_EQ(isExist(dir.path()), 1);
    EXPECT_EQ(isExist(dir / "missing"), 0);
    EXPECT_EQ(isExist(""), 0);
    EXPECT_EQ(isExist(dir / "*.txt"), 1);  // a pattern counts when anything matches
    EXPECT_EQ(isExist(dir / "*.doc"), 0);

    int answer = -1;
    EXPECT_EQ(CAKFileManager::AKIsDirectory(dir.path(), &answer), S_OK);
    EXPECT_EQ(answer, 1);
    EXPECT_EQ(CAKFileManager::AKIsFile(file, &answer), S_OK);
    EXPECT_EQ(answer, 1);
    EXPECT_EQ(CAKFileManager::AKIsFile(dir.path(), &answer), S_OK);
    EXPECT_EQ(answer, 0);

    long size = -1;
    EXPECT_EQ(CAKFileManager::AKGetFileSize(file, &size), S_OK);
    EXPECT_EQ(size, 5);

    int64_t filetime = 0;
    EXPECT_EQ(CAKFileManager::AKGetFileLastWriteTime(file, &filetime), S_OK);
    // 100 ns units since 1601: the current time is far above 2020-01-01
    EXPECT_GT(filetime, 132223104000000000LL);
}

TEST(FileQueries, MissingPathsReportDoesNotExist)
{
    TestFolder dir;
    const std::string missing = dir / "nothing";
    int answer = 7;
    long size = 7;
    int64_t time = 7;
    EXPECT_EQ(CAKFileManager::AKIsDirectory(missing, &answer), E_FAIL);
    EXPECT_EQ(lastError(), "File or folder doesn't exist.");
    EXPECT_EQ(CAKFileManager::AKIsFile(missing, &answer), E_FAIL);
    EXPECT_EQ(CAKFileManager::AKIsReadOnly(missing, &answer), E_FAIL);
    EXPECT_EQ(CAKFileManager::AKGetFileSize(missing, &size), E_FAIL);
    EXPECT_EQ(CAKFileManager::AKGetFileLastWriteTime(missing, &time), E_FAIL);
    EXPECT_EQ(lastError(), "File or folder doesn't exist.");

    EXPECT_EQ(CAKFileManager::AKIsExist(missing, nullptr), E_FAIL);
    EXPECT_EQ(lastError(), "Inner Error.");

    // the description survives S_FALSE of the read-only clearing
    EXPECT_EQ(CAKFileManager::AKClearReadOnlyAttr(missing), S_FALSE);
    EXPECT_EQ(lastError(), "Inner Error.");
}

TEST(FileQueries, ClearReadOnlyClearsOnlyTheWriteBit)
{
    TestFolder dir;
    const std::string file = dir / "ro.txt";
    writeFile(file, "x");
    ::chmod(file.c_str(), 0444);
    EXPECT_TRUE(isReadOnly(file));
    EXPECT_EQ(CAKFileManager::AKClearReadOnlyAttr(file), S_OK);
    EXPECT_FALSE(isReadOnly(file));
    struct stat st;
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
}

TEST(Backup, MissingFileSucceedsWithoutCreatingAnything)
{
    TestFolder dir;
    EXPECT_EQ(CAKFileManager::AKBackupFile(dir / "library.xml"), S_OK);
    EXPECT_FALSE(pathExists(dir / "library.xml.bak"));
}

TEST(Backup, ReplacesAReadOnlyBackup)
{
    TestFolder dir;
    const std::string file = dir / "library.xml";
    writeFile(file, "new");
    writeFile(file + ".bak", "old");
    ::chmod((file + ".bak").c_str(), 0444);

    EXPECT_EQ(CAKFileManager::AKBackupFile(file), S_OK);
    EXPECT_EQ(readFile(file + ".bak"), "new");
    EXPECT_EQ(readFile(file), "new");
}

TEST(Copy, CopyOntoAnExistingFileFailsAndLeavesIt)
{
    TestFolder dir;
    writeFile(dir / "from", "source");
    writeFile(dir / "to", "target");
    EXPECT_EQ(CAKFileManager::AKCopyFile(dir / "from", dir / "to"), E_FAIL);
    EXPECT_EQ(lastError(), "File exists");
    EXPECT_EQ(readFile(dir / "to"), "target");

    EXPECT_EQ(CAKFileManager::AKCopyFile(dir / "from", dir / "new"), S_OK);
    EXPECT_EQ(readFile(dir / "new"), "source");
    EXPECT_EQ(lastError(), "");
}

TEST(Copy, CoverReplacesAReadOnlyTarget)
{
    TestFolder dir;
    writeFile(dir / "from", "source");
    writeFile(dir / "to", "a longer old target");
    ::chmod((dir / "to").c_str(), 0444);
    EXPECT_EQ(CAKFileManager::AKCoverFile(dir / "from", dir / "to"), S_OK);
    EXPECT_EQ(readFile(dir / "to"), "source");
}

TEST(Copy, FailedCoverLeavesTheTargetAndNoDebris)
{
    TestFolder dir;
    writeFile(dir / "to", "keep me");
    EXPECT_EQ(CAKFileManager::AKCoverFile(dir / "missing", dir / "to"), E_FAIL);
    EXPECT_EQ(readFile(dir / "to"), "keep me");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(Copy, CopyFileCopiesLargeContentExactly)
{
    TestFolder dir;
    std::string content(300000, '\0');
    for (size_t i = 0; i < content.size(); ++i)
        content[i] = static_cast<char>(i * 7 + i / 251);
    writeFile(dir / "big", content);
    EXPECT_EQ(CAKFileManager::AKCopyFile(dir / "big", dir / "copy"), S_OK);
    EXPECT_EQ(readFile(dir / "copy"), content);
}

TEST(Rename, EqualNamesDoNothingAndExistingTargetFails)
{
    TestFolder dir;
    writeFile(dir / "A.txt", "a");
    writeFile(dir / "B.txt", "b");
    EXPECT_EQ(CAKFileManager::AKRenameFile(dir / "A.txt", dir / "A.txt"), S_OK);
    EXPECT_EQ(CAKFileManager::AKRenameFile(dir / "A.txt", dir / "B.txt"), E_FAIL);
    EXPECT_EQ(readFile(dir / "B.txt"), "b");
    // names that differ only in case are different files here
    EXPECT_EQ(CAKFileManager::AKRenameFile(dir / "A.txt", dir / "a.TXT"), S_OK);
    EXPECT_EQ(readFile(dir / "a.TXT"), "a");
    EXPECT_FALSE(pathExists(dir / "A.txt"));
}

TEST(Delete, DeleteFileToleratesMissingAndRefusesFolders)
{
    TestFolder dir;
    EXPECT_EQ(CAKFileManager::AKDeleteFile(dir / "missing"), S_OK);
    writeFile(dir / "f", "x");
    EXPECT_EQ(CAKFileManager::AKDeleteFile(dir / "f"), S_OK);
    EXPECT_FALSE(pathExists(dir / "f"));
    std::filesystem::create_directory(dir / "sub");
    EXPECT_EQ(CAKFileManager::AKDeleteFile(dir / "sub"), E_FAIL);
    EXPECT_TRUE(pathExists(dir / "sub"));
}

TEST(TempName, NamesAFileThatDoesNotExistYet)
{
    TestFolder dir;
    std::string name;
    EXPECT_EQ(CAKFileManager::AKGetTempPath("", 0, &name), S_OK);
    EXPECT_TRUE(name.ends_with(".tmp")) << name;
    EXPECT_FALSE(pathExists(name));

    // a folder that ends in a separator still gets one appended
    const std::string folder = dir / "made/here/";
    EXPECT_EQ(CAKFileManager::AKGetTempPath(folder, 1, &name), S_OK);
    EXPECT_TRUE(name.starts_with(folder + "/")) << name;
    EXPECT_EQ(name.find('.', folder.size()), std::string::npos) << name;
    EXPECT_TRUE(pathExists(dir / "made/here"));  // the folder was created
    EXPECT_FALSE(pathExists(name));

    std::string other;
    EXPECT_EQ(CAKFileManager::AKGetTempPath(folder, 1, &other), S_OK);
    EXPECT_NE(name, other);
    EXPECT_EQ(CAKFileManager::AKGetTempPath("", 0, nullptr), E_FAIL);
}

TEST(TempName, UsesTmpdirWhenSet)
{
    TestFolder dir;
    ScopedEnv tmpdir("TMPDIR", dir.path());
    std::string name;
    EXPECT_EQ(CAKFileManager::AKGetTempPath("", 0, &name), S_OK);
    EXPECT_TRUE(name.starts_with(dir.path() + "/")) << name;
}

TEST(CascadeCreate, CreatesEveryMissingFolder)
{
    TestFolder dir;
    EXPECT_EQ(CAKFileManager::AKCascadeCreateDirectory(dir / "a/b/c"), S_OK);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "a/b/c"));
    // existing, and with a trailing separator
    EXPECT_EQ(CAKFileManager::AKCascadeCreateDirectory(dir / "a/b/c"), S_OK);
    EXPECT_EQ(CAKFileManager::AKCascadeCreateDirectory(dir / "x/y/"), S_OK);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "x/y"));
}

TEST(CascadeCreate, AFileInTheWayFailsWithTheSystemMessage)
{
    TestFolder dir;
    writeFile(dir / "file", "x");
    EXPECT_EQ(CAKFileManager::AKCascadeCreateDirectory(dir / "file/sub/deeper"), E_FAIL);
    EXPECT_EQ(lastError(), "Not a directory");
    EXPECT_FALSE(pathExists(dir / "file/sub"));
}

TEST(CopyPath, CopiesAFolderTree)
{
    TestFolder dir;
    writeFile(dir / "src/a.txt", "a");
    writeFile(dir / "src/sub/b.txt", "b");
    std::filesystem::create_directories(dir / "src/empty");
    EXPECT_EQ(CAKFileManager::AKCopyPathTo(dir / "src", dir / "deep/dst"), S_OK);
    EXPECT_EQ(readFile(dir / "deep/dst/a.txt"), "a");
    EXPECT_EQ(readFile(dir / "deep/dst/sub/b.txt"), "b");
    EXPECT_TRUE(std::filesystem::is_directory(dir / "deep/dst/empty"));
}

TEST(CopyPath, MissingSourceIsSFalse)
{
    TestFolder dir;
    EXPECT_EQ(CAKFileManager::AKCopyPathTo(dir / "none", dir / "dst"), S_FALSE);
    EXPECT_FALSE(pathExists(dir / "dst"));
}

TEST(CopyPath, StopsAtTheFirstExistingTargetFile)
{
    TestFolder dir;
    writeFile(dir / "src/a.txt", "new a");
    writeFile(dir / "dst/a.txt", "old a");
    EXPECT_EQ(CAKFileManager::AKCopyPathTo(dir / "src", dir / "dst"), E_FAIL);
    EXPECT_EQ(readFile(dir / "dst/a.txt"), "old a");
    EXPECT_EQ(lastError(), "File exists");
}

TEST(CopyPath, RefusesATargetInsideTheSource)
{
    TestFolder dir;
    writeFile(dir / "src/a.txt", "a");
    EXPECT_EQ(CAKFileManager::AKCopyPathTo(dir / "src", dir / "src/inner"), E_FAIL);
    EXPECT_FALSE(pathExists(dir / "src/inner"));
}

TEST(CopyPath, LinksInsideTheTreeAreCopiedNotFollowed)
{
    TestFolder dir;
    writeFile(dir / "outside/secret.txt", "secret");
    writeFile(dir / "src/a.txt", "a");
    ASSERT_EQ(::symlink((dir / "outside").c_str(), (dir / "src/link").c_str()), 0);
    EXPECT_EQ(CAKFileManager::AKCopyPathTo(dir / "src", dir / "dst"), S_OK);
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "dst/link"));
    EXPECT_EQ(std::filesystem::read_symlink(dir / "dst/link"), dir / "outside");
}

TEST(DeletePath, DeletesATreeButNotWhatLinksPointTo)
{
    TestFolder dir;
    writeFile(dir / "outside/keep.txt", "keep");
    writeFile(dir / "tree/a/b.txt", "b");
    ASSERT_EQ(::symlink((dir / "outside").c_str(), (dir / "tree/link").c_str()), 0);
    EXPECT_EQ(CAKFileManager::AKDeletePath(dir / "tree"), S_OK);
    EXPECT_FALSE(pathExists(dir / "tree"));
    EXPECT_EQ(readFile(dir / "outside/keep.txt"), "keep");
}

TEST(DeletePath, AFileAndAMissingPath)
{
    TestFolder dir;
    writeFile(dir / "f", "x");
    EXPECT_EQ(CAKFileManager::AKDeletePath(dir / "f"), S_OK);
    EXPECT_FALSE(pathExists(dir / "f"));
    EXPECT_EQ(CAKFileManager::AKDeletePath(dir / "never"), E_FAIL);
    EXPECT_EQ(lastError(), "No such file or directory");
}

TEST(MovePath, MovesAndRefusesAnExistingTarget)
{
    TestFolder dir;
    writeFile(dir / "src/a.txt", "a");
    writeFile(dir / "taken", "t");
    EXPECT_EQ(CAKFileManager::AKMovePathTo(dir / "src", dir / "taken"), E_FAIL);
    EXPECT_EQ(lastError(), "Target file or folder already exists.");
    EXPECT_TRUE(pathExists(dir / "src/a.txt"));

    EXPECT_EQ(CAKFileManager::AKMovePathTo(dir / "src", dir / "moved"), S_OK);
    EXPECT_EQ(readFile(dir / "moved/a.txt"), "a");
    EXPECT_FALSE(pathExists(dir / "src"));

    // nothing to move is not a success with something done
    EXPECT_EQ(CAKFileManager::AKMovePathTo(dir / "src", dir / "again"), S_FALSE);
    EXPECT_FALSE(pathExists(dir / "again"));
}

}  // namespace
