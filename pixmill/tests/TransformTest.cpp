#include "DibFixtures.h"

#include <gtest/gtest.h>

namespace {

using Rows = std::vector<std::vector<Rgb>>;

Rows rowsOf(HDIB dib)
{
    Rows rows;
    for (int y = 0; y < GetDIBHeight(dib); ++y) {
        rows.emplace_back();
        for (int x = 0; x < GetDIBWidth(dib); ++x)
            rows.back().push_back(at(dib, x, y));
    }
    return rows;
}

TEST(Queries, ANewFullColourPicture)
{
    Dib dib(CreateNewDIB(3, 2, ref({10, 20, 30})));
    ASSERT_TRUE(dib);
    EXPECT_EQ(GetDIBWidth(dib.h), 3);
    EXPECT_EQ(GetDIBHeight(dib.h), 2);
    EXPECT_EQ(GetDIBColorsNum(dib.h), 0);
    EXPECT_EQ(GetDIBPaletteSize(dib.h), 0);
    EXPECT_EQ(static_cast<uint8_t*>(GetDIBBits(dib.h)) - header(dib.h), 40);
    DibUnlock(dib.h);
    EXPECT_EQ(DibSize(dib.h), 40u + 12 * 2);  // rows of 9 bytes padded to 12
    EXPECT_EQ(at(dib.h, 2, 1), (Rgb{10, 20, 30}));
    EXPECT_EQ(CreateNewDIB(0, 5, 0), nullptr);
    EXPECT_EQ(CreateNewDIB(5, -1, 0), nullptr);
}

TEST(Queries, ColourTablesAndCoreHeaders)
{
    Dib eight(indexed(8, {kRed, kGreen, kBlue}, {{0, 1, 2}}));
    EXPECT_EQ(GetDIBColorsNum(eight.h), 3);
    EXPECT_EQ(GetDIBPaletteSize(eight.h), 12);
    Dib one(indexed(1, {kBlack, kWhite}, {{0, 1}}));
    EXPECT_EQ(GetDIBColorsNum(one.h), 2);

    // a core header: 16-bit fields and 3-byte colour entries
    Dib core(DibAlloc(12 + 2 * 3 + 4));
    uint8_t* p = header(core.h);
    const uint16_t fields[6] = {12, 0, 7, 1, 1, 1};  // size, (high), width 7, height 1, planes, bits
    std::memcpy(p, fields, sizeof fields);
    DibUnlock(core.h);
    EXPECT_EQ(GetDIBWidth(core.h), 7);
    EXPECT_EQ(GetDIBHeight(core.h), 1);
    EXPECT_EQ(GetDIBColorsNum(core.h), 2);
    EXPECT_EQ(GetDIBPaletteSize(core.h), 6);
    EXPECT_EQ(GetDIBWidth(nullptr), 0);
    EXPECT_EQ(GetDIBBits(nullptr), nullptr);
}

TEST(Queries, ABlockTooSmallForItsHeaderIsRefused)
{
    Dib liar(DibAlloc(44));
    uint8_t* p = header(liar.h);
    const uint32_t fields[4] = {40, 1000, 1000, 1u | 24u << 16};
    std::memcpy(p, fields, sizeof fields);
    DibUnlock(liar.h);
    EXPECT_EQ(GetDIBBits(liar.h), nullptr);
    EXPECT_EQ(ChangeToGrayDIB(liar.h), 0);
    EXPECT_EQ(ZoomDIB(&liar, 50), 0);
    EXPECT_EQ(CloneDIB(nullptr), nullptr);
    EXPECT_EQ(DibFree(nullptr), nullptr);
}

TEST(FullColour, FromEveryDepth)
{
    Dib eight(indexed(8, {kRed, kGreen, kBlue}, {{2, 1, 0}}));
    ASSERT_EQ(ChangeToFullColorDIB(&eight), 1);
    EXPECT_EQ(bitCountOf(eight.h), 24);
    EXPECT_EQ(rowsOf(eight.h), (Rows{{kBlue, kGreen, kRed}}));
    Dib four(indexed(4, {kBlack, kWhite, kRed}, {{2, 0, 1}}));
    ASSERT_EQ(ChangeToFullColorDIB(&four), 1);
    EXPECT_EQ(rowsOf(four.h), (Rows{{kRed, kBlack, kWhite}}));
    Dib one(indexed(1, {kBlack, kWhite}, {{1, 0, 1, 1, 0, 0, 0, 0, 1}}));
    ASSERT_EQ(ChangeToFullColorDIB(&one), 1);
    EXPECT_EQ(at(one.h, 0, 0), kWhite);
    EXPECT_EQ(at(one.h, 8, 0), kWhite);
    EXPECT_EQ(at(one.h, 7, 0), kBlack);
    Dib full(CreateNewDIB(2, 2, ref(kRed)));
    const HDIB before = full.h;
    EXPECT_EQ(ChangeToFullColorDIB(&full), 1);
    EXPECT_EQ(full.h, before);  // already full colour: untouched
}

TEST(Zoom, HundredChangesNothing)
{
    Dib dib(picture({{kRed, kGreen}, {kBlue, kWhite}}));
    const HDIB before = dib.h;
    EXPECT_EQ(ZoomDIB(&dib, 100), 1);
    EXPECT_EQ(dib.h, before);
    EXPECT_EQ(ZoomDIB(&dib, -1), 0);
}

TEST(Zoom, HalfOfThreeByThreeIsTwoByTwoNearestNeighbour)
{
    Dib dib(picture({{kRed, kGreen, kBlue}, {kWhite, kBlack, kRed}, {kGreen, kBlue, kWhite}}));
    ASSERT_EQ(ZoomDIB(&dib, 50), 1);
    ASSERT_EQ(GetDIBWidth(dib.h), 2);
    ASSERT_EQ(GetDIBHeight(dib.h), 2);
    // stored rows 0 and 1 take source stored rows 0 and 2: the bottom and top rows
    EXPECT_EQ(rowsOf(dib.h), (Rows{{kRed, kBlue}, {kGreen, kWhite}}));
}

TEST(Zoom, EnlargingTwoByTwoByHalfCopiesTheLastColumnAndRow)
{
    Dib dib(picture({{kRed, kGreen}, {kBlue, kWhite}}));
    ASSERT_EQ(ZoomDIB(&dib, 150), 1);
    ASSERT_EQ(GetDIBWidth(dib.h), 3);
    ASSERT_EQ(GetDIBHeight(dib.h), 3);
    // the new top row copies the stored last row (the top one), the new
    // column copies the last column
    EXPECT_EQ(rowsOf(dib.h), (Rows{{kRed, kGreen, kGreen}, {kRed, kGreen, kGreen}, {kBlue, kWhite, kWhite}}));
}

TEST(Zoom, EnlargingThreeByThreeByHalfRoundsUpAndInterpolates)
{
    const Rgb grey{100, 100, 100};
    Dib dib(picture({{kBlack, kWhite, grey}, {kBlack, kWhite, grey}, {kBlack, kWhite, grey}}));
    ASSERT_EQ(ZoomDIB(&dib, 150), 1);
    ASSERT_EQ(GetDIBWidth(dib.h), 5);
    ASSERT_EQ(GetDIBHeight(dib.h), 5);
    // black, halfway, white, grey, grey (copy after the last)
    EXPECT_EQ(at(dib.h, 0, 4), kBlack);
    EXPECT_EQ(at(dib.h, 1, 4), (Rgb{127, 127, 127}));
    EXPECT_EQ(at(dib.h, 2, 4), kWhite);
    EXPECT_EQ(at(dib.h, 3, 4), grey);
    EXPECT_EQ(at(dib.h, 4, 4), grey);
}

TEST(Rotate, AQuarterTurnIsCounterClockwise)
{
    // 3 wide, 2 high
    Dib dib(picture({{kRed, kGreen, kBlue}, {kWhite, kBlack, kRed}}));
    ASSERT_EQ(RotateDIB(&dib, 90, 0), 1);
    // the top row becomes the left column, read from bottom to top
    EXPECT_EQ(rowsOf(dib.h), (Rows{{kBlue, kRed}, {kGreen, kBlack}, {kRed, kWhite}}));
}

TEST(Rotate, ThreeQuartersAndNegativeAndLargeAngles)
{
    const Rows source{{kRed, kGreen, kBlue}, {kWhite, kBlack, kRed}};
    const Rows clockwise{{kWhite, kRed}, {kBlack, kGreen}, {kRed, kBlue}};
    Dib a(picture(source)), b(picture(source)), c(picture(source)), d(picture(source));
    ASSERT_EQ(RotateDIB(&a, 270, 0), 1);
    EXPECT_EQ(rowsOf(a.h), clockwise);
    ASSERT_EQ(RotateDIB(&b, -90, 0), 1);
    EXPECT_EQ(rowsOf(b.h), clockwise);
    ASSERT_EQ(RotateDIB(&c, 450, 0), 1);
    EXPECT_EQ(rowsOf(c.h), (Rows{{kBlue, kRed}, {kGreen, kBlack}, {kRed, kWhite}}));
    ASSERT_EQ(RotateDIB(&d, 180, 0), 1);
    EXPECT_EQ(rowsOf(d.h), (Rows{{kRed, kBlack, kWhite}, {kBlue, kGreen, kRed}}));
    const HDIB before = d.h;
    EXPECT_EQ(RotateDIB(&d, 720, 0), 1);
    EXPECT_EQ(d.h, before);
}

TEST(Rotate, AQuarterTurnKeepsTheColourTable)
{
    Dib dib(indexed(8, {kRed, kGreen}, {{0, 1}}));
    ASSERT_EQ(RotateDIB(&dib, 90, 0), 1);
    EXPECT_EQ(bitCountOf(dib.h), 8);
    EXPECT_EQ(GetDIBColorsNum(dib.h), 2);
    ASSERT_EQ(ChangeToFullColorDIB(&dib), 1);
    EXPECT_EQ(rowsOf(dib.h), (Rows{{kGreen}, {kRed}}));
}

TEST(Rotate, AnyOtherAngleGrowsThePictureAndFillsTheCorners)
{
    Dib dib(CreateNewDIB(10, 10, ref(kRed)));
    ASSERT_EQ(RotateDIB(&dib, 45, ref(kBlue)), 1);
    // the diagonal of 9 (between centres) is about 12.7, plus 1
    EXPECT_EQ(GetDIBWidth(dib.h), 13);
    EXPECT_EQ(GetDIBHeight(dib.h), 13);
    EXPECT_EQ(at(dib.h, 0, 0), kBlue);
    EXPECT_EQ(at(dib.h, 6, 6), kRed);
    EXPECT_EQ(at(dib.h, 12, 12), kBlue);
}

TEST(Convert, FlipsAndMirrors)
{
    Dib dib(picture({{kRed, kGreen}, {kBlue, kWhite}}));
    ASSERT_EQ(ConvertDIB(&dib, 1), 1);
    EXPECT_EQ(rowsOf(dib.h), (Rows{{kBlue, kWhite}, {kRed, kGreen}}));
    ASSERT_EQ(ConvertDIB(&dib, 2), 1);
    EXPECT_EQ(rowsOf(dib.h), (Rows{{kWhite, kBlue}, {kGreen, kRed}}));
    EXPECT_EQ(ConvertDIB(&dib, 3), 0);
    Dib four(indexed(4, {kBlack, kWhite}, {{0, 1, 1}}));
    ASSERT_EQ(ConvertDIB(&four, 2), 1);
    EXPECT_EQ(bitCountOf(four.h), 24);
    EXPECT_EQ(rowsOf(four.h), (Rows{{kWhite, kWhite, kBlack}}));
}

TEST(Colours, GreyAndInvert)
{
    Dib dib(picture({{{30, 60, 90}, kWhite}}));
    ASSERT_EQ(ChangeToGrayDIB(dib.h), 1);
    EXPECT_EQ(at(dib.h, 0, 0), (Rgb{60, 60, 60}));
    ASSERT_EQ(InvertDIB(dib.h), 1);
    EXPECT_EQ(at(dib.h, 0, 0), (Rgb{195, 195, 195}));
    EXPECT_EQ(at(dib.h, 1, 0), kBlack);
    // colour tables change, indices stay
    Dib eight(indexed(8, {{30, 60, 90}}, {{0}}));
    ASSERT_EQ(InvertDIB(eight.h), 1);
    ASSERT_EQ(ChangeToFullColorDIB(&eight), 1);
    EXPECT_EQ(at(eight.h, 0, 0), (Rgb{225, 195, 165}));
}

TEST(Colours, ContrastOfAHundredSpreadsTheMiddle)
{
    Dib dib(picture({{{100, 155, 99}, {156, 127, 128}}}));
    ASSERT_EQ(ContrastDIB(&dib, 100), 1);
    EXPECT_EQ(at(dib.h, 0, 0), (Rgb{0, 255, 0}));
    EXPECT_EQ(at(dib.h, 1, 0).r, 255);
    EXPECT_EQ(at(dib.h, 1, 0).g, 125);  // (127 - 100) / (55 / 255), truncated
    EXPECT_EQ(ContrastDIB(&dib, 101), 0);
    Dib low(picture({{kBlack, kWhite}}));
    ASSERT_EQ(ContrastDIB(&low, -100), 1);
    EXPECT_EQ(at(low.h, 0, 0), (Rgb{100, 100, 100}));
    EXPECT_EQ(at(low.h, 1, 0), (Rgb{155, 155, 155}));
}

TEST(Colours, BrightnessClampsAndRefusesLargeAmounts)
{
    Dib dib(picture({{{10, 250, 100}}}));
    ASSERT_EQ(LightDIB(&dib, 20), 1);
    EXPECT_EQ(at(dib.h, 0, 0), (Rgb{30, 255, 120}));
    ASSERT_EQ(LightDIB(&dib, -50), 1);
    EXPECT_EQ(at(dib.h, 0, 0), (Rgb{0, 205, 70}));
    EXPECT_EQ(LightDIB(&dib, 101), 0);
    EXPECT_EQ(LightDIB(nullptr, 10), 0);
}

TEST(Colours, HslAndRgb)
{
    int h = -1, s = -1, l = -1;
    EXPECT_EQ(RGBtoHSL(255, 0, 0, &h, &s, &l), 128);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(s, 255);
    RGBtoHSL(0, 0, 255, &h, &s, &l);
    EXPECT_EQ(h, 240);
    RGBtoHSL(255, 0, 128, &h, &s, &l);
    EXPECT_EQ(h, 331);  // -29.6 truncated to -29, then wrapped
    RGBtoHSL(90, 90, 90, &h, &s, &l);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(s, 0);
    EXPECT_EQ(l, 90);
    int r = -1, g = -1, b = -1;
    // lightness 128 is just above a half: the other channels keep 1/255
    EXPECT_EQ(HSLtoRGB(120, 255, 128, &r, &g, &b), 1);
    EXPECT_EQ(r, 1);
    EXPECT_EQ(g, 255);
    HSLtoRGB(0, 0, 64, &r, &g, &b);
    EXPECT_EQ(r, 64);
    EXPECT_EQ(b, 64);
    HSLtoRGB(900, 999, -5, &r, &g, &b);  // clamped inputs
    EXPECT_EQ(r, 0);
}

TEST(Areas, MergeBlendsInsideTheDestinationOnly)
{
    Dib destination(CreateNewDIB(4, 4, ref(kBlack)));
    Dib source(CreateNewDIB(8, 8, ref(kWhite)));
    ASSERT_EQ(MergeDIB(&destination, 1, 1, source.h, 2, 2, 50), 1);
    EXPECT_EQ(at(destination.h, 1, 1), (Rgb{128, 128, 128}));
    EXPECT_EQ(at(destination.h, 3, 3), kBlack);
    EXPECT_EQ(MergeDIB(&destination, 3, 3, source.h, 2, 2, 50), 0);
    EXPECT_EQ(MergeDIB(&destination, 0, 0, source.h, 2, 2, 101), 0);
    // an 8-bit destination becomes full colour first
    Dib eight(indexed(8, {kBlack}, {{0, 0}}));
    ASSERT_EQ(MergeDIB(&eight, 0, 0, source.h, 1, 1, 100), 1);
    EXPECT_EQ(bitCountOf(eight.h), 24);
    EXPECT_EQ(at(eight.h, 0, 0), kWhite);
}

TEST(Areas, MergingAPictureIntoItselfMatchesMergingAnIdenticalCopy)
{
    const std::vector<std::vector<Rgb>> colours = {
        {kRed, kGreen, kBlue}, {kWhite, kBlack, kRed}, {kGreen, kBlue, kWhite}};
    // The merged area overlaps the area read: rows and columns written early
    // are read again later.
    Dib self(picture(colours));
    Dib twin(picture(colours));
    Dib copy(CloneDIB(twin.h));
    ASSERT_EQ(MergeDIB(&self, 1, 1, self.h, 2, 2, 50), 1);
    ASSERT_EQ(MergeDIB(&twin, 1, 1, copy.h, 2, 2, 50), 1);
    EXPECT_EQ(rowsOf(self.h), rowsOf(twin.h));

    // An 8-bit picture merged into itself: making the destination full colour
    // replaces the very block the source pixels are read from.
    const std::vector<std::vector<int>> indices = {{0, 1, 2}, {2, 0, 1}};
    Dib eight(indexed(8, {kRed, kGreen, kBlue}, indices));
    Dib eightTwin(indexed(8, {kRed, kGreen, kBlue}, indices));
    Dib eightCopy(CloneDIB(eightTwin.h));
    ASSERT_EQ(MergeDIB(&eight, 1, 0, eight.h, 2, 2, 25), 1);
    ASSERT_EQ(MergeDIB(&eightTwin, 1, 0, eightCopy.h, 2, 2, 25), 1);
    EXPECT_EQ(bitCountOf(eight.h), 24);
    EXPECT_EQ(rowsOf(eight.h), rowsOf(eightTwin.h));
    EXPECT_EQ(at(eight.h, 0, 0), kRed);

    // Refused the same way as with another picture.
    EXPECT_EQ(MergeDIB(&self, 2, 2, self.h, 2, 2, 50), 0);
}

TEST(Areas, CopyEraseAndCut)
{
    Dib dib(picture({{kRed, kGreen, kBlue}, {kWhite, kBlack, kRed}}));
    Dib area(GetDIBFromDIB(dib.h, 1, 0, 2, 2));
    ASSERT_TRUE(area);
    EXPECT_EQ(rowsOf(area.h), (Rows{{kGreen, kBlue}, {kBlack, kRed}}));
    EXPECT_EQ(GetDIBFromDIB(dib.h, 2, 0, 2, 1), nullptr);
    EXPECT_EQ(GetDIBFromDIB(dib.h, -1, 0, 1, 1), nullptr);
    Dib cut(CutDIBFromDIB(dib.h, 0, 1, 1, 1, ref(kBlue)));
    ASSERT_TRUE(cut);
    EXPECT_EQ(at(cut.h, 0, 0), kWhite);
    EXPECT_EQ(at(dib.h, 0, 1), kBlue);

    Dib eight(indexed(8, {kRed, kGreen}, {{0, 1}, {1, 0}}));
    ASSERT_EQ(EraseDIBArea(&eight, 1, 0, 1, 2, ref(kWhite)), 1);
    EXPECT_EQ(bitCountOf(eight.h), 24);
    EXPECT_EQ(rowsOf(eight.h), (Rows{{kRed, kWhite}, {kGreen, kWhite}}));
    EXPECT_EQ(EraseDIBArea(&eight, 1, 1, 2, 2, 0), 0);
}

TEST(Areas, StretchingFromTheMiddle)
{
    Dib dib(picture({{kRed, kGreen, kBlue, kWhite}}));
    Dib wider(StretchDIBFromMiddle(dib.h, 2));
    ASSERT_TRUE(wider);
    EXPECT_EQ(rowsOf(wider.h), (Rows{{kRed, kGreen, kBlue, kBlue, kBlue, kWhite}}));
    Dib narrower(StretchDIBFromMiddle(dib.h, -2));
    ASSERT_TRUE(narrower);
    EXPECT_EQ(rowsOf(narrower.h), (Rows{{kRed, kWhite}}));
    EXPECT_EQ(StretchDIBFromMiddle(dib.h, -4), nullptr);
    Dib eight(indexed(8, {kRed}, {{0}}));
    EXPECT_EQ(StretchDIBFromMiddle(eight.h, 1), nullptr);
}

TEST(Handles, CloneIsExactAndIndependent)
{
    Dib dib(indexed(4, {kRed, kBlue}, {{1, 0, 1}}));
    Dib copy(CloneDIB(dib.h));
    ASSERT_EQ(DibSize(copy.h), DibSize(dib.h));
    EXPECT_EQ(std::memcmp(header(copy.h), header(dib.h), DibSize(dib.h)), 0);
    DibUnlock(copy.h);
    DibUnlock(dib.h);
    EXPECT_NE(copy.h, dib.h);
    EXPECT_EQ(DibAlloc(0), nullptr);
}

}  // namespace
