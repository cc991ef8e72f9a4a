// The platform's bitmaps and painting surfaces: Qt images.
#include "DibView.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

using namespace pixmill;

namespace {

// A 24-bit copy of a DIB as an image, rows top-down.
QImage imageOf(HDIB dib)
{
    HDIB full = CloneDIB(dib);
    if (!ChangeToFullColorDIB(&full)) {
        DibFree(full);
        return {};
    }
    const auto view = DibView::of(full);
    QImage image(view->width, view->height, QImage::Format_BGR888);
    if (!image.isNull()) {
        for (int y = 0; y < view->height; ++y)
            std::memcpy(image.scanLine(y), view->rowFromTop(y), 3 * static_cast<size_t>(view->width));
    }
    DibFree(full);
    return image;
}

}  // namespace

HBITMAP GetHBITMAPFromDC(HDC dc, int x, int y, int width, int height)
{
    if (!dc || width <= 0 || height <= 0)
        return nullptr;
    return new QImage(dc->copy(x, y, width, height));
}

HDIB GetDIBFromHBITMAP(HBITMAP bitmap)
{
    if (!bitmap || bitmap->isNull())
        return nullptr;
    const QImage image = bitmap->convertToFormat(QImage::Format_BGR888);
    HDIB dib = newDib(image.width(), image.height(), 24, 0);
    const auto view = DibView::of(dib);
    if (!view)
        return nullptr;
    for (int y = 0; y < view->height; ++y)
        std::memcpy(view->rowFromTop(y), image.constScanLine(y), 3 * static_cast<size_t>(view->width));
    return dib;
}

HBITMAP GetHBITMAPFromDIB(HDIB dib)
{
    if (!dib)
        return nullptr;
    QImage image = imageOf(dib);
    return image.isNull() ? nullptr : new QImage(std::move(image));
}

int WriteBitmapToBmpFile(HBITMAP bitmap, const char* path)
{
    HDIB dib = GetDIBFromHBITMAP(bitmap);
    if (!dib)
        return 0;
    const int saved = SaveDIBToFile(dib, path);
    DibFree(dib);
    return saved;
}

int DrawDIBToDC(HDC dc, int xDest, int yDest, int widthDest, int heightDest, HDIB dib, int xSrc, int ySrc,
                int widthSrc, int heightSrc)
{
    if (!dc || !dib)
        return 0;
    const QImage image = imageOf(dib);
    if (image.isNull())
        return 0;
    QPainter painter(dc);
    const QRect source(xSrc, ySrc, widthSrc, heightSrc);
    if (widthDest == widthSrc && heightDest == heightSrc) {
        painter.drawImage(QPoint(xDest, yDest), image, source);
    } else {
        // Stretching keeps colours as they are: no smoothing between pixels.
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(QRect(xDest, yDest, widthDest, heightDest), image, source);
    }
    return heightSrc;
}

int CopyDCToClipBoard(HDC dc, int x, int y, int width, int height)
{
    if (!dc || width <= 0 || height <= 0 || !QGuiApplication::instance())
        return 0;
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return 0;
    clipboard->setImage(dc->copy(x, y, width, height).convertToFormat(QImage::Format_RGB888));
    return 1;
}
