#include "FuzzSupport.h"

#include "book/TextMeasurer.h"
#include "views/FontMetrics.h"

#include <QByteArray>
#include <QGuiApplication>

#include <cstdio>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace fuzz {

const std::string& scratchFolder()
{
    // Never destroyed: the clean-up at exit still needs it.
    static const std::string* const folder = [] {
        std::error_code error;
        const std::filesystem::path base =
            std::filesystem::is_directory("/dev/shm", error) ? "/dev/shm" : std::filesystem::temp_directory_path();
        const std::filesystem::path path = base / ("versaleo-fuzz-" + std::to_string(::getpid()));
        std::filesystem::remove_all(path, error);
        std::filesystem::create_directories(path, error);
        // A crash leaves the folder behind; the next process with this id empties it.
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(scratchFolder(), ignored);
        });
        return new std::string(path.string());
    }();
    return *folder;
}

std::string writeScratch(const std::string& name, const uint8_t* data, size_t size)
{
    const std::string path = scratchFolder() + "/" + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size)
        std::abort();
    if (std::fclose(file) != 0)
        std::abort();
    return path;
}

void removeScratch(const std::string& path)
{
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

void ensureGuiApplication()
{
    if (QGuiApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const std::string runtime = scratchFolder() + "/runtime";
        std::filesystem::create_directories(runtime);
        std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime));
    }
    static int argc = 1;
    static char name[] = "versaleo-fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    installFontSubstitutions();
}

void useRealMetrics(CVersaleoDoc& doc)
{
    ensureGuiApplication();
    doc.setMeasurerFactory([](const LOGFONT& font) { return std::make_shared<QtTextMeasurer>(font); });
}

void useFixedMetrics(CVersaleoDoc& doc)
{
    doc.setMeasurerFactory([](const LOGFONT&) { return std::make_shared<FixedMeasurer>(); });
}

}  // namespace fuzz
