// The active window of a document as one JSON object, text decoded from the
// system code page to UTF-8: how vltool and the checks see a book.
#pragma once

#include <string>

class CVersaleoDoc;

std::string bookJson(const CVersaleoDoc& doc);
