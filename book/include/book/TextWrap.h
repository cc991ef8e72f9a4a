// Wrapping a text into display lines. A paragraph's lines depend only on the
// paragraph and the line width, so runs of whole paragraphs are wrapped on
// several threads and handed back in order on the calling thread; the lines
// are the same whatever the number of threads. The measurer is used on the
// calling thread only: the threads measure with the advances of the text's
// characters, taken from it before they start.
#pragma once

#include "book/TextMeasurer.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace layout {

// Collects wrapped lines token by token; the line being built keeps its
// advance as it grows, so every token is measured once. A paragraph's last
// line ends with "\r\n" and, with indent, its first starts with four spaces.
class LineWrapper {
public:
    LineWrapper(TextMeasurer& measurer, int lineWidth, bool indent);

    // Room for about this many lines, so the list is not copied as it grows.
    void expectLines(size_t lines) { m_lines.reserve(lines); }

    void add(std::string_view token);
    // The lines so far, the unfinished one ended as a paragraph.
    std::vector<std::string> finish();
    // The lines so far; the unfinished one stays.
    std::vector<std::string> takeLines() { return std::move(m_lines); }

private:
    void append(std::string_view text, int64_t advance);
    void emit();

    TextMeasurer& m_measurer;
    int m_lineWidth;
    bool m_indent;
    std::string m_line;  // reused: each line is stored at its own size
    int64_t m_advance = 0;
    int m_paragraphLines = 0;
    std::vector<std::string> m_lines;
};

// Bytes of text a thread takes at a time: whole paragraphs from here on.
inline constexpr size_t kWrapChunkBytes = 256 * 1024;

// How texts are wrapped from now on: threads 1 wraps on the calling thread
// alone; 0 (the default) with one thread per processor core when the text
// has more than one chunk; any other number with that many threads whatever
// the text. Lines and progress come the same either way.
void setWrapThreads(unsigned threads, size_t chunkBytes = kWrapChunkBytes);

// Wraps `text` and hands its lines to `take` in order, some paragraphs at a
// time, on the calling thread. `progress` is told the part of the text done
// (0 to 1) on the calling thread, and stops the wrapping by answering false.
// False when stopped. Nothing for a line width below 100.
bool wrapText(std::string_view text, TextMeasurer& measurer, int lineWidth, bool indent,
              const std::function<void(std::vector<std::string>&&)>& take,
              const std::function<bool(double)>& progress);

}  // namespace layout
