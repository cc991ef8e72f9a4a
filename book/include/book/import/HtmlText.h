// Web pages as plain text: tags, scripts and styles dropped, six entities
// decoded, paragraph and line-break tags turned into line ends.
#pragma once

#include "book/TextLayout.h"

#include <string>
#include <string_view>

namespace html {

// The text of an HTML document (system code page bytes in and out).
std::string toText(std::string_view html);
// The text of an HTML file; empty when it cannot be read.
std::string fileToText(const std::string& path);

// The file name a saved web page gets from its title (system code page):
// only its double-byte characters, ASCII letters and digits, then ".html";
// "tmp.html" when nothing is left.
std::string savedPageName(std::string_view title);

class HtmlImporter : public layout::TextImporter {
protected:
    std::string produceText(CVersaleoDoc&, const std::string& path) override { return fileToText(path); }
};

}  // namespace html
