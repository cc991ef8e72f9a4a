// Queries, creation, copies and the per-colour operations.
#include "DibView.h"

#include <algorithm>
#include <cmath>

using namespace pixmill;

namespace {

uint8_t clampByte(int value)
{
    return static_cast<uint8_t>(std::clamp(value, 0, 255));
}

// Calls f(b, g, r) on every colour table entry (1, 4 and 8 bits) or every
// pixel (24 and 32 bits). False for other depths.
template <typename F>
bool forEachColour(const DibView& view, F f)
{
    if (view.bitCount <= 8) {
        for (uint32_t i = 0; i < view.colours; ++i) {
            uint8_t* e = view.palette() + i * view.entrySize;
            f(e[0], e[1], e[2]);
        }
        return true;
    }
    if (view.bitCount != 24 && view.bitCount != 32)
        return false;
    const int step = view.bitCount / 8;
    for (int y = 0; y < view.height; ++y) {
        uint8_t* row = view.row(y);
        for (int x = 0; x < view.width; ++x)
            f(row[step * x], row[step * x + 1], row[step * x + 2]);
    }
    return true;
}

// 16-bit pictures become 24-bit before colours change by an amount.
bool prepareForAmount(HDIB* dib)
{
    const auto view = DibView::of(*dib);
    if (!view)
        return false;
    return view->bitCount != 16 || ChangeToFullColorDIB(dib) == 1;
}

uint8_t contrasted(int value, int amount)
{
    if (amount > 0) {
        int low = amount, high = 255 - amount;
        if (low >= high)
            std::swap(low, high);
        const double scale = (high - low) * (1.0 / 255);
        if (value <= low)
            return 0;
        if (value < high) {
            const int v = static_cast<int>((value - low) / scale);
            return v >= 256 ? 255 : clampByte(v);
        }
        return 255;
    }
    // value / (255 / (2 amount + 255)), written so whole results stay whole
    return clampByte(static_cast<int>(value * (2.0 * amount + 255) / 255) - amount);
}

}  // namespace

namespace {

// A header dimension: 16 bits at coreOffset of a core header, else 32 bits at infoOffset.
long headerDimension(HDIB dib, size_t coreOffset, size_t infoOffset)
{
    if (!dib || DibSize(dib) < 12)
        return 0;
    const uint8_t* p = static_cast<uint8_t*>(DibLock(dib));
    const bool core = readField<uint32_t>(p) == 12;
    const long value = core ? readField<uint16_t>(p + coreOffset)
                            : (DibSize(dib) >= infoOffset + 4 ? readField<int32_t>(p + infoOffset) : 0);
    DibUnlock(dib);
    return value;
}

}  // namespace

long GetDIBWidth(HDIB dib)
{
    return headerDimension(dib, 4, 4);
}

long GetDIBHeight(HDIB dib)
{
    return headerDimension(dib, 6, 8);
}

long GetDIBColorsNum(HDIB dib)
{
    const auto view = DibView::of(dib);
    return view ? static_cast<long>(view->colours) : 0;
}

long GetDIBPaletteSize(HDIB dib)
{
    const auto view = DibView::of(dib);
    return view ? static_cast<long>(view->colours * view->entrySize) : 0;
}

void* GetDIBBits(HDIB dib)
{
    const auto view = DibView::of(dib);
    return view ? view->bits() : nullptr;
}

HDIB CreateNewDIB(int width, int height, COLORREF colour)
{
    HDIB dib = newDib(width, height, 24, 0);
    const auto view = DibView::of(dib);
    if (!view)
        return nullptr;
    const Bgr c = fromColorRef(colour);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = view->row(y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = c.b;
            row[3 * x + 1] = c.g;
            row[3 * x + 2] = c.r;
        }
    }
    return dib;
}

HDIB CloneDIB(HDIB dib)
{
    if (!dib)
        return nullptr;
    HDIB copy = DibAlloc(DibSize(dib));
    if (!copy)
        return nullptr;
    std::memcpy(DibLock(copy), DibLock(dib), DibSize(dib));
    DibUnlock(copy);
    DibUnlock(dib);
    return copy;
}

int ChangeToFullColorDIB(HDIB* dib)
{
    if (!dib)
        return 0;
    const auto view = DibView::of(*dib);
    if (!view)
        return 0;
    if (view->bitCount == 24)
        return 1;
    HDIB full = newDib(view->width, view->height, 24, 0);
    const auto target = DibView::of(full);
    if (!target)
        return 0;
    for (int y = 0; y < view->height; ++y) {
        const uint8_t* from = view->row(y);
        uint8_t* to = target->row(y);
        for (int x = 0; x < view->width; ++x) {
            const Bgr c = view->pixel(from, x);
            to[3 * x] = c.b;
            to[3 * x + 1] = c.g;
            to[3 * x + 2] = c.r;
        }
    }
    return replaceDib(dib, full);
}

int ChangeToGrayDIB(HDIB dib)
{
    const auto view = DibView::of(dib);
    if (!view)
        return 0;
    if (view->bitCount == 16) {
        for (int y = 0; y < view->height; ++y) {
            uint8_t* row = view->row(y);
            for (int x = 0; x < view->width; ++x) {
                const uint16_t v = readField<uint16_t>(row + 2 * x);
                const int grey = ((v & 31) + ((v >> 5) & 31) + ((v >> 10) & 31)) / 3;
                writeField<uint16_t>(row + 2 * x, static_cast<uint16_t>(grey | grey << 5 | grey << 10));
            }
        }
        return 1;
    }
    return forEachColour(*view, [](uint8_t& b, uint8_t& g, uint8_t& r) {
        const auto grey = static_cast<uint8_t>((b + g + r) / 3);
        b = g = r = grey;
    }) ? 1 : 0;
}

int InvertDIB(HDIB dib)
{
    const auto view = DibView::of(dib);
    if (!view)
        return 0;
    if (view->bitCount == 16) {
        for (int y = 0; y < view->height; ++y) {
            uint8_t* row = view->row(y);
            for (int x = 0; x < view->width; ++x)
                writeField<uint16_t>(row + 2 * x, static_cast<uint16_t>(0x7FFF - readField<uint16_t>(row + 2 * x)));
        }
        return 1;
    }
    return forEachColour(*view, [](uint8_t& b, uint8_t& g, uint8_t& r) {
        b = static_cast<uint8_t>(255 - b);
        g = static_cast<uint8_t>(255 - g);
        r = static_cast<uint8_t>(255 - r);
    }) ? 1 : 0;
}

namespace {

// Brightness and contrast: each colour channel mapped on its own, after the
// shared checks of the amount and the change to a format that has channels.
template <typename Channel>
int adjustChannels(HDIB* dib, int amount, Channel channel)
{
    if (!dib || !*dib || amount < -100 || amount > 100)
        return 0;
    if (amount == 0)
        return 1;
    if (!prepareForAmount(dib))
        return 0;
    const auto view = DibView::of(*dib);
    return view && forEachColour(*view, [&channel](uint8_t& b, uint8_t& g, uint8_t& r) {
        b = channel(b);
        g = channel(g);
        r = channel(r);
    }) ? 1 : 0;
}

}  // namespace

int LightDIB(HDIB* dib, int amount)
{
    return adjustChannels(dib, amount, [amount](uint8_t v) { return clampByte(v + amount); });
}

int ContrastDIB(HDIB* dib, int amount)
{
    return adjustChannels(dib, amount, [amount](uint8_t v) { return contrasted(v, amount); });
}

int HSLtoRGB(int hue, int saturation, int lightness, int* red, int* green, int* blue)
{
    hue = std::clamp(hue, 0, 360);
    saturation = std::clamp(saturation, 0, 255);
    lightness = std::clamp(lightness, 0, 255);
    const double l = lightness * 0.00392156862745098;
    const double s = saturation * 0.00392156862745098;
    int r = 0, g = 0, b = 0;
    if (s == 0) {
        r = g = b = static_cast<int>(l * 255 + 0.5);
    } else {
        const double q = l < 0.5 ? l * (1 + s) : l + s - l * s;
        const double p = 2 * l - q;
        const double h = hue * 0.002777777777777778;
        const auto channel = [p, q](double t) {
            if (6 * t < 1)
                return p + (q - p) * 6 * t;
            if (2 * t < 1)
                return q;
            if (3 * t < 2)
                return p + (q - p) * (2.0 / 3 - t) * 6;
            return p;
        };
        double tr = h + 1.0 / 3;
        if (tr > 1)
            tr -= 1;
        double tb = h - 1.0 / 3;
        if (tb < 0)
            tb += 1;
        r = static_cast<int>(channel(tr) * 255 + 0.5);
        g = static_cast<int>(channel(h) * 255 + 0.5);
        b = static_cast<int>(channel(tb) * 255 + 0.5);
    }
    if (red)
        *red = r;
    if (green)
        *green = g;
    if (blue)
        *blue = b;
    return b;
}

int RGBtoHSL(int red, int green, int blue, int* hue, int* saturation, int* lightness)
{
    const double r = std::clamp(red, 0, 255) / 255.0;
    const double g = std::clamp(green, 0, 255) / 255.0;
    const double b = std::clamp(blue, 0, 255) / 255.0;
    const double max = std::max({r, g, b});
    const double min = std::min({r, g, b});
    const double l = (max + min) / 2;
    int h = 0, s = 0;
    if (max != min) {
        const double d = max - min;
        const double sat = l < 0.5 ? d / (max + min) : d / (2 - max - min);
        double hh = 0;
        if (max == r)
            hh = (g - b) / d;
        else if (max == g)
            hh = (b - r) / d + 2;
        else
            hh = (r - g) / d + 4;
        h = static_cast<int>(hh * 60 + 0.5);
        if (h < 0)
            h += 360;
        s = static_cast<int>(sat * 255 + 0.5);
    }
    const int li = static_cast<int>(l * 255 + 0.5);
    if (hue)
        *hue = h;
    if (saturation)
        *saturation = s;
    if (lightness)
        *lightness = li;
    return li;
}
