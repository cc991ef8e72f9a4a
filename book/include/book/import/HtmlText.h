// Web pages as plain text: tags, scripts and styles dropped, six entities
// decoded, paragraph and line-break tags turned into line ends.
#pragma once

#include "book/TextLayout.h"

#include <string>
#include <string_view>

namespace html {

// The text of an HTML document (system code page bytes in and out).
std::string toText(std::string_view html);
// The encoding an HTML document declares in a <meta charset=...> or
// <meta http-equiv=... content="...; charset=..."> tag: an iconv name, or
// null for the system code page. `declared` tells whether a tag named an
// encoding this program reads.
const char* declaredEncoding(std::string_view html, bool* declared);

// The text of an HTML file as read, with its encoding: a byte-order mark
// first, then the declared charset, then the UTF-8 test of plain texts.
layout::SourceText fileToSource(const std::string& path);
// The same in the system code page; empty when it cannot be read.
std::string fileToText(const std::string& path);

// The file name a saved web page gets from its title (system code page):
// only its double-byte characters, ASCII letters and digits, then ".html";
// "tmp.html" when nothing is left.
std::string savedPageName(std::string_view title);

class HtmlImporter : public layout::TextImporter {
protected:
    layout::SourceText produceText(CVersaleoDoc&, const std::string& path) override { return fileToSource(path); }
};

}  // namespace html
