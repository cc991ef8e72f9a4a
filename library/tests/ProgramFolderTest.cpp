#include "library/ProgramFolder.h"

#include "TestSupport.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

void write(const std::string& path, const std::string& text)
{
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path) << text;
}

std::string read(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// An installed data folder as the package lays it out, read-only.
struct InstalledData {
    TestFolder folder;
    InstalledData()
    {
        write(folder / "style.data", "skin");
        write(folder / "favorite.xml", "<root/>");
        write(folder / "picture/BackGround1.jpg", "desk");
        for (const auto& entry : fs::recursive_directory_iterator(folder.path()))
            fs::permissions(entry.path(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                            fs::perm_options::remove);
    }
};

TEST(UserDataFolder, FollowsXdgDataHomeAndFallsBackToHome)
{
    ScopedEnv home("HOME", "/home/reader");
    {
        ScopedEnv data("XDG_DATA_HOME", "/data/reader");
        EXPECT_EQ(userDataFolder(), "/data/reader/versaleo");
    }
    {
        ScopedEnv data("XDG_DATA_HOME", "");
        EXPECT_EQ(userDataFolder(), "/home/reader/.local/share/versaleo");
    }
    {
        // a relative value is to be ignored
        ScopedEnv data("XDG_DATA_HOME", "relative/data");
        EXPECT_EQ(userDataFolder(), "/home/reader/.local/share/versaleo");
    }
}

TEST(UserDataFolder, WithoutHomeIsTheAccountsHome)
{
    ScopedEnv data("XDG_DATA_HOME", "");
    ScopedEnv home("HOME", "");
    const std::string folder = userDataFolder();
    EXPECT_TRUE(folder.ends_with("/.local/share/versaleo")) << folder;
    EXPECT_NE(folder.rfind("/tmp/", 0), 0u) << folder;
}

// A tree as `cmake --install` lays it out under some prefix.
struct InstalledTree {
    TestFolder prefix;
    std::string bin = prefix / "bin";
    InstalledTree()
    {
        fs::create_directories(bin);
        write(prefix / "share/versaleo/style.data", "skin");
        write(prefix / "share/versaleo/picture/BackGround1.jpg", "desk");
    }
};

TEST(ProgramFolderBeside, AnInstalledProgramWorksInTheUsersSeededFolder)
{
    // bin may be written (root's /usr/bin) but holds no data of the program
    InstalledTree tree;
    TestFolder xdg;
    ScopedEnv data("XDG_DATA_HOME", xdg.path());
    EXPECT_EQ(programFolderBeside(tree.bin), xdg / "versaleo");
    EXPECT_EQ(read(xdg / "versaleo/picture/BackGround1.jpg"), "desk");
}

TEST(ProgramFolderBeside, AWritableFolderWithOnlySomePicturesIsNotTheProgramsFolder)
{
    InstalledTree tree;
    fs::create_directories(tree.bin + "/picture");
    TestFolder xdg;
    ScopedEnv data("XDG_DATA_HOME", xdg.path());
    EXPECT_EQ(programFolderBeside(tree.bin), xdg / "versaleo");
}

TEST(ProgramFolderBeside, APortableCopyWorksInItsOwnFolder)
{
    TestFolder portable;
    write(portable / "style.data", "skin");
    write(portable / "picture/BackGround1.jpg", "desk");
    TestFolder xdg;
    ScopedEnv data("XDG_DATA_HOME", xdg.path());
    EXPECT_EQ(programFolderBeside(portable.path()), portable.path());
    EXPECT_FALSE(fs::exists(xdg / "versaleo"));
}

TEST(ProgramFolderBeside, WithoutAUserFolderTheInstalledDataIsStillRead)
{
    InstalledTree tree;
    TestFolder blocked;
    write(blocked / "file", "a file where the data folder would go");
    ScopedEnv data("XDG_DATA_HOME", blocked / "file");
    const std::string folder = programFolderBeside(tree.bin);
    EXPECT_EQ(read(folder + "/picture/BackGround1.jpg"), "desk");
    EXPECT_TRUE(fs::equivalent(folder, tree.prefix / "share/versaleo"));
}

TEST(SeedUserFolder, FirstStartCopiesTheInstalledDataAndMakesTheUserFolders)
{
    InstalledData installed;
    TestFolder xdg;
    ScopedEnv data("XDG_DATA_HOME", xdg.path());
    const std::string user = userDataFolder();
    ASSERT_TRUE(seedUserFolder(installed.folder.path(), user, "1.9"));
    EXPECT_EQ(read(user + "/style.data"), "skin");
    EXPECT_EQ(read(user + "/picture/BackGround1.jpg"), "desk");
    for (const char* name : {"books", "picture", "music"})
        EXPECT_TRUE(fs::is_directory(user + "/" + name)) << name;
    // the copies are the user's to change although the originals are read-only
    EXPECT_NE(fs::status(user + "/favorite.xml").permissions() & fs::perms::owner_write, fs::perms::none);
}

TEST(SeedUserFolder, ASecondStartKeepsWhatTheUserChangedOrRemoved)
{
    InstalledData installed;
    TestFolder user;
    ASSERT_TRUE(seedUserFolder(installed.folder.path(), user.path(), "1.9"));
    write(user / "favorite.xml", "<root><item href=\"file:///mine.html\"/></root>");
    fs::remove(user / "picture/BackGround1.jpg");
    write(user / "books/mine.vl", "book");

    ASSERT_TRUE(seedUserFolder(installed.folder.path(), user.path(), "1.9"));
    EXPECT_EQ(read(user / "favorite.xml"), "<root><item href=\"file:///mine.html\"/></root>");
    EXPECT_FALSE(fs::exists(user / "picture/BackGround1.jpg"));
    EXPECT_EQ(read(user / "books/mine.vl"), "book");
}

TEST(SeedUserFolder, ANewVersionAddsOnlyWhatIsMissing)
{
    InstalledData installed;
    TestFolder user;
    ASSERT_TRUE(seedUserFolder(installed.folder.path(), user.path(), "1.9"));
    write(user / "style.data", "my own skin");
    fs::remove(user / "picture/BackGround1.jpg");

    ASSERT_TRUE(seedUserFolder(installed.folder.path(), user.path(), "2.0"));
    EXPECT_EQ(read(user / "style.data"), "my own skin");
    EXPECT_EQ(read(user / "picture/BackGround1.jpg"), "desk");
}

TEST(SeedUserFolder, AUserFolderThatExistsBeforeTheFirstStartIsFilledNotReplaced)
{
    InstalledData installed;
    TestFolder user;
    write(user / "favorite.xml", "<root>kept</root>");
    ASSERT_TRUE(seedUserFolder(installed.folder.path(), user.path(), "1.9"));
    EXPECT_EQ(read(user / "favorite.xml"), "<root>kept</root>");
    EXPECT_EQ(read(user / "style.data"), "skin");
}

TEST(SeedUserFolder, WhatCouldNotBeCopiedIsTriedAgainOnTheNextStart)
{
    InstalledData installed;
    TestFolder user;
    // a file in the way of the picture folder
    write(user / "picture", "not a folder");
    ASSERT_TRUE(seedUserFolder(installed.folder.path(), user.path(), "1.9"));
    EXPECT_EQ(read(user / "style.data"), "skin");
    EXPECT_FALSE(fs::exists(user / "picture/BackGround1.jpg"));

    fs::remove(user / "picture");
    ASSERT_TRUE(seedUserFolder(installed.folder.path(), user.path(), "1.9"));
    EXPECT_EQ(read(user / "picture/BackGround1.jpg"), "desk");
    // no copy under a temporary name is left behind
    for (const auto& entry : fs::recursive_directory_iterator(user.path()))
        EXPECT_EQ(entry.path().string().find(".partial"), std::string::npos) << entry.path();
}

TEST(SeedUserFolder, WithoutInstalledDataTheUserFoldersAreStillMade)
{
    TestFolder user;
    ASSERT_TRUE(seedUserFolder(user / "not-installed", user / "versaleo", "1.9"));
    EXPECT_TRUE(fs::is_directory(user / "versaleo/books"));
    EXPECT_TRUE(fs::is_directory(user / "versaleo/music"));
}

TEST(SeedUserFolder, AUserFolderThatCannotBeMadeIsReported)
{
    TestFolder root;
    write(root / "file", "a file, not a folder");
    EXPECT_FALSE(seedUserFolder(root.path(), root / "file/versaleo", "1.9"));
}

}  // namespace
