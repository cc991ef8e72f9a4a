// The lantern slide painted into an off-screen image: one book page over the
// whole image in large type (its colours, its lines, the "No." footer), or,
// when there is no book page to show, the document's background picture
// alone. Nothing of the book around the page: no edges, tags or marks. The
// pages are only read, but for the font height the slide writes back into
// the page it shows, as the page painter does.
#pragma once

#include "views/Canvas.h"
#include "views/FontMetrics.h"
#include "views/SpreadPainter.h"

#include <QImage>

#include <map>
#include <memory>
#include <string>

class CVersaleoDoc;
class CBookPage;

class SlidePainter {
public:
    SlidePainter(CVersaleoDoc& doc, PictureSource& pictures);

    // Paints the slide of the book page at `index` into `target`, over its
    // whole size, with the two-page mode's narrow lines or the wide ones; an
    // index that names no book page shows the background alone.
    void paint(QImage& target, int index, bool narrowLines);
    // Forgets the cached background (a new size or a new picture).
    void dropBackground() { m_background = QImage(); }

private:
    void paintBackground(Canvas& canvas, int width, int height);
    void paintSlide(Canvas& canvas, CBookPage& page, int index, int width, int height, bool narrowLines);
    void paintFooter(Canvas& canvas, const CBookPage& page, int index, int width, int height);

    CVersaleoDoc& m_doc;
    PictureSource& m_pictures;
    QImage m_background;
    MeasurerCache m_measurers;
};
