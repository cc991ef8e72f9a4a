// The reading views: the two-page view shows the whole spread in the window,
// the one-page view a spread twice as wide of which one page (and a sliver of
// the facing one) is shown. Both paint through the spread painter into an
// off-screen image that reaches the window in one go.
#pragma once

#include "views/SpreadPainter.h"

#include <QWidget>

#include <functional>
#include <vector>

class CVersaleoDoc;

class CBookView : public QWidget {
    Q_OBJECT

public:
    CBookView(CVersaleoDoc& doc, PictureSource& pictures, QWidget* parent = nullptr);

    // Drops the cached spread and repaints.
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
    // A flip from the current page to t, frame by frame on the window.
    void flipTo(int t);
    // Milliseconds each frame of a flip stays on the window.
    void setFrameDelay(int milliseconds) { m_frameDelay = milliseconds; }
    // Frames of the last flip, kept when recording (for looking at them).
    void setRecording(bool on) { m_recording = on; }
    const std::vector<QImage>& recordedFrames() const { return m_recorded; }

    // Input is ignored while this says so (continuous flipping, for one).
    std::function<bool()> inputBlocked;
    // A click while input is blocked: the frame stops what blocks it.
    std::function<void()> blockedClick;
    // The current page changed.
    std::function<void()> pageChanged;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // A left click at a point of the spread.
    virtual void clickAt(QPoint spreadPoint) = 0;
    virtual void arrowKey(bool left) = 0;
    // The bookmark tab hit at a point outside the pages, strip pixels wide
    // along its outer edge: the index to turn to, or -1.
    int bookmarkTabTarget(QPoint p, int strip) const;
    int lastIndex() const;

    CVersaleoDoc& m_doc;
    SpreadPainter m_painter;
    PaintOptions m_options;
    QImage m_spread;
    QImage m_flipFrame;  // shown instead of the spread while a flip runs
    int m_frameDelay = 12;
    bool m_recording = false;
    std::vector<QImage> m_recorded;
};

class CTwoPageView : public CBookView {
    Q_OBJECT

public:
    using CBookView::CBookView;
    int spreadWidth() const override { return width(); }
    QPoint scrollOffset() const override { return {0, 0}; }
    void turnTo(int t) override;

protected:
    void clickAt(QPoint p) override;
    void arrowKey(bool left) override;
};

class COnePageView : public CBookView {
    Q_OBJECT

public:
    COnePageView(CVersaleoDoc& doc, PictureSource& pictures, QWidget* parent = nullptr);
    int spreadWidth() const override { return 2 * width() - 80; }
    // An even page is a right page, shown from W - 80.
    QPoint scrollOffset() const override;
    void turnTo(int t) override;
    // Shows the facing page of the spread, sliding 5 pixels at a time.
    void slide(bool toRight);

protected:
    void clickAt(QPoint p) override;
    void arrowKey(bool left) override;

private:
    int m_slideOffset = -1;  // the offset while sliding, else -1
};
