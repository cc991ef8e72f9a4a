// versaleo: the reader.
#include "app/CVersaleoApp.h"

#include <QApplication>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
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
    CVersaleoApp app;
    const int code = app.InitInstance(std::vector<std::string>(argv + 1, argv + argc));
    if (code >= 0)
        return code;
    return QApplication::exec();
}
