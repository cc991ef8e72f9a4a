#include "BookJson.h"

#include "book/CVersaleoDoc.h"
#include "book/CodePage.h"

#include <cstdio>

namespace {

// Writes values and keys with the commas between them.
class JsonWriter {
public:
    std::string text;

    void string(std::string_view utf8)
    {
        comma();
        quoted(utf8);
    }
    // Text in the code page it is shown in: the system's unless a page font names another.
    void bytes(std::string_view pageText, const char* codePage = codepage::kSystem)
    {
        string(codepage::toUtf8(pageText, codePage));
    }
    void number(long long value)
    {
        comma();
        text += std::to_string(value);
    }
    void real(double value)
    {
        comma();
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.17g", value);
        text += buffer;
    }
    void key(const char* name)
    {
        comma();
        quoted(name);
        text += ':';
        m_needsComma = false;
    }
    void begin(char bracket)
    {
        comma();
        text += bracket;
        m_needsComma = false;
    }
    void end(char bracket)
    {
        text += bracket;
        m_needsComma = true;
    }

private:
    void comma()
    {
        if (m_needsComma)
            text += ',';
        m_needsComma = true;
    }
    void quoted(std::string_view utf8)
    {
        text += '"';
        for (const char c : utf8) {
            switch (c) {
            case '"': text += "\\\""; break;
            case '\\': text += "\\\\"; break;
            case '\n': text += "\\n"; break;
            case '\r': text += "\\r"; break;
            case '\t': text += "\\t"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                    text += escape;
                } else {
                    text += c;
                }
            }
        }
        text += '"';
    }

    bool m_needsComma = false;
};

void writePage(JsonWriter& j, const CBookPage& page)
{
    j.begin('{');
    j.key("kind");
    j.number(static_cast<int>(page.kind()));
    j.key("caption");
    j.bytes(page.caption);
    j.key("bookmarkColor");
    j.number(page.bookmarkColour);
    j.key("background");
    j.number(page.background);
    j.key("textColor");
    j.number(page.textColour);
    j.key("font");
    j.begin('{');
    j.key("height");
    j.number(page.font.lfHeight);
    j.key("weight");
    j.number(page.font.lfWeight);
    j.key("italic");
    j.number(page.font.lfItalic);
    j.key("charset");
    j.number(page.font.lfCharSet);
    j.key("face");
    j.bytes(page.font.faceName());
    j.end('}');
    j.key("picture");
    j.number(page.pictureNumber);
    j.key("lines");
    j.begin('[');
    for (const std::string& line : page.lines) {
        j.bytes(line, codepage::forCharset(page.font.lfCharSet));
    }
    j.end(']');
    j.key("cells");
    j.number(static_cast<long long>(page.cellCount()));
    j.key("marks");
    j.begin('[');
    for (const PageMark& mark : page.marks) {
        j.begin('{');
        j.key("color");
        j.number(mark.colour);
        j.key("first");
        j.number(mark.firstCell);
        j.key("last");
        j.number(mark.lastCell);
        j.end('}');
    }
    j.end(']');
    j.key("tags");
    j.begin('[');
    for (const auto& tag : page.tags) {
        j.begin('{');
        j.key("lines");
        j.begin('[');
        for (size_t n = 0; n < PageTag::kLines; ++n) {
                j.bytes(tag->line(n));
        }
        j.end(']');
        j.key("color");
        j.number(tag->colour);
        j.key("x");
        j.real(tag->x);
        j.key("y");
        j.real(tag->y);
        j.key("open");
        j.number(tag->open);
        j.end('}');
    }
    j.end(']');
    j.key("index");
    j.begin('[');
    for (const auto& entry : page.indexEntries) {
        j.begin('{');
        j.key("page");
        j.number(entry->bookPageNumber);
        j.key("title");
        j.bytes(entry->titleText());
        j.end('}');
    }
    j.end(']');
    j.end('}');
}

}  // namespace

std::string bookJson(const CVersaleoDoc& doc)
{
    JsonWriter j;
    j.begin('{');
    j.key("currentPage");
    j.number(doc.currentPage);
    j.key("pageToOpenAt");
    j.number(doc.pageToOpenAt);
    j.key("modified");
    j.number(doc.modified);
    j.key("statistics");
    j.string(doc.statisticsLine());
    j.key("pages");
    j.begin('[');
    for (const auto& page : doc.pages)
        writePage(j, *page);
    j.end(']');
    j.end('}');
    return j.text + "\n";
}
