// The one-page view: a spread twice as wide as the window, of which one page
// and a sliver of the facing one show; the view slides between the two pages
// of a spread and flips to the others.
#pragma once

#include "CBookView.h"

class COnePageView : public CBookView {
    Q_OBJECT

public:
    COnePageView(CVersaleoDoc& doc, PictureSource& pictures, QWidget* parent = nullptr);
    int spreadWidth() const override { return 2 * width() - 80; }
    // An even page is a right page, shown from W - 80.
    QPoint scrollOffset() const override;
    void turnTo(int t) override;
    void pageForward() override;
    void pageBack() override;
    QRect flipUpdateRect(int x) const override;
    // Shows the facing page of the spread, sliding 5 pixels at a time.
    void slide(bool toRight);

protected:
    void clickAt(QPoint p) override;
    bool inSpineStrip(QPoint p) const override;
    int bookmarkStrip() const override { return 32; }

private:
    // A flip, after which the window keeps showing the side it showed.
    void flipAndHold(int t);

    // The scroll offset while a turn slides or flips, else -1 (the current
    // page's side).
    int m_heldOffset = -1;
};
