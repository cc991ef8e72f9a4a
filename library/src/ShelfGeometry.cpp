#include "library/ShelfGeometry.h"

#include "aidkern/CAKCommonTools.h"

#include <algorithm>

namespace shelf {
namespace {

constexpr int kBevel = kBevelSteps * kBevelStepWidth;

}  // namespace

Rect narrowedFrame(const Rect& frame)
{
    const int spare = ((frame.width() - 2 * kBevel) % kBooksPerShelf + kBooksPerShelf) % kBooksPerShelf;
    // An odd spare pixel goes on the right, so the interior still divides evenly.
    return {frame.left + spare / 2, frame.top, frame.right - (spare - spare / 2), frame.bottom};
}

Rect interior(const Rect& frame)
{
    const Rect narrowed = narrowedFrame(frame);
    return {narrowed.left + kBevel, narrowed.top + kBevel, narrowed.right - kBevel, narrowed.bottom - kBevel};
}

Rect shelfRect(const Rect& frame, int shelfIndex)
{
    const Rect inside = interior(frame);
    const int middle = inside.top + inside.height() / 2;
    return shelfIndex == 0 ? Rect{inside.left, inside.top, inside.right, middle}
                           : Rect{inside.left, middle, inside.right, inside.bottom};
}

int spineWidth(const Rect& frame)
{
    return std::max(0, (interior(frame).width() - 2 * kMargin) / kBooksPerShelf);
}

Rect spineRect(const Rect& frame, int index)
{
    const Rect board = shelfRect(frame, index / kBooksPerShelf);
    const int width = spineWidth(frame);
    const int left = board.left + kMargin + (index % kBooksPerShelf) * width;
    return {left, board.top + kMargin, left + width, board.bottom - kMargin};
}

int spineAt(const Rect& frame, int count, Point p)
{
    const int shown = std::min(count, kBooksPerShelf * kShelves);
    for (int i = 0; i < shown; ++i) {
        if (spineRect(frame, i).contains(p.x, p.y))
            return i;
    }
    return -1;
}

Rect selectionOutline(const Rect& spine)
{
    return {spine.left, spine.top, spine.right, spine.bottom - kOutlineWidth};
}

COLORREF lowered(COLORREF colour, int offset)
{
    int red = 0, green = 0, blue = 0;
    CAKCommonTools::AKGetRGBValueFromColor(colour, red, green, blue, offset, 5, 255);
    return rgb(static_cast<uint8_t>(red), static_cast<uint8_t>(green), static_cast<uint8_t>(blue));
}

std::array<COLORREF, kBevelSteps> bevelShades(COLORREF border)
{
    std::array<COLORREF, kBevelSteps> shades{};
    for (int k = 0; k < kBevelSteps; ++k)
        shades[static_cast<size_t>(k)] = lowered(border, 2 * k);
    return shades;
}

namespace {

// Darker in proportion, so the hue stays that of the border (lowering every
// component by the same amount would turn an orange red and a blue black).
COLORREF scaled(COLORREF colour, int percent)
{
    const auto part = [percent](uint8_t c) { return static_cast<uint8_t>(std::max(5, c * percent / 100)); };
    return rgb(part(redOf(colour)), part(greenOf(colour)), part(blueOf(colour)));
}

}  // namespace

COLORREF backWallColour(COLORREF border)
{
    return scaled(border, 40);
}

COLORREF boardColour(COLORREF border)
{
    return scaled(border, 70);
}

std::pair<COLORREF, COLORREF> spineGradient(COLORREF frameColour)
{
    return {lowered(frameColour, -50), lowered(frameColour, 50)};
}

COLORREF spineTextColour(COLORREF frameColour)
{
    // Perceived brightness, in the proportions of the eye's sensitivity.
    const int brightness = (299 * redOf(frameColour) + 587 * greenOf(frameColour) + 114 * blueOf(frameColour)) / 1000;
    return brightness >= 140 ? rgb(0, 0, 0) : rgb(255, 255, 255);
}

}  // namespace shelf
