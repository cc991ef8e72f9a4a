#include "aidkern/CAKPathManager.h"

#include <gtest/gtest.h>
#include <ostream>

namespace {

struct SplitCase {
    std::string path;
    std::string name;
    std::string title;
    long extensionStatus;
    std::string extension;
    long folderStatus;
    std::string folder;
    std::string noExtension;
};

std::ostream& operator<<(std::ostream& out, const SplitCase& c)
{
    return out << '"' << c.path << '"';
}

class PathSplitting : public testing::TestWithParam<SplitCase> {};

TEST_P(PathSplitting, SplitsEveryPartFromTheEnd)
{
    const SplitCase& c = GetParam();
    std::string out = "stale";

    EXPECT_EQ(CAKPathManager::AKGetFileName(c.path, &out), S_OK);
    EXPECT_EQ(out, c.name);
    EXPECT_EQ(CAKPathManager::AKGetFileTitle(c.path, &out), S_OK);
    EXPECT_EQ(out, c.title);
    EXPECT_EQ(CAKPathManager::AKGetFileExtern(c.path, &out), c.extensionStatus);
    EXPECT_EQ(out, c.extension);
    EXPECT_EQ(CAKPathManager::AKGetFileFolder(c.path, &out), c.folderStatus);
    EXPECT_EQ(out, c.folder);
    EXPECT_EQ(CAKPathManager::AKGetFilePathNoExtern(c.path, &out), S_OK);
    EXPECT_EQ(out, c.noExtension);
}

INSTANTIATE_TEST_SUITE_P(
    Names, PathSplitting,
    testing::Values(
        // several dots: only the last one starts the extension
        SplitCase{"/books/novel.part1.txt", "novel.part1.txt", "novel.part1", S_OK, "txt", S_OK, "/books",
                  "/books/novel.part1"},
        // a dot in the folder is not an extension
        SplitCase{"/dir.old/readme", "readme", "readme", S_FALSE, "", S_OK, "/dir.old", "/dir.old/readme"},
        // trailing separator: no name, the folder without the separator
        SplitCase{"/books/", "", "", S_FALSE, "", S_OK, "/books", "/books/"},
        // no separator at all
        SplitCase{"novel.txt", "novel.txt", "novel", S_OK, "txt", S_FALSE, "", "novel"},
        // the only separator is the first character
        SplitCase{"/novel.txt", "novel.txt", "novel", S_OK, "txt", S_FALSE, "", "/novel"},
        // a name ending in a dot has an empty extension
        SplitCase{"/a/name.", "name.", "name", S_OK, "", S_OK, "/a", "/a/name"},
        // a folder directly below the root
        SplitCase{"/a/b.txt", "b.txt", "b", S_OK, "txt", S_OK, "/a", "/a/b"}));

TEST(PathManager, NullOutParameterOrEmptyPathIsInnerError)
{
    std::string out;
    std::string description;
    EXPECT_EQ(CAKPathManager::AKGetFileName("/a/b", nullptr), E_FAIL);
    gAKGetErrorDescriton(&description);
    EXPECT_EQ(description, "Inner Error.");

    EXPECT_EQ(CAKPathManager::AKGetFileTitle("", &out), E_FAIL);
    EXPECT_EQ(CAKPathManager::AKGetFileExtern("", &out), E_FAIL);
    EXPECT_EQ(CAKPathManager::AKGetFileFolder("", &out), E_FAIL);
    EXPECT_EQ(CAKPathManager::AKGetFilePathNoExtern("", &out), E_FAIL);
    EXPECT_EQ(CAKPathManager::AKReplaceFileTile("", "x", &out), E_FAIL);
    EXPECT_EQ(CAKPathManager::AKCheckSubPath("/a", "/a/b", nullptr), E_FAIL);

    // success empties the description
    EXPECT_EQ(CAKPathManager::AKGetFileName("/a/b", &out), S_OK);
    gAKGetErrorDescriton(&description);
    EXPECT_EQ(description, "");
}

TEST(PathManager, ReplaceFileTitleKeepsFolderAndExtension)
{
    std::string out;
    EXPECT_EQ(CAKPathManager::AKReplaceFileTile("novel", "x", &out), S_OK);
    EXPECT_EQ(out, "x");
    EXPECT_EQ(CAKPathManager::AKReplaceFileTile("/a/novel.txt", "x", &out), S_OK);
    EXPECT_EQ(out, "/a/x.txt");
    EXPECT_EQ(CAKPathManager::AKReplaceFileTile("/a/novel.part1.txt", "copy", &out), S_OK);
    EXPECT_EQ(out, "/a/copy.txt");
    EXPECT_EQ(CAKPathManager::AKReplaceFileTile("/dir.old/readme", "x", &out), S_OK);
    EXPECT_EQ(out, "/dir.old/x");
    // a file at the root stays at the root
    EXPECT_EQ(CAKPathManager::AKReplaceFileTile("/novel.txt", "x", &out), S_OK);
    EXPECT_EQ(out, "/x.txt");
}

struct SubPathCase {
    std::string parent;
    std::string child;
    int expected;
};

std::ostream& operator<<(std::ostream& out, const SubPathCase& c)
{
    return out << '"' << c.parent << "\" above \"" << c.child << '"';
}

class SubPath : public testing::TestWithParam<SubPathCase> {};

TEST_P(SubPath, ChildMustLieBelowTheParentFolder)
{
    int result = -1;
    EXPECT_EQ(CAKPathManager::AKCheckSubPath(GetParam().parent, GetParam().child, &result), S_OK);
    EXPECT_EQ(result, GetParam().expected) << GetParam().parent << " / " << GetParam().child;
}

INSTANTIATE_TEST_SUITE_P(Boundaries, SubPath,
                         testing::Values(SubPathCase{"/a", "/a/b", 1},
                                         SubPathCase{"/a", "/a/", 1},      // final separator
                                         SubPathCase{"/a", "/a", 0},       // same length
                                         SubPathCase{"/a", "/ab", 0},      // a sibling sharing a prefix
                                         SubPathCase{"/a/", "/a/b", 1},    // parent ends with one
                                         SubPathCase{"/a/b", "/a", 0},     // parent longer
                                         SubPathCase{"/a", "/A/b", 0},     // names differ in case here
                                         SubPathCase{"/", "/etc", 1}));

TEST(PathManager, AbsolutePathCombinesAndCanonicalises)
{
    std::string out;
    EXPECT_EQ(CAKPathManager::AKGenerateAbsolutePath("/books", "../x.txt", &out), S_OK);
    EXPECT_EQ(out, "/x.txt");
    EXPECT_EQ(CAKPathManager::AKGenerateAbsolutePath("/books", "./a/./b.txt", &out), S_OK);
    EXPECT_EQ(out, "/books/a/b.txt");
    EXPECT_EQ(CAKPathManager::AKGenerateAbsolutePath("/books/", "a/../b", &out), S_OK);
    EXPECT_EQ(out, "/books/b");
    EXPECT_EQ(CAKPathManager::AKGenerateAbsolutePath("/books", "/etc/x", &out), S_OK);
    EXPECT_EQ(out, "/etc/x");
    // never climbs above the root
    EXPECT_EQ(CAKPathManager::AKGenerateAbsolutePath("/a", "../../../x", &out), S_OK);
    EXPECT_EQ(out, "/x");
}

TEST(PathManager, RelativePathFromFolderToFile)
{
    std::string out;
    EXPECT_EQ(CAKPathManager::AKGenerateRelativePath("/books", "/books/a/x.txt", &out), S_OK);
    EXPECT_EQ(out, "./a/x.txt");
    EXPECT_EQ(CAKPathManager::AKGenerateRelativePath("/books", "/x.txt", &out), S_OK);
    EXPECT_EQ(out, "../x.txt");
    EXPECT_EQ(CAKPathManager::AKGenerateRelativePath("/books/", "/books/x.txt", &out), S_OK);
    EXPECT_EQ(out, "./x.txt");
    // already relative: unchanged
    EXPECT_EQ(CAKPathManager::AKGenerateRelativePath("/books", "a/x.txt", &out), S_OK);
    EXPECT_EQ(out, "a/x.txt");
    // a relative base gives no relative form: unchanged
    EXPECT_EQ(CAKPathManager::AKGenerateRelativePath("books", "/x.txt", &out), S_OK);
    EXPECT_EQ(out, "/x.txt");
}

}  // namespace
