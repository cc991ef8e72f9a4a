#include "aidkern/CAKProcessUniqueFlag.h"

#include "AKPathRules.h"
#include "AKXdg.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// A file name made from the flag's name; separators would name folders.
std::string lockFileName(const std::string& name)
{
    std::string safe = name;
    for (char& c : safe) {
        if (c == '/' || c == '\\' || c == '\0')
            c = '_';
    }
    return "aidkern-" + std::to_string(::geteuid()) + "-" + safe + ".lock";
}

}  // namespace

CAKProcessUniqueFlag::CAKProcessUniqueFlag(const std::string& name)
{
    // An unnamed flag, like an unnamed event, is never shared.
    if (name.empty())
        return;
    const std::string path = aidkern::joinPath(aidkern::runtimeFolder(), lockFileName(name));
    m_lockFd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (m_lockFd < 0)
        return;  // Nowhere to keep the flag: run rather than refuse to start.
    // flock belongs to the open file description: a second flag of the same
    // name conflicts even inside this process, as a second event would.
    if (::flock(m_lockFd, LOCK_EX | LOCK_NB) != 0) {
        const bool heldElsewhere = errno == EWOULDBLOCK;
        ::close(m_lockFd);
        m_lockFd = -1;
        if (heldElsewhere)
            std::exit(0);
    }
}

CAKProcessUniqueFlag::~CAKProcessUniqueFlag()
{
    if (m_lockFd >= 0)
        ::close(m_lockFd);
    m_lockFd = -1;
}
