// The lantern-slide view: one book page at a time over the whole view in
// large type, painted off screen by the slide painter and copied to the
// window in one go. The keys step through the book pages, a left drag
// anywhere moves the main window, a right click asks the frame for the
// slide's popup. Entering and leaving the slide are the frame's.
#pragma once

#include "views/SlidePainter.h"

#include <QWidget>

#include <functional>

class CVersaleoDoc;

class CDemoView : public QWidget {
    Q_OBJECT

public:
    CDemoView(CVersaleoDoc& doc, PictureSource& pictures, QWidget* parent = nullptr);

    // The two-page mode's narrow lines, or the wide lines of the one-page mode.
    void setNarrowLines(bool narrow);
    bool narrowLines() const { return m_narrowLines; }

    // Drops the cached slide and background: the next paint shows the
    // document as it is now (a new picture, a new book).
    void refresh();
    // Shows the slide of the first book page at or after the current index,
    // which becomes the current page.
    void showCurrentSlide();
    // Makes the slide current as showCurrentSlide does and composes it now if
    // the cached one is out of date.
    void ensureComposed();
    const QImage& slideImage() const { return m_image; }

    // The next and the previous book page, shown at once; nothing at the ends.
    void nextSlide();
    void previousSlide();

    // The current page changed.
    std::function<void()> pageChanged;
    // A right click asks for the slide's popup at a screen point.
    std::function<void(QPoint global)> popupMenu;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // The first book page at or after the current index becomes current.
    void settle();
    void showSlideAt(int index);

    CVersaleoDoc& m_doc;
    SlidePainter m_painter;
    QImage m_image;
    bool m_composed = false;
    bool m_narrowLines = true;
    // A left drag moves the main window by the pointer's travel from where
    // the button went down.
    bool m_dragging = false;
    QPoint m_pressed;
    QRect m_windowAtPress;
};
