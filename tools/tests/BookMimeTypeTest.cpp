// The program's file types as a desktop knows them: the shared-mime-info
// definition is compiled into a scratch MIME database (beside the system's
// common types when they are there) that Qt then reads, as a file manager
// would after the package is installed.
#include "book/Importers.h"

#include "TestSupport.h"

#include <QByteArray>
#include <QMimeDatabase>
#include <QMimeType>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr const char* kBookType = "application/x-versaleo-book";

// The common types (text, PDF, office documents) of shared-mime-info.
constexpr const char* kCommonTypes = "/usr/share/mime/packages/freedesktop.org.xml";

// The MimeType list of the installed desktop entry.
std::set<std::string> desktopEntryTypes()
{
    std::ifstream entry(DESKTOP_DIR "/io.github.versaleo.Versaleo.desktop");
    std::set<std::string> types;
    for (std::string line; std::getline(entry, line);) {
        if (!line.starts_with("MimeType="))
            continue;
        std::istringstream list(line.substr(std::string_view("MimeType=").size()));
        for (std::string type; std::getline(list, type, ';');)
            if (!type.empty())
                types.insert(type);
    }
    return types;
}

// The first bytes of every book file.
const QByteArray kBookStart = QByteArray::fromHex("bdffffff13333b0c0000000000000000");

class BookMimeType : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (std::system("command -v update-mime-database >/dev/null 2>&1") != 0)
            return;
        const fs::path mime = fs::path(data->path()) / "mime";
        fs::create_directories(mime / "packages");
        fs::copy_file(DESKTOP_DIR "/versaleo.xml", mime / "packages/versaleo.xml");
        common = fs::exists(kCommonTypes);
        if (common)
            fs::copy_file(kCommonTypes, mime / "packages/freedesktop.org.xml");
        const std::string update = "update-mime-database '" + mime.string() + "' >/dev/null 2>&1";
        available = std::system(update.c_str()) == 0;
        // Only the scratch database: the system's own must not answer for it.
        ::setenv("XDG_DATA_HOME", data->path().c_str(), 1);
        ::setenv("XDG_DATA_DIRS", data->path().c_str(), 1);
    }
    static void TearDownTestSuite() { delete data; }

    void SetUp() override
    {
        if (!available)
            GTEST_SKIP() << "update-mime-database (shared-mime-info) is not installed";
    }

    static inline TestFolder* data = new TestFolder;
    static inline bool available = false;
    static inline bool common = false;  // the system's common types are in the database
};

TEST_F(BookMimeType, AFileNamedVlIsABook)
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(QStringLiteral("novel.vl"), QMimeDatabase::MatchExtension);
    EXPECT_EQ(type.name().toStdString(), kBookType);
    EXPECT_EQ(type.comment().toStdString(), "Versaleo book");
    EXPECT_EQ(type.iconName().toStdString(), "application-x-versaleo-book");
}

TEST_F(BookMimeType, TheFirstBytesTellABookWhateverItsName)
{
    EXPECT_EQ(QMimeDatabase().mimeTypeForData(kBookStart).name().toStdString(), kBookType);
    EXPECT_EQ(QMimeDatabase().mimeTypeForFileNameAndData(QStringLiteral("renamed.dat"), kBookStart).name().toStdString(),
              kBookType);
}

TEST_F(BookMimeType, OtherBytesAreNotABook)
{
    // one byte off the book's start
    EXPECT_NE(QMimeDatabase().mimeTypeForData(QByteArray::fromHex("bdfffffe13333b0c")).name().toStdString(),
              kBookType);
    EXPECT_NE(QMimeDatabase().mimeTypeForData(QByteArray("plain words")).name().toStdString(), kBookType);
}

TEST_F(BookMimeType, TheDesktopEntryOffersExactlyTheTypesTheProgramOpens)
{
    if (!common)
        GTEST_SKIP() << "shared-mime-info's common types are not installed";
    // every extension that opens is offered, under the type the desktop gives it
    std::set<std::string> opened;
    for (const std::string& extension : standardExtensions())
        opened.insert(QMimeDatabase()
                          .mimeTypeForFile(QString::fromStdString("file." + extension), QMimeDatabase::MatchExtension)
                          .name()
                          .toStdString());
    // and no type is offered that no extension of the program has
    EXPECT_EQ(desktopEntryTypes(), opened);
}

}  // namespace
