#include "aidkern/CAKPathManager.h"

#include "AKPathRules.h"
#include "AKStatus.h"

#include <filesystem>

namespace aidkern {

std::string comparableName(std::string_view path)
{
    std::string result(path);
    if constexpr (kNamesIgnoreCase) {
        for (char& c : result) {
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return result;
}

std::string parentFolder(const std::string& path)
{
    const size_t sep = path.rfind(kSeparator);
    if (sep == std::string::npos)
        return ".";
    if (sep == 0)
        return std::string(1, kSeparator);
    return path.substr(0, sep);
}

std::string joinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    if (folder.back() == kSeparator)
        return folder + name;
    return folder + kSeparator + name;
}

namespace {

constexpr size_t npos = std::string::npos;

// Where the name part of a path starts.
size_t nameStart(const std::string& path)
{
    const size_t sep = path.rfind(kSeparator);
    return sep == npos ? 0 : sep + 1;
}

// The last dot of the name part, or npos.
size_t extensionDot(const std::string& path)
{
    const size_t dot = path.rfind('.');
    if (dot == npos || dot < nameStart(path))
        return npos;
    return dot;
}

bool isAbsolute(const std::string& path)
{
#if defined(_WIN32)
    return path.size() >= 2 && (path[1] == ':' || (path[0] == '\\' && path[1] == '\\'));
#else
    return !path.empty() && path[0] == '/';
#endif
}

// Lexically canonical: "." and ".." resolved, without touching the disk. A
// trailing separator survives only where the input had one.
std::string canonical(const std::string& path)
{
    std::string result = std::filesystem::path(path).lexically_normal().string();
    const bool inputEnds = !path.empty() && path.back() == kSeparator;
    while (!inputEnds && result.size() > 1 && result.back() == kSeparator)
        result.pop_back();
    return result;
}

}  // namespace
}  // namespace aidkern

using namespace aidkern;

long CAKPathManager::AKGetFileName(const std::string& path, std::string* name)
{
    if (!name)
        return innerError();
    name->clear();
    if (path.empty())
        return innerError();
    *name = path.substr(nameStart(path));
    return succeed();
}

long CAKPathManager::AKGetFileTitle(const std::string& path, std::string* title)
{
    if (!title)
        return innerError();
    title->clear();
    if (path.empty())
        return innerError();
    const size_t start = nameStart(path);
    const size_t dot = extensionDot(path);
    *title = dot == npos ? path.substr(start) : path.substr(start, dot - start);
    return succeed();
}

long CAKPathManager::AKGetFileExtern(const std::string& path, std::string* extension)
{
    if (!extension)
        return innerError();
    extension->clear();
    if (path.empty())
        return innerError();
    const size_t dot = extensionDot(path);
    if (dot == npos)
        return succeed(S_FALSE);
    *extension = path.substr(dot + 1);
    return succeed();
}

long CAKPathManager::AKGetFileFolder(const std::string& path, std::string* folder)
{
    if (!folder)
        return innerError();
    folder->clear();
    if (path.empty())
        return innerError();
    const size_t sep = path.rfind(kSeparator);
    if (sep == npos || sep == 0)
        return succeed(S_FALSE);
    *folder = path.substr(0, sep);
    return succeed();
}

long CAKPathManager::AKGetFilePathNoExtern(const std::string& path, std::string* stripped)
{
    if (!stripped)
        return innerError();
    stripped->clear();
    if (path.empty())
        return innerError();
    const size_t dot = extensionDot(path);
    *stripped = dot == npos ? path : path.substr(0, dot);
    return succeed();
}

long CAKPathManager::AKReplaceFileTile(const std::string& path, const std::string& newTitle,
                                       std::string* result)
{
    if (!result)
        return innerError();
    result->clear();
    if (path.empty())
        return innerError();
    // Everything up to the name stays, the root included: "/novel.txt" with
    // the title "x" is "/x.txt", not a relative "x.txt".
    std::string replaced = path.substr(0, nameStart(path)) + newTitle;
    const size_t dot = extensionDot(path);
    if (dot != npos)
        replaced += path.substr(dot);
    *result = std::move(replaced);
    return succeed();
}

long CAKPathManager::AKCheckSubPath(const std::string& parent, const std::string& child,
                                    int* isSubPath)
{
    if (!isSubPath)
        return innerError();
    *isSubPath = 0;
    std::string folder = comparableName(parent);
    const std::string below = comparableName(child);
    if (folder.size() < below.size()) {
        if (folder.empty() || folder.back() != kSeparator)
            folder += kSeparator;
        *isSubPath = below.starts_with(folder) ? 1 : 0;
    }
    return succeed();
}

long CAKPathManager::AKGenerateAbsolutePath(const std::string& base, const std::string& path,
                                            std::string* result)
{
    if (!result)
        return innerError();
    result->clear();
    if (isAbsolute(path)) {
        *result = path;
    } else if (path.empty()) {
        *result = canonical(base);
    } else {
        *result = canonical(joinPath(base, path));
    }
    return succeed();
}

long CAKPathManager::AKGenerateRelativePath(const std::string& base, const std::string& path,
                                            std::string* result)
{
    if (!result)
        return innerError();
    result->clear();
    *result = path;
    if (isAbsolute(path) && isAbsolute(base)) {
        namespace fs = std::filesystem;
        const fs::path relative =
            fs::path(canonical(path)).lexically_relative(fs::path(canonical(base)));
        if (!relative.empty()) {
            std::string text = relative.string();
            if (text != "." && !text.starts_with(".."))
                text = std::string(".") + kSeparator + text;
            *result = std::move(text);
        }
    }
    return succeed();
}
