#include "book/CBookPage.h"

#include "book/CellCache.h"
#include "book/Dbcs.h"

#include <algorithm>
#include <utility>

namespace {

bool endsParagraph(const std::string& line)
{
    return line.find("\r\n") != std::string::npos;
}

bool isAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

std::vector<std::string> makeWideLines(const std::vector<std::string>& lines)
{
    std::vector<std::string> wide;
    wide.reserve(lines.size() / 2 + 1);
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string line = lines[i];
        if (!endsParagraph(line) && i + 1 < lines.size()) {
            const std::string& next = lines[++i];
            if (!line.empty() && !next.empty() && isAsciiLetter(next[0]))
                line += ' ';
            line += next;
        }
        wide.push_back(std::move(line));
    }
    return wide;
}

const std::vector<std::string>& CBookPage::wideLines()
{
    if (m_wideLines.empty())
        m_wideLines = makeWideLines(lines);
    return m_wideLines;
}

CBookPage::~CBookPage()
{
    if (m_cellsHeld)
        CellCache::instance().forget(*this);
}

std::vector<CharCell>& CBookPage::cells()
{
    return const_cast<std::vector<CharCell>&>(std::as_const(*this).cells());
}

const std::vector<CharCell>& CBookPage::cells() const
{
    if (!m_cellsHeld) {
        m_cells.reserve(cellCount());
        for (size_t i = 0; i < lines.size(); ++i)
            m_cells.insert(m_cells.end(), dbcs::cellCount(lines[i]), CharCell{static_cast<int32_t>(i), 0});
        m_cellCount = m_cells.size();
        m_cellsHeld = true;
    }
    CellCache::instance().touch(*this);
    return m_cells;
}

size_t CBookPage::cellCount() const
{
    if (m_cellsHeld)
        return m_cells.size();
    if (m_cellCount == kCountUnknown) {
        size_t total = 0;
        for (const std::string& line : lines)
            total += dbcs::cellCount(line);
        m_cellCount = total;
    }
    return m_cellCount;
}

bool CBookPage::hasTextSelection() const
{
    return m_cellsHeld && std::any_of(m_cells.begin(), m_cells.end(), [](const CharCell& c) { return c.selected != 0; });
}

void CBookPage::rebuildCells()
{
    if (m_cellsHeld) {
        CellCache::instance().forget(*this);
        releaseCells();
    }
    m_cellCount = kCountUnknown;
    m_wideLines.clear();
}

bool CBookPage::cellsPinned() const
{
    const bool tagEditing = std::any_of(tags.begin(), tags.end(), [](const auto& tag) { return tag->editor != nullptr; });
    return !lineEditors.empty() || tagEditing || hasTextSelection();
}

void CBookPage::releaseCells() const
{
    std::vector<CharCell>().swap(m_cells);
    m_cellsHeld = false;
}

void CBookPage::commitLineEditors()
{
    if (lineEditors.empty())
        return;
    std::vector<std::string> edited;
    edited.reserve(lineEditors.size());
    for (const auto& editor : lineEditors)
        edited.push_back(editor->text());
    lines = std::move(edited);
    discardLineEditors();
    rebuildCells();
}

void CBookPage::discardLineEditors()
{
    for (const auto& editor : lineEditors)
        editor->hide();
    lineEditors.clear();
}

bool CBookPage::commitEditors()
{
    bool open = !lineEditors.empty();
    commitLineEditors();
    for (const auto& tag : tags) {
        open = open || tag->editor != nullptr;
        tag->commitEditor();
    }
    return open;
}

std::unique_ptr<CBookPage> CBookPage::deepCopy()
{
    commitEditors();
    auto copy = std::make_unique<CBookPage>(m_kind);
    copy->background = background;
    copy->textColour = textColour;
    copy->font = font;
    copy->bookmarkColour = bookmarkColour;
    copy->caption = caption;
    copy->lines = lines;
    copy->m_wideLines = m_wideLines;
    copy->m_cellCount = m_cellCount;
    if (m_cellsHeld) {
        // The cells as they are, selection and all.
        copy->m_cells = m_cells;
        copy->m_cellsHeld = true;
        CellCache::instance().touch(*copy);
    }
    copy->marks = marks;
    copy->tags.reserve(tags.size());
    for (const auto& tag : tags)
        copy->tags.push_back(tag->clone());
    copy->indexEntries.reserve(indexEntries.size());
    for (const auto& entry : indexEntries)
        copy->indexEntries.push_back(std::make_unique<IndexEntry>(*entry));
    return copy;
}

std::string CBookPage::selectedText(bool wide)
{
    // Without a selection the page need not build its cells.
    if (!hasTextSelection())
        return {};
    const std::vector<std::string>& source = wide ? wideLines() : lines;
    const std::vector<CharCell>& cells = m_cells;
    std::string text;
    size_t cell = 0;
    for (const std::string& line : source) {
        // Cells count the characters of the page in order, whichever lines show them.
        size_t first = std::string::npos;
        size_t end = 0;
        for (size_t i = 0; i < line.size();) {
            const size_t length = dbcs::charLength(line, i);
            if (dbcs::isHighByte(line[i]) || !dbcs::isBlank(line[i])) {
                if (cell < cells.size() && cells[cell].selected) {
                    if (first == std::string::npos)
                        first = i;
                    end = i + length;
                }
                ++cell;
            }
            i += length;
        }
        if (first != std::string::npos) {
            text.append(line, first, end - first);
            text += "\r\n";
        }
    }
    return text;
}
