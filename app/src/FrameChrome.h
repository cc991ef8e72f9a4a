// The style window's own chrome: the border sizes and the skinned top bar.
#pragma once

#include <QPoint>
#include <QWidget>

class CMainFrame;

namespace chrome {

inline constexpr int kTopBarHeight = 30;
// The style window's border: 5 pixels left and right, 4 at the top, 3 at the bottom.
inline constexpr int kBorderLeft = 5, kBorderTop = 4, kBorderRight = 5, kBorderBottom = 3;

}  // namespace chrome

// The skinned caption: title, window tabs and caption buttons; dragging it
// moves the frame, a double-click maximises or restores.
class CTopBar : public QWidget {
public:
    explicit CTopBar(CMainFrame& frame);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    CMainFrame& m_frame;
    bool m_dragging = false;
    QPoint m_dragOffset;
};
