#include "views/SpreadPainter.h"

#include "book/PageStyle.h"
#include "book/TextLayout.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

namespace {

// Plain pictures whose pixels the tests can predict.
class FlatPictures : public PictureSource {
public:
    QImage back = solid(64, 64, Qt::darkGreen);
    QImage outer = solid(32, 32, Qt::darkRed);
    QImage inner = solid(32, 32, Qt::yellow);
    QImage page;
    const QImage& background() override { return back; }
    const QImage& outerCover() override { return outer; }
    const QImage& innerCover() override { return inner; }
    QImage pagePicture(int number) override { return number == 1 ? page : QImage(); }
    static QImage solid(int w, int h, QColor c)
    {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(c);
        return image;
    }
};

class Painter : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        installFontSubstitutions();
    }
    Painter()
    {
        std::string text;
        for (int i = 0; i < 60; ++i)
            text += "A line of text that the painter lays out on the page. ";
        QtTextMeasurer measurer(doc.styles.bookPage.font);
        layout::layOutText(doc, doc.firstContentPage(), text, nullptr, "", "", measurer);
        doc.rebuildIndexPages();
        doc.numberBookmarks();
    }
    QImage paint(int w = 960, int h = 640, const PaintOptions& options = {})
    {
        QImage image(w, h, QImage::Format_RGB32);
        painter.compose(image, options);
        return image;
    }
    CVersaleoDoc doc;
    FlatPictures pictures;
    SpreadPainter painter{doc, pictures};
};

QColor colourOf(COLORREF c)
{
    return toQColor(c);
}

TEST_F(Painter, IndexZeroShowsOnlyTheRightPage)
{
    doc.currentPage = 0;
    const QImage image = paint();
    EXPECT_EQ(painter.pageRects().left, Rect{});
    EXPECT_EQ(painter.pageRects().right, (Rect{480, 30, 920, 620}));
    EXPECT_EQ(image.pixelColor(200, 300), QColor(Qt::darkGreen));  // background where the left page would be
    EXPECT_EQ(image.pixelColor(700, 300), QColor(Qt::darkRed));    // the outer cover on the right
}

TEST_F(Painter, ABookPageShowsItsPaperAndTheCurrentLabel)
{
    doc.currentPage = 4;  // the first book page, on the right
    const QImage image = paint();
    const CBookPage& page = *doc.pages[4];
    EXPECT_EQ(image.pixelColor(485, 35), colourOf(page.background));
    // the label box of the current page is green, the facing one pale
    const Rect rightLabel = spread::labelBox(painter.pageRects().right, 50);
    EXPECT_EQ(image.pixelColor(rightLabel.left + 4, rightLabel.top + 10), QColor(0, 255, 122));
    const PageGeometry& geometry = painter.geometryOf(page);
    EXPECT_EQ(geometry.area, (Rect{510, 60, 890, 590}));
    EXPECT_EQ(geometry.lineTops[0], 60);
    // every cell of the drawn lines got its rectangle, in its own line's row
    ASSERT_EQ(geometry.cells.size(), page.cells().size());
    for (size_t i = 0; i < page.cells().size(); ++i) {
        const CellPlace& cell = geometry.cells[i];
        EXPECT_GT(cell.rect.width(), 0) << i;
        EXPECT_EQ(cell.line, page.cells()[i].line) << i;
        EXPECT_EQ(cell.rect.top, geometry.lineTops[static_cast<size_t>(cell.line)]) << i;
    }
}

TEST_F(Painter, CellsPastThoseThePageHoldsAreNotPlaced)
{
    doc.currentPage = 4;
    CBookPage& page = *doc.pages[4];
    page.cells().resize(5);  // its lines changed, its cells not yet rebuilt
    paint();
    const PageGeometry& geometry = painter.geometryOf(page);
    ASSERT_EQ(geometry.cells.size(), 5u);
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(geometry.cells[i].line, 0);
        EXPECT_GT(geometry.cells[i].rect.width(), 0) << i;
    }
}

TEST_F(Painter, AMarkMasksTheTextUnderIt)
{
    doc.currentPage = 4;
    const QImage plain = paint();
    CBookPage& page = *doc.pages[4];
    const COLORREF markColour = rgb(122, 255, 122);
    page.marks.push_back(PageMark{markColour, 0, 5});
    const QImage marked = paint();
    const PageGeometry& geometry = painter.geometryOf(page);
    ASSERT_EQ(geometry.marks.size(), 1u);
    ASSERT_EQ(geometry.marks[0].size(), 1u);
    const Rect run = geometry.marks[0][0];
    EXPECT_EQ(run.left, geometry.cells[0].rect.left);
    EXPECT_EQ(run.right, geometry.cells[5].rect.right);
    // inside the run every pixel is the old one AND the mark colour
    const QRgb mask = qRgb(122, 255, 122);
    int checked = 0;
    for (int y = run.top + 2; y < run.bottom - 2; ++y) {
        for (int x = run.left + 2; x < run.right - 2; ++x) {
            const QRgb before = plain.pixel(x, y);
            EXPECT_EQ(marked.pixel(x, y) & 0xFFFFFF, (before & mask) & 0xFFFFFF);
            ++checked;
        }
    }
    EXPECT_GT(checked, 100);
}

TEST_F(Painter, SmallBackgroundsTileLargeOnesStretch)
{
    doc.currentPage = 4;
    // column 0 red, the rest blue
    QImage picture = FlatPictures::solid(639, 800, Qt::blue);
    for (int y = 0; y < 800; ++y)
        picture.setPixelColor(0, y, Qt::red);
    pictures.back = picture;
    painter.dropBackground();
    EXPECT_EQ(paint().pixelColor(639, 10), QColor(Qt::red));  // the second tile starts there
    QImage wide = FlatPictures::solid(640, 480, Qt::blue);
    for (int y = 0; y < 480; ++y)
        wide.setPixelColor(0, y, Qt::red);
    pictures.back = wide;
    painter.dropBackground();
    const QImage stretched = paint();
    EXPECT_EQ(stretched.pixelColor(639, 10), QColor(Qt::blue));
    EXPECT_EQ(stretched.pixelColor(0, 10), QColor(Qt::red));
    EXPECT_EQ(stretched.pixelColor(1, 10), QColor(Qt::red));  // column 0 widened to 1.5 pixels
}

TEST_F(Painter, SmallPagePicturesTileLargeOnesStretch)
{
    doc.currentPage = 4;
    CBookPage& page = *doc.pages[4];
    page.lines.clear();
    page.rebuildCells();
    page.pictureNumber = 1;
    QImage picture = FlatPictures::solid(100, 500, Qt::cyan);
    for (int y = 0; y < 500; ++y)
        picture.setPixelColor(0, y, Qt::magenta);
    pictures.page = picture;
    EXPECT_EQ(paint().pixelColor(600, 200), QColor(Qt::magenta));  // tiles from x = 0: 600 starts one
    QImage large = FlatPictures::solid(101, 101, Qt::cyan);
    for (int y = 0; y < 101; ++y)
        large.setPixelColor(0, y, Qt::magenta);
    pictures.page = large;
    const QImage stretched = paint();
    EXPECT_EQ(stretched.pixelColor(600, 200), QColor(Qt::cyan));
    EXPECT_EQ(stretched.pixelColor(481, 200), QColor(Qt::magenta));
}

TEST_F(Painter, AnEmptyOpenTagShowsAOneLineBox)
{
    doc.currentPage = 4;
    auto tag = std::make_unique<PageTag>();
    tag->x = 0.1;
    tag->y = 0.5;
    tag->colour = rgb(255, 255, 0);
    PageTag* kept = tag.get();
    doc.pages[4]->tags.push_back(std::move(tag));
    const QImage image = paint();
    const int lineHeight = QFontMetrics(fontFromLogFont(doc.styles.tagFont)).height();
    const Rect box = painter.geometryOf(*doc.pages[4]).tagBoxes.at(0);
    EXPECT_EQ(box.height(), lineHeight + 4);
    EXPECT_EQ(box.width(), 100);
    EXPECT_EQ(image.pixelColor(box.left + 50, box.top + 3), QColor(255, 255, 0));
    kept->open = 0;
    paint();
    EXPECT_EQ(painter.geometryOf(*doc.pages[4]).tagBoxes.at(0), Rect{});
}

TEST_F(Painter, NoteAndIndexPagesAndCovers)
{
    PageList notes;
    auto note = doc.createPage(PageKind::NotePage);
    note->lines = {"My reading note"};
    notes.push_back(std::move(note));
    notes.push_back(doc.createPage(PageKind::NotePage));
    doc.insertPages(doc.firstContentPage(), std::move(notes));
    doc.currentPage = 4;  // the note on the right, the last index page on the left
    const QImage image = paint();
    const CBookPage& shown = *doc.pages[4];
    EXPECT_EQ(painter.geometryOf(shown).area, spread::noteArea(painter.pageRects().right, doc.pageProportion));
    EXPECT_EQ(image.pixelColor(485, 35), colourOf(shown.background));
    EXPECT_EQ(image.pixelColor(45, 35), QColor(Qt::white));  // an index page is white
    doc.currentPage = 1;  // inner cover on the left... and the first index page
    const QImage inner = paint();
    EXPECT_EQ(inner.pixelColor(60, 40), QColor(Qt::yellow));
}

TEST_F(Painter, TheBitmapSelectionAndSelectedCells)
{
    doc.currentPage = 4;
    CBookPage& page = *doc.pages[4];
    const QImage plain = paint();
    page.cells()[2].selected = 1;
    PaintOptions options;
    options.textSelection = true;
    options.bitmapSelection = Rect{100, 100, 200, 150};
    const QImage selected = paint(960, 640, options);
    const Rect cell = painter.geometryOf(page).cells.at(2).rect;
    const QRgb before = plain.pixel(cell.left + 1, cell.top + 1);
    EXPECT_EQ(selected.pixel(cell.left + 1, cell.top + 1) & 0xFFFFFF, ~before & 0xFFFFFF);
    EXPECT_EQ(selected.pixelColor(100, 100), QColor(Qt::black));
    EXPECT_EQ(selected.pixelColor(103, 100), QColor(Qt::white));
}

}  // namespace
