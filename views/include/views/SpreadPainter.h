// The painter of the open book, shared by every view, the flip animation and
// printing: background, page edges, bookmark tabs, the facing pages of every
// kind with their text, marks, tags and labels, and the spine. It composes
// into an off-screen image; the view copies that to the window in one go.
// The geometry it lays out stays with the painter (each view has its own) for
// that view's hit-testing; the pages are only read, but for the font height.
#pragma once

#include "views/Canvas.h"
#include "views/FontMetrics.h"
#include "views/PageGeometry.h"
#include "views/SpreadGeometry.h"

#include <QImage>

#include <map>
#include <memory>
#include <optional>

class CVersaleoDoc;
class CBookPage;

// The document's pictures: behind the book, on the covers, under the text.
class PictureSource {
public:
    virtual ~PictureSource() = default;
    virtual const QImage& background() = 0;
    virtual const QImage& outerCover() = 0;
    virtual const QImage& innerCover() = 0;
    // The page picture of that number; a null image when there is none.
    virtual QImage pagePicture(int number) = 0;
};

struct PaintOptions {
    bool wideLines = false;  // the one-page view's layout
    bool suppressSpine = false;
    int spineLeftCount = 15;
    int spineRightCount = 15;
    std::optional<Rect> bitmapSelection;
    bool textSelection = false;
};

class SpreadPainter {
public:
    SpreadPainter(CVersaleoDoc& doc, PictureSource& pictures);

    // Composes the spread into `target`, whose size is the spread's.
    void compose(QImage& target, const PaintOptions& options = {});
    // Forgets the cached background (after a size change or a new picture).
    void dropBackground() { m_background = QImage(); }

    const spread::PageRects& pageRects() const { return m_pages; }
    // Where the last composed spread put a page's parts; empty for a page it
    // did not paint.
    const PageGeometry& geometryOf(const CBookPage& page) const;
    // What the last composed spread covers of the book: pages, edge layers
    // and visible bookmark tabs (the clip window's outline, with the spine).
    const std::vector<Rect>& bookOutline() const { return m_outline; }

    // One record painted alone into an image of its own (a turning sheet's
    // face), with the view's options. A bookmark `alone` fills the image;
    // otherwise the page behind it (`behindStep` away) shows with the bookmark
    // lying on it. Leaves the spread's geometry as it was.
    QImage paintPageImage(int index, QSize size, int behindStep, bool alone = false, const PaintOptions& options = {});
    // The spine shading alone, with the counts of the two sides.
    void drawSpine(QImage& target, int leftCount, int rightCount);

private:
    void paintBackground(Canvas& canvas, int width, int height);
    void paintEdges(Canvas& canvas, int width, spread::FacingPair pair);
    void paintSide(Canvas& canvas, int index, Rect& rect, int behindStep, const PaintOptions& options);
    void paintPage(Canvas& canvas, int index, const Rect& rect, const PaintOptions& options);
    void paintBookPage(Canvas& canvas, CBookPage& page, int index, const Rect& rect, const PaintOptions& options);
    void paintNotePage(Canvas& canvas, CBookPage& page, int index, const Rect& rect);
    void paintIndexPage(Canvas& canvas, CBookPage& page, int index, const Rect& rect);
    void paintCover(Canvas& canvas, int index, const Rect& rect);
    void paintBookmark(Canvas& canvas, int index, const Rect& rect);
    void paintMarks(Canvas& canvas, const CBookPage& page, PageGeometry& geometry);
    void paintTag(Canvas& canvas, const PageTag& tag, const Rect& page, PageGeometry& geometry);
    // A bookmark's tab where it was drawn, for both of its records.
    void placeTab(int front, const Rect& tab);
    void paintLabel(Canvas& canvas, const Rect& page, const std::string& text, bool current);
    void paintSpine(Canvas& canvas, int width, int height, spread::FacingPair pair, const PaintOptions& options);

    CVersaleoDoc& m_doc;
    PictureSource& m_pictures;
    QImage m_background;
    spread::PageRects m_pages;
    std::vector<Rect> m_outline;
    SpreadLayout m_layout;
    MeasurerCache m_measurers;
};
