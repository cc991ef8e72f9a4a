// Path strings. Works on strings only and never touches the disk. The
// separator is the platform's ('/' here, '\\' on Windows); positions are found
// from the end. Example path: /books/novel.part1.txt.
#pragma once

#include "aidkern/AKTypes.h"

class AIDKERN_API CAKPathManager {
public:
    CAKPathManager() = default;
    ~CAKPathManager() = default;
    CAKPathManager& operator=(const CAKPathManager&) = default;

    // novel.part1.txt: after the last separator; "" when the path ends in one.
    static long AKGetFileName(const std::string& path, std::string* name);
    // novel.part1: the name up to its last dot.
    static long AKGetFileTitle(const std::string& path, std::string* title);
    // txt: after the last dot of the name; S_FALSE when the name has no dot.
    static long AKGetFileExtern(const std::string& path, std::string* extension);
    // /books: before the last separator; S_FALSE when there is none, or the
    // only one is the first character.
    static long AKGetFileFolder(const std::string& path, std::string* folder);
    // /books/novel.part1: the path without the extension of its name.
    static long AKGetFilePathNoExtern(const std::string& path, std::string* stripped);
    // /books/copy.txt for the new title "copy".
    static long AKReplaceFileTile(const std::string& path, const std::string& newTitle,
                                  std::string* result);
    // 1 when child lies strictly below parent.
    static long AKCheckSubPath(const std::string& parent, const std::string& child, int* isSubPath);
    // A relative path combined with base and made canonical; an absolute path unchanged.
    static long AKGenerateAbsolutePath(const std::string& base, const std::string& path,
                                       std::string* result);
    // An absolute path relative to the folder base ("./a/x.txt", "../x.txt");
    // a relative path, or one with no relative form, unchanged.
    static long AKGenerateRelativePath(const std::string& base, const std::string& path,
                                       std::string* result);
};
