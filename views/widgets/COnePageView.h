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
    QRect flipUpdateRect(int x) const override;
    // Shows the facing page of the spread, sliding 5 pixels at a time.
    void slide(bool toRight);

protected:
    void clickAt(QPoint p) override;
    void arrowKey(bool left) override;
    bool inSpineStrip(QPoint p) const override;
    int bookmarkStrip() const override { return 32; }

private:
    int m_slideOffset = -1;  // the offset while sliding, else -1
};
