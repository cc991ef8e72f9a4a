#include "AKTrash.h"

#include "aidkern/CAKFileManager.h"
#include "aidkern/CAKPathManager.h"

#include "AKFileOps.h"
#include "AKPathRules.h"
#include "AKStatus.h"
#include "AKXdg.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace aidkern {
namespace {

// Percent-encodes everything but the unreserved characters and '/'.
std::string encodePath(const std::string& path)
{
    static const char* const kHex = "0123456789ABCDEF";
    std::string encoded;
    for (const unsigned char c : path) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '-' || c == '_' || c == '.' || c == '~' || c == '/';
        if (plain) {
            encoded += static_cast<char>(c);
        } else {
            encoded += '%';
            encoded += kHex[c >> 4];
            encoded += kHex[c & 15];
        }
    }
    return encoded;
}

std::string deletionDate()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    return text;
}

bool writeAll(int fd, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t put = ::write(fd, text.data() + done, text.size() - done);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<size_t>(put);
    }
    return true;
}

}  // namespace

long moveToTrash(const std::string& path)
{
    const auto data = dataHome();
    if (!data)
        return fail("The user's home folder is not known.");
    const std::string trash = joinPath(*data, "Trash");
    const std::string files = joinPath(trash, "files");
    const std::string info = joinPath(trash, "info");
    for (const std::string& folder : {files, info}) {
        if (const long status = CAKFileManager::AKCascadeCreateDirectory(folder); status < 0)
            return status;
    }

    std::error_code ec;
    const std::string absolute = std::filesystem::absolute(path, ec).lexically_normal().string();
    if (ec)
        return systemError(ec.value());
    std::string name;
    CAKPathManager::AKGetFileName(absolute, &name);
    if (name.empty())
        return fail(kInnerError);

    // The .trashinfo file is created exclusively first: it reserves the name.
    for (int attempt = 1; attempt < 10000; ++attempt) {
        const std::string candidate = attempt == 1 ? name : name + "." + std::to_string(attempt);
        const std::string infoPath = joinPath(info, candidate + ".trashinfo");
        const int fd = ::open(infoPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return systemError(errno);
        }
        const std::string record =
            "[Trash Info]\nPath=" + encodePath(absolute) + "\nDeletionDate=" + deletionDate() + "\n";
        const bool written = writeAll(fd, record);
        const bool closed = ::close(fd) == 0;
        if (!written || !closed) {
            const int err = errno;
            ::unlink(infoPath.c_str());
            return systemError(err);
        }
        const std::string target = joinPath(files, candidate);
        struct stat st;
        if (linkStatus(target, st)) {
            ::unlink(infoPath.c_str());
            continue;
        }
        if (moveTree(absolute, target, false) < 0) {
            ::unlink(infoPath.c_str());
            return E_FAIL;
        }
        return S_OK;
    }
    return systemError(EEXIST);
}

}  // namespace aidkern
