#include "library/ShelfPainter.h"

#include "library/ShelfGeometry.h"

#include "views/Canvas.h"
#include "views/FontMetrics.h"
#include "views/TextCodec.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QStringList>

namespace {

constexpr int kTitlePadding = 8;

QRect qrect(const Rect& r)
{
    return {r.left, r.top, r.width(), r.height()};
}

void bevel(Canvas& canvas, const Rect& frame, COLORREF border)
{
    const auto shades = shelf::bevelShades(border);
    Rect ring = frame;
    canvas.setPen(Pen::none());
    for (const COLORREF shade : shades) {
        canvas.setBrush(Brush::solid(shade));
        canvas.rectangle(ring);
        ring = {ring.left + shelf::kBevelStepWidth, ring.top + shelf::kBevelStepWidth,
                ring.right - shelf::kBevelStepWidth, ring.bottom - shelf::kBevelStepWidth};
    }
    // Light falls from the top left: a raised outer edge, a sunken inside.
    const COLORREF light = shelf::lowered(border, -60), dark = shelf::lowered(border, 70);
    const auto edges = [&canvas](const Rect& r, COLORREF topLeft, COLORREF bottomRight) {
        canvas.fillRect({r.left, r.top, r.right, r.top + 1}, topLeft);
        canvas.fillRect({r.left, r.top, r.left + 1, r.bottom}, topLeft);
        canvas.fillRect({r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
        canvas.fillRect({r.right - 1, r.top, r.right, r.bottom}, bottomRight);
    };
    edges(frame, light, dark);
    edges({ring.left - 1, ring.top - 1, ring.right + 1, ring.bottom + 1}, dark, light);
}

void back(QPainter& painter, const Rect& frame, COLORREF border)
{
    for (int k = 0; k < shelf::kShelves; ++k) {
        const Rect board = shelf::shelfRect(frame, k);
        QLinearGradient wall(0, board.top, 0, board.bottom);
        wall.setColorAt(0, toQColor(shelf::lowered(shelf::backWallColour(border), 25)));
        wall.setColorAt(1, toQColor(shelf::backWallColour(border)));
        painter.fillRect(qrect(board), wall);
        // The board the books stand on fills the bottom margin.
        const QRect plank(board.left, board.bottom - shelf::kMargin, board.width(), shelf::kMargin);
        painter.fillRect(plank, toQColor(shelf::boardColour(border)));
        painter.fillRect(QRect(plank.left(), plank.top(), plank.width(), 1),
                         toQColor(shelf::lowered(shelf::boardColour(border), -40)));
    }
}

// The name runs down the spine, the tops of its letters to the right.
void turnedTitle(QPainter& painter, const Rect& r, const QString& title, const QFont& font, int length)
{
    painter.translate(r.right, r.top + kTitlePadding);
    painter.rotate(90);
    painter.drawText(QRect(0, 0, length, r.width()), Qt::AlignCenter,
                     QFontMetrics(font).elidedText(title, Qt::ElideRight, length));
}

// One character under the other, the column centred on the spine; what does
// not fit ends in a vertical ellipsis.
void uprightTitle(QPainter& painter, const Rect& r, const QString& title, const QFont& font, int length)
{
    const QFontMetrics metrics(font);
    const int step = metrics.height();
    QStringList characters;
    for (const char32_t c : title.toUcs4())
        characters << QString::fromUcs4(&c, 1);
    const int room = std::max(1, length / step);
    if (characters.size() > room) {
        characters = characters.mid(0, room - 1);
        characters << QString(QChar(0x22EE));
    }
    int y = r.top + kTitlePadding + (length - static_cast<int>(characters.size()) * step) / 2;
    for (const QString& character : characters) {
        painter.drawText(QRect(r.left, y, r.width(), step), Qt::AlignCenter, character);
        y += step;
    }
}

void spine(QPainter& painter, const Rect& r, const CCabinetBook& book, const QFont& font)
{
    const auto [top, foot] = shelf::spineGradient(book.frameColor);
    QLinearGradient gradient(0, r.top, 0, r.bottom);
    gradient.setColorAt(0, toQColor(top));
    gradient.setColorAt(1, toQColor(foot));
    painter.fillRect(qrect(r), gradient);
    const QColor edge = toQColor(shelf::lowered(book.frameColor, 80));
    painter.fillRect(QRect(r.left, r.top, 1, r.height()), edge);
    painter.fillRect(QRect(r.right - 1, r.top, 1, r.height()), edge);

    const int length = r.height() - 2 * kTitlePadding;
    if (length <= 0 || r.width() <= 2)
        return;
    painter.save();
    painter.setClipRect(qrect(r));
    painter.setFont(font);
    painter.setPen(toQColor(shelf::spineTextColour(book.frameColor)));
    const QString title = fromCodePage(book.bookName);
    if (titleStandsUpright(title))
        uprightTitle(painter, r, title, font, length);
    else
        turnedTitle(painter, r, title, font, length);
    painter.restore();
}

}  // namespace

bool titleStandsUpright(const QString& title)
{
    for (const char32_t c : title.toUcs4()) {
        switch (QChar::script(c)) {
        case QChar::Script_Han:
        case QChar::Script_Hiragana:
        case QChar::Script_Katakana:
        case QChar::Script_Hangul:
        case QChar::Script_Bopomofo:
            return true;
        default:
            break;
        }
    }
    return false;
}

void paintShelf(QImage& image, const Rect& frame, const CCabinet* cabinet, const LOGFONT& pageFont)
{
    const COLORREF border = cabinet ? cabinet->borderColor : shelf::kNoCabinetColour;
    Canvas canvas(image);
    bevel(canvas, shelf::narrowedFrame(frame), border);
    QPainter& painter = canvas.painter();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    back(painter, frame, border);
    if (!cabinet)
        return;
    LOGFONT titleFont = pageFont;
    titleFont.lfHeight = 14;
    const QFont font = fontFromLogFont(titleFont);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const int shown = std::min<int>(static_cast<int>(cabinet->books.size()), shelf::kBooksPerShelf * shelf::kShelves);
    for (int i = 0; i < shown; ++i)
        spine(painter, shelf::spineRect(frame, i), cabinet->books[static_cast<size_t>(i)], font);
}

void xorSelectionOutline(QImage& image, const Rect& spine)
{
    const Rect o = shelf::selectionOutline(spine);
    const int w = shelf::kOutlineWidth;
    if (o.width() <= 2 * w || o.height() <= 2 * w)
        return;
    Canvas canvas(image);
    canvas.setRasterOp(RasterOp::XorPen);
    canvas.setPen(Pen::none());
    canvas.setBrush(Brush::solid(shelf::kSelectionColour));
    // Four bands that do not overlap, so every pixel of the ring is flipped once.
    canvas.rectangle({o.left, o.top, o.right, o.top + w});
    canvas.rectangle({o.left, o.bottom - w, o.right, o.bottom});
    canvas.rectangle({o.left, o.top + w, o.left + w, o.bottom - w});
    canvas.rectangle({o.right - w, o.top + w, o.right, o.bottom - w});
}
