#include "library/ProgramFolder.h"

#include "aidkern/CAKFileManager.h"
#include "aidkern/CAKPathManager.h"

#include <cstdlib>
#include <unistd.h>

namespace {

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

}  // namespace

std::string programFolder()
{
    if (const char* home = std::getenv("VERSALEO_HOME"); home && *home)
        return home;
    const std::string beside = executableFolder();
    if (isFolder(beside + "/picture") && ::access(beside.c_str(), W_OK) == 0)
        return beside;
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* userHome = std::getenv("HOME");
    const std::string user = data && *data == '/' ? std::string(data) + "/versaleo"
                                                  : std::string(userHome ? userHome : "/tmp") + "/.local/share/versaleo";
    if (!isFolder(user)) {
        // The installed data is read-only: the user's copy is the one used.
        const std::string installed = VERSALEO_INSTALLED_DATA;
        if (isFolder(installed))
            CAKFileManager::AKCopyPathTo(installed, user);
        else
            CAKFileManager::AKCascadeCreateDirectory(user);
    }
    return user;
}

std::string pictureFolder()
{
    return programFolder() + "/picture";
}
