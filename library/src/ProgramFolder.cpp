#include "library/ProgramFolder.h"

#include "aidkern/CAKFileManager.h"
#include "aidkern/CAKPathManager.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <pwd.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Names the data version the user's folder was last seeded from.
constexpr const char* kSeedMarker = ".seeded";

std::string executableFolder()
{
    char self[4096];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0)
        return ".";
    self[length] = '\0';
    std::string folder;
    CAKPathManager::AKGetFileFolder(self, &folder);
    return folder.empty() ? std::string("/") : folder;
}

bool isFolder(const std::string& path)
{
    int folder = 0;
    return CAKFileManager::AKIsDirectory(path, &folder) == S_OK && folder == 1;
}

// The read-only data installed with this program: relative to it first.
std::string installedDataFolder(const std::string& programDir)
{
    const std::string relative = programDir + "/" + VERSALEO_INSTALLED_DATA_FROM_BIN;
    return isFolder(relative) ? relative : std::string(VERSALEO_INSTALLED_DATA);
}

std::string readMarker(const fs::path& marker)
{
    std::ifstream in(marker);
    std::string text;
    std::getline(in, text);
    return text;
}

// One file, through a temporary name, so that an interrupted copy never
// leaves a truncated file that later starts would take for the user's own.
bool copyWhole(const fs::path& from, const fs::path& to)
{
    std::error_code ec;
    fs::path partial = to;
    partial += ".partial";
    if (!fs::copy_file(from, partial, fs::copy_options::overwrite_existing, ec)) {
        fs::remove(partial, ec);
        return false;
    }
    // The installed data is read-only; the user's copy is theirs to change.
    fs::permissions(partial, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, ec);
    fs::rename(partial, to, ec);
    if (ec) {
        fs::remove(partial, ec);
        return false;
    }
    return true;
}

// Files only: links and devices in the installed tree are not ours to copy.
// False when something that was missing could not be copied.
bool copyMissing(const fs::path& from, const fs::path& to)
{
    bool complete = true;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(from, fs::directory_options::skip_permission_denied, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        const fs::path target = to / fs::relative(it->path(), from, ec);
        if (ec)
            return false;
        const fs::file_status status = it->symlink_status(ec);
        if (fs::is_directory(status)) {
            fs::create_directories(target, ec);
            complete = complete && fs::is_directory(target, ec);
        } else if (fs::is_regular_file(status) && !fs::exists(fs::symlink_status(target, ec))) {
            complete = copyWhole(it->path(), target) && complete;
        }
        ec.clear();
    }
    return complete && !ec;
}

}  // namespace

std::string userDataFolder()
{
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && *data == '/')
        return std::string(data) + "/versaleo";
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        // A clean environment (a service, env -i) still has an account.
        const passwd* account = ::getpwuid(::getuid());
        home = account && account->pw_dir && *account->pw_dir ? account->pw_dir : "/tmp";
    }
    return std::string(home) + "/.local/share/versaleo";
}

bool seedUserFolder(const std::string& installed, const std::string& user, const std::string& version)
{
    std::error_code ec;
    const fs::path folder(user);
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec))
        return false;
    const fs::path marker = folder / kSeedMarker;
    if (fs::exists(marker, ec) && readMarker(marker) == version)
        return true;
    bool complete = true;
    if (!installed.empty() && fs::is_directory(installed, ec))
        complete = copyMissing(installed, folder);
    for (const char* name : {"books", "picture", "music"})
        fs::create_directories(folder / name, ec);
    // Remembered only when whole: what could not be copied is tried again.
    if (complete)
        std::ofstream(marker) << version << '\n';
    return true;
}

std::string programFolderBeside(const std::string& executableFolder)
{
    // The skin and the pictures together mark a program folder (the build
    // tree, a portable copy); a bin folder that merely may be written (root's
    // /usr/bin) is not one.
    int file = 0;
    const bool holdsData = isFolder(executableFolder + "/picture") &&
                           CAKFileManager::AKIsFile(executableFolder + "/style.data", &file) == S_OK && file == 1;
    if (holdsData && ::access(executableFolder.c_str(), W_OK) == 0)
        return executableFolder;
    const std::string installed = installedDataFolder(executableFolder);
    const std::string user = userDataFolder();
    if (seedUserFolder(installed, user, VERSALEO_DATA_VERSION))
        return user;
    // Without a folder of their own the user still reads with the installed
    // skin, pictures and help; only what would be saved is lost.
    return isFolder(installed) ? installed : user;
}

std::string programFolder()
{
    if (const char* home = std::getenv("VERSALEO_HOME"); home && *home)
        return home;
    return programFolderBeside(executableFolder());
}

std::string pictureFolder()
{
    return programFolder() + "/picture";
}
