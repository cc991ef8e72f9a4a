// Where the program keeps its data: the folders "books", "picture" and
// "music", the skin and the help books.
#pragma once

#include <string>

// VERSALEO_HOME when set; else the executable's folder when it holds the
// program's data and may be written; else the user's data folder
// ($XDG_DATA_HOME/versaleo), filled on first use from the installed data.
std::string programFolder();

// The picture folder: the program's folder + "/picture".
std::string pictureFolder();
