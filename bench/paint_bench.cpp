// Composing the open book once the background is cached: the flip animation
// paints a spread per frame.
#include "book/CVersaleoDoc.h"
#include "book/TextLayout.h"
#include "library/DocumentPictures.h"
#include "library/ProgramFolder.h"
#include "views/FlipAnimation.h"
#include "views/SpreadPainter.h"

#include <QGuiApplication>

#include "GuiBenchMain.h"

#include <benchmark/benchmark.h>

namespace {

// A novel of full text pages, laid out with the real font metrics.
void openNovel(CVersaleoDoc& doc)
{
    std::string text;
    for (int i = 0; i < 400; ++i)
        text += "The reader turns a page of the old book while the night falls over the garden. ";
    QtTextMeasurer measurer(doc.styles.bookPage.font);
    layout::importText(doc, "/b/novel.txt", text, measurer);
    doc.rebuildIndexPages();
    doc.numberBookmarks();
}

void composeSpread(benchmark::State& state)
{
    CVersaleoDoc doc;
    openNovel(doc);
    doc.currentPage = doc.firstContentPage() + 3;  // two full text pages
    DocumentPictures pictures(pictureFolder());
    pictures.loadBackground(1);
    pictures.loadOuterCover(1);
    pictures.loadInnerCover(1);
    SpreadPainter painter(doc, pictures);
    QImage spread(1280, 800, QImage::Format_RGB32);
    painter.compose(spread);  // builds the background cache
    for (auto _ : state) {
        painter.compose(spread);
        benchmark::DoNotOptimize(spread.constBits());
    }
}
BENCHMARK(composeSpread)->Unit(benchmark::kMillisecond);

// One frame of a page flip: squeeze, shear, spine, on a 1280x800 spread.
void flipFrame(benchmark::State& state)
{
    CVersaleoDoc doc;
    openNovel(doc);
    doc.currentPage = doc.firstContentPage() + 2;
    DocumentPictures pictures(pictureFolder());
    pictures.loadBackground(1);
    SpreadPainter painter(doc, pictures);
    flip::Renderer renderer(doc, painter);
    renderer.begin(doc.currentPage, doc.currentPage + 2, QSize(1280, 800));
    int x = renderer.pageWidth() / 2;
    for (auto _ : state) {
        benchmark::DoNotOptimize(renderer.frame(x).constBits());
        x = x > -renderer.pageWidth() + 100 ? x - 100 : renderer.pageWidth() - 1;
    }
    renderer.end();
}
BENCHMARK(flipFrame)->Unit(benchmark::kMillisecond);

}  // namespace

VERSALEO_GUI_BENCHMARK_MAIN()
