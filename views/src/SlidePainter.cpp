#include "views/SlidePainter.h"

#include "views/SlideLayout.h"

#include "book/CVersaleoDoc.h"
#include "book/CodePage.h"
#include "book/TextLayout.h"

#include <QFontMetrics>

#include <algorithm>

namespace {

QFont footerFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(16);
    font.setWeight(QFont::Normal);
    return font;
}

}  // namespace

SlidePainter::SlidePainter(CVersaleoDoc& doc, PictureSource& pictures) : m_doc(doc), m_pictures(pictures) {}

void SlidePainter::paint(QImage& target, int index, bool narrowLines)
{
    const int width = target.width(), height = target.height();
    if (width <= 0 || height <= 0)
        return;
    Canvas canvas(target);
    const bool bookPage = index >= 0 && index < m_doc.pageCount() &&
                          m_doc.pages[static_cast<size_t>(index)]->kind() == PageKind::BookPage;
    // A slide covers the whole view: the background shows only without one.
    if (!bookPage) {
        paintBackground(canvas, width, height);
        return;
    }
    paintSlide(canvas, *m_doc.pages[static_cast<size_t>(index)], index, width, height, narrowLines);
}

void SlidePainter::paintBackground(Canvas& canvas, int width, int height)
{
    canvas.copyImage(cachedBackground(m_background, m_pictures.background(), width, height), 0, 0);
}

void SlidePainter::paintSlide(Canvas& canvas, CBookPage& page, int index, int width, int height, bool narrowLines)
{
    canvas.fillRect({0, 0, width, height}, page.background);
    const std::vector<std::string>& lines = narrowLines ? page.lines : page.wideLines();
    const spread::TextLayout layout = slide::textLayout(width, height, static_cast<int>(lines.size()), narrowLines);
    if (layout.fontHeight > 0 && layout.area.width() > 0) {
        page.font.lfHeight = layout.fontHeight;
        const QFont font = fontFromLogFont(page.font);
        TextMeasurer& measurer = m_measurers.forFont(page.font);
        const char* codePage = codepage::forCharset(page.font.lfCharSet);
        const size_t shown = std::min(lines.size(), layout.rows.tops.size());
        for (size_t i = 0; i < shown; ++i) {
            const int top = layout.rows.tops[i];
            const layout::LineDrawing drawing = layout::justifyLine(lines[i], layout.area.left, top, layout.area.width(),
                                                                    false, layout.rows.heights[i], measurer);
            for (const layout::DrawnRun& run : drawing.runs)
                canvas.textOut(run.x, top, run.text, font, page.textColour, codePage);
        }
    }
    paintFooter(canvas, page, index, width, height);
}

void SlidePainter::paintFooter(Canvas& canvas, const CBookPage& page, int index, int width, int height)
{
    const std::string text = slide::footerText(m_doc.bookPageNumberOf(index));
    const QFont font = footerFont();
    const QFontMetrics metrics(font);
    const Rect box = slide::footerBox(width, height, metrics.horizontalAdvance(QString::fromLatin1(text)), metrics.height());
    canvas.textOut(box.left, box.top, text, font, page.textColour);
}
