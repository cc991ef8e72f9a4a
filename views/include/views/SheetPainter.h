// Draws one printed sheet: a book page, an index page or a note page, or two
// of them side by side, on any paint device: the preview's image (screen
// mode) or the printer's page (print mode). The pages are only read.
#pragma once

#include "views/FontMetrics.h"
#include "views/PrintSheets.h"

#include <QPainter>

#include <map>
#include <memory>
#include <string>

class CVersaleoDoc;
class CBookPage;

struct SheetStyle {
    bool printMode = false;  // the preview fills the sheet white first; paper is white already
    printsheet::SheetMetrics metrics;
    bool twoPages = false;
    bool colour = true;
    bool addNumber = false;
    bool printTag = false;
};

class SheetPainter {
public:
    explicit SheetPainter(const CVersaleoDoc& doc);

    // The sheet's records drawn into `sheet` (device pixels of the painter's
    // device); an empty sheet (no first record) draws nothing on the paper.
    void draw(QPainter& painter, const Rect& sheet, const printsheet::Sheet& records, const SheetStyle& style);

private:
    void drawPage(QPainter& painter, int record, const Rect& area, const SheetStyle& style);
    void drawBookPage(QPainter& painter, const CBookPage& page, int record, const Rect& area, const SheetStyle& style);
    void drawIndexPage(QPainter& painter, int record, const Rect& area, const SheetStyle& style);
    void drawNotePage(QPainter& painter, const CBookPage& page, const Rect& area, const SheetStyle& style);
    // "- - -   Page %d  - - -" under a page.
    void drawNumber(QPainter& painter, const std::string& text, const Rect& area, const SheetStyle& style);
    // Tags on the book pages before `record`.
    int tagsBefore(int record) const;

    const CVersaleoDoc& m_doc;
    MeasurerCache m_measurers;
};
