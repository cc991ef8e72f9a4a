// The frame's window chrome: the top bar, the border and its sizing, the own
// maximise and restore, the placement, and the window modes that show or hide
// the decorations (full window, clip window, style window).
#include "FrameChrome.h"

#include "app/CMainFrame.h"
#include "app/StartupRules.h"

#include "library/Settings.h"

#include "CBookViews.h"

#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStackedWidget>
#include <QWindow>

#include <optional>

using namespace chrome;

namespace {

QRect toQRect(const Rect& r)
{
    return QRect(r.left, r.top, r.width(), r.height());
}

Rect toRect(const QRect& r)
{
    return {r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}

Qt::Edges frameBorderEdges(const QRect& window, const QPoint& p, bool sizingAllowed)
{
    const int hit = borderHit(toRect(window), {p.x(), p.y()}, sizingAllowed);
    Qt::Edges edges;
    if (hit & kEdgeLeft)
        edges |= Qt::LeftEdge;
    if (hit & kEdgeRight)
        edges |= Qt::RightEdge;
    if (hit & kEdgeTop)
        edges |= Qt::TopEdge;
    if (hit & kEdgeBottom)
        edges |= Qt::BottomEdge;
    return edges;
}

}  // namespace

CTopBar::CTopBar(CMainFrame& frame) : QWidget(&frame), m_frame(frame)
{
    setFixedHeight(kTopBarHeight);
}

void CTopBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QLinearGradient band(0, 0, 0, height());
    band.setColorAt(0, QColor(250, 214, 252));
    band.setColorAt(1, QColor(224, 150, 236));
    painter.fillRect(rect(), band);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(13);
    painter.setFont(font);
    painter.setPen(QColor(70, 20, 80));
    painter.drawText(QRect(34, 0, width() / 2, height()), Qt::AlignVCenter | Qt::AlignLeft, m_frame.title());
}

void CTopBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_frame.m_windowStatus == 0) {
        if (QWindow* window = m_frame.windowHandle(); window && window->startSystemMove())
            return;
        m_dragOffset = event->globalPosition().toPoint() - m_frame.frameGeometry().topLeft();
        m_dragging = true;
    }
}

void CTopBar::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging)
        m_frame.move(event->globalPosition().toPoint() - m_dragOffset);
}

void CTopBar::mouseReleaseEvent(QMouseEvent*)
{
    m_dragging = false;
}

void CTopBar::mouseDoubleClickEvent(QMouseEvent*)
{
    m_frame.runCommand(m_frame.m_windowStatus == 0 ? cmd::Maximise : cmd::Restore);
}

void CMainFrame::ownMaximise()
{
    m_windowStatus = 1;
    m_restoreRect = geometry();
    const QScreen* screen = this->screen();
    if (!screen)
        return;
    // The part of the screen the desktop keeps for itself stands in for the task bar.
    const QRect whole = screen->geometry(), available = screen->availableGeometry();
    std::optional<Rect> taskBar;
    if (available.bottom() < whole.bottom())
        taskBar = Rect{whole.left(), available.bottom() + 1, whole.right() + 1, whole.bottom() + 1};
    else if (available.top() > whole.top())
        taskBar = Rect{whole.left(), whole.top(), whole.right() + 1, available.top()};
    else if (available.left() > whole.left())
        taskBar = Rect{whole.left(), whole.top(), available.left(), whole.bottom() + 1};
    else if (available.right() < whole.right())
        taskBar = Rect{available.right() + 1, whole.top(), whole.right() + 1, whole.bottom() + 1};
    setGeometry(toQRect(ownMaximiseArea(toRect(whole), taskBar)));
}

void CMainFrame::restoreFromMaximise()
{
    m_windowStatus = 0;
    setGeometry(m_restoreRect);
}

void CMainFrame::savePlacement()
{
    // Only the keys the close sequence names: the others keep what the
    // reader (or another copy of the program) stored. The full window
    // covers the screen for a while; the window to come back to is the one before.
    const QRect g = m_state.fullWindow ? m_savedPlacement : geometry();
    m_settings.writePlacement({.left = g.left(), .top = g.top(), .width = g.width(), .height = g.height(),
                               .status = m_windowStatus, .restoreLeft = m_restoreRect.left(),
                               .restoreTop = m_restoreRect.top(), .restoreRight = m_restoreRect.right() + 1,
                               .restoreBottom = m_restoreRect.bottom() + 1});
}

void CMainFrame::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QColor strip(122, 122, 255);
    painter.fillRect(QRect(0, 0, width(), kBorderTop), strip);
    painter.fillRect(QRect(0, height() - kBorderBottom, width(), kBorderBottom), strip);
    painter.fillRect(QRect(0, 0, kBorderLeft, height()), strip);
    painter.fillRect(QRect(width() - kBorderRight, 0, kBorderRight, height()), strip);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.drawLine(0, 2, width(), 2);
    painter.drawLine(0, height() - 3, width(), height() - 3);
    painter.fillRect(rect().adjusted(kBorderLeft, kBorderTop, -kBorderRight, -kBorderBottom), QColor(239, 205, 224));
}

void CMainFrame::mousePressEvent(QMouseEvent* event)
{
    const Qt::Edges edges = frameBorderEdges(rect(), event->position().toPoint(), m_windowStatus == 0 && !m_state.fullWindow);
    if (edges && windowHandle())
        windowHandle()->startSystemResize(edges);
}

void CMainFrame::mouseMoveEvent(QMouseEvent* event)
{
    const Qt::Edges edges = frameBorderEdges(rect(), event->position().toPoint(), m_windowStatus == 0 && !m_state.fullWindow);
    if (edges == (Qt::LeftEdge | Qt::TopEdge) || edges == (Qt::RightEdge | Qt::BottomEdge))
        setCursor(Qt::SizeFDiagCursor);
    else if (edges == (Qt::RightEdge | Qt::TopEdge) || edges == (Qt::LeftEdge | Qt::BottomEdge))
        setCursor(Qt::SizeBDiagCursor);
    else if (edges & (Qt::LeftEdge | Qt::RightEdge))
        setCursor(Qt::SizeHorCursor);
    else if (edges & (Qt::TopEdge | Qt::BottomEdge))
        setCursor(Qt::SizeVerCursor);
    else
        unsetCursor();
}

void CMainFrame::showDecorations(bool frame, bool bars)
{
    CommitTagEdits();
    if (m_state.traditionalStyle) {
        m_topBar->hide();
        layout()->setContentsMargins(0, 0, 0, 0);
        m_menuBar->setVisible(bars);
    } else {
        m_menuBar->hide();
        m_topBar->setVisible(frame);
        layout()->setContentsMargins(frame ? kBorderLeft : 0, frame ? kBorderTop : 0, frame ? kBorderRight : 0,
                                     frame ? kBorderBottom : 0);
    }
    const bool tools = bars && !m_state.fullWindow;
    m_leftBar->setVisible(tools && m_showLeftBar);
    m_rightBar->setVisible(tools && m_showRightBar);
    m_bottomBar->setVisible(tools && m_showBottomBar);
    m_statusBar->setVisible(tools && m_showStatusBar);
    RefreshViews();
    viewOnShow()->setFocus();
}

void CMainFrame::toggleFullWindow()
{
    if (!m_state.fullWindow) {
        m_savedPlacement = geometry();
        m_state.fullWindow = true;
        showDecorations(false, false);
        showFullScreen();
    } else {
        m_state.fullWindow = false;
        showDecorations(true, true);
        showNormal();
        setGeometry(m_savedPlacement);
    }
}

void CMainFrame::toggleClipWindow()
{
    m_state.clipWindow = !m_state.clipWindow;
    m_viewModes.clipWindow = m_state.clipWindow;
    if (m_state.clipWindow) {
        showDecorations(false, true);
    } else {
        resize(840, 620);
        showDecorations(true, true);
    }
    applyClipOutline();
}

void CMainFrame::applyClipOutline()
{
    if (!m_state.clipWindow) {
        clearMask();
        return;
    }
    m_twoPageView->ensureComposed();
    QRegion shape = m_twoPageView->bookRegion().translated(m_twoPageView->mapTo(this, QPoint(0, 0)));
    // The bars above and below the book and the tool bars beside it stay usable.
    const QRect views(m_views->mapTo(this, QPoint(0, 0)), m_views->size());
    shape += QRect(0, 0, width(), views.top());
    shape += QRect(0, views.bottom() + 1, width(), height() - views.bottom() - 1);
    for (const QWidget* bar : {m_leftBar, m_rightBar}) {
        if (bar->isVisible())
            shape += QRect(bar->mapTo(this, QPoint(0, 0)), bar->size());
    }
    setMask(shape);
}

void CMainFrame::toggleStyleWindow()
{
    showDecorations(false, false);
    m_state.traditionalStyle = !m_state.traditionalStyle;
    const QRect placement = geometry();
    const bool shown = isVisible();
    // The traditional window has the system's frame and the menu bar.
    setWindowFlags(m_state.traditionalStyle ? Qt::Window : Qt::Window | Qt::FramelessWindowHint);
    if (m_state.traditionalStyle && m_menuBar->actions().isEmpty())
        fillMenus(nullptr);
    setGeometry(placement);
    if (shown)
        show();
    showDecorations(true, true);
}
