// The cabinet manager's bookshelf: the current cabinet's books as spines,
// a click on a spine selects that book (a click elsewhere selects none), the
// hand cursor over a spine, a double click reads the book.
#pragma once

#include "library/CabinetLibrary.h"

#include "book/WinTypes.h"

#include <QImage>
#include <QWidget>

class CBookshelf : public QWidget {
    Q_OBJECT

public:
    // Borrows the library and the page font; both outlive the shelf.
    CBookshelf(CabinetLibrary& library, const LOGFONT& pageFont, QWidget* parent = nullptr);

    // The frame the shelf is drawn in: the whole widget.
    Rect frame() const;
    // The spine under a point of the widget, or -1.
    int spineAt(QPoint p) const;

signals:
    void selectionChanged();
    void readRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void select(int book);

    CabinetLibrary& m_library;
    const LOGFONT& m_pageFont;
    QImage m_image;
};
