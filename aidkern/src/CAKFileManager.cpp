#include "aidkern/CAKFileManager.h"

#include "aidkern/CAKPathManager.h"

#include "AKFileOps.h"
#include "AKPathRules.h"
#include "AKStatus.h"
#include "AKTrash.h"
#include "AKXdg.h"

#include <cerrno>
#include <cstdlib>
#include <glob.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace aidkern;

namespace {

bool hasWildcards(const std::string& path)
{
    return path.find_first_of("*?[") != std::string::npos;
}

bool anythingMatches(const std::string& pattern)
{
    glob_t found{};
    const int result = ::glob(pattern.c_str(), GLOB_NOSORT, nullptr, &found);
    const bool any = result == 0 && found.gl_pathc > 0;
    ::globfree(&found);
    return any;
}

bool exists(const std::string& path)
{
    struct stat st;
    return linkStatus(path, st);
}

// Answers an attribute query, or "File or folder doesn't exist.".
template <typename Test>
long attributeQuery(const std::string& path, int* answer, Test test)
{
    if (!answer)
        return innerError();
    *answer = 0;
    struct stat st;
    if (!targetStatus(path, st))
        return fail(kNotExist);
    *answer = test(st) ? 1 : 0;
    return succeed();
}

// Windows counts 100-nanosecond intervals from 1601; Unix seconds from 1970.
constexpr int64_t kSecondsFrom1601To1970 = 11644473600LL;

}  // namespace

long CAKFileManager::AKIsExist(const std::string& path, int* exists)
{
    if (!exists)
        return innerError();
    *exists = 0;
#if defined(_WIN32)
    // A drive letter and colon, with or without the root, counts as there.
    if ((path.size() == 2 && path[1] == ':') || (path.size() == 3 && path[1] == ':' && path[2] == '\\')) {
        *exists = 1;
        return succeed();
    }
#endif
    if (::exists(path) || (hasWildcards(path) && anythingMatches(path)))
        *exists = 1;
    return succeed();
}

long CAKFileManager::AKIsDirectory(const std::string& path, int* isDirectory)
{
    return attributeQuery(path, isDirectory, [](const struct stat& st) { return S_ISDIR(st.st_mode); });
}

long CAKFileManager::AKIsFile(const std::string& path, int* isFile)
{
    return attributeQuery(path, isFile, [](const struct stat& st) { return !S_ISDIR(st.st_mode); });
}

long CAKFileManager::AKIsReadOnly(const std::string& path, int* isReadOnly)
{
    return attributeQuery(path, isReadOnly,
                          [](const struct stat& st) { return (st.st_mode & S_IWUSR) == 0; });
}

long CAKFileManager::AKGetFileSize(const std::string& path, long* size)
{
    if (!size)
        return innerError();
    *size = 0;
    struct stat st;
    if (!targetStatus(path, st))
        return fail(kNotExist);
    *size = S_ISDIR(st.st_mode) ? 0 : static_cast<long>(st.st_size);
    return succeed();
}

long CAKFileManager::AKGetFileLastWriteTime(const std::string& path, int64_t* time)
{
    if (!time)
        return innerError();
    *time = 0;
    struct stat st;
    if (!targetStatus(path, st))
        return fail(kNotExist);
    *time = (static_cast<int64_t>(st.st_mtim.tv_sec) + kSecondsFrom1601To1970) * 10'000'000LL +
            st.st_mtim.tv_nsec / 100;
    return succeed();
}

long CAKFileManager::AKClearReadOnlyAttr(const std::string& path)
{
    struct stat st;
    if (!targetStatus(path, st))
        return S_FALSE;
    if ((st.st_mode & S_IWUSR) == 0 && ::chmod(path.c_str(), (st.st_mode & 07777) | S_IWUSR) != 0)
        return systemError(errno);
    return succeed();
}

long CAKFileManager::AKBackupFile(const std::string& path)
{
    if (!::exists(path))
        return succeed();
    const std::string backup = path + ".bak";
    AKClearReadOnlyAttr(backup);
    if (copyFile(path, backup, true) < 0)
        return E_FAIL;
    return succeed();
}

long CAKFileManager::AKRenameFile(const std::string& from, const std::string& to)
{
    if (comparableName(from) == comparableName(to))
        return succeed();
    if (renameNoReplace(from, to) < 0)
        return E_FAIL;
    return succeed();
}

long CAKFileManager::AKCopyFile(const std::string& from, const std::string& to)
{
    if (copyFile(from, to, false) < 0)
        return E_FAIL;
    return succeed();
}

long CAKFileManager::AKCoverFile(const std::string& from, const std::string& to)
{
    AKClearReadOnlyAttr(to);
    if (copyFile(from, to, true) < 0)
        return E_FAIL;
    return succeed();
}

long CAKFileManager::AKDeleteFile(const std::string& path)
{
    if (!::exists(path))
        return succeed();
    if (::unlink(path.c_str()) != 0)
        return systemError(errno);
    return succeed();
}

long CAKFileManager::AKGetTempPath(const std::string& folder, int withoutExtension, std::string* name)
{
    if (!name)
        return innerError();
    name->clear();
    std::string place;
    if (!folder.empty()) {
        if (!::exists(folder))
            AKCascadeCreateDirectory(folder);
        place = folder + kSeparator;
    } else {
        place = tempFolder();
    }
    // The system makes the file to reserve a unique name; only the name is kept.
    std::string pattern = place + "XXXXXX.tmp";
    const int fd = ::mkstemps(pattern.data(), 4);
    if (fd < 0)
        return systemError(errno);
    ::close(fd);
    ::unlink(pattern.c_str());
    if (withoutExtension == 1)
        return CAKPathManager::AKGetFilePathNoExtern(pattern, name);
    *name = std::move(pattern);
    return succeed();
}

long CAKFileManager::AKCopyPathTo(const std::string& from, const std::string& to)
{
    struct stat st;
    if (!targetStatus(from, st))
        return succeed(S_FALSE);
    if (!S_ISDIR(st.st_mode))
        return AKCopyFile(from, to);
    if (liesWithin(to, from))
        return fail("The target lies inside the folder being copied.");
    if (const long created = AKCascadeCreateDirectory(to); created < 0)
        return created;
    if (copyTree(from, to, false) < 0)
        return E_FAIL;
    return succeed();
}

long CAKFileManager::AKDeletePath(const std::string& path)
{
    struct stat st;
    if (linkStatus(path, st) && !S_ISDIR(st.st_mode))
        return AKDeleteFile(path);
    if (!path.empty() && liesWithin(std::string(1, kSeparator), path))
        return fail("The root folder is never deleted.");
    if (deleteTree(path) < 0)
        return E_FAIL;
    return succeed();
}

long CAKFileManager::AKMovePathTo(const std::string& from, const std::string& to)
{
    if (::exists(to))
        return fail(kTargetExists);
    if (!::exists(from))
        return succeed(S_FALSE);
    if (moveTree(from, to, false) < 0)
        return E_FAIL;
    return succeed();
}

long CAKFileManager::AKCascadeCreateDirectory(const std::string& path)
{
    if (::exists(path))
        return succeed();
    for (size_t sep = path.find(kSeparator); sep != std::string::npos && sep + 1 < path.size();
         sep = path.find(kSeparator, sep + 1)) {
        // An empty prefix is the root of an absolute path, which is always there.
        const std::string prefix = path.substr(0, sep);
        struct stat st;
        if (prefix.empty() || targetStatus(prefix, st))
            continue;
        if (::mkdir(prefix.c_str(), 0777) != 0 && errno != EEXIST)
            return systemError(errno);
    }
    if (::mkdir(path.c_str(), 0777) != 0)
        return systemError(errno);
    return succeed();
}

namespace {

// Where a move or copy really goes: into the folder that holds an existing
// folder target, so that the item lands (and merges) at the target's place.
std::string shellTarget(const std::string& to)
{
    struct stat st;
    if (targetStatus(to, st) && S_ISDIR(st.st_mode))
        return parentFolder(to);
    return to;
}

// The shell's rule for one source name and one target name: into an existing
// folder target, else as the target itself, making missing folders above it.
std::string shellDestination(const std::string& from, const std::string& target)
{
    struct stat st;
    if (targetStatus(target, st) && S_ISDIR(st.st_mode)) {
        std::string name;
        CAKPathManager::AKGetFileName(from, &name);
        return joinPath(target, name);
    }
    const std::string parent = parentFolder(target);
    if (!::exists(parent))
        CAKFileManager::AKCascadeCreateDirectory(parent);
    return target;
}

}  // namespace

long CAKFileManager::AKSHDeleteFile(const std::string& path, int permanently)
{
    if (path.empty())
        return innerError();
    if (!::exists(path))
        return systemError(ENOENT);
    const long status = permanently ? AKDeletePath(path) : moveToTrash(path);
    return status < 0 ? status : succeed();
}

long CAKFileManager::AKSHMoveFile(const std::string& from, const std::string& to)
{
    if (from.empty() || to.empty())
        return innerError();
    if (!::exists(from))
        return systemError(ENOENT);
    const std::string destination = shellDestination(from, shellTarget(to));
    if (comparableName(destination) == comparableName(from))
        return succeed();
    return moveTree(from, destination, true) < 0 ? E_FAIL : succeed();
}

long CAKFileManager::AKSHCopyFile(const std::string& from, const std::string& to)
{
    if (from.empty() || to.empty())
        return innerError();
    if (!::exists(from))
        return systemError(ENOENT);
    const std::string destination = shellDestination(from, shellTarget(to));
    if (comparableName(destination) == comparableName(from))
        return fail("The source and the target are the same.");
    return copyTree(from, destination, true) < 0 ? E_FAIL : succeed();
}

long CAKFileManager::AKSHRenameFile(const std::string& from, const std::string& to)
{
    if (from.empty() || to.empty())
        return innerError();
    return renameNoReplace(from, to) < 0 ? E_FAIL : succeed();
}
