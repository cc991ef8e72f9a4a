#include "DibFixtures.h"

#include "TestSupport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <fstream>
#include <random>

namespace {

std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A picture with a gradient, so that rows and columns cannot be confused.
HDIB gradient(int width, int height)
{
    HDIB dib = CreateNewDIB(width, height, 0);
    auto* bits = static_cast<uint8_t*>(GetDIBBits(dib));
    for (int y = 0; y < height; ++y) {
        uint8_t* row = bits + strideOf(width, 24) * static_cast<size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<uint8_t>(x * 255 / (width - 1));
            row[3 * x + 1] = static_cast<uint8_t>(y * 255 / (height - 1));
            row[3 * x + 2] = 128;
        }
    }
    return dib;
}

int maxDifference(HDIB a, HDIB b)
{
    int worst = 0;
    for (int y = 0; y < GetDIBHeight(a); ++y) {
        for (int x = 0; x < GetDIBWidth(a); ++x) {
            const Rgb p = at(a, x, y), q = at(b, x, y);
            worst = std::max({worst, std::abs(p.r - q.r), std::abs(p.g - q.g), std::abs(p.b - q.b)});
        }
    }
    return worst;
}

class Files : public testing::Test {
protected:
    TestFolder dir;
};

TEST_F(Files, EveryFullColourPluginRoundTrips)
{
    Dib original(gradient(37, 23));
    for (const char* name : {"p.bmp", "p.png", "p.tif", "p.tiff", "p.jpg"}) {
        const std::string path = dir / name;
        ASSERT_EQ(SaveDIBToFile(original.h, path.c_str()), 1) << name;
        Dib back(LoadDIBFromFile(path.c_str()));
        ASSERT_TRUE(back) << name;
        ASSERT_EQ(GetDIBWidth(back.h), 37) << name;
        ASSERT_EQ(GetDIBHeight(back.h), 23) << name;
        ASSERT_EQ(ChangeToFullColorDIB(&back), 1);
        EXPECT_LE(maxDifference(original.h, back.h), std::string(name) == "p.jpg" ? 12 : 0) << name;
    }
}

TEST_F(Files, PicturesWithColourTablesRoundTripThroughBmpAndGif)
{
    Dib original(indexed(8, {kRed, kGreen, kBlue}, {{0, 1, 2, 1}, {2, 2, 0, 0}, {1, 0, 1, 0}}));
    for (const char* name : {"p.bmp", "p.gif"}) {
        const std::string path = dir / name;
        ASSERT_EQ(SaveDIBToFile(original.h, path.c_str()), 1) << name;
        Dib back(LoadDIBFromFile(path.c_str()));
        ASSERT_TRUE(back) << name;
        EXPECT_EQ(bitCountOf(back.h), 8) << name;
        Dib a(CloneDIB(original.h)), b(CloneDIB(back.h));
        ChangeToFullColorDIB(&a);
        ChangeToFullColorDIB(&b);
        EXPECT_EQ(maxDifference(a.h, b.h), 0) << name;
    }
    // full colour cannot be written as GIF without a colour table
    Dib full(CreateNewDIB(2, 2, 0));
    EXPECT_EQ(SaveDIBToFile(full.h, (dir / "full.gif").c_str()), 0);
}

TEST_F(Files, ExtensionsPickThePluginWithoutRegardToCase)
{
    Dib original(gradient(8, 8));
    const std::string upper = dir / "picture.JPEG";
    ASSERT_EQ(SaveDIBToFile(original.h, upper.c_str()), 1);
    EXPECT_EQ(slurp(upper).substr(0, 2), "\xFF\xD8");  // written by the JPEG plug-in
    Dib back(LoadDIBFromFile(upper.c_str()));
    EXPECT_TRUE(back);
    EXPECT_EQ(LoadDIBFromFile((dir / "nodot").c_str()), nullptr);
    EXPECT_EQ(LoadDIBFromFile((dir / "missing.png").c_str()), nullptr);
    EXPECT_EQ(LoadDIBFromFile((dir / "x.unknown").c_str()), nullptr);
    EXPECT_EQ(LoadDIBFromFile(nullptr), nullptr);
    EXPECT_EQ(SaveDIBToFile(original.h, (dir / "x.unknown").c_str()), 0);
}

TEST_F(Files, SaveAsCopiesWithinAFamilyAndConvertsAcross)
{
    Dib original(gradient(16, 9));
    const std::string jpg = dir / "a.jpg", jpeg = dir / "b.jpeg", bmp = dir / "c.bmp", png = dir / "d.png";
    ASSERT_EQ(SaveDIBToFile(original.h, jpg.c_str()), 1);
    ASSERT_EQ(SaveDIBToFile(original.h, bmp.c_str()), 1);
    EXPECT_EQ(SaveAsPicture(jpg.c_str(), jpeg.c_str()), 1);
    EXPECT_EQ(slurp(jpeg), slurp(jpg));
    EXPECT_EQ(SaveAsPicture(bmp.c_str(), png.c_str()), 1);
    EXPECT_EQ(slurp(png).substr(1, 3), "PNG");
    Dib back(LoadDIBFromFile(png.c_str()));
    EXPECT_EQ(maxDifference(original.h, back.h), 0);
    EXPECT_EQ(SaveAsPicture(bmp.c_str(), bmp.c_str()), 1);
    EXPECT_EQ(SaveAsPicture(nullptr, bmp.c_str()), 0);
    EXPECT_EQ(SaveAsPicture(bmp.c_str(), (dir / "noext").c_str()), 0);
}

TEST_F(Files, SupportCheck)
{
    EXPECT_EQ(CheckFileSupport("x.png"), 1);
    EXPECT_EQ(CheckFileSupport("x.PCX"), 1);  // known, whether or not a plug-in is there
    EXPECT_EQ(CheckFileSupport("x.webp"), 0);
    EXPECT_EQ(CheckFileSupport("x"), 0);
    EXPECT_EQ(CheckFileSupport(nullptr), 0);
}

TEST_F(Files, ABmpWrittenTopDownOrWithACoreHeaderReads)
{
    // 2 x 2, 24 bits, negative height: the first stored row is the top one
    std::string file = "BM";
    const auto put32 = [&file](uint32_t v) { file.append(reinterpret_cast<const char*>(&v), 4); };
    const auto put16 = [&file](uint16_t v) { file.append(reinterpret_cast<const char*>(&v), 2); };
    put32(14 + 40 + 16);
    put32(0);
    put32(14 + 40);
    put32(40);
    put32(2);
    put32(static_cast<uint32_t>(-2));
    put16(1);
    put16(24);
    for (int i = 0; i < 6; ++i)
        put32(0);
    file += std::string("\x00\x00\xFF" "\x00\xFF\x00" "\x00\x00", 8);  // red, green
    file += std::string("\xFF\x00\x00" "\xFF\xFF\xFF" "\x00\x00", 8);  // blue, white
    const std::string path = dir / "topdown.bmp";
    std::ofstream(path, std::ios::binary) << file;
    Dib dib(LoadDIBFromFile(path.c_str()));
    ASSERT_TRUE(dib);
    EXPECT_EQ(at(dib.h, 0, 0), kRed);
    EXPECT_EQ(at(dib.h, 1, 0), kGreen);
    EXPECT_EQ(at(dib.h, 0, 1), kBlue);
    EXPECT_GT(GetDIBHeight(dib.h), 0);
}

TEST_F(Files, MutatedFilesOfEveryFormatNeverCrash)
{
    Dib full(gradient(24, 16));
    Dib eight(indexed(8, {kRed, kGreen, kBlue}, {{0, 1, 2, 1}, {2, 2, 0, 0}}));
    std::mt19937 random(21);
    for (const char* name : {"m.bmp", "m.jpg", "m.png", "m.gif", "m.tif"}) {
        const std::string path = dir / name;
        ASSERT_EQ(SaveDIBToFile(std::string(name) == "m.gif" ? eight.h : full.h, path.c_str()), 1);
        const std::string good = slurp(path);
        int loaded = 0;
        for (int round = 0; round < 200; ++round) {
            std::string bad = good;
            if (round % 4 == 0) {
                bad.resize(random() % bad.size());
            } else {
                for (int c = 0; c < 1 + round % 5; ++c) {
                    // lying sizes are the interesting case: favour big values
                    bad[random() % bad.size()] = static_cast<char>(round % 3 == 0 ? 0xFF : random() % 256);
                }
            }
            std::ofstream(path, std::ios::binary | std::ios::trunc) << bad;
            Dib dib(LoadDIBFromFile(path.c_str()));
            if (dib) {
                ++loaded;
                EXPECT_GT(GetDIBWidth(dib.h), 0);
                EXPECT_NE(GetDIBBits(dib.h), nullptr);
                Dib copy(CloneDIB(dib.h));
                EXPECT_EQ(ChangeToFullColorDIB(&copy), 1);
            }
        }
        EXPECT_GT(loaded, 0) << name;
    }
}

std::string dataFile(const char* name)
{
    return std::string(PIXMILL_TEST_DATA) + "/" + name;
}

// A packed DIB block copied as it is into a handle.
HDIB dibFromFile(const char* name)
{
    const std::string bytes = slurp(dataFile(name));
    HDIB dib = DibAlloc(bytes.size());
    std::memcpy(DibLock(dib), bytes.data(), bytes.size());
    DibUnlock(dib);
    return dib;
}

// Core headers (12 bytes, 3-byte colour entries) in blocks of odd sizes.
TEST_F(Files, GifSaveOverflowDibsSaveTheirOwnPixels)
{
    for (const char* name : {"gif-save-overflow-1.dib", "gif-save-overflow-2.dib"}) {
        Dib dib(dibFromFile(name));
        for (const char* target : {"x.gif", "x.bmp", "x.png"}) {
            const std::string path = dir / target;
            ASSERT_EQ(SaveDIBToFile(dib.h, path.c_str()), 1) << name << " " << target;
            Dib back(LoadDIBFromFile(path.c_str()));
            ASSERT_TRUE(back) << name << " " << target;
            Dib a(CloneDIB(dib.h));
            ASSERT_EQ(ChangeToFullColorDIB(&a), 1);
            ASSERT_EQ(ChangeToFullColorDIB(&back), 1);
            ASSERT_EQ(GetDIBWidth(back.h), GetDIBWidth(a.h));
            ASSERT_EQ(GetDIBHeight(back.h), GetDIBHeight(a.h));
            EXPECT_EQ(maxDifference(a.h, back.h), 0) << name << " " << target;
        }
    }
}

TEST_F(Files, WritersRefuseBlocksTooShortForTheirHeaders)
{
    const std::string bytes = slurp(dataFile("gif-save-overflow-1.dib"));
    // the picture needs 42 bytes (header, two 3-byte colours, six rows of
    // 4): every shorter cut of it, down to a lone header field
    for (size_t length = 4; length < 42; length += 3) {
        Dib dib(DibAlloc(length));
        std::memcpy(DibLock(dib.h), bytes.data(), length);
        DibUnlock(dib.h);
        for (const char* target : {"c.gif", "c.bmp", "c.png", "c.jpg", "c.tif"})
            EXPECT_EQ(SaveDIBToFile(dib.h, (dir / target).c_str()), 0) << length << " " << target;
    }
}

TEST_F(Files, InterlacedGifDecodesToThePlainPicture)
{
    Dib interlaced(LoadDIBFromFile(dataFile("interlaced.gif").c_str()));
    Dib plain(LoadDIBFromFile(dataFile("interlaced-expected-as-plain.gif").c_str()));
    ASSERT_TRUE(interlaced);
    ASSERT_TRUE(plain);
    ASSERT_EQ(ChangeToFullColorDIB(&interlaced), 1);
    ASSERT_EQ(ChangeToFullColorDIB(&plain), 1);
    ASSERT_EQ(GetDIBWidth(interlaced.h), GetDIBWidth(plain.h));
    ASSERT_EQ(GetDIBHeight(interlaced.h), GetDIBHeight(plain.h));
    ASSERT_GT(GetDIBHeight(plain.h), 8);  // every pass holds rows
    EXPECT_EQ(maxDifference(interlaced.h, plain.h), 0);
}

// The picture is the first frame: frames after it are never decoded, so a
// later frame claiming a huge size over a few bytes of data (memory for all
// of it was taken before) or cut short does not lose the first.
TEST_F(Files, AGifShowsItsFirstFrameWhateverFollowsIt)
{
    std::string gif = slurp(dataFile("interlaced-expected-as-plain.gif"));
    ASSERT_EQ(gif.back(), ';');
    gif.pop_back();
    // an image descriptor of 32768 x 32768 pixels, then LZW data cut short
    gif += std::string("\x2C\0\0\0\0\x00\x80\x00\x80\x00\x08\x05\x04\x00\x01\x02\x03", 17);
    const std::string path = dir / "frames.gif";
    std::ofstream(path, std::ios::binary) << gif;
    Dib first(LoadDIBFromFile(path.c_str()));
    Dib plain(LoadDIBFromFile(dataFile("interlaced-expected-as-plain.gif").c_str()));
    ASSERT_TRUE(first);
    ASSERT_TRUE(plain);
    ASSERT_EQ(ChangeToFullColorDIB(&first), 1);
    ASSERT_EQ(ChangeToFullColorDIB(&plain), 1);
    ASSERT_EQ(GetDIBWidth(first.h), GetDIBWidth(plain.h));
    ASSERT_EQ(GetDIBHeight(first.h), GetDIBHeight(plain.h));
    EXPECT_EQ(maxDifference(first.h, plain.h), 0);
}

class PlatformBitmaps : public testing::Test {};

TEST_F(PlatformBitmaps, DibsAndImagesConvertBothWays)
{
    Dib dib(picture({{kRed, kGreen}, {kBlue, kWhite}}));
    std::unique_ptr<QImage> image(GetHBITMAPFromDIB(dib.h));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixelColor(0, 0), QColor(255, 0, 0));
    EXPECT_EQ(image->pixelColor(0, 1), QColor(0, 0, 255));
    Dib back(GetDIBFromHBITMAP(image.get()));
    EXPECT_EQ(maxDifference(dib.h, back.h), 0);
    EXPECT_EQ(GetHBITMAPFromDIB(nullptr), nullptr);
    EXPECT_EQ(GetDIBFromHBITMAP(nullptr), nullptr);
}

TEST_F(PlatformBitmaps, DrawingOntoASurfaceCopiesOrStretches)
{
    QImage surface(10, 10, QImage::Format_RGB32);
    surface.fill(Qt::black);
    Dib dib(picture({{kRed, kGreen}, {kBlue, kWhite}}));
    EXPECT_EQ(DrawDIBToDC(&surface, 1, 1, 2, 2, dib.h, 0, 0, 2, 2), 2);
    EXPECT_EQ(surface.pixelColor(1, 1), QColor(255, 0, 0));
    EXPECT_EQ(surface.pixelColor(2, 2), QColor(255, 255, 255));
    EXPECT_EQ(DrawDIBToDC(&surface, 4, 4, 4, 4, dib.h, 0, 0, 2, 2), 2);
    EXPECT_EQ(surface.pixelColor(4, 4), QColor(255, 0, 0));
    EXPECT_EQ(surface.pixelColor(5, 5), QColor(255, 0, 0));  // doubled, not smoothed
    EXPECT_EQ(surface.pixelColor(7, 7), QColor(255, 255, 255));
    std::unique_ptr<QImage> area(GetHBITMAPFromDC(&surface, 4, 4, 2, 2));
    ASSERT_TRUE(area);
    EXPECT_EQ(area->size(), QSize(2, 2));
    EXPECT_EQ(area->pixelColor(1, 1), QColor(255, 0, 0));
}

TEST_F(PlatformBitmaps, AnAreaGoesToTheClipboardAsAFullColourImage)
{
    QImage surface(20, 20, QImage::Format_RGB32);
    surface.fill(QColor(10, 20, 30));
    ASSERT_EQ(CopyDCToClipBoard(&surface, 5, 5, 6, 7), 1);
    const QImage copied = QGuiApplication::clipboard()->image();
    EXPECT_EQ(copied.size(), QSize(6, 7));
    EXPECT_EQ(copied.pixelColor(3, 3), QColor(10, 20, 30));
    EXPECT_EQ(CopyDCToClipBoard(nullptr, 0, 0, 5, 5), 0);
}

TEST_F(PlatformBitmaps, ABitmapSavesAsABmpFile)
{
    TestFolder dir;
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(QColor(1, 2, 3));
    const std::string path = dir / "shot.bmp";
    ASSERT_EQ(WriteBitmapToBmpFile(&image, path.c_str()), 1);
    Dib back(LoadDIBFromFile(path.c_str()));
    ASSERT_TRUE(back);
    EXPECT_EQ(at(back.h, 2, 1), (Rgb{1, 2, 3}));
}

}  // namespace
