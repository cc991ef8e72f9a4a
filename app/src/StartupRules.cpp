#include "app/StartupRules.h"

#include "book/Dbcs.h"
#include "book/Importers.h"

#include <array>

int decideLanguage(int stored, std::string_view systemLocale, bool chineseModuleExists)
{
    int language = stored;
    if (language != 0 && language != 1)
        language = systemLocale.starts_with("zh_CN") ? 1 : 0;
    if (language == 1 && !chineseModuleExists)
        language = 0;
    return language;
}

void CVersaleoCommandLineInfo::parse(const std::vector<std::string>& arguments)
{
    for (const std::string& argument : arguments) {
        if (!argument.empty() && argument[0] != '-')
            m_fileName = argument;
    }
}

bool isOpenableExtension(std::string_view extension)
{
    return isStandardExtension(extension);
}

std::string frameTitle(std::string_view name)
{
    constexpr size_t kLimit = 33;
    if (name.size() <= kLimit)
        return std::string(name) + " - Versaleo";
    return dbcs::cutCopy(name, kLimit) + "... - Versaleo";
}

Rect ownMaximiseArea(const Rect& screen, const std::optional<Rect>& taskBar)
{
    Rect area = screen;
    if (!taskBar)
        return area;
    const Rect& bar = *taskBar;
    if (bar.width() > bar.height()) {
        if (bar.top < 11)
            area.top = bar.bottom + 5;
        else
            area.bottom = bar.top - 5;
    } else {
        if (bar.left < 11)
            area.left = bar.right + 5;
        else
            area.right = bar.left - 5;
    }
    return area;
}

int borderHit(const Rect& window, Point p, bool sizingAllowed)
{
    if (!sizingAllowed || !window.contains(p.x, p.y))
        return 0;
    int edges = 0;
    if (p.x < window.left + 5)
        edges |= kEdgeLeft;
    if (p.x >= window.right - 5)
        edges |= kEdgeRight;
    if (p.y < window.top + 4)
        edges |= kEdgeTop;
    if (p.y >= window.bottom - 3)
        edges |= kEdgeBottom;
    return edges;
}

DropSelection dropSelection(const std::vector<std::string>& paths)
{
    DropSelection selection;
    std::string folder;
    std::vector<std::string> names;
    for (const std::string& path : paths) {
        const size_t sep = path.rfind('/');
        if (path.empty() || sep == std::string::npos)
            continue;
        if (names.empty())
            folder = path.substr(0, sep);
        names.push_back(path.substr(sep + 1));
    }
    if (names.empty())
        return selection;
    selection.buffer = folder;
    selection.buffer += '\0';
    selection.firstName = selection.buffer.size();
    for (const std::string& name : names) {
        selection.buffer += name;
        selection.buffer += '\0';
    }
    selection.buffer += '\0';
    return selection;
}
