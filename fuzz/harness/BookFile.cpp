// The book file reader on any bytes, then what the views do with the pages it
// loaded: the spread the book opens at and the last one composed in both
// layouts, every painted page's geometry walked. What it reads must save
// and read back.
#include "FuzzSupport.h"

#include "book/BookFile.h"
#include "views/SpreadPainter.h"

#include <QImage>

#include <algorithm>
#include <cstdlib>

namespace {

class NoPictures : public PictureSource {
public:
    const QImage& background() override { return m_none; }
    const QImage& outerCover() override { return m_none; }
    const QImage& innerCover() override { return m_none; }
    QImage pagePicture(int) override { return {}; }

private:
    QImage m_none;
};

void composeAt(CVersaleoDoc& doc, int page)
{
    NoPictures pictures;
    SpreadPainter painter(doc, pictures);
    doc.currentPage = page;
    QImage spread(640, 448, QImage::Format_RGB32);
    painter.compose(spread);
    for (const auto& record : doc.pages)
        (void)painter.geometryOf(*record);
    PaintOptions wide;
    wide.wideLines = true;
    QImage onePage(2 * 640 - 80, 448, QImage::Format_RGB32);
    painter.compose(onePage, wide);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::ensureGuiApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CVersaleoDoc doc;
    fuzz::useRealMetrics(doc);
    if (bookfile::readBytes(doc, std::string(fuzz::bytesOf(data, size))) != 1)
        return 0;
    const int last = doc.pageCount() - 1;
    if (last < 0)
        return 0;
    composeAt(doc, std::clamp(doc.pageToOpenAt, 0, last));
    composeAt(doc, last);

    const std::optional<std::string> saved = bookfile::encode(doc);
    if (!saved)
        return 0;
    CVersaleoDoc again;
    fuzz::useRealMetrics(again);
    if (bookfile::readBytes(again, *saved) != 1 || again.pageCount() != doc.pageCount())
        std::abort();
    return 0;
}
