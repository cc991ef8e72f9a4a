#include "AKXdg.h"

#include "AKPathRules.h"

#include <cstdlib>
#include <fstream>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace aidkern {
namespace {

std::optional<std::string> absoluteVariable(const char* name)
{
    const char* value = std::getenv(name);
    // Relative values are invalid in the freedesktop conventions and ignored.
    if (value && value[0] == '/')
        return std::string(value);
    return std::nullopt;
}

// The text between the quotes of a user-dirs.dirs value, "$HOME" expanded.
std::optional<std::string> parseUserDirValue(const std::string& raw, const std::string& home)
{
    if (raw.size() < 2 || raw.front() != '"' || raw.back() != '"')
        return std::nullopt;
    std::string value = raw.substr(1, raw.size() - 2);
    if (value.starts_with("$HOME"))
        value = home + value.substr(5);
    if (value.empty() || value[0] != '/')
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<std::string> homeFolder()
{
    if (auto home = absoluteVariable("HOME"))
        return home;
    if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_dir && pw->pw_dir[0] == '/')
        return std::string(pw->pw_dir);
    return std::nullopt;
}

std::optional<std::string> dataHome()
{
    if (auto value = absoluteVariable("XDG_DATA_HOME"))
        return value;
    if (auto home = homeFolder())
        return joinPath(*home, ".local/share");
    return std::nullopt;
}

std::optional<std::string> configHome()
{
    if (auto value = absoluteVariable("XDG_CONFIG_HOME"))
        return value;
    if (auto home = homeFolder())
        return joinPath(*home, ".config");
    return std::nullopt;
}

std::string firstSystemDataFolder()
{
    const char* dirs = std::getenv("XDG_DATA_DIRS");
    if (dirs && dirs[0] == '/') {
        const std::string list = dirs;
        return list.substr(0, list.find(':'));
    }
    return "/usr/local/share";
}

std::string runtimeFolder()
{
    if (auto value = absoluteVariable("XDG_RUNTIME_DIR")) {
        struct stat st;
        if (::stat(value->c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            return *value;
    }
    std::string temp = tempFolder();
    temp.pop_back();
    return temp;
}

std::string tempFolder()
{
    std::string folder = "/tmp";
    if (auto value = absoluteVariable("TMPDIR"))
        folder = *value;
    if (folder.back() != kSeparator)
        folder += kSeparator;
    return folder;
}

std::optional<std::string> userFolder(const std::string& key, const std::string& fallback)
{
    const auto home = homeFolder();
    if (!home)
        return std::nullopt;
    if (const auto config = configHome()) {
        std::ifstream in(joinPath(*config, "user-dirs.dirs"));
        const std::string wanted = "XDG_" + key + "_DIR=";
        std::string line;
        while (std::getline(in, line)) {
            if (line.starts_with(wanted)) {
                if (auto value = parseUserDirValue(line.substr(wanted.size()), *home))
                    return value;
            }
        }
    }
    return fallback.empty() ? *home : joinPath(*home, fallback);
}

}  // namespace aidkern
