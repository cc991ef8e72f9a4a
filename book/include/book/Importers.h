// Every importer the book model has, registered by extension.
#pragma once

#include "book/TextMeasurer.h"

#include <memory>

class CVersaleoDoc;

// The book file ("vl") and the text formats, laid out with `measurer`.
void registerStandardImporters(CVersaleoDoc& doc, std::shared_ptr<TextMeasurer> measurer);
