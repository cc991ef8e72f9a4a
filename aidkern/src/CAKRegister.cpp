#include "aidkern/CAKRegister.h"

#include "aidkern/CAKFileManager.h"
#include "aidkern/CAKPathManager.h"

#include "AKFileOps.h"
#include "AKPathRules.h"
#include "AKStatus.h"
#include "AKXdg.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <chrono>
#include <csignal>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

using namespace aidkern;

namespace {

constexpr const char* kNoServers = "COM servers cannot be registered on this system.";

std::string lowerAscii(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// "VL.Document" becomes "vl-document": safe as a file name and a MIME subtype.
std::string typeSlug(const std::string& typeName)
{
    std::string slug;
    for (const char c : lowerAscii(typeName)) {
        const bool keep = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+';
        if (keep)
            slug += c;
        else if (!slug.empty() && slug.back() != '-')
            slug += '-';
    }
    while (!slug.empty() && slug.back() == '-')
        slug.pop_back();
    return slug.empty() ? "document" : slug;
}

std::string xmlEscaped(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default: out += c;
        }
    }
    return out;
}

// A value on one line of a desktop entry.
std::string entryValue(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\n' || c == '\r')
            out += ' ';
        else
            out += c;
    }
    return out;
}

// One argument of a desktop entry's Exec key: quoted where the desktop's rules
// reserve a character, then escaped once more as a desktop entry string.
std::string execArgument(const std::string& argument)
{
    const bool needsQuotes = argument.empty() ||
                             argument.find_first_of(" \t\n\"'\\><~|&;$*?#()`") != std::string::npos;
    std::string quoted;
    if (needsQuotes)
        quoted += '"';
    for (const char c : entryValue(argument)) {
        if (needsQuotes && (c == '"' || c == '`' || c == '$' || c == '\\'))
            quoted += '\\';
        if (c == '%')
            quoted += '%';
        quoted += c;
    }
    if (needsQuotes)
        quoted += '"';
    std::string escaped;
    for (const char c : quoted) {
        if (c == '\\')
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}

bool isPictureFile(const std::string& path)
{
    std::string extension;
    if (CAKPathManager::AKGetFileExtern(path, &extension) != S_OK)
        return false;
    extension = lowerAscii(extension);
    return extension == "png" || extension == "svg" || extension == "xpm";
}

// Sets `key=value` in `section` of an INI-like file's text, keeping the rest.
std::string withKeySet(const std::string& text, const std::string& section, const std::string& key,
                       const std::string& value)
{
    std::istringstream in(text);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);

    const std::string header = "[" + section + "]";
    const std::string entry = key + "=" + value;
    const auto start = std::find(lines.begin(), lines.end(), header);
    if (start == lines.end()) {
        if (!lines.empty() && !lines.back().empty())
            lines.push_back("");
        lines.push_back(header);
        lines.push_back(entry);
    } else {
        auto line = start + 1;
        while (line != lines.end() && !line->starts_with("[") && !line->starts_with(key + "="))
            ++line;
        if (line != lines.end() && line->starts_with(key + "="))
            *line = entry;
        else
            lines.insert(line, entry);
    }
    std::string out;
    for (const std::string& line : lines)
        out += line + "\n";
    return out;
}

std::string readWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs a desktop tool on one folder when it is installed; a missing or
// failing tool only leaves a cache stale, so its result is not examined.
void refreshCache(const char* tool, const std::string& folder)
{
    std::vector<char*> argv{const_cast<char*>(tool), const_cast<char*>(folder.c_str()), nullptr};
    pid_t child = 0;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const int spawned = ::posix_spawnp(&child, tool, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return;
    using namespace std::chrono;
    const auto deadline = steady_clock::now() + seconds(10);
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            return;
        }
        std::this_thread::sleep_for(milliseconds(20));
    }
}

}  // namespace

long CAKRegister::AKRegisterServer(const std::string& libraryPath)
{
    if (libraryPath.empty())
        return innerError();
    return fail(kNoServers);
}

long CAKRegister::AKUnRegisterServer(const std::string& libraryPath)
{
    if (libraryPath.empty())
        return innerError();
    return fail(kNoServers);
}

long CAKRegister::AKRegisterFileRelation(const std::string& extensionKey, const std::string& typeName,
                                         const std::string& iconFile, int /*iconIndex*/,
                                         const std::string& command)
{
    if (extensionKey.empty() || typeName.empty() || iconFile.empty() || command.empty())
        return innerError();
    const auto data = dataHome();
    const auto config = configHome();
    if (!data || !config)
        return fail("The user's home folder is not known.");

    const std::string extension = extensionKey[0] == '.' ? extensionKey.substr(1) : extensionKey;
    if (extension.empty() || extension.find_first_of("/\\*?[]") != std::string::npos)
        return innerError();
    const std::string slug = typeSlug(typeName);
    const std::string mimeType = "application/x-" + slug;

    // The type: a shared-mime-info package naming the extension.
    const std::string packages = joinPath(*data, "mime/packages");
    if (const long status = CAKFileManager::AKCascadeCreateDirectory(packages); status < 0)
        return status;
    const std::string mimeXml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
        "  <mime-type type=\"" + xmlEscaped(mimeType) + "\">\n"
        "    <comment>" + xmlEscaped(typeName) + "</comment>\n"
        "    <glob pattern=\"*." + xmlEscaped(lowerAscii(extension)) + "\"/>\n"
        "  </mime-type>\n"
        "</mime-info>\n";
    if (writeFileReplacing(joinPath(packages, slug + ".xml"), mimeXml) < 0)
        return E_FAIL;

    // The icon and the open command: a desktop entry for the type.
    std::string programName;
    CAKPathManager::AKGetFileTitle(command, &programName);
    std::string icon;
    if (isPictureFile(iconFile))
        icon = iconFile;
    else
        CAKPathManager::AKGetFileTitle(iconFile, &icon);
    const std::string applications = joinPath(*data, "applications");
    if (const long status = CAKFileManager::AKCascadeCreateDirectory(applications); status < 0)
        return status;
    const std::string desktopName = slug + ".desktop";
    const std::string entry = "[Desktop Entry]\n"
                              "Type=Application\n"
                              "Name=" + entryValue(programName) + "\n"
                              "Comment=" + entryValue(typeName) + "\n"
                              "Exec=" + execArgument(command) + " %f\n"
                              "Icon=" + entryValue(icon) + "\n"
                              "MimeType=" + mimeType + ";\n"
                              "NoDisplay=true\n"
                              "Terminal=false\n";
    if (writeFileReplacing(joinPath(applications, desktopName), entry) < 0)
        return E_FAIL;

    // The entry opens the type by default.
    if (const long status = CAKFileManager::AKCascadeCreateDirectory(*config); status < 0)
        return status;
    const std::string mimeApps = joinPath(*config, "mimeapps.list");
    const std::string associations =
        withKeySet(readWholeFile(mimeApps), "Default Applications", mimeType, desktopName);
    if (writeFileReplacing(mimeApps, associations) < 0)
        return E_FAIL;

    refreshCache("update-mime-database", joinPath(*data, "mime"));
    refreshCache("update-desktop-database", applications);
    return succeed();
}
