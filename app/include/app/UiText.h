// The texts of the interface by string-table id, in English or, with the
// Chinese resource module (Idiomres) beside the program, in Chinese.
#pragma once

#include <QString>

#include <string>

// What the Chinese resource module exports.
struct IdiomresString {
    int id;
    const char* text;  // UTF-8
};
using IdiomresStringsFunction = const IdiomresString* (*)(int* count);

namespace ui {

// Ids outside the string table: menu labels and button captions by command id.
inline constexpr int kMenuLabel = 10000;
inline constexpr int kButtonCaption = 20000;
// Dialog texts by control id: the control's own text (a check box's, a
// frame's title, a button's tooltip) and the label in front of it.
inline constexpr int kControlText = 30000;
inline constexpr int kControlLabel = 31000;

// Chooses the interface language; Chinese loads the module from the
// program's folder and falls back to English when it cannot. Returns the
// language in force.
int setLanguage(int language, const std::string& programFolder);
int language();

// The text of the id in the current language; the English one when the
// module lacks it; empty for an unknown id.
QString text(int id);
// text(id), or the English given when the table has none (menu labels and
// button captions by command id).
QString textOr(int id, const char* english);
// text(id) with "%s" or "%d" replaced by the argument.
QString text(int id, const QString& argument);

// The module's file name beside the program.
const char* moduleFileName();

}  // namespace ui
