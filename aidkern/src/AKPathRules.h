// The platform's path conventions, in one place. Internal to the library.
#pragma once

#include <string>
#include <string_view>

namespace aidkern {

#if defined(_WIN32)
inline constexpr char kSeparator = '\\';
inline constexpr bool kNamesIgnoreCase = true;
#else
inline constexpr char kSeparator = '/';
// POSIX file systems tell "A.txt" from "a.txt": comparing them as equal would
// skip real renames and call unrelated folders parents of each other.
inline constexpr bool kNamesIgnoreCase = false;
#endif

// The path as it is compared: lower-cased (ASCII) where names ignore case.
std::string comparableName(std::string_view path);

// The folder holding `path`: everything before the last separator, the root
// when that is the only separator, "." when there is none.
std::string parentFolder(const std::string& path);

// `folder` + separator + `name`, with no doubled separator.
std::string joinPath(const std::string& folder, const std::string& name);

}  // namespace aidkern
