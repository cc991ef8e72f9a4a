#include "app/StartupRules.h"

#include "book/CVersaleoDoc.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(Language, StoredChoiceSystemLocaleAndTheChineseModule)
{
    EXPECT_EQ(decideLanguage(0, "zh_CN", true), 0);
    EXPECT_EQ(decideLanguage(1, "en_GB", true), 1);
    // anything else decides from the system: Chinese only for the mainland
    EXPECT_EQ(decideLanguage(2, "zh_CN.UTF-8", true), 1);
    EXPECT_EQ(decideLanguage(-1, "zh_TW", true), 0);
    EXPECT_EQ(decideLanguage(-1, "de_DE", true), 0);
    // without the module the interface stays English
    EXPECT_EQ(decideLanguage(1, "zh_CN", false), 0);
    EXPECT_EQ(decideLanguage(-1, "zh_CN", false), 0);
}

TEST(CommandLine, TheLastPlainParameterIsTheFile)
{
    CVersaleoCommandLineInfo info;
    info.parse({"first.txt", "--verbose", "second.vl"});
    EXPECT_EQ(info.fileName(), "second.vl");
    CVersaleoCommandLineInfo none;
    none.parse({"-x"});
    EXPECT_EQ(none.fileName(), "");
    EXPECT_TRUE(isOpenableExtension("HTML"));
    EXPECT_TRUE(isOpenableExtension("vl"));
    EXPECT_TRUE(isOpenableExtension("EPUB"));
    EXPECT_TRUE(isOpenableExtension("docx"));
    EXPECT_FALSE(isOpenableExtension("exe"));
    EXPECT_FALSE(isOpenableExtension(""));
}

TEST(Title, CutAtThirtyThreeBytesOnACharacterBoundary)
{
    EXPECT_EQ(frameTitle("VLDocument"), "VLDocument - Versaleo");
    const std::string exact(33, 'a');
    EXPECT_EQ(frameTitle(exact), exact + " - Versaleo");
    EXPECT_EQ(frameTitle(exact + "b"), exact + "... - Versaleo");
    // a double-byte character starting at byte 33 (index 32) is left out whole
    const std::string han = std::string(32, 'a') + "\xD6\xD0" + "zz";
    EXPECT_EQ(frameTitle(han), std::string(32, 'a') + "... - Versaleo");
}

TEST(OwnMaximise, TheWorkAreaLeavesTheTaskBarAndAGap)
{
    const Rect screen{0, 0, 1024, 768};
    const Rect bottom = ownMaximiseArea(screen, Rect{0, 738, 1024, 768});
    EXPECT_EQ(bottom, (Rect{0, 0, 1024, 733}));
    EXPECT_EQ(ownMaximiseArea(screen, Rect{0, 0, 1024, 30}), (Rect{0, 35, 1024, 768}));
    EXPECT_EQ(ownMaximiseArea(screen, Rect{0, 0, 60, 768}), (Rect{65, 0, 1024, 768}));
    EXPECT_EQ(ownMaximiseArea(screen, Rect{964, 0, 1024, 768}), (Rect{0, 0, 959, 768}));
    EXPECT_EQ(ownMaximiseArea(screen, std::nullopt), screen);
}

TEST(Border, StripsForSizingUnlessMaximised)
{
    const Rect window{0, 0, 840, 620};
    EXPECT_EQ(borderHit(window, {2, 300}, true), kEdgeLeft);
    EXPECT_EQ(borderHit(window, {837, 300}, true), kEdgeRight);
    EXPECT_EQ(borderHit(window, {400, 3}, true), kEdgeTop);
    EXPECT_EQ(borderHit(window, {400, 617}, true), kEdgeBottom);
    EXPECT_EQ(borderHit(window, {1, 1}, true), kEdgeLeft | kEdgeTop);
    EXPECT_EQ(borderHit(window, {838, 618}, true), kEdgeRight | kEdgeBottom);
    EXPECT_EQ(borderHit(window, {400, 300}, true), 0);
    EXPECT_EQ(borderHit(window, {400, 4}, true), 0);
    EXPECT_EQ(borderHit(window, {1, 1}, false), 0);
}

TEST(Drop, ThreeFilesBecomeOneSelection)
{
    const DropSelection drop = dropSelection({"/books/a.txt", "/other/b.vl", "noFolder.txt", "", "/books/c.pdf"});
    EXPECT_EQ(drop.buffer, std::string("/books\0a.txt\0b.vl\0c.pdf\0\0", 25));
    EXPECT_EQ(drop.firstName, 7u);
    const std::vector<std::string> paths = parseOpenSelection(drop.buffer.data(), drop.buffer.size(), drop.firstName);
    EXPECT_EQ(paths, (std::vector<std::string>{"/books/a.txt", "/books/b.vl", "/books/c.pdf"}));
    EXPECT_TRUE(dropSelection({"nofolder"}).buffer.empty());
}

}  // namespace
