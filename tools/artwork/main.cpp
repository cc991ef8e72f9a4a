// versaleo-artwork: draws the program's shipped pictures into a picture
// folder at build time, as JPEG files read back through Pixmill.
//
//   versaleo-artwork PROGRAM-FOLDER      (pictures go to its "picture" folder)
#include "library/Artwork.h"

#include "pixmill/Pixmill.h"

#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <string>
#include <sys/stat.h>

namespace {

bool save(const QImage& image, const std::string& path)
{
    QImage copy = image;
    HDIB dib = GetDIBFromHBITMAP(&copy);
    const bool ok = dib && SaveDIBToFile(dib, path.c_str()) == 1;
    DibFree(dib);
    if (!ok)
        std::fprintf(stderr, "versaleo-artwork: cannot write %s\n", path.c_str());
    return ok;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: versaleo-artwork PROGRAM-FOLDER\n");
        return 2;
    }
    QGuiApplication app(argc, argv);  // the splash writes its name
    const std::string program = argv[1];
    const std::string folder = program + "/picture";
    ::mkdir(folder.c_str(), 0755);
    bool ok = save(artwork::background(1), folder + "/BackGround1.jpg");
    ok = save(artwork::background(2), folder + "/BackGround2.jpg") && ok;
    ok = save(artwork::outerCover(), folder + "/CoverOuter1.jpg") && ok;
    ok = save(artwork::innerCoverPattern(), folder + "/CoverInner1.jpg") && ok;
    ok = save(artwork::splash(false), program + "/splash_en.jpg") && ok;
    ok = save(artwork::splash(true), program + "/splash_ch.jpg") && ok;
    for (int n = 1; n <= 3; ++n)
        ok = save(artwork::pagePicture(n), folder + "/BookPage" + std::to_string(n) + ".jpg") && ok;
    return ok ? 0 : 1;
}
