#include "book/import/PdfText.h"

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

// Inflates into at most `capacity` bytes; a stream that would inflate to more
// is cut there. Empty when the data is not a zlib stream.
std::string inflateBounded(std::string_view data, size_t capacity)
{
    std::string out(capacity, '\0');
    if (capacity == 0)
        return out;
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return {};
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = inflate(&stream, Z_FINISH);
    const bool full = stream.avail_out == 0;
    out.resize(stream.total_out);
    inflateEnd(&stream);
    const bool cut = full && (result == Z_OK || result == Z_BUF_ERROR);
    if (result != Z_STREAM_END && !cut)
        return {};
    return out;
}

}  // namespace

std::string scanContent(std::string_view content)
{
    std::string out;
    Window window;
    bool inText = false;
    bool inString = false;
    bool escape = false;
    for (const char b : content) {
        bool examined = true;
        if (inText && !inString) {
            if (window.shows("TD") && window.numberEndingAt(10) > 1.0)
                out += "\r\n";
            if (window.shows("ET")) {
                out += "\r\n";
                inText = false;
                examined = false;
            }
        }
        if (examined) {
            if (inText && b == '(' && !inString) {
                if (!escape)
                    inString = true;
                const auto gap = static_cast<long long>(window.numberEndingAt(14));
                if (gap > 100 && gap <= 1000)
                    out += ' ';
            } else if (inString && b == ')' && escape) {
                out += ')';
                escape = false;
            } else if (inString && b == ')') {
                inString = false;
            } else if (inString && b == '\\' && !escape) {
                escape = true;
            } else if (inString) {
                escape = false;
                const auto u = static_cast<unsigned char>(b);
                if ((u >= 32 && u <= 126) || (u >= 128 && u <= 254))
                    out += b;
            }
        }
        window.push(b);
        if (!inText && window.shows("BT"))
            inText = true;
    }
    // The end of the stream separates like a line end: a closing "ET" counts.
    if (!content.empty() && content.back() != ' ' && content.back() != '\r' && content.back() != '\n')
        window.push('\n');
    if (inText && !inString && window.shows("ET"))
        out += "\r\n";
    return out;
}

std::string extractText(std::string_view pdf)
{
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
        const std::string content = inflateBounded(data, data.size() * 10);
        if (!content.empty())
            out += scanContent(content);
        pos = dataEnd + 9;
    }
    return out;
}

bool extractTextFile(const std::string& pdfPath, const std::string& outputPath)
{
    std::ofstream output(outputPath, std::ios::binary | std::ios::trunc);
    std::ifstream input(pdfPath, std::ios::binary);
    if (!output || !input)
        return false;
    const std::string bytes{std::istreambuf_iterator<char>(input), std::istreambuf_iterator<char>()};
    const std::string text = extractText(bytes);
    output.write(text.data(), static_cast<std::streamsize>(text.size()));
    return static_cast<bool>(output.flush());
}

std::string fileToText(const std::string& path)
{
    std::string temporary, textPath;
    if (CAKFileManager::AKGetTempPath("", 0, &temporary) != S_OK)
        return {};
    CAKPathManager::AKGetFilePathNoExtern(temporary, &textPath);
    textPath += ".txt";
    std::string text;
    if (extractTextFile(path, textPath))
        text = layout::readPlainText(textPath);
    CAKFileManager::AKDeletePath(textPath);
    return text;
}

}  // namespace pdf
