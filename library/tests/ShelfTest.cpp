#include "library/ShelfGeometry.h"
#include "library/ShelfPainter.h"

#include "book/CodePage.h"
#include "book/PageStyle.h"
#include "views/Canvas.h"
#include "views/FontMetrics.h"

#include <gtest/gtest.h>

namespace {

// The cabinet manager's frame: 548 wide leaves 8 spare pixels, 4 a side.
constexpr Rect kFrame{210, 38, 758, 450};

TEST(ShelfGeometry, TheFrameIsNarrowedSoTheInteriorDividesIntoSpines)
{
    struct Row {
        int width;
        int narrowLeft;
        int narrowRight;
    };
    for (const Row row : {Row{548, 4, 4}, Row{540, 0, 0}, Row{551, 5, 6}, Row{36, 0, 0}, Row{20, 4, 4}}) {
        const Rect frame{100, 0, 100 + row.width, 300};
        const Rect narrowed = shelf::narrowedFrame(frame);
        EXPECT_EQ(narrowed.left, 100 + row.narrowLeft) << row.width;
        EXPECT_EQ(narrowed.right, 100 + row.width - row.narrowRight) << row.width;
        EXPECT_EQ((narrowed.width() - 36) % 12, 0) << row.width;
    }
    EXPECT_EQ(shelf::interior(kFrame), (Rect{232, 56, 736, 432}));
}

TEST(ShelfGeometry, TwelveSpinesAShelfWithSixPixelsOfMargin)
{
    // (504 - 12) / 12
    EXPECT_EQ(shelf::spineWidth(kFrame), 41);
    EXPECT_EQ(shelf::shelfRect(kFrame, 0), (Rect{232, 56, 736, 244}));
    EXPECT_EQ(shelf::shelfRect(kFrame, 1), (Rect{232, 244, 736, 432}));
    EXPECT_EQ(shelf::spineRect(kFrame, 0), (Rect{238, 62, 279, 238}));
    EXPECT_EQ(shelf::spineRect(kFrame, 11), (Rect{238 + 11 * 41, 62, 238 + 12 * 41, 238}));
    EXPECT_EQ(shelf::spineRect(kFrame, 12), (Rect{238, 250, 279, 426}));
    EXPECT_EQ(shelf::spineRect(kFrame, 23).right, 736 - 6);
}

TEST(ShelfGeometry, APointHitsTheSpineItLiesOnAndOnlyBooksThatAreThere)
{
    EXPECT_EQ(shelf::spineAt(kFrame, 24, {238, 62}), 0);
    EXPECT_EQ(shelf::spineAt(kFrame, 24, {279, 62}), 1);  // the next spine starts there
    EXPECT_EQ(shelf::spineAt(kFrame, 24, {300, 300}), 13);
    EXPECT_EQ(shelf::spineAt(kFrame, 13, {300, 300}), -1);  // no 14th book
    EXPECT_EQ(shelf::spineAt(kFrame, 24, {237, 100}), -1);  // the margin
    EXPECT_EQ(shelf::spineAt(kFrame, 24, {300, 240}), -1);  // the board between the shelves
    EXPECT_EQ(shelf::spineAt(kFrame, 30, {735, 430}), -1);  // only 24 are ever shown
    EXPECT_EQ(shelf::spineAt(kFrame, 0, {238, 62}), -1);
}

TEST(ShelfColours, SixBevelShadesLoweredByTwoAStepAndHeldAboveFive)
{
    const auto shades = shelf::bevelShades(rgb(240, 106, 12));
    EXPECT_EQ(shades[0], rgb(240, 106, 12));
    EXPECT_EQ(shades[1], rgb(238, 104, 10));
    EXPECT_EQ(shades[3], rgb(234, 100, 6));
    EXPECT_EQ(shades[5], rgb(230, 96, 5));
    EXPECT_EQ(shelf::bevelShades(rgb(0, 0, 0))[0], rgb(5, 5, 5));
}

TEST(ShelfColours, SpinesAreLighterAtTheTopAndTitlesReadOnTheirColour)
{
    const auto [top, foot] = shelf::spineGradient(rgb(100, 200, 100));
    EXPECT_GT(greenOf(top), greenOf(foot));
    EXPECT_EQ(shelf::spineGradient(rgb(250, 250, 250)).first, rgb(255, 255, 255));
    EXPECT_EQ(shelf::spineTextColour(rgb(100, 200, 100)), rgb(0, 0, 0));
    EXPECT_EQ(shelf::spineTextColour(rgb(20, 30, 120)), rgb(255, 255, 255));
    EXPECT_EQ(shelf::spineTextColour(rgb(255, 255, 0)), rgb(0, 0, 0));
}

TEST(ShelfColours, TheInsideIsDarkerInTheBordersOwnHue)
{
    // in proportion: an orange cabinet is brown inside, not red
    EXPECT_EQ(shelf::backWallColour(rgb(240, 106, 12)), rgb(96, 42, 5));
    EXPECT_EQ(shelf::boardColour(rgb(240, 106, 12)), rgb(168, 74, 8));
    EXPECT_EQ(shelf::backWallColour(rgb(0, 0, 0)), rgb(5, 5, 5));
}

TEST(ShelfTitles, ChineseJapaneseAndKoreanTitlesStandUpright)
{
    EXPECT_FALSE(titleStandsUpright("Moby Dick"));
    EXPECT_FALSE(titleStandsUpright(QString::fromUtf8("Ærø — Ünïcödé")));
    EXPECT_FALSE(titleStandsUpright(""));
    EXPECT_TRUE(titleStandsUpright(QString::fromUtf8("红楼梦")));
    EXPECT_TRUE(titleStandsUpright(QString::fromUtf8("Journey 西游记")));
    EXPECT_TRUE(titleStandsUpright(QString::fromUtf8("こころ")));
    EXPECT_TRUE(titleStandsUpright(QString::fromUtf8("토지")));
}

class ShelfPicture : public testing::Test {
protected:
    ShelfPicture()
    {
        image.fill(Qt::white);
        cabinet.borderColor = rgb(30, 120, 200);
        for (int i = 0; i < 14; ++i)
            cabinet.books.push_back({rgb(static_cast<uint8_t>(40 + 10 * i), 60, 90), "", "Title " + std::to_string(i), ""});
        // a long Chinese title, set upright and cut
        cabinet.books[13].bookName = codepage::fromUtf8("红楼梦第一回甄士隐梦幻识通灵贾雨村风尘怀闺秀");
    }
    COLORREF at(int x, int y) const { return fromQColor(image.pixelColor(x, y)); }

    QImage image{770, 500, QImage::Format_RGB32};
    CCabinet cabinet;
    LOGFONT font = defaultBookFont();
};

TEST_F(ShelfPicture, TheFrameIsBevelledInTheSixShades)
{
    paintShelf(image, kFrame, &cabinet, font);
    const Rect frame = shelf::narrowedFrame(kFrame);
    const auto shades = shelf::bevelShades(cabinet.borderColor);
    const int y = (frame.top + frame.bottom) / 2;
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(at(frame.left + 3 * k + 1, y), shades[static_cast<size_t>(k)]) << "step " << k;
    EXPECT_EQ(at(frame.left - 1, y), rgb(255, 255, 255));  // the narrowed-off strip stays as it was
    // without a cabinet, the frame in the default colour
    paintShelf(image, kFrame, nullptr, font);
    EXPECT_EQ(at(frame.left + 1, y), rgb(240, 106, 12));
}

TEST_F(ShelfPicture, EverySpineIsAVerticalGradientOfItsColourWithItsNameOnIt)
{
    paintShelf(image, kFrame, &cabinet, font);
    for (const int i : {0, 11, 13}) {
        const Rect spine = shelf::spineRect(kFrame, i);
        const COLORREF colour = cabinet.books[static_cast<size_t>(i)].frameColor;
        const auto [top, foot] = shelf::spineGradient(colour);
        // a column near the spine's edge, clear of the title
        const int x = spine.left + 2;
        EXPECT_EQ(at(x, spine.top), top) << i;
        EXPECT_LE(std::abs(int(redOf(at(x, spine.bottom - 1))) - int(redOf(foot))), 2) << i;
        EXPECT_GT(redOf(at(x, spine.top + 10)), redOf(at(x, spine.bottom - 10))) << i;
        // the title: pixels of the text colour down the middle of the spine
        int ink = 0;
        const QColor text = toQColor(shelf::spineTextColour(colour));
        for (int y = spine.top; y < spine.bottom; ++y) {
            for (int xx = spine.left + 8; xx < spine.right - 8; ++xx)
                ink += image.pixelColor(xx, y) == text;
        }
        EXPECT_GT(ink, 20) << i;
    }
    // where the 15th book would stand is the back of the cabinet
    const Rect empty = shelf::spineRect(kFrame, 14);
    EXPECT_EQ(image.pixelColor(empty.left + 2, empty.top + 2).blue(),
              image.pixelColor(empty.left + 30, empty.top + 2).blue());
    EXPECT_NE(at(empty.left + 2, empty.top + 2), shelf::spineGradient(rgb(180, 60, 90)).first);
}

TEST_F(ShelfPicture, TheSelectionOutlineIsExclusiveOrAndDrawingItAgainErasesIt)
{
    paintShelf(image, kFrame, &cabinet, font);
    const QImage before = image.copy();
    const Rect spine = shelf::spineRect(kFrame, 3);
    xorSelectionOutline(image, spine);
    const auto flipped = [&before](int x, int y) {
        return fromQColor(before.pixelColor(x, y)) ^ rgb(122, 255, 122);
    };
    for (const Point p : {Point{spine.left, spine.top}, Point{spine.left + 2, spine.top + 50},
                          Point{spine.right - 1, spine.top + 50}, Point{spine.left + 20, spine.bottom - 4},
                          Point{spine.left + 20, spine.bottom - 6}})
        EXPECT_EQ(at(p.x, p.y), flipped(p.x, p.y)) << p.x << "," << p.y;
    // inside the ring, and the spine's last 3 rows under it, are untouched
    for (const Point p : {Point{spine.left + 3, spine.top + 3}, Point{spine.left + 20, spine.bottom - 7},
                          Point{spine.left + 20, spine.bottom - 3}, Point{spine.left + 20, spine.bottom - 1}})
        EXPECT_EQ(image.pixel(p.x, p.y), before.pixel(p.x, p.y)) << p.x << "," << p.y;
    xorSelectionOutline(image, spine);
    EXPECT_EQ(image, before);
}

}  // namespace
