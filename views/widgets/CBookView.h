// The shared reading view: it paints the spread through the spread painter
// into an off-screen image that reaches the window in one go, flips pages,
// and takes the reader's clicks, drags, keys and right clicks on the current
// page. The two-page and one-page views differ only in the spread's size,
// which part of it shows and how clicks turn pages.
#pragma once

#include "views/PageInput.h"
#include "views/SpreadPainter.h"

#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class CVersaleoDoc;

class CBookView : public QWidget {
    Q_OBJECT

public:
    CBookView(CVersaleoDoc& doc, PictureSource& pictures, QWidget* parent = nullptr);

    // Drops the cached spread and background and repaints: what shows next is
    // what the document holds now (stored lines, a new background picture).
    void refresh();
    // Composes the spread now if the cached one is out of date.
    void ensureComposed();
    SpreadPainter& painter() { return m_painter; }
    // The spread's width for the window's.
    virtual int spreadWidth() const = 0;
    // Where the window starts in the spread.
    virtual QPoint scrollOffset() const = 0;
    PaintOptions& options() { return m_options; }

    // Turns to page index t: the same spread only changes the current page,
    // anything else flips (animated); past the ends it clamps or does nothing.
    virtual void turnTo(int t) = 0;
    // The next page the reader sees, and the one before: every page in turn
    // in the one-page view, spread by spread in the two-page view.
    virtual void pageForward() = 0;
    virtual void pageBack() = 0;
    // The part of the window a flip frame with the sheet at x changes.
    virtual QRect flipUpdateRect(int x) const = 0;
    // A flip from the current page to t, frame by frame on the window.
    void flipTo(int t);
    // The current page rolls up from its lower edge before its leaf goes,
    // in the fill colour with a roll drawn in the outline colour.
    void rollUpCurrentPage(COLORREF fill, COLORREF outline);
    // Milliseconds each frame of a flip stays on the window; 0 also runs a
    // roll-up without its pause of 100 ms a frame.
    void setFrameDelay(int milliseconds) { m_frameDelay = milliseconds; }
    // Frames of the last flip or roll-up, kept when recording (for looking at them).
    void setRecording(bool on) { m_recording = on; }
    const std::vector<QImage>& recordedFrames() const { return m_recorded; }

    // The frame's modes; by default the view keeps its own.
    void setModes(pageinput::ViewModes* modes) { m_modes = modes ? modes : &m_ownModes; }
    pageinput::ViewModes& modes() { return *m_modes; }

    // The text selection's characters to the clipboard, or in bitmap
    // selection the picture inside the frame.
    void copySelection();
    // The whole current page selected.
    void selectAll();
    void cancelSelection();
    // Deletes the selected mark or tag of the current page.
    void deleteSelectedItem();
    // Forgets the selected mark or tag: the frame changed the page's marks
    // or tags under it, so its number may now be another one's.
    void unselectItem();
    // The colour of the selected mark or tag of the current page, and a new
    // one for it (false when nothing is selected there).
    std::optional<COLORREF> selectedItemColour() const;
    bool recolourSelectedItem(COLORREF colour);
    int selectedMark() const { return m_selectedMark; }
    int selectedTag() const { return m_selectedTag; }
    const std::optional<Rect>& bitmapSelection() const { return m_bitmapSelection; }

    // Input is ignored while this says so (continuous flipping, for one).
    std::function<bool()> inputBlocked;
    // A click while input is blocked: the frame stops what blocks it.
    std::function<void()> blockedClick;
    // The current page changed.
    std::function<void()> pageChanged;
    // A right click asks for popup menu 36 (a mark), 37 (a tag) or 38 (a
    // selection) at a screen point; other right clicks go on to the parent.
    std::function<void(int menu, QPoint global)> popupMenu;
    // The popup a right click at a spread point would bring up: 36, 37, 38,
    // 0 for none at all, -1 for the parent's. Only asks: nothing is selected
    // or turned.
    int contextMenuAt(QPoint spreadPoint);
    // A right click at a spread point: the page under it becomes current, the
    // mark or tag under it is selected and its popup asked for.
    void rightClickAt(QPoint spreadPoint, QPoint global);
    // The pointer shape at a spread point (an id of readerCursor, 0 for the
    // arrow). Only asks: no mode changes.
    int cursorIdAt(QPoint spreadPoint);
    // A mode flag changed here (a placed tag leaves tag mode), or a mark or
    // tag was added: the frame updates its bars.
    std::function<void()> modesChanged;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // A right click on the page that is not current makes it current.
    virtual void makeCurrentAt(QPoint) {}
    // The page under a point, for pointer shapes and popups: its record,
    // rectangle and side; false when there is none.
    virtual bool pageUnder(QPoint p, int& index, Rect& rect, bool& rightSide) const;
    // How wide the strip along a bookmark tab's outer edge is that hits it.
    virtual int bookmarkStrip() const = 0;
    // The strip of the facing page that slides to it (one-page view only).
    virtual bool inSpineStrip(QPoint) const { return false; }
    // A left click at a point of the spread.
    virtual void clickAt(QPoint spreadPoint) = 0;
    // The bookmark tab hit at a point outside the pages, strip pixels wide
    // along its outer edge: the index to turn to, or -1.
    int bookmarkTabTarget(QPoint p, int strip) const;
    int lastIndex() const;
    // The rectangle of the current page in the spread (a bookmark's own when
    // the current record is a bookmark).
    Rect currentPageRect() const;
    // The current page's record, or null in an empty window.
    const CBookPage* currentPageRecord() const;
    // Runs the click of a mode on the current page: marking, selecting or
    // placing a tag. False when no mode took the click.
    bool modeClick(QPoint p);
    // A click on the current book page's tags and marks; true when one took it.
    bool itemClick(QPoint p);
    int lineCount(CBookPage& page) const;
    // Where this view last painted a page's parts.
    const PageGeometry& geometryOf(const CBookPage& page) const { return m_painter.geometryOf(page); }
    // Composes again and repaints, keeping the cached background.
    void recompose();
    // After the current page changed: nothing stays selected, the spread is
    // composed again and the frame is told.
    void currentPageChanged();
    // Shows the selection state of these cells of the current page changed,
    // repainting only them.
    void invertCells(const CBookPage& page, const std::vector<size_t>& cells);
    // What a right click at p finds: the page under it (-1: none) and the
    // popup with the tag or mark it would select.
    struct PopupHit {
        int page = -1;
        int menu = -1;
        int tag = -1;
        int mark = -1;
    };
    PopupHit popupAt(QPoint p);
    void openTagEditor(PageTag& tag, const Rect& box);
    // One editor per note line; the caret goes to the line at `at`.
    void openNoteEditors(CBookPage& page, QPoint at);

    CVersaleoDoc& m_doc;
    SpreadPainter m_painter;
    PaintOptions m_options;
    QImage m_spread;
    bool m_composed = false;  // m_spread shows the document as it is
    // The renderer's frame, shown instead of the spread while a flip runs. Not
    // a copy: sharing the image would make the renderer copy it every frame.
    const QImage* m_flipFrame = nullptr;
    int m_frameDelay = 12;
    bool m_recording = false;
    std::vector<QImage> m_recorded;

    pageinput::ViewModes m_ownModes;
    pageinput::ViewModes* m_modes = &m_ownModes;
    pageinput::MarkDrag m_markDrag;
    QPoint m_selectionAnchor;  // where the text selection began
    std::optional<Rect> m_bitmapSelection;
    bool m_dragging = false;  // the left button went down on the current page in a mode
    int m_selectedMark = -1, m_selectedTag = -1;
    // The page the mark or tag was selected on: a selection never outlives it.
    const CBookPage* m_selectedOn = nullptr;
};
