// versaleo-artwork: draws the program's shipped pictures into a picture
// folder at build time, as JPEG files read back through Pixmill; and the
// desktop icons, as PNG files of every usual size and SVG.
//
//   versaleo-artwork PROGRAM-FOLDER      (pictures go to its "picture" folder)
//   versaleo-artwork --icons FOLDER      (FOLDER/hicolor/SIZE/{apps,mimetypes}/...)
#include "Icons.h"

#include "library/Artwork.h"

#include "pixmill/Pixmill.h"

#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <filesystem>
#include <fstream>
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

constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

struct IconKind {
    const char* context;
    const char* name;
    VectorIcon (*draw)(int size);
};

constexpr IconKind kIconKinds[] = {
    {"apps", "versaleo", icons::programIcon},
    {"mimetypes", "application-x-versaleo-book", icons::bookTypeIcon},
};

bool writeIcons(const std::filesystem::path& folder)
{
    bool ok = true;
    for (const IconKind& kind : kIconKinds) {
        for (const int size : kIconSizes) {
            const std::filesystem::path dir =
                folder / "hicolor" / (std::to_string(size) + "x" + std::to_string(size)) / kind.context;
            std::filesystem::create_directories(dir);
            const std::string path = (dir / (std::string(kind.name) + ".png")).string();
            if (!paintIcon(kind.draw(size), size).save(QString::fromStdString(path), "PNG")) {
                std::fprintf(stderr, "versaleo-artwork: cannot write %s\n", path.c_str());
                ok = false;
            }
        }
        const std::filesystem::path dir = folder / "hicolor" / "scalable" / kind.context;
        std::filesystem::create_directories(dir);
        std::ofstream svg(dir / (std::string(kind.name) + ".svg"));
        svg << svgIcon(kind.draw(static_cast<int>(kIconUnits)));
        if (!svg.flush()) {
            std::fprintf(stderr, "versaleo-artwork: cannot write the %s SVG icon\n", kind.name);
            ok = false;
        }
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool iconMode = argc == 3 && std::string(argv[1]) == "--icons";
    if (argc != 2 && !iconMode) {
        std::fprintf(stderr, "usage: versaleo-artwork PROGRAM-FOLDER\n       versaleo-artwork --icons FOLDER\n");
        return 2;
    }
    QGuiApplication app(argc, argv);  // the splash writes its name
    if (iconMode)
        return writeIcons(argv[2]) ? 0 : 1;
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
