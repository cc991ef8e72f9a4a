// Files and folders on disk. Recursive operations never follow a symbolic link
// found inside the tree they walk: links are copied or removed as links.
#pragma once

#include "aidkern/AKTypes.h"

class AIDKERN_API CAKFileManager {
public:
    CAKFileManager() = default;
    ~CAKFileManager() = default;
    CAKFileManager& operator=(const CAKFileManager&) = default;

    // Existence of a file, folder or link; wildcards count when anything matches.
    static long AKIsExist(const std::string& path, int* exists);
    static long AKIsDirectory(const std::string& path, int* isDirectory);
    static long AKIsFile(const std::string& path, int* isFile);
    // Read-only means the owner may not write it.
    static long AKIsReadOnly(const std::string& path, int* isReadOnly);
    // Size in bytes; 0 for a folder.
    static long AKGetFileSize(const std::string& path, long* size);
    // Last write time as 100-nanosecond intervals since 1601-01-01 UTC.
    static long AKGetFileLastWriteTime(const std::string& path, int64_t* time);
    // S_FALSE, changing nothing, when the path cannot be examined.
    static long AKClearReadOnlyAttr(const std::string& path);
    // Copies path to path + ".bak", replacing an older (even read-only) backup.
    static long AKBackupFile(const std::string& path);
    // Fails when the target exists. Names that are equal do nothing.
    static long AKRenameFile(const std::string& from, const std::string& to);
    // Fails when the target exists.
    static long AKCopyFile(const std::string& from, const std::string& to);
    // Replaces the target, even a read-only one.
    static long AKCoverFile(const std::string& from, const std::string& to);
    // S_OK when there is nothing to delete.
    static long AKDeleteFile(const std::string& path);
    // The name of a file that does not exist yet, in folder (created when
    // missing) or in the system temporary folder when folder is empty.
    // withoutExtension == 1 drops the ".tmp" extension.
    static long AKGetTempPath(const std::string& folder, int withoutExtension, std::string* name);
    // A file, or a folder with everything beneath it. S_FALSE when the source is missing.
    static long AKCopyPathTo(const std::string& from, const std::string& to);
    // A file, or a folder with everything beneath it.
    static long AKDeletePath(const std::string& path);
    // Fails when the target exists; S_FALSE when the source is missing.
    static long AKMovePathTo(const std::string& from, const std::string& to);
    // A folder and every missing folder above it.
    static long AKCascadeCreateDirectory(const std::string& path);

    // The desktop's file operations: silent, never asking. Delete moves to
    // the user's trash unless permanently is non-zero. Move and copy into an
    // existing folder target merge with it, replacing files.
    static long AKSHDeleteFile(const std::string& path, int permanently);
    static long AKSHMoveFile(const std::string& from, const std::string& to);
    static long AKSHCopyFile(const std::string& from, const std::string& to);
    static long AKSHRenameFile(const std::string& from, const std::string& to);
};
