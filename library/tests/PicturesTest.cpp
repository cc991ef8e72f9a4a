#include "library/Artwork.h"
#include "library/DocumentPictures.h"
#include "library/ProgramFolder.h"
#include "library/Settings.h"

#include "pixmill/Pixmill.h"

#include "TestSupport.h"

#include <QGuiApplication>
#include <QSettings>

#include <gtest/gtest.h>

namespace {

void savePicture(const QImage& image, const std::string& path)
{
    QImage copy = image;
    HDIB dib = GetDIBFromHBITMAP(&copy);
    ASSERT_EQ(SaveDIBToFile(dib, path.c_str()), 1);
    DibFree(dib);
}

TEST(ProgramFolder, VersaleoHomeWinsAndPicturesLiveBelowIt)
{
    TestFolder dir;
    ScopedEnv home("VERSALEO_HOME", dir.path());
    EXPECT_EQ(programFolder(), dir.path());
    EXPECT_EQ(pictureFolder(), dir / "picture");
}

TEST(ProgramFolder, TheBuildFolderHoldsThePrograms)
{
    ScopedEnv home("VERSALEO_HOME", "");
    // the tests run from the build's program folder, which has its pictures
    EXPECT_EQ(programFolder(), std::string(PROGRAM_FOLDER));
}

TEST(DocumentPictures, PicturesLoadByNumberAndMissingOnesFallBack)
{
    TestFolder dir;
    savePicture(artwork::background(1), dir / "BackGround1.jpg");
    savePicture(artwork::background(2), dir / "BackGround2.jpg");
    savePicture(artwork::innerCoverPattern(), dir / "CoverInner1.jpg");
    DocumentPictures pictures(dir.path());
    EXPECT_TRUE(pictures.loadBackground(2));
    EXPECT_EQ(pictures.backgroundNumber(), 2);
    EXPECT_EQ(pictures.background().size(), QSize(1024, 768));
    // a missing picture: the fallback shows, the number stays
    EXPECT_FALSE(pictures.loadBackground(7));
    EXPECT_EQ(pictures.backgroundNumber(), 2);
    EXPECT_EQ(pictures.background().size(), artwork::fallback().size());
    EXPECT_FALSE(pictures.loadOuterCover(1));
    EXPECT_EQ(pictures.outerCover().size(), artwork::fallback().size());
    EXPECT_EQ(pictures.pagePicture(0), QImage());
    EXPECT_TRUE(pictures.pagePicture(4).isNull());
    EXPECT_EQ(pictures.picturePath("BookPage", 3), dir / "BookPage3.jpg");
}

TEST(DocumentPictures, NumbersComeFromTheSettings)
{
    TestFolder dir;
    savePicture(artwork::background(1), dir / "BackGround2.jpg");
    savePicture(artwork::innerCoverPattern(), dir / "CoverInner1.jpg");
    QSettings stored(QString::fromStdString(dir / "settings.ini"), QSettings::IniFormat);
    stored.setValue("Settings/BackPictureIndex", 2);
    DocumentPictures pictures(dir.path());
    pictures.loadFromSettings(SettingsStore(QString::fromStdString(dir / "settings.ini")).read());
    EXPECT_EQ(pictures.backgroundNumber(), 2);
    EXPECT_EQ(pictures.innerCoverNumber(), 1);  // the default
    EXPECT_EQ(pictures.innerCover().size(), QSize(96, 96));
}

TEST(DocumentPictures, ABackgroundNumberBeyondTheFilesIsKeptAndShowsTheFallback)
{
    TestFolder dir;
    for (int n = 1; n <= 3; ++n)
        savePicture(artwork::background(1 + n % 2), dir / ("BackGround" + std::to_string(n) + ".jpg"));
    AppSettings settings;
    settings.backPictureIndex = 5;
    DocumentPictures pictures(dir.path());
    pictures.loadFromSettings(settings);
    EXPECT_EQ(pictures.backgroundNumber(), 5);
    EXPECT_EQ(pictures.background(), artwork::fallback());
    EXPECT_EQ(pictures.folder(), dir.path());
}

TEST(Artwork, TheShippedPicturesHaveTheirSizes)
{
    // big enough to be stretched, not tiled, behind the book
    EXPECT_GE(artwork::background(1).width(), 640);
    EXPECT_GE(artwork::background(2).height(), 480);
    EXPECT_GE(artwork::pagePicture(1).width(), 101);  // stretched under the text
    const QImage tile = artwork::innerCoverPattern();
    // the pattern tiles without a seam: stepping across the tile's edge jumps
    // no more than stepping between neighbours inside it
    const auto jump = [&tile](int x1, int x2, int y) {
        const QColor a = tile.pixelColor(x1, y), b = tile.pixelColor(x2, y);
        return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
    };
    int seam = 0, inside = 0;
    for (int y = 0; y < tile.height(); ++y) {
        seam = std::max(seam, jump(tile.width() - 1, 0, y));
        for (int x = 0; x + 1 < tile.width(); ++x)
            inside = std::max(inside, jump(x, x + 1, y));
    }
    EXPECT_LE(seam, inside);
}

}  // namespace
