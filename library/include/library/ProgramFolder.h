// Where the program keeps its data: the folders "books", "picture" and
// "music", the skin and the help books.
#pragma once

#include <string>

// VERSALEO_HOME when set; else the executable's folder when it holds the
// program's data and may be written; else the user's data folder, seeded on
// first use from the installed data.
std::string programFolder();

// The same choice without VERSALEO_HOME, for a program in executableFolder.
// When the user's folder cannot be made, the installed data (read-only).
std::string programFolderBeside(const std::string& executableFolder);

// The picture folder: the program's folder + "/picture".
std::string pictureFolder();

// $XDG_DATA_HOME/versaleo, or ~/.local/share/versaleo when that variable is
// unset or not an absolute path.
std::string userDataFolder();

// Copies into the user's folder what it lacks of the installed read-only
// data and makes "books", "picture" and "music". Runs once per version (a
// marker file remembers it): a file the user changed is never overwritten,
// and one the user removed comes back only with a new version. False when
// the user's folder cannot be made.
bool seedUserFolder(const std::string& installed, const std::string& user, const std::string& version);
