#include "book/import/PdfText.h"

#include "book/CVersaleoDoc.h"
#include "book/CodePage.h"
#include "book/import/PdfRescue.h"

#include "aidkern/CAKFileManager.h"
#include "aidkern/CAKPathManager.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

namespace pdf {
namespace {

// The last 15 bytes the scanner has seen; operators show at bytes 12 and 13.
class Window {
public:
    Window() { m_bytes.fill(' '); }
    void push(char b)
    {
        std::copy(m_bytes.begin() + 1, m_bytes.end(), m_bytes.begin());
        m_bytes.back() = b;
    }
    bool shows(const char* op) const
    {
        return m_bytes[12] == op[0] && m_bytes[13] == op[1] && separates(m_bytes[11]) && separates(m_bytes[14]);
    }
    // The unsigned number that ends at byte `last`, spaces before it skipped;
    // -1 when there is none.
    double numberEndingAt(int last) const
    {
        int at = last;
        while (at >= 0 && m_bytes[static_cast<size_t>(at)] == ' ')
            --at;
        const int end = at;
        while (at >= 0 && (std::isdigit(static_cast<unsigned char>(m_bytes[static_cast<size_t>(at)])) ||
                           m_bytes[static_cast<size_t>(at)] == '.'))
            --at;
        if (at == end)
            return -1;
        const std::string digits(m_bytes.begin() + at + 1, m_bytes.begin() + end + 1);
        double value = -1;
        if (std::sscanf(digits.c_str(), "%lf", &value) != 1)
            return -1;
        return value;
    }

private:
    static bool separates(char c) { return c == ' ' || c == '\r' || c == '\n'; }
    std::array<char, 15> m_bytes{};
};

// The text-object scanner over a content stream fed in pieces.
class ContentScanner {
public:
    explicit ContentScanner(std::string& out) : m_out(out) {}
    void feed(std::string_view content)
    {
        for (const char b : content)
            step(b);
        if (!content.empty()) {
            m_last = content.back();
            m_fed = true;
        }
    }
    // The end of the stream separates like a line end: a closing "ET" counts.
    void finish()
    {
        if (m_fed && m_last != ' ' && m_last != '\r' && m_last != '\n')
            m_window.push('\n');
        if (m_inText && !m_inString && m_window.shows("ET"))
            m_out += "\r\n";
    }

private:
    void step(char b)
    {
        bool examined = true;
        if (m_inText && !m_inString) {
            if (m_window.shows("TD") && m_window.numberEndingAt(10) > 1.0)
                m_out += "\r\n";
            if (m_window.shows("ET")) {
                m_out += "\r\n";
                m_inText = false;
                examined = false;
            }
        }
        if (examined) {
            if (m_inText && b == '(' && !m_inString) {
                if (!m_escape)
                    m_inString = true;
                const auto gap = static_cast<long long>(m_window.numberEndingAt(14));
                if (gap > 100 && gap <= 1000)
                    m_out += ' ';
            } else if (m_inString && b == ')' && m_escape) {
                m_out += ')';
                m_escape = false;
            } else if (m_inString && b == ')') {
                m_inString = false;
            } else if (m_inString && b == '\\' && !m_escape) {
                m_escape = true;
            } else if (m_inString) {
                m_escape = false;
                const auto u = static_cast<unsigned char>(b);
                if ((u >= 32 && u <= 126) || (u >= 128 && u <= 254))
                    m_out += b;
            }
        }
        m_window.push(b);
        if (!m_inText && m_window.shows("BT"))
            m_inText = true;
    }

    std::string& m_out;
    Window m_window;
    bool m_inText = false;
    bool m_inString = false;
    bool m_escape = false;
    char m_last = '\0';
    bool m_fed = false;
};

constexpr size_t kInflateChunk = 64 * 1024;

// Inflates a stream piece by piece into the scanner, at most `capacity`
// bytes (a stream that would inflate to more is cut there), so memory holds
// one piece and the text, never the whole inflated stream. The text goes to
// `out` only when the data was a zlib stream, and stops once `out` reaches
// `textLimit`. False when the text limit was reached.
bool scanStream(std::string_view data, size_t capacity, std::string& out, size_t textLimit, size_t& inflated)
{
    if (capacity == 0)
        return true;
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return true;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    std::string piece(kInflateChunk, '\0');
    std::string text;
    ContentScanner scanner(text);
    int result = Z_OK;
    bool full = false;
    bool limited = false;
    for (;;) {
        const size_t room = std::min(kInflateChunk, capacity - stream.total_out);
        stream.next_out = reinterpret_cast<Bytef*>(piece.data());
        stream.avail_out = static_cast<uInt>(room);
        result = inflate(&stream, Z_FINISH);
        const size_t produced = room - stream.avail_out;
        scanner.feed(std::string_view(piece.data(), produced));
        full = stream.total_out >= capacity;
        if (out.size() + text.size() >= textLimit) {
            limited = true;
            break;
        }
        // More room is what Z_BUF_ERROR with the piece used up asks for.
        const bool wantsRoom = (result == Z_OK || result == Z_BUF_ERROR) && stream.avail_out == 0;
        if (result == Z_STREAM_END || full || !wantsRoom)
            break;
    }
    inflateEnd(&stream);
    const bool cut = full && (result == Z_OK || result == Z_BUF_ERROR);
    if (result != Z_STREAM_END && !cut && !limited)
        return true;
    inflated += stream.total_out;
    if (stream.total_out > 0)
        scanner.finish();
    out += text;
    if (out.size() >= textLimit) {
        out.resize(textLimit);
        return false;
    }
    return true;
}

}  // namespace

std::string scanContent(std::string_view content)
{
    std::string out;
    ContentScanner scanner(out);
    scanner.feed(content);
    scanner.finish();
    return out;
}

std::string extractText(std::string_view pdf, size_t textLimit, size_t* inflated, const ScanProgress& progress)
{
    constexpr size_t kReportEvery = size_t{4} << 20;
    size_t reportAt = kReportEvery;
    size_t inflatedHere = 0;
    size_t& inflatedTotal = inflated ? *inflated : inflatedHere;
    inflatedTotal = 0;
    std::string out;
    size_t pos = 0;
    for (;;) {
        const size_t start = pdf.find("stream", pos);
        const size_t end = pdf.find("endstream", pos);
        if (start == std::string_view::npos || start <= pos || end == std::string_view::npos || end <= start)
            break;
        size_t dataStart = start + 6;
        if (pdf.substr(dataStart, 2) == "\r\n")
            dataStart += 2;
        else if (pdf.substr(dataStart, 1) == "\n")
            dataStart += 1;
        size_t dataEnd = end;
        if (dataEnd >= 2 && pdf.substr(dataEnd - 2, 2) == "\r\n")
            dataEnd -= 2;
        else if (dataEnd >= 1 && pdf[dataEnd - 1] == '\n')
            dataEnd -= 1;
        dataEnd = std::max(dataEnd, dataStart);
        const std::string_view data = pdf.substr(dataStart, dataEnd - dataStart);
        // Ten times the compressed size bounds what one stream may yield.
        if (!scanStream(data, data.size() * 10, out, textLimit, inflatedTotal))
            break;
        pos = dataEnd + 9;
        if (progress && pos >= reportAt) {
            reportAt = pos + kReportEvery;
            if (!progress(static_cast<double>(pos) / static_cast<double>(pdf.size())))
                break;
        }
    }
    return out;
}

bool extractTextFile(const std::string& pdfPath, const std::string& outputPath, size_t* inflated,
                     const ScanProgress& progress)
{
    std::ofstream output(outputPath, std::ios::binary | std::ios::trunc);
    std::ifstream input(pdfPath, std::ios::binary);
    if (!output || !input)
        return false;
    const std::string bytes{std::istreambuf_iterator<char>(input), std::istreambuf_iterator<char>()};
    const std::string text = extractText(bytes, kMaxText, inflated, progress);
    output.write(text.data(), static_cast<std::streamsize>(text.size()));
    return static_cast<bool>(output.flush());
}

std::string fileToText(const std::string& path, size_t* inflated, const ScanProgress& progress)
{
    std::string temporary, textPath;
    if (CAKFileManager::AKGetTempPath("", 0, &temporary) != S_OK)
        return {};
    CAKPathManager::AKGetFilePathNoExtern(temporary, &textPath);
    textPath += ".txt";
    std::string text;
    if (extractTextFile(path, textPath, inflated, progress))
        text = layout::readPlainText(textPath);
    CAKFileManager::AKDeletePath(textPath);
    return text;
}

layout::SourceText PdfImporter::produceText(CVersaleoDoc& doc, const std::string& path)
{
    size_t inflated = 0;
    std::string scanned = fileToText(path, &inflated, [&doc](double done) { return doc.reportProgress(done); });
    if (!needsRescue(scanned.size(), inflated) || !doc.reportProgress(ImportProgress::kUnknown))
        return scanned;
    RescueOptions options;
    options.helper = m_rescueHelper;
    options.keepGoing = [&doc] { return doc.reportProgress(ImportProgress::kUnknown); };
    // A PDF poppler cannot read (or finds no text in) keeps what the scanner found.
    std::optional<std::string> rescued = rescueText(path, options);
    if (!rescued || rescued->empty())
        return scanned;
    return {std::move(*rescued), codepage::kUtf8};
}

}  // namespace pdf
