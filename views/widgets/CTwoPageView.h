// The two-page view: the whole spread fills the window, both facing pages at
// once; in the clip window the window takes the book's outline and is dragged
// by the background.
#pragma once

#include "CBookView.h"

#include <QRegion>

#include <functional>
#include <vector>

class CTwoPageView : public CBookView {
    Q_OBJECT

public:
    using CBookView::CBookView;
    int spreadWidth() const override { return width(); }
    QPoint scrollOffset() const override { return {0, 0}; }
    void turnTo(int t) override;
    void pageForward() override;
    void pageBack() override;
    QRect flipUpdateRect(int x) const override;
    // The shape of the book as last painted, in the view's coordinates: the
    // pages with their edges and tabs, and the spine rounded over them.
    QRegion bookRegion() const;
    // The book's shape changed (the clip window follows it).
    std::function<void()> outlineChanged;

protected:
    void clickAt(QPoint p) override;
    void makeCurrentAt(QPoint p) override;
    bool pageUnder(QPoint p, int& index, Rect& rect, bool& rightSide) const override;
    int bookmarkStrip() const override { return 16; }
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::vector<Rect> m_lastOutline;
    // Dragging the clip window by the background.
    bool m_draggingWindow = false;
    QPoint m_dragStart;
    QRect m_windowAtStart;
};
