#include "style/CStyle.h"

#include "library/ProgramFolder.h"

#include "aidkern/CAKFileManager.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QMessageBox>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

std::function<void(const char*, const char*)>& reporter()
{
    static std::function<void(const char*, const char*)> report = [](const char* caption, const char* text) {
        std::fprintf(stderr, "%s: %s\n", caption, text);
        const bool onScreen = qobject_cast<QApplication*>(QCoreApplication::instance()) &&
                              QGuiApplication::platformName() != QLatin1String("offscreen") &&
                              QGuiApplication::platformName() != QLatin1String("minimal");
        if (onScreen)
            QMessageBox::critical(nullptr, QString::fromUtf8(caption), QString::fromUtf8(text));
    };
    return report;
}

[[noreturn]] void failAndExit()
{
    reporter()("Error", kStyleFailureText);
    std::exit(0);
}

}  // namespace

void CStyle::setFailureReporter(std::function<void(const char*, const char*)> report)
{
    reporter() = std::move(report);
}

CStyle::CStyle() = default;

CStyle::~CStyle()
{
    DeleteBitmap();
}

void CStyle::DeleteBitmap()
{
    forEachPicture([](const char*, QImage& picture) { picture = QImage(); });
}

void CStyle::InitBitmap()
{
    InitBitmap(::programFolder());
}

void CStyle::InitBitmap(const std::string& programFolder)
{
    DeleteBitmap();
    const std::string data = programFolder + "/style.data";
    int exists = 0;
    CAKFileManager::AKIsExist(data, &exists);
    if (!exists)
        failAndExit();
    if (!loadPictures(data))
        failAndExit();
}

bool CStyle::loadPictures(const std::string& data)
{
    // A private folder of this run's own: two programs starting at once must
    // not unpack into, or delete, each other's pictures. It goes with its
    // content when this scope ends, whatever the archive held.
    const QTemporaryDir scratch(QDir::tempPath() + QStringLiteral("/versaleo-style-XXXXXX"));
    if (!scratch.isValid())
        return false;
    const std::string folder = scratch.path().toStdString();
    if (!PackageUnpack(data.c_str(), folder.c_str(), 0))
        return false;
    forEachPicture([&folder](const char* name, QImage& picture) {
        const std::string path = folder + "/" + name + ".bmp";
        picture.load(QString::fromStdString(path), "BMP");
        CAKFileManager::AKDeleteFile(path);
    });
    return true;
}
