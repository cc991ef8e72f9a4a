#include "AKFileOps.h"

#include "AKPathRules.h"
#include "AKStatus.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <unistd.h>
#include <vector>

namespace aidkern {
namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
    ~FileDescriptor() { reset(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }
    void reset(int fd = -1)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }
    // close(2) can report a failed write-back; the caller must see it.
    int close()
    {
        const int result = ::close(m_fd);
        m_fd = -1;
        return result;
    }

private:
    int m_fd;
};

// 0 on success, else an errno value.
int copyBytes(int in, int out)
{
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t got = ::read(in, buffer.data(), buffer.size());
        if (got == 0)
            return 0;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(out, buffer.data() + done, static_cast<size_t>(got - done));
            if (put < 0) {
                if (errno == EINTR)
                    continue;
                return errno;
            }
            done += put;
        }
    }
}

// The names in a folder, without "." and "..". False when it cannot be read.
bool listFolder(const std::string& folder, std::vector<std::string>& names)
{
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir)
        return false;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    return true;
}

long copyLink(const std::string& from, const std::string& to, bool replace)
{
    std::vector<char> target(4096);
    const ssize_t length = ::readlink(from.c_str(), target.data(), target.size() - 1);
    if (length < 0)
        return systemError(errno);
    target[static_cast<size_t>(length)] = '\0';
    if (replace) {
        struct stat st;
        if (linkStatus(to, st) && !S_ISDIR(st.st_mode))
            ::unlink(to.c_str());
    }
    if (::symlink(target.data(), to.c_str()) != 0)
        return systemError(errno);
    return S_OK;
}

// `follow` says whether a link at `from` itself is followed: only for the path
// the caller named, never for what lies below it.
long copyEntry(const std::string& from, const std::string& to, bool replaceFiles, bool follow)
{
    struct stat st;
    if (!(follow ? targetStatus(from, st) : linkStatus(from, st)))
        return systemError(errno);
    if (S_ISLNK(st.st_mode))
        return copyLink(from, to, replaceFiles);
    if (!S_ISDIR(st.st_mode))
        return copyFile(from, to, replaceFiles);
    struct stat targetSt;
    if (!targetStatus(to, targetSt)) {
        if (::mkdir(to.c_str(), st.st_mode & 07777) != 0 && errno != EEXIST)
            return systemError(errno);
    } else if (!S_ISDIR(targetSt.st_mode)) {
        return systemError(ENOTDIR);
    }
    std::vector<std::string> names;
    if (!listFolder(from, names))
        return systemError(errno);
    for (const std::string& name : names) {
        const long status = copyEntry(joinPath(from, name), joinPath(to, name), replaceFiles, false);
        if (status < 0)
            return status;
    }
    return S_OK;
}

}  // namespace

bool linkStatus(const std::string& path, struct stat& st)
{
    return !path.empty() && ::lstat(path.c_str(), &st) == 0;
}

bool targetStatus(const std::string& path, struct stat& st)
{
    return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

long copyFile(const std::string& from, const std::string& to, bool replace)
{
    FileDescriptor in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0)
        return systemError(errno);
    struct stat st;
    if (::fstat(in.get(), &st) != 0)
        return systemError(errno);
    if (S_ISDIR(st.st_mode))
        return systemError(EISDIR);
    const mode_t mode = st.st_mode & 07777;

    // Without replace the target itself is created exclusively; with replace
    // a sibling is written first and renamed over the target at the end.
    std::string written = to;
    FileDescriptor out;
    if (replace) {
        struct stat targetSt;
        if (targetStatus(to, targetSt) && S_ISDIR(targetSt.st_mode))
            return systemError(EISDIR);
        std::string pattern = to + ".akXXXXXX";
        out.reset(::mkostemp(pattern.data(), O_CLOEXEC));
        if (out.get() < 0)
            return systemError(errno);
        written = pattern;
    } else {
        out.reset(::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode | S_IWUSR));
        if (out.get() < 0)
            return systemError(errno);
    }

    int err = copyBytes(in.get(), out.get());
    if (err == 0 && ::fchmod(out.get(), mode) != 0)
        err = errno;
    if (out.close() != 0 && err == 0)
        err = errno;
    if (err == 0 && replace && ::rename(written.c_str(), to.c_str()) != 0)
        err = errno;
    if (err != 0) {
        ::unlink(written.c_str());
        return systemError(err);
    }
    return S_OK;
}

long renameNoReplace(const std::string& from, const std::string& to, int* errnoOut)
{
    int err = 0;
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) != 0) {
        err = errno;
        if (err == EINVAL || err == ENOSYS) {
            // A file system without the flag: check, then rename.
            struct stat st;
            if (linkStatus(to, st))
                err = EEXIST;
            else
                err = ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
        }
    }
    if (errnoOut)
        *errnoOut = err;
    return err == 0 ? S_OK : systemError(err);
}

bool liesWithin(const std::string& inner, const std::string& outer)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path in = fs::weakly_canonical(fs::absolute(inner, ec), ec);
    if (ec)
        return false;
    const fs::path out = fs::weakly_canonical(fs::absolute(outer, ec), ec);
    if (ec)
        return false;
    auto i = in.begin();
    for (auto o = out.begin(); o != out.end(); ++o, ++i) {
        if (o->empty())
            continue;  // the empty element a trailing separator leaves
        if (i == in.end() || *i != *o)
            return false;
    }
    return true;
}

long copyTree(const std::string& from, const std::string& to, bool replaceFiles)
{
    struct stat st;
    if (targetStatus(from, st) && S_ISDIR(st.st_mode) && liesWithin(to, from))
        return fail("The target lies inside the folder being copied.");
    return copyEntry(from, to, replaceFiles, true);
}

long deleteTree(const std::string& path)
{
    struct stat st;
    if (linkStatus(path, st) && !S_ISDIR(st.st_mode)) {
        if (::unlink(path.c_str()) != 0)
            return systemError(errno);
        return S_OK;
    }
    std::vector<std::string> names;
    listFolder(path, names);
    for (const std::string& name : names)
        deleteTree(joinPath(path, name));
    if (::rmdir(path.c_str()) != 0)
        return systemError(errno);
    return S_OK;
}

long moveTree(const std::string& from, const std::string& to, bool merge)
{
    struct stat fromSt;
    if (!linkStatus(from, fromSt))
        return systemError(errno);
    struct stat toSt;
    const bool targetExists = linkStatus(to, toSt);
    if (targetExists && !merge)
        return systemError(EEXIST);
    if (S_ISDIR(fromSt.st_mode) && liesWithin(to, from))
        return fail("The target lies inside the folder being moved.");

    if (!targetExists) {
        int err = 0;
        if (renameNoReplace(from, to, &err) == S_OK)
            return S_OK;
        if (err != EXDEV)
            return E_FAIL;
    } else if (S_ISDIR(fromSt.st_mode) && S_ISDIR(toSt.st_mode)) {
        std::vector<std::string> names;
        if (!listFolder(from, names))
            return systemError(errno);
        for (const std::string& name : names) {
            const long status = moveTree(joinPath(from, name), joinPath(to, name), true);
            if (status < 0)
                return status;
        }
        if (::rmdir(from.c_str()) != 0)
            return systemError(errno);
        return S_OK;
    } else if (!S_ISDIR(fromSt.st_mode) && !S_ISDIR(toSt.st_mode)) {
        if (::rename(from.c_str(), to.c_str()) == 0)
            return S_OK;
        if (errno != EXDEV)
            return systemError(errno);
    } else {
        return systemError(S_ISDIR(toSt.st_mode) ? EISDIR : ENOTDIR);
    }

    // Another file system: copy, then remove the original.
    const long copied = copyTree(from, to, true);
    if (copied < 0)
        return copied;
    return deleteTree(from);
}

}  // namespace aidkern

namespace aidkern {

long writeFileReplacing(const std::string& path, const std::string& content)
{
    std::string temporary = path + ".akXXXXXX";
    FileDescriptor out(::mkostemp(temporary.data(), O_CLOEXEC));
    if (out.get() < 0)
        return systemError(errno);
    int err = 0;
    for (size_t done = 0; err == 0 && done < content.size();) {
        const ssize_t put = ::write(out.get(), content.data() + done, content.size() - done);
        if (put < 0) {
            if (errno != EINTR)
                err = errno;
        } else {
            done += static_cast<size_t>(put);
        }
    }
    if (err == 0 && ::fchmod(out.get(), 0644) != 0)
        err = errno;
    if (err == 0 && ::fsync(out.get()) != 0)
        err = errno;
    if (out.close() != 0 && err == 0)
        err = errno;
    if (err == 0 && ::rename(temporary.c_str(), path.c_str()) != 0)
        err = errno;
    if (err != 0) {
        ::unlink(temporary.c_str());
        return systemError(err);
    }
    return S_OK;
}

}  // namespace aidkern
