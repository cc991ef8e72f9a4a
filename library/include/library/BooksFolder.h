// The books folder: the library's own copies of documents ("book<n>.<ext>"),
// the library file beside them, the clean-up of everything else, and the
// atomic replacement of a file. File-system names are UTF-8 here.
#pragma once

#include <ctime>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace books {

inline constexpr const char* kLibraryFileName = "library.xml";

// The program's folder + "/books", created when it does not exist.
std::string booksFolder();
// The folder + "/library.xml".
std::string libraryFilePath(const std::string& folder);

// "book<n>.<extension>" with the smallest n >= 1 whose name is free in the
// folder, in any letter case; an empty extension gives "book<n>.".
std::string freeCopyName(const std::string& folder, std::string_view extension);
// The name of an entry's copy as it is in the folder: the name itself, else
// a file of that name in another case; empty when there is no such file.
std::string copyOnDisk(const std::string& folder, const std::string& name);
// The extension a copy of the source takes: the text after the last dot of
// its name, or nothing; nothing too when that text could not be written into
// the library file (not UTF-8, control characters, absurd length).
std::string copyExtension(const std::string& sourcePath);
// Copies a regular file into the folder under the first free name; the name
// (without folder), or empty when the copy failed.
std::string makeBookCopy(const std::string& sourcePath, const std::string& folder);

// Deletes every entry of the folder that is not a folder and whose name
// matches, ignoring case, none of the names kept. Returns how many went.
int cleanFolder(const std::string& folder, const std::vector<std::string>& keep);

// A damaged library file is renamed "library.xml.<date>-<time>.damaged" in
// its folder; the new name (without folder), or empty when it could not be
// moved. While such a file is in the folder the clean-up is not run, so the
// copies it names stay until the reader has dealt with it.
std::string keepDamagedLibrary(const std::string& folder, std::time_t now);
bool holdsDamagedLibrary(const std::string& folder);

// How bytes reach an open file; false on failure. Tests put in one that fails.
using FileWriter = std::function<bool(int fd, std::string_view bytes)>;
bool writeAll(int fd, std::string_view bytes);

// Writes a sibling temporary file, flushes it to the disk and renames it over
// the path: the path holds either its old bytes or the new ones, never a
// mixture. The temporary file is removed when anything fails.
bool replaceFileAtomically(const std::string& path, std::string_view bytes, const FileWriter& writer = writeAll);

}  // namespace books
