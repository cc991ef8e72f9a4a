// One lantern slide painted at 1920 x 1080, as each key press repaints it:
// a full book page in large type, with the narrow lines of the two-page mode
// and the wide lines of the one-page mode.
#include "book/CVersaleoDoc.h"
#include "book/TextLayout.h"
#include "library/DocumentPictures.h"
#include "library/ProgramFolder.h"
#include "views/SlideLayout.h"
#include "views/SlidePainter.h"

#include "GuiBenchMain.h"

#include <benchmark/benchmark.h>

namespace {

void paintSlide(benchmark::State& state)
{
    CVersaleoDoc doc;
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += "The reader shows a page of the old book to the room while the night falls over the garden. ";
    QtTextMeasurer measurer(doc.styles.bookPage.font);
    layout::importText(doc, "/b/talk.txt", text, measurer);
    doc.rebuildIndexPages();
    doc.numberBookmarks();
    const int index = slide::slideAtOrAfter(doc, doc.firstContentPage() + 2);
    DocumentPictures pictures(pictureFolder());
    pictures.loadBackground(1);
    SlidePainter painter(doc, pictures);
    const bool narrow = state.range(0) == 1;
    QImage slide(1920, 1080, QImage::Format_RGB32);
    painter.paint(slide, index, narrow);  // the measurer of the slide's font
    for (auto _ : state) {
        painter.paint(slide, index, narrow);
        benchmark::DoNotOptimize(slide.constBits());
    }
    state.SetLabel(narrow ? "narrow lines" : "wide lines");
}
BENCHMARK(paintSlide)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace

VERSALEO_GUI_BENCHMARK_MAIN()
