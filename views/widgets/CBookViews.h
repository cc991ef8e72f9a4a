// The reading views: the two-page view shows the whole spread in the window,
// the one-page view a spread twice as wide of which one page (and a sliver of
// the facing one) is shown. Both paint through the spread painter into an
// off-screen image that reaches the window in one go.
#pragma once

#include "views/SpreadPainter.h"

#include <QWidget>

class CVersaleoDoc;

class CBookView : public QWidget {
    Q_OBJECT

public:
    CBookView(CVersaleoDoc& doc, PictureSource& pictures, QWidget* parent = nullptr);

    // Drops the cached spread and repaints.
    void refresh();
    SpreadPainter& painter() { return m_painter; }
    // The spread's width for the window's.
    virtual int spreadWidth() const = 0;
    // Where the window starts in the spread.
    virtual QPoint scrollOffset() const = 0;
    PaintOptions& options() { return m_options; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

    CVersaleoDoc& m_doc;
    SpreadPainter m_painter;
    PaintOptions m_options;
    QImage m_spread;
};

class CTwoPageView : public CBookView {
    Q_OBJECT

public:
    using CBookView::CBookView;
    int spreadWidth() const override { return width(); }
    QPoint scrollOffset() const override { return {0, 0}; }
};

class COnePageView : public CBookView {
    Q_OBJECT

public:
    COnePageView(CVersaleoDoc& doc, PictureSource& pictures, QWidget* parent = nullptr);
    int spreadWidth() const override { return 2 * width() - 80; }
    // An even page is a right page, shown from W - 80.
    QPoint scrollOffset() const override;
};
