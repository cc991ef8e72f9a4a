// versaleo: the reader.
#include "app/CVersaleoApp.h"

#include "versaleo/Version.h"

#include <QApplication>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* kUsage =
    "usage: versaleo [FILE]\n"
    "Opens FILE as a book: a Versaleo book (.vl), plain text, a web page, compiled HTML help,\n"
    "a PDF, an EPUB book or a Word document (through LibreOffice). Without FILE the help book opens.\n"
    "  --help     this text\n"
    "  --version  the program's version\n";

}  // namespace

int main(int argc, char** argv)
{
    // Answered before any window system is asked for, so they work anywhere.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("versaleo %s\n", VERSALEO_VERSION);
        return 0;
    }
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const bool display = std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY") || (platform && *platform);
    if (!display) {
        std::fprintf(stderr,
                     "versaleo: there is no display to show the reader on.\n"
                     "Run it in a desktop session (or under xvfb-run), or use vltool to make and look at books:\n"
                     "  vltool render -o spread.png BOOK\n");
        return 1;
    }
    // The web browser's engine shares its drawing contexts with the widgets.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Versaleo"));
    QApplication::setOrganizationName(QStringLiteral("Versaleo"));
    // Ties the windows to the installed desktop entry (its icon and name).
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.versaleo.Versaleo"));
    CVersaleoApp app;
    const int code = app.InitInstance(std::vector<std::string>(argv + 1, argv + argc));
    if (code >= 0)
        return code;
    return QApplication::exec();
}
