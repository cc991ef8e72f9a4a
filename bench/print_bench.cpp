// Drawing one printed sheet of two full book pages on A4 landscape at 600
// dpi: on a PDF page (what the print loop does for a printer or a PDF file),
// into a 600-dpi image (the worst case of a raster printer), and a whole
// one-sheet print job to PDF (the file written, its fonts embedded).
#include "book/CVersaleoDoc.h"
#include "book/TextLayout.h"
#include "views/PrintSheets.h"
#include "views/SheetPainter.h"

#include <QBuffer>
#include <QImage>
#include <QPdfWriter>

#include "GuiBenchMain.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kDpi = 600;

// A novel of full text pages laid out with the real font metrics, its first
// two pages marked and tagged.
struct Novel {
    CVersaleoDoc doc;
    printsheet::Sheet sheet;
    Novel()
    {
        std::string text;
        for (int i = 0; i < 400; ++i)
            text += "The reader turns a page of the old book while the night falls over the garden. ";
        QtTextMeasurer measurer(doc.styles.bookPage.font);
        layout::importText(doc, "/b/novel.txt", text, measurer);
        doc.rebuildIndexPages();
        doc.numberBookmarks();
        const int first = doc.pageOfBookPage(2);  // an even record: a leaf of two full pages
        sheet = {first, first + 1};
        for (const int record : {first, first + 1}) {
            CBookPage& page = *doc.pages[static_cast<size_t>(record)];
            page.marks.push_back({rgb(255, 255, 0), 10, 60});
            page.marks.push_back({rgb(122, 255, 122), 200, 260});
            auto tag = std::make_unique<PageTag>();
            tag->x = 0.4;
            tag->y = 0.3;
            page.tags.push_back(std::move(tag));
        }
    }
};

SheetStyle printStyle()
{
    SheetStyle style;
    style.printMode = true;
    style.metrics = printsheet::sheetMetrics(true, kDpi, 96);
    style.twoPages = true;
    style.addNumber = true;
    style.printTag = true;
    return style;
}

void setUpWriter(QPdfWriter& writer)
{
    writer.setResolution(kDpi);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(QPageLayout::Landscape);
}

Rect sheetRect(const QPdfWriter& writer)
{
    const QSize size = writer.pageLayout().paintRectPixels(kDpi).size();
    return {0, 0, size.width(), size.height()};
}

void drawSheetOnPdfPage(benchmark::State& state)
{
    Novel novel;
    SheetPainter painter(novel.doc);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    setUpWriter(writer);
    const Rect sheet = sheetRect(writer);
    QPainter device(&writer);
    painter.draw(device, sheet, novel.sheet, printStyle());  // fonts and measurers made once
    for (auto _ : state) {
        writer.newPage();
        painter.draw(device, sheet, novel.sheet, printStyle());
    }
    device.end();
    state.counters["pdf_kib_per_sheet"] = static_cast<double>(buffer.size()) / 1024.0 / (state.iterations() + 1);
}
BENCHMARK(drawSheetOnPdfPage)->Unit(benchmark::kMillisecond);

void drawSheetOn600DpiImage(benchmark::State& state)
{
    Novel novel;
    SheetPainter painter(novel.doc);
    const QSize a4(7016, 4961);  // 297 x 210 mm at 600 dpi
    QImage image(a4, QImage::Format_RGB32);
    image.fill(Qt::white);  // the 140 MB are touched before the clock runs, as a reused page would be
    SheetStyle style = printStyle();
    style.printMode = false;  // an image starts out undefined: the sheet is filled white first
    style.metrics = printsheet::sheetMetrics(true, kDpi, 96);
    for (auto _ : state) {
        QPainter device(&image);
        painter.draw(device, {0, 0, a4.width(), a4.height()}, novel.sheet, style);
        device.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(drawSheetOn600DpiImage)->Unit(benchmark::kMillisecond);

void printOneSheetJobToPdf(benchmark::State& state)
{
    Novel novel;
    SheetPainter painter(novel.doc);
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        setUpWriter(writer);
        QPainter device(&writer);
        painter.draw(device, sheetRect(writer), novel.sheet, printStyle());
        device.end();
        benchmark::DoNotOptimize(buffer.data().constData());
    }
}
BENCHMARK(printOneSheetJobToPdf)->Unit(benchmark::kMillisecond);

}  // namespace

VERSALEO_GUI_BENCHMARK_MAIN()
