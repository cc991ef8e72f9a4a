// Every importer the book model has, registered by extension.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class CVersaleoDoc;

// The book file ("vl") and the text formats.
void registerStandardImporters(CVersaleoDoc& doc);

// The extensions registerStandardImporters reads, lower case, in alphabetical
// order: for the places that check or ask for a path before handing it to
// the document.
const std::vector<std::string>& standardExtensions();
bool isStandardExtension(std::string_view extension);
