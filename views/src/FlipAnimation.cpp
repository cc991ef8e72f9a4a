#include "views/FlipAnimation.h"

#include "book/CVersaleoDoc.h"
#include "views/Canvas.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace flip {

int sheetCount(int c, int t)
{
    if (t > c)
        return c % 2 == 0 ? (t - c + 1) / 2 : (t - c) / 2;
    return t % 2 == 0 ? (c - t + 1) / 2 : (c - t) / 2;
}

std::vector<int> turningRecords(int c, int t)
{
    const int n = sheetCount(c, t);
    const int first = t > c ? (c % 2 == 1 ? c + 1 : c) : (t % 2 == 1 ? t + 1 : t);
    std::vector<int> records;
    for (int i = 0; i < 2 * n; ++i)
        records.push_back(first + i);
    return records;
}

std::vector<int> offsets(int w, int flipSpeed, bool forward)
{
    std::vector<int> xs;
    const int s = std::max(1, flipSpeed * 2);
    if (w <= 0)
        return xs;
    const int rest = w % s;
    if (forward) {
        for (int x = w - rest; x >= -w;) {
            xs.push_back(x);
            x -= x < 0 && x - s < -w && rest != 0 ? rest : s;
        }
    } else {
        for (int x = rest - w; x <= w;) {
            xs.push_back(x);
            x += x >= 1 && x < w && x + s > w && rest != 0 ? rest : s;
        }
    }
    return xs;
}

int lift(int x, int w)
{
    if (w <= 0)
        return 0;
    const double f = static_cast<double>(x) / w;
    return static_cast<int>(50 * std::sqrt(std::max(0.0, 1 - f * f)));
}

Renderer::Renderer(CVersaleoDoc& doc, SpreadPainter& painter) : m_doc(doc), m_painter(painter) {}

void Renderer::begin(int c, int t, QSize spreadSize, const PaintOptions& viewOptions)
{
    m_forward = t > c;
    m_target = t;
    m_turning = turningRecords(c, t);
    m_turning.erase(std::remove_if(m_turning.begin(), m_turning.end(),
                                   [this](int i) { return i < 0 || i >= m_doc.pageCount(); }),
                    m_turning.end());
    m_w = spreadSize.width() / 2 - 40;
    m_h = spreadSize.height() - 50;
    m_x0 = spreadSize.width() / 2;
    m_top = 30;
    for (const int i : m_turning)
        m_doc.pages[static_cast<size_t>(i)]->hidden = true;

    m_under = QImage(spreadSize, QImage::Format_RGB32);
    // Under the sheet and on its faces the pages are laid out as the view lays them out.
    PaintOptions options;
    options.wideLines = viewOptions.wideLines;
    options.suppressSpine = true;
    m_painter.compose(m_under, options);
    // One bookmark alone turns at its own size, hinged at its spine side.
    const bool bookmarkAlone = m_turning.size() == 2 &&
                               m_doc.pages[static_cast<size_t>(m_turning.front())]->kind() == PageKind::BookmarkPage;
    if (bookmarkAlone) {
        const Rect tab = m_painter.geometryOf(*m_doc.pages[static_cast<size_t>(m_turning.front())]).area;
        if (tab.width() > 0 && tab.height() > 0) {
            m_w = tab.width();
            m_h = tab.height();
            m_x0 = m_forward ? tab.left : tab.right;
            m_top = tab.top;
        }
    }
    const QSize page(std::max(1, m_w), std::max(1, m_h));
    m_front = m_turning.empty() ? QImage() : m_painter.paintPageImage(m_turning.front(), page, 2, bookmarkAlone, options);
    m_back = m_turning.empty() ? QImage() : m_painter.paintPageImage(m_turning.back(), page, -2, bookmarkAlone, options);
}

void Renderer::drawSheet(const QImage& face, int x)
{
    if (face.isNull() || x == 0)
        return;
    const int width = std::abs(x);
    const int h = lift(x, m_w);
    const int workWidth = m_work.width(), workHeight = m_work.height();
    // Each column of the sheet samples one column of the face (squeezed to
    // the sheet's width) and is moved up by the lift at its distance from the
    // spine, so the top and bottom edges rise along a square-root curve.
    m_columns.clear();
    for (int i = 0; i < width; ++i) {
        const int at = x > 0 ? m_x0 + i : m_x0 - i;
        if (at < 0 || at >= workWidth)
            continue;
        const int column = x > 0 ? i : width - 1 - i;
        const int source = static_cast<int>(static_cast<long long>(column) * face.width() / width);
        const int dy = static_cast<int>(std::sqrt(static_cast<double>(i) / width) * h);
        m_columns.push_back({at, source, m_top - dy});
    }
    const int faceRows = face.height();
    const QRgb black = qRgb(0, 0, 0);
    for (int y = 0; y <= m_h; ++y) {
        const QRgb* from = y < m_h ? reinterpret_cast<const QRgb*>(face.constScanLine(y * faceRows / std::max(1, m_h)))
                                   : nullptr;
        for (const SheetColumn& c : m_columns) {
            const int row = c.top + y;
            if (row < 0 || row >= workHeight)
                continue;
            // The top and bottom rows are the sheet's black edges.
            reinterpret_cast<QRgb*>(m_work.scanLine(row))[c.at] = y == 0 || y == m_h ? black : from[c.source];
        }
    }
    QPainter painter(&m_work);
    painter.setPen(Qt::black);
    painter.drawLine(m_x0 + x, m_top - h, m_x0 + x, m_top - h + m_h);
}

const QImage& Renderer::frame(int x)
{
    // The work image is reused frame to frame: only its pixels are refreshed.
    if (m_work.size() != m_under.size() || m_work.format() != m_under.format())
        m_work = QImage(m_under.size(), m_under.format());
    if (!m_under.isNull())
        std::memcpy(m_work.bits(), m_under.constBits(), static_cast<size_t>(m_under.sizeInBytes()));
    drawSheet(x >= 1 ? m_front : m_back, x);
    int left = 15, right = 15;
    if (x >= 1)
        right = 15 * x / std::max(1, m_w);
    else if (x < 0)
        left = 15 * -x / std::max(1, m_w);
    m_painter.drawSpine(m_work, left, right);
    return m_work;
}

void Renderer::end()
{
    for (const int i : m_turning)
        m_doc.pages[static_cast<size_t>(i)]->hidden = false;
    m_turning.clear();
    m_doc.currentPage = m_target;
}

RollUp::RollUp(SpreadPainter& painter) : m_painter(painter) {}

void RollUp::begin(QSize spreadSize, bool rightPage, COLORREF fill, COLORREF outline, const PaintOptions& viewOptions)
{
    m_size = spreadSize;
    m_right = rightPage;
    m_fill = fill;
    m_outline = outline;
    m_memory = QImage(spreadSize, QImage::Format_RGB32);
    PaintOptions options;
    options.wideLines = viewOptions.wideLines;
    m_painter.compose(m_memory, options);
    m_work = m_memory.copy();
}

std::vector<int> RollUp::steps(int pageHeight, int speed)
{
    std::vector<int> ks;
    if (pageHeight <= 0)
        return ks;
    const int s = std::max(1, speed);
    for (int k = pageHeight % s; k <= pageHeight; k += s)
        ks.push_back(k);
    return ks;
}

void RollUp::stroke(int x, int y1, int y2, COLORREF colour)
{
    if (x < 0 || x >= m_work.width())
        return;
    const QRgb pixel = toQColor(colour).rgb();
    for (int y = std::max(0, std::min(y1, y2)); y <= std::min(m_work.height() - 1, std::max(y1, y2)); ++y)
        reinterpret_cast<QRgb*>(m_work.scanLine(y))[x] = pixel;
}

void RollUp::dot(int x, int y)
{
    if (x >= 0 && x < m_work.width() && y >= 0 && y < m_work.height())
        reinterpret_cast<QRgb*>(m_work.scanLine(y))[x] = qRgb(0, 0, 0);
}

const QImage& RollUp::frame(int k)
{
    const int w = m_size.width(), h = m_size.height();
    const int half = w / 2;
    // Drawn as for the right page; the left page is its mirror image.
    QImage& work = m_work;
    {
        QPainter restore(&work);
        restore.setCompositionMode(QPainter::CompositionMode_Source);
        const QRect side = m_right ? QRect(half, 0, w - half, h) : QRect(0, 0, half, h);
        restore.drawImage(side.topLeft(), m_memory, side);
    }
    if (!m_right)
        work = work.mirrored(true, false);
    const int L = half, R = w - 40, b = h - 20 - k;
    {
        QPainter page(&work);
        page.setPen(Qt::black);
        page.setBrush(toQColor(m_fill));
        if (b > 30)
            page.drawRect(QRect(QPoint(L, 30), QPoint(R - 1, b - 1)));
    }
    // The roll under the lower edge: its curve d(i) = sqrt(i / c) widens with k.
    const int r = 2 * k / 3;
    if (r > 0) {
        const double c = std::sqrt(r * 0.000625);
        const auto d = [c](int i) { return static_cast<int>(std::sqrt(i / c)); };
        for (int i = 0; i <= r; ++i) {
            const int x = L + d(i), y = b + 15 - i;
            if (y <= b)
                stroke(x, y, b, m_outline);
            dot(x, y - 15);
        }
        for (int i = 0; i <= r; ++i) {
            const int x = R + d(i);
            stroke(x, b - i, b - r, m_outline);
            dot(x, b - i);
        }
        const int e = L + d(r);
        for (int x = e; x <= R + 1; ++x)
            stroke(x, b - r, b, m_outline);
        QPainter edge(&work);
        edge.setPen(Qt::black);
        edge.drawLine(L, b, R, b);
        edge.drawLine(e, b - r, R + d(r), b - r);
    }
    if (!m_right)
        work = work.mirrored(true, false);
    m_painter.drawSpine(work, 15, 15);
    return work;
}

}  // namespace flip
