// What a page holds besides its lines: index entries, highlight marks, sticky
// tags and character cells.
#pragma once

#include "book/InPlaceEditor.h"
#include "book/WinTypes.h"

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

// One entry of the book's index, stored byte for byte in the book file.
struct IndexEntry {
    int32_t bookPageNumber = 0;  // 1-based ordinal of its page among the book pages
    char title[40] = {};         // NUL-terminated
    int32_t reserved = 0;

    static constexpr size_t kImportLimit = 36;  // what importers give a title
    static constexpr size_t kTitleLimit = 39;   // what the field holds, and the index editor allows

    // Clears the title and stores `text` cut to `limit` bytes at a character boundary.
    void setTitle(std::string_view text, size_t limit = kImportLimit);
    std::string_view titleText() const;
};
static_assert(sizeof(IndexEntry) == 48, "IndexEntry is a 48-byte record of the book file");
static_assert(std::is_standard_layout_v<IndexEntry>);
static_assert(std::is_trivially_copyable_v<IndexEntry>);

// A highlight over the cells firstCell..lastCell of one book page.
struct PageMark {
    COLORREF colour = 0;
    int32_t firstCell = 0;
    int32_t lastCell = 0;
};

// A sticky note: up to ten lines of 30 bytes, anchored at a fraction of the page.
struct PageTag {
    static constexpr size_t kSlot = 30;
    static constexpr size_t kLines = 10;
    static constexpr size_t kTextSize = kSlot * kLines;

    std::array<char, kTextSize> text{};
    COLORREF colour = 0;
    double x = 0.0;  // of the page width, from the left edge
    double y = 0.0;  // of the page height, from the top edge
    int32_t open = 1;
    std::unique_ptr<InPlaceEditor> editor;

    // Line n (0-9) of the text, up to its NUL or the end of its slot.
    std::string line(size_t n) const;
    // Stores the lines: the text is cleared, lines past the tenth are dropped
    // and each line is cut to 30 bytes at a character boundary.
    void setLines(const std::vector<std::string>& lines);
    // Copies the editor's lines into the text, then hides and destroys it.
    void commitEditor();

    // Everything but the editor, which belongs to the original's window.
    std::unique_ptr<PageTag> clone() const;
};

// One visible character of a page: its line and whether it is selected.
// Where a view drew it is that view's own geometry.
struct CharCell {
    int32_t line = 0;
    int32_t selected = 0;
};
static_assert(sizeof(CharCell) == 8, "there is a cell per character of the book: keep it to its two fields");

// Splits an editor's text at "\r\n" (or a lone "\n") into lines.
std::vector<std::string> splitEditorLines(std::string_view text);
