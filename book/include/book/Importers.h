// Every importer the book model has, registered by extension.
#pragma once

class CVersaleoDoc;

// The book file ("vl") and the text formats.
void registerStandardImporters(CVersaleoDoc& doc);
