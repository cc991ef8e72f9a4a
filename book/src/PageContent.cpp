#include "book/PageContent.h"

#include "book/CBookPage.h"
#include "book/TextLayout.h"

#include <algorithm>

namespace content {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool endsParagraph(std::string_view line)
{
    return !line.empty() && line.back() == '\n';
}

}  // namespace

std::string rebuildLine(std::string_view typed, bool endedParagraph)
{
    const bool indented = typed.starts_with(layout::kIndent);
    size_t first = 0, last = typed.size();
    while (first < last && isBlank(typed[first]))
        ++first;
    while (last > first && isBlank(typed[last - 1]))
        --last;
    std::string line;
    // Trail bytes are never blanks, so the trimmed ends cut no character.
    layout::Tokenizer tokens(typed.substr(first, last - first), false);
    for (std::string_view token; tokens.next(token);)
        line += token == layout::kLineEnd ? std::string_view(" ") : token;
    if (indented && !line.empty())
        line.insert(0, layout::kIndent);
    if (endedParagraph)
        line += layout::kLineEnd;
    return line;
}

void replaceLines(CBookPage& page, const std::vector<std::string>& slots)
{
    size_t used = slots.size();
    while (used > page.lines.size() && rebuildLine(slots[used - 1], false).empty())
        --used;
    for (size_t i = 0; i < used; ++i) {
        // The line itself, as the editor hands back an untouched slot.
        if (i < page.lines.size() && slots[i] == page.lines[i])
            continue;
        const bool ended = i < page.lines.size() && endsParagraph(page.lines[i]);
        std::string line = rebuildLine(slots[i], ended);
        if (i < page.lines.size())
            page.lines[i] = std::move(line);
        else
            page.lines.push_back(std::move(line));
    }
    page.rebuildCells();
    fitMarksToCells(page);
    page.setWideLines({});
}

void fitMarksToCells(CBookPage& page)
{
    const int lastCell = static_cast<int>(page.cellCount()) - 1;
    std::erase_if(page.marks, [lastCell](const PageMark& mark) { return mark.firstCell > lastCell || mark.firstCell < 0; });
    for (PageMark& mark : page.marks)
        mark.lastCell = std::min(mark.lastCell, lastCell);
}

}  // namespace content
