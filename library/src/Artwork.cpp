#include "library/Artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <random>

namespace artwork {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Adds grain: every pixel's brightness moves by up to `amount`.
void addGrain(QImage& image, int amount, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delta(-amount, amount);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int d = delta(random);
            row[x] = qRgb(std::clamp(qRed(row[x]) + d, 0, 255), std::clamp(qGreen(row[x]) + d, 0, 255),
                          std::clamp(qBlue(row[x]) + d, 0, 255));
        }
    }
}

void vignette(QPainter& painter, const QRect& area, int darkness)
{
    QRadialGradient shade(area.center(), std::max(area.width(), area.height()) * 0.75);
    shade.setColorAt(0.55, QColor(0, 0, 0, 0));
    shade.setColorAt(1.0, QColor(0, 0, 0, darkness));
    painter.fillRect(area, shade);
}

QImage desk()
{
    QImage image(1024, 768, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient base(0, 0, 0, image.height());
    base.setColorAt(0, QColor(120, 78, 46));
    base.setColorAt(1, QColor(78, 48, 26));
    painter.fillRect(image.rect(), base);
    // Wood grain: long wavy lines of slightly darker and lighter wood.
    std::mt19937 random(7);
    std::uniform_real_distribution<double> unit(0, 1);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int line = 0; line < 260; ++line) {
        const double y0 = unit(random) * image.height();
        const double amplitude = 2 + unit(random) * 9;
        const double wavelength = 180 + unit(random) * 420;
        const double phase = unit(random) * 2 * kPi;
        QPainterPath path(QPointF(0, y0));
        for (int x = 0; x <= image.width(); x += 8)
            path.lineTo(x, y0 + amplitude * std::sin(x * 2 * kPi / wavelength + phase));
        const bool dark = unit(random) < 0.6;
        painter.setPen(QPen(dark ? QColor(50, 28, 12, 40 + static_cast<int>(unit(random) * 50))
                                 : QColor(170, 120, 80, 25 + static_cast<int>(unit(random) * 30)),
                            0.6 + unit(random) * 1.6));
        painter.drawPath(path);
    }
    vignette(painter, image.rect(), 120);
    painter.end();
    addGrain(image, 5, 11);
    return image;
}

QImage cloth()
{
    QImage image(1024, 768, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(image.rect(), QColor(34, 82, 58));
    // A woven look: faint threads both ways.
    for (int x = 0; x < image.width(); x += 3)
        painter.fillRect(x, 0, 1, image.height(), QColor(255, 255, 255, 10));
    for (int y = 0; y < image.height(); y += 3)
        painter.fillRect(0, y, image.width(), 1, QColor(0, 0, 0, 18));
    vignette(painter, image.rect(), 140);
    painter.end();
    addGrain(image, 7, 23);
    return image;
}

}  // namespace

QImage background(int variant)
{
    return variant % 2 == 1 ? desk() : cloth();
}

QImage outerCover()
{
    QImage image(600, 900, QImage::Format_RGB32);
    QPainter painter(&image);
    QRadialGradient leather(QPointF(230, 330), 700);
    leather.setColorAt(0, QColor(128, 32, 44));
    leather.setColorAt(1, QColor(58, 12, 20));
    painter.fillRect(image.rect(), leather);
    painter.end();
    addGrain(image, 9, 5);
    painter.begin(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor gold(212, 175, 90), shadow(30, 5, 10, 160);
    // An embossed double frame: a dark line under each gold one.
    for (const int inset : {34, 46}) {
        const QRectF frame = QRectF(image.rect()).adjusted(inset, inset, -inset, -inset);
        painter.setPen(QPen(shadow, 3));
        painter.drawRoundedRect(frame.translated(1.5, 1.5), 14, 14);
        painter.setPen(QPen(gold, inset == 34 ? 3 : 1.5));
        painter.drawRoundedRect(frame, 14, 14);
    }
    // A centre ornament of interlaced ellipses.
    const QPointF centre(image.width() / 2.0, image.height() / 2.0);
    for (int i = 0; i < 6; ++i) {
        painter.save();
        painter.translate(centre);
        painter.rotate(i * 30);
        painter.setPen(QPen(shadow, 3));
        painter.drawEllipse(QPointF(1.5, 1.5), 110, 38);
        painter.setPen(QPen(gold, 2));
        painter.drawEllipse(QPointF(0, 0), 110, 38);
        painter.restore();
    }
    painter.setBrush(gold);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(centre, 14, 14);
    // Corner fleurons.
    for (const QPointF corner : {QPointF(70, 70), QPointF(530, 70), QPointF(70, 830), QPointF(530, 830)}) {
        for (int i = 0; i < 4; ++i) {
            painter.save();
            painter.translate(corner);
            painter.rotate(45 + i * 90);
            painter.drawEllipse(QPointF(0, -10), 4, 10);
            painter.restore();
        }
    }
    return image;
}

QImage innerCoverPattern()
{
    // Marbled endpaper, periodic in both directions so it tiles without seams.
    constexpr int kSize = 96;
    QImage image(kSize, kSize, QImage::Format_RGB32);
    for (int y = 0; y < kSize; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kSize; ++x) {
            const double u = 2 * kPi * x / kSize, v = 2 * kPi * y / kSize;
            const double swirl = std::sin(u + 1.5 * std::sin(v)) + 0.6 * std::sin(2 * v + std::cos(u));
            const double vein = std::pow(std::abs(std::sin(3 * swirl)), 12);
            const double band = 0.5 + 0.5 * std::sin(swirl * 2);
            const int r = static_cast<int>(236 - 40 * vein - 14 * band);
            const int g = static_cast<int>(226 - 60 * vein - 10 * band);
            const int b = static_cast<int>(206 - 20 * vein + 8 * band);
            row[x] = qRgb(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255));
        }
    }
    return image;
}

QImage pagePicture(int variant)
{
    QImage image(360, 540, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient paper(0, 0, image.width(), image.height());
    paper.setColorAt(0, QColor(250, 244, 226));
    paper.setColorAt(1, QColor(238, 226, 196));
    painter.fillRect(image.rect(), paper);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ink(160, 130, 90, 70);
    painter.setPen(QPen(ink, 1.4));
    if (variant == 2) {
        // A faint watermark rose in the middle.
        const QPointF centre(180, 270);
        for (int i = 0; i < 12; ++i) {
            painter.save();
            painter.translate(centre);
            painter.rotate(i * 15);
            painter.drawEllipse(QPointF(0, 0), 90, 30);
            painter.restore();
        }
    } else if (variant == 3) {
        // Squared paper.
        painter.setPen(QPen(QColor(120, 150, 190, 45), 1));
        for (int x = 12; x < image.width(); x += 18)
            painter.drawLine(x, 0, x, image.height());
        for (int y = 12; y < image.height(); y += 18)
            painter.drawLine(0, y, image.width(), y);
    } else {
        // Corner flourishes.
        for (const QPointF corner : {QPointF(24, 24), QPointF(336, 24), QPointF(24, 516), QPointF(336, 516)}) {
            const double sx = corner.x() < 180 ? 1 : -1, sy = corner.y() < 270 ? 1 : -1;
            QPainterPath curl(corner);
            curl.cubicTo(corner + QPointF(sx * 60, 0), corner + QPointF(sx * 40, sy * 30), corner + QPointF(sx * 20, sy * 20));
            curl.moveTo(corner);
            curl.cubicTo(corner + QPointF(0, sy * 60), corner + QPointF(sx * 30, sy * 40), corner + QPointF(sx * 20, sy * 20));
            painter.drawPath(curl);
        }
    }
    vignette(painter, image.rect(), 40);
    painter.end();
    addGrain(image, 3, static_cast<unsigned>(variant) * 31);
    return image;
}

QImage splash(bool chinese)
{
    QImage image(400, 300, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 300);
    sky.setColorAt(0, QColor(252, 232, 250));
    sky.setColorAt(1, QColor(214, 150, 226));
    painter.fillRect(image.rect(), sky);
    // An open book, its pages curving up from the spine.
    const QPointF spine(200, 190);
    for (const double side : {-1.0, 1.0}) {
        QPainterPath page;
        page.moveTo(spine);
        page.cubicTo(spine + QPointF(side * 40, -22), spine + QPointF(side * 100, -22), spine + QPointF(side * 140, -6));
        page.lineTo(spine + QPointF(side * 140, -96));
        page.cubicTo(spine + QPointF(side * 100, -112), spine + QPointF(side * 40, -112), spine + QPointF(0, -90));
        page.closeSubpath();
        painter.setPen(QPen(QColor(120, 60, 130), 2));
        painter.setBrush(QColor(255, 250, 240));
        painter.drawPath(page);
        painter.setPen(QPen(QColor(170, 140, 180), 1.2));
        for (int line = 1; line <= 5; ++line) {
            const double y = -90 + line * 14;
            painter.drawLine(spine + QPointF(side * 22, y - 4), spine + QPointF(side * 122, y + 2));
        }
    }
    QFont name(QStringLiteral("Liberation Sans"));
    name.setPixelSize(34);
    name.setBold(true);
    painter.setFont(name);
    painter.setPen(QColor(110, 20, 90));
    painter.drawText(QRect(0, 205, 400, 44), Qt::AlignCenter, QStringLiteral("Versaleo"));
    QFont line(QStringLiteral("Liberation Sans"));
    line.setPixelSize(14);
    painter.setFont(line);
    painter.setPen(QColor(80, 40, 90));
    painter.drawText(QRect(0, 248, 400, 24), Qt::AlignCenter,
                     chinese ? QString::fromUtf8("电子书阅读与制作 1.9 版") : QStringLiteral("Reads and makes books - Version 1.9"));
    return image;
}

QImage fallback()
{
    QImage image(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < 64; ++x)
            row[x] = ((x / 16 + y / 16) % 2 == 0) ? qRgb(214, 214, 218) : qRgb(196, 196, 202);
    }
    return image;
}

}  // namespace artwork
