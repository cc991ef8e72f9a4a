// The decisions of start-up and of the frame that depend on nothing but
// their inputs: the interface language, the command line, the title, the
// work area of the own maximise, and the buffer of dropped files.
#pragma once

#include "book/WinTypes.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// 0 English, 1 Chinese. A stored 0 or 1 decides; anything else asks the
// system's locale, Chinese only for the People's Republic ("zh_CN"). Chinese
// needs the Chinese resource module beside the program, else English.
int decideLanguage(int stored, std::string_view systemLocale, bool chineseModuleExists);

// The command line: the last plain parameter is the file to open; options
// (starting with "-") are not files.
class CVersaleoCommandLineInfo {
public:
    void parse(const std::vector<std::string>& arguments);
    const std::string& fileName() const { return m_fileName; }

private:
    std::string m_fileName;
};

// The extensions a book can be opened from, ignoring case.
bool isOpenableExtension(std::string_view extension);

// "name - Versaleo", the name cut to 33 bytes at a character boundary and
// followed by "..." when longer.
std::string frameTitle(std::string_view name);

// The frame's rectangle when it maximises itself: the screen less the task
// bar (on the side it lies on) and a 5-pixel gap; the whole screen without one.
Rect ownMaximiseArea(const Rect& screen, const std::optional<Rect>& taskBar);

// Which edges of the style window a point lies on, for sizing: the 5-pixel
// left and right strips, the 4-pixel top and the 3-pixel bottom strip; none
// while sizing is not allowed (own-maximised, full window).
enum BorderEdge { kEdgeLeft = 1, kEdgeTop = 2, kEdgeRight = 4, kEdgeBottom = 8 };
int borderHit(const Rect& window, Point p, bool sizingAllowed);

// The file-dialog selection for dropped files: the first file's folder, then
// every file's name, each ending in a NUL; files without a folder are passed
// over. Empty when nothing remains. firstName is where the first name starts.
struct DropSelection {
    std::string buffer;
    size_t firstName = 0;
};
DropSelection dropSelection(const std::vector<std::string>& paths);
