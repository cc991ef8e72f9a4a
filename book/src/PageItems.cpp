#include "book/PageItems.h"

#include "book/Dbcs.h"

#include <cstring>

void IndexEntry::setTitle(std::string_view text, size_t limit)
{
    if (limit > kTitleLimit)
        limit = kTitleLimit;
    const std::string cut = dbcs::cutCopy(text, limit);
    std::memset(title, 0, sizeof title);
    std::memcpy(title, cut.data(), cut.size());
}

std::string_view IndexEntry::titleText() const
{
    return {title, ::strnlen(title, sizeof title)};
}

std::string PageTag::line(size_t n) const
{
    if (n >= kLines)
        return {};
    const char* slot = text.data() + n * kSlot;
    return {slot, ::strnlen(slot, kSlot)};
}

void PageTag::setLines(const std::vector<std::string>& lines)
{
    text.fill('\0');
    for (size_t n = 0; n < lines.size() && n < kLines; ++n) {
        const std::string cut = dbcs::cutCopy(lines[n], kSlot);
        std::memcpy(text.data() + n * kSlot, cut.data(), cut.size());
    }
}

void PageTag::commitEditor()
{
    if (!editor)
        return;
    setLines(splitEditorLines(editor->text()));
    editor->hide();
    editor.reset();
}

std::unique_ptr<PageTag> PageTag::clone() const
{
    auto copy = std::make_unique<PageTag>();
    copy->text = text;
    copy->colour = colour;
    copy->x = x;
    copy->y = y;
    copy->open = open;
    return copy;
}

std::vector<std::string> splitEditorLines(std::string_view text)
{
    std::vector<std::string> lines;
    if (text.empty())
        return lines;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find('\n', start);
        std::string_view line = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.emplace_back(line);
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return lines;
}
