// A book of plain text on both reading views, shown at 960 x 640 without
// flip delays.
#pragma once

#include "book/TextLayout.h"
#include "views/FontMetrics.h"

#include "CBookViews.h"

#include <gtest/gtest.h>

class Views : public testing::Test {
protected:
    class NoPictures : public PictureSource {
    public:
        QImage plain = [] {
            QImage image(8, 8, QImage::Format_RGB32);
            image.fill(Qt::darkGreen);
            return image;
        }();
        const QImage& background() override { return plain; }
        const QImage& outerCover() override { return plain; }
        const QImage& innerCover() override { return plain; }
        QImage pagePicture(int) override { return {}; }
    };
    Views()
    {
        installFontSubstitutions();
        std::string text;
        for (int i = 0; i < 300; ++i)
            text += "Words to fill the pages of a book that is turned. ";
        QtTextMeasurer measurer(doc.styles.bookPage.font);
        layout::layOutText(doc, doc.firstContentPage(), text, nullptr, "", "", measurer);
        doc.rebuildIndexPages();
        doc.numberBookmarks();
        for (CBookView* view : {static_cast<CBookView*>(&two), static_cast<CBookView*>(&one)}) {
            view->setFrameDelay(0);
            view->resize(960, 640);
            view->show();
            view->repaint();
        }
    }
    CVersaleoDoc doc;
    NoPictures pictures;
    CTwoPageView two{doc, pictures};
    COnePageView one{doc, pictures};
};
