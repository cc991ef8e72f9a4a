// The program's own pictures, drawn rather than copied from anywhere: a desk
// behind the book, a leather outer cover, a marbled inner-cover pattern, page
// pictures, and the fallback shown when a picture cannot be loaded.
#pragma once

#include <QImage>

namespace artwork {

QImage background(int variant);        // 1024 x 768
QImage outerCover();                   // 600 x 900
QImage innerCoverPattern();            // a 96 x 96 tile
QImage pagePicture(int variant);       // 1-3, 360 x 540
QImage fallback();                     // 64 x 64, tiles seamlessly
QImage splash(bool chinese);           // 400 x 300, shown while the program starts

}  // namespace artwork
