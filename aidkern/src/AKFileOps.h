// File-system primitives behind the file manager and the shell operations.
// Each returns S_OK or E_FAIL with the description set. Internal.
#pragma once

#include <string>
#include <sys/stat.h>

namespace aidkern {

// lstat/stat without the errno noise: false when the path cannot be examined.
bool linkStatus(const std::string& path, struct stat& st);
bool targetStatus(const std::string& path, struct stat& st);

// Copies a regular file. With replace, an existing target is replaced in one
// step (written beside it, then renamed over it) so a failed copy leaves it
// intact; without, an existing target is an error.
long copyFile(const std::string& from, const std::string& to, bool replace);

// rename(2) that refuses to replace an existing target.
long renameNoReplace(const std::string& from, const std::string& to, int* errnoOut = nullptr);

// Copies a file or a folder tree. Folders that exist at the target are merged
// into; files are replaced when replaceFiles, else the first existing one ends
// the copy. Links inside the tree are copied as links, never followed. A
// target inside the source is refused.
long copyTree(const std::string& from, const std::string& to, bool replaceFiles);

// Deletes a file, a link or a folder tree, links never followed. Entries that
// cannot be deleted are passed over; the result is that of removing `path`.
long deleteTree(const std::string& path);

// Moves a file or a folder tree: a rename where possible, else copy and
// delete. With merge, an existing folder target is merged into and files are
// replaced; without, an existing target is an error.
long moveTree(const std::string& from, const std::string& to, bool merge);

// true when `inner` is `outer` or lies below it, after resolving both.
bool liesWithin(const std::string& inner, const std::string& outer);

}  // namespace aidkern

namespace aidkern {

// Writes `content` to a sibling of `path`, flushes it and renames it over
// `path`: readers see the old file or the new one, never half of one.
long writeFileReplacing(const std::string& path, const std::string& content);

}  // namespace aidkern
