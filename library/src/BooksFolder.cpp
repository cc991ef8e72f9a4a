#include "library/BooksFolder.h"

#include "library/ProgramFolder.h"

#include "aidkern/CAKFileManager.h"
#include "aidkern/CAKPathManager.h"
#include "book/CodePage.h"
#include "book/Dbcs.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace books {
namespace {

constexpr size_t kMaxExtension = 32;
constexpr const char* kDamagedSuffix = ".damaged";

bool nameExists(const std::string& path)
{
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && text.substr(0, prefix.size()) == prefix;
}

bool endsWith(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

bool isDamagedLibraryName(std::string_view name)
{
    return startsWith(name, std::string(kLibraryFileName) + ".") && endsWith(name, kDamagedSuffix);
}

// The entries of a folder; without the folders in it when asked (links are
// not followed).
std::vector<std::string> entryNames(const std::string& folder, bool withFolders)
{
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        struct stat st;
        if (withFolders || (::lstat((folder + "/" + name).c_str(), &st) == 0 && !S_ISDIR(st.st_mode)))
            names.push_back(name);
    }
    ::closedir(dir);
    return names;
}

std::vector<std::string> fileNames(const std::string& folder)
{
    return entryNames(folder, false);
}

// Names are the same copy when the clean-up would keep one for the other.
bool sameCopyName(std::string_view a, std::string_view b)
{
    return dbcs::equalsNoCase(a, b);
}

void syncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

std::string booksFolder()
{
    const std::string folder = programFolder() + "/books";
    CAKFileManager::AKCascadeCreateDirectory(folder);
    return folder;
}

std::string libraryFilePath(const std::string& folder)
{
    return folder + "/" + kLibraryFileName;
}

std::string freeCopyName(const std::string& folder, std::string_view extension)
{
    // A name in another case is taken too: the clean-up keeps the two as
    // one, and a disk blind to case holds only one of them.
    const std::vector<std::string> taken = entryNames(folder, true);
    for (long n = 1;; ++n) {
        std::string name = "book" + std::to_string(n) + "." + std::string(extension);
        const auto clash = [&name](const std::string& other) { return sameCopyName(name, other); };
        if (std::none_of(taken.begin(), taken.end(), clash) && !nameExists(folder + "/" + name))
            return name;
    }
}

std::string copyOnDisk(const std::string& folder, const std::string& name)
{
    // A copy is a file (or a link to one), never a folder.
    const auto isCopy = [&folder](const std::string& candidate) {
        struct stat st;
        return ::stat((folder + "/" + candidate).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
    };
    if (isCopy(name))
        return name;
    for (const std::string& other : fileNames(folder)) {
        if (sameCopyName(name, other) && isCopy(other))
            return other;
    }
    return {};
}

std::string copyExtension(const std::string& sourcePath)
{
    std::string name;
    CAKPathManager::AKGetFileName(sourcePath, &name);
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        return {};
    std::string extension = name.substr(dot + 1);
    if (extension.size() > kMaxExtension || !codepage::isUtf8(extension))
        return {};
    for (const char c : extension) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return {};
    }
    return extension;
}

std::string makeBookCopy(const std::string& sourcePath, const std::string& folder)
{
    // Only a plain file: a pipe or a device would never end, or never start.
    struct stat st;
    if (::stat(sourcePath.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    const std::string name = freeCopyName(folder, copyExtension(sourcePath));
    if (CAKFileManager::AKCopyFile(sourcePath, folder + "/" + name) < 0)
        return {};
    return name;
}

int cleanFolder(const std::string& folder, const std::vector<std::string>& keep)
{
    int removed = 0;
    for (const std::string& name : fileNames(folder)) {
        bool kept = false;
        for (const std::string& k : keep)
            kept = kept || sameCopyName(name, k);
        if (!kept && ::unlink((folder + "/" + name).c_str()) == 0)
            ++removed;
    }
    return removed;
}

std::string keepDamagedLibrary(const std::string& folder, std::time_t now)
{
    std::tm local{};
    ::localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const std::string from = libraryFilePath(folder);
    for (int n = 1; n < 1000; ++n) {
        const std::string name = std::string(kLibraryFileName) + "." + stamp +
                                 (n == 1 ? std::string() : "-" + std::to_string(n)) + kDamagedSuffix;
        const std::string to = folder + "/" + name;
        // Never over an older kept file: each one is the reader's to look at.
        if (::link(from.c_str(), to.c_str()) == 0) {
            ::unlink(from.c_str());
            return name;
        }
        if (errno == EEXIST)
            continue;
        // A file system without hard links: a plain rename, when the name is free.
        if (!nameExists(to) && ::rename(from.c_str(), to.c_str()) == 0)
            return name;
        return {};
    }
    return {};
}

bool holdsDamagedLibrary(const std::string& folder)
{
    for (const std::string& name : fileNames(folder)) {
        if (isDamagedLibraryName(name))
            return true;
    }
    return false;
}

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

bool replaceFileAtomically(const std::string& path, std::string_view bytes, const FileWriter& writer)
{
    std::string folder;
    if (CAKPathManager::AKGetFileFolder(path, &folder) != S_OK)
        folder = ".";
    std::string temporary = path + ".tmp-XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    // The new file keeps the permissions of the one it replaces.
    struct stat st;
    const mode_t mode = ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
    bool ok = writer(fd, bytes) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    syncFolder(folder);
    return true;
}

}  // namespace books
