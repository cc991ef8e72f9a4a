// One page of a book window: its kind, lines, cells, marks, tags and index
// entries, the attributes the painters use, and the editors open on it.
#pragma once

#include "book/PageItems.h"
#include "book/WinTypes.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

enum class PageKind : int32_t {
    None = -1,  // under construction
    BookPage = 0,
    NotePage = 1,
    IndexPage = 2,
    BookmarkPage = 3,
    CoverPage = 4,
};

class CBookPage {
public:
    static constexpr int kLineSlots = 26;

    explicit CBookPage(PageKind kind = PageKind::None) : m_kind(kind) {}
    virtual ~CBookPage();
    CBookPage(const CBookPage&) = delete;
    CBookPage& operator=(const CBookPage&) = delete;

    PageKind kind() const { return m_kind; }
    void setKind(PageKind kind) { m_kind = kind; }

    // Text, one string per display line; a paragraph's last line ends "\r\n".
    std::vector<std::string> lines;
    std::vector<PageMark> marks;
    std::vector<std::unique_ptr<PageTag>> tags;
    std::vector<std::unique_ptr<IndexEntry>> indexEntries;
    std::vector<std::unique_ptr<InPlaceEditor>> lineEditors;

    int32_t bookmarkColour = 0;
    COLORREF background = rgb(255, 255, 255);
    COLORREF textColour = 0;
    LOGFONT font;
    std::string caption;
    int32_t pictureNumber = 0;
    // Skipped when the facing pair is chosen; only a flip in progress sets it.
    bool hidden = false;

    int32_t highlightedLine() const { return m_highlightedLine; }
    void setHighlightedLine(int32_t line) { m_highlightedLine = line; }

    // The lines joined in pairs of wrapped lines, built on first use and
    // dropped whenever the lines change (through rebuildCells).
    const std::vector<std::string>& wideLines();
    bool hasWideLines() const { return !m_wideLines.empty(); }
    void setWideLines(std::vector<std::string> wide) { m_wideLines = std::move(wide); }

    // One cell per character of the lines (blanks skipped, a double-byte
    // character one cell). Built from the lines when first asked for and kept
    // only while the page is among the recently used ones (CellCache); a page
    // with selected cells or open editors keeps them. Take the reference for
    // one page at a time: asking for other pages' cells may empty it. UI
    // thread only (layout and book reading never ask for cells).
    std::vector<CharCell>& cells();
    const std::vector<CharCell>& cells() const;
    // How many cells the lines make, without building them.
    size_t cellCount() const;
    // Whether the page holds built cells (a selection lives only there).
    bool holdsCells() const { return m_cellsHeld; }
    bool hasTextSelection() const;
    // Call after the lines change: the cells (and their selection) and the
    // wide lines are built again from the new lines when next asked for.
    void rebuildCells();

    // Note lines: the editors' texts replace the lines, one per editor.
    void commitLineEditors();
    void discardLineEditors();
    // Every open editor of the page: line editors and tag editors.
    // True when an editor was open.
    bool commitEditors();

    // A copy with every attribute, line, cell, mark, tag and index entry; not
    // the picture number, the highlighted line or any editor. Commits the
    // editors of this page first.
    std::unique_ptr<CBookPage> deepCopy();

    // The bytes of the selected characters of each line that has any, each
    // followed by "\r\n". `wide` picks the wide lines over the lines.
    std::string selectedText(bool wide);

private:
    friend class CellCache;

    static constexpr size_t kCountUnknown = static_cast<size_t>(-1);

    // Whether eviction would lose state: a selection, or open editors.
    bool cellsPinned() const;
    void releaseCells() const;

    PageKind m_kind;
    int32_t m_highlightedLine = 0;
    std::vector<std::string> m_wideLines;
    // Derived from the lines, hence mutable: asking for them changes nothing the page shows.
    mutable std::vector<CharCell> m_cells;
    mutable size_t m_cellCount = kCountUnknown;
    mutable bool m_cellsHeld = false;
};

// Joins wrapped lines in pairs, never across a paragraph end.
std::vector<std::string> makeWideLines(const std::vector<std::string>& lines);
