#include "library/Artwork.h"
#include "library/DocumentPictures.h"
#include "library/PictureFamily.h"

#include "pixmill/Pixmill.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

namespace {

namespace fs = std::filesystem;

void savePicture(const QImage& image, const std::string& path)
{
    QImage copy = image;
    HDIB dib = GetDIBFromHBITMAP(&copy);
    ASSERT_EQ(SaveDIBToFile(dib, path.c_str()), 1);
    DibFree(dib);
}

std::string bytesOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::set<std::string> namesIn(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

// A folder with BackGround1.jpg to BackGround<n>.jpg, each a different picture.
class Backgrounds : public testing::Test {
protected:
    void make(int n)
    {
        for (int i = 1; i <= n; ++i) {
            savePicture(artwork::pagePicture(1 + (i - 1) % 3).scaled(40 + i, 30), family.path(i));
            original[i] = bytesOf(family.path(i));
        }
    }
    TestFolder dir;
    PictureFamily family{dir.path(), "BackGround"};
    std::map<int, std::string> original;
};

TEST_F(Backgrounds, TheListRunsFromOneToTheFirstMissingNumber)
{
    make(3);
    EXPECT_EQ(family.titles(), (std::vector<std::string>{"BackGround1", "BackGround2", "BackGround3"}));
    fs::remove(family.path(2));
    EXPECT_EQ(family.titles(), std::vector<std::string>{"BackGround1"});
    EXPECT_EQ(family.count(), 1);
    // a folder of that name is no picture
    fs::remove(family.path(1));
    fs::create_directory(family.path(1));
    EXPECT_EQ(family.count(), 0);
}

TEST_F(Backgrounds, DeletingTheSecondOfThreeMovesTheThirdDown)
{
    make(3);
    ASSERT_TRUE(family.remove(2));
    EXPECT_EQ(family.titles(), (std::vector<std::string>{"BackGround1", "BackGround2"}));
    EXPECT_EQ(bytesOf(family.path(1)), original[1]);
    EXPECT_EQ(bytesOf(family.path(2)), original[3]);
    // nothing left behind: no third picture, no picture set aside
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"BackGround1.jpg", "BackGround2.jpg"}));
}

TEST_F(Backgrounds, DeletingTheFirstOrTheLastKeepsTheFamilyGapFree)
{
    make(4);
    ASSERT_TRUE(family.remove(1));
    EXPECT_EQ(family.count(), 3);
    EXPECT_EQ(bytesOf(family.path(1)), original[2]);
    EXPECT_EQ(bytesOf(family.path(3)), original[4]);
    ASSERT_TRUE(family.remove(3));
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"BackGround1.jpg", "BackGround2.jpg"}));
    EXPECT_FALSE(family.remove(3));  // no such picture
    EXPECT_FALSE(family.remove(0));
    EXPECT_EQ(family.count(), 2);
}

TEST_F(Backgrounds, ARenameThatFailsHalfWayPutsEveryPictureBack)
{
    make(4);
    PictureFileOps ops = PictureFileOps::disk();
    const auto rename = ops.rename;
    const std::string stuck = family.path(4);
    ops.rename = [&](const std::string& from, const std::string& to) { return from != stuck && rename(from, to); };
    PictureFamily failing(dir.path(), "BackGround", ops);
    EXPECT_FALSE(failing.remove(2));
    EXPECT_EQ(failing.count(), 4);
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(bytesOf(family.path(i)), original[i]) << i;
    EXPECT_EQ(namesIn(dir.path()).size(), 4u);
}

TEST_F(Backgrounds, ADeleteThatCannotStartChangesNothing)
{
    make(2);
    PictureFileOps ops = PictureFileOps::disk();
    ops.rename = [](const std::string&, const std::string&) { return false; };
    PictureFamily failing(dir.path(), "BackGround", ops);
    EXPECT_FALSE(failing.remove(1));
    EXPECT_EQ(bytesOf(family.path(1)), original[1]);
    EXPECT_EQ(bytesOf(family.path(2)), original[2]);
}

TEST_F(Backgrounds, AnAddedPictureTakesTheNextNumber)
{
    make(2);
    TestFolder elsewhere;
    savePicture(artwork::background(2), elsewhere / "holiday.jpg");
    const PictureFamily::Added added = family.add(elsewhere / "holiday.jpg");
    EXPECT_EQ(added.result, PictureFamily::AddResult::Added);
    EXPECT_EQ(added.number, 3);
    EXPECT_EQ(bytesOf(family.path(3)), bytesOf(elsewhere / "holiday.jpg"));
    EXPECT_EQ(family.titles().back(), "BackGround3");
}

TEST_F(Backgrounds, AddingBesideAGapTakesTheGapAndTheListShowsWhatFollowsIt)
{
    make(3);
    fs::remove(family.path(2));
    TestFolder elsewhere;
    savePicture(artwork::background(1), elsewhere / "new.jpg");
    EXPECT_EQ(family.add(elsewhere / "new.jpg").number, 2);
    EXPECT_EQ(family.count(), 3);
    EXPECT_EQ(bytesOf(family.path(3)), original[3]);
}

TEST(PictureFolder, TheFirstAddCreatesTheMissingFolder)
{
    TestFolder dir;
    savePicture(artwork::pagePicture(2), dir / "paper.jpg");
    PictureFamily pages(dir / "program/picture", "BookPage");
    EXPECT_EQ(pages.count(), 0);
    const PictureFamily::Added added = pages.add(dir / "paper.jpg");
    EXPECT_EQ(added.result, PictureFamily::AddResult::Added);
    EXPECT_EQ(added.number, 1);
    EXPECT_TRUE(fs::is_regular_file(dir / "program/picture/BookPage1.jpg"));
    EXPECT_EQ(pages.titles(), std::vector<std::string>{"BookPage1"});
}

TEST(PictureFolder, AFolderThatCannotBeMadeAddsNothing)
{
    TestFolder dir;
    savePicture(artwork::pagePicture(2), dir / "paper.jpg");
    std::ofstream(dir / "program") << "a file where the folder should be";
    PictureFamily pages(dir / "program/picture", "BookPage");
    EXPECT_EQ(pages.add(dir / "paper.jpg").result, PictureFamily::AddResult::NoFolder);
    EXPECT_EQ(pages.count(), 0);
}

TEST(PictureFolder, AFileThatIsNoJpegIsRefusedAndNotCopied)
{
    TestFolder dir;
    PictureFamily backgrounds(dir / "picture", "BackGround");
    std::ofstream(dir / "notes.jpg") << "These are words, not a picture.";
    savePicture(artwork::background(1), dir / "desk.png");
    fs::copy_file(dir / "desk.png", dir / "desk-png.jpg");
    for (const char* name : {"notes.jpg", "desk.png", "desk-png.jpg"}) {
        const PictureFamily::Added added = backgrounds.add(dir / name);
        EXPECT_EQ(added.result, PictureFamily::AddResult::NotAPicture) << name;
        EXPECT_EQ(added.number, 0);
    }
    EXPECT_TRUE(namesIn(dir / "picture").empty());
}

TEST(PictureFolder, AJpegUnderAnotherNameIsTaken)
{
    TestFolder dir;
    PictureFamily backgrounds(dir / "picture", "BackGround");
    savePicture(artwork::background(1), dir / "desk.jpg");
    fs::rename(dir / "desk.jpg", dir / "desk");
    EXPECT_EQ(backgrounds.add(dir / "desk").result, PictureFamily::AddResult::Added);
    EXPECT_FALSE(loadPicture(backgrounds.path(1)).isNull());
}

TEST(PictureFolder, ACopyThatBreaksOffLeavesNoPicture)
{
    TestFolder dir;
    savePicture(artwork::background(1), dir / "desk.jpg");
    PictureFileOps ops = PictureFileOps::disk();
    ops.copy = [](const std::string&, const std::string& to) {
        std::ofstream(to) << "half";
        return false;
    };
    PictureFamily backgrounds(dir / "picture", "BackGround", ops);
    EXPECT_EQ(backgrounds.add(dir / "desk.jpg").result, PictureFamily::AddResult::CopyFailed);
    EXPECT_EQ(backgrounds.count(), 0);
    EXPECT_TRUE(namesIn(dir / "picture").empty());
    // a missing file cannot be copied either
    PictureFamily real(dir / "picture", "BackGround");
    EXPECT_EQ(real.add(dir / "gone.jpg").result, PictureFamily::AddResult::CopyFailed);
    EXPECT_EQ(real.count(), 0);
}

}  // namespace
