// PDF files as plain text: every Flate stream is inflated and the strings
// shown inside its text objects are written out. Nothing more is decoded:
// hexadecimal strings and other text encodings come out as the scanner sees
// them.
#pragma once

#include "book/TextLayout.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace pdf {

// The text shown by one inflated content stream.
std::string scanContent(std::string_view content);
// Beyond this much text a PDF's text is cut: a small file of huge streams
// must not exhaust memory.
inline constexpr size_t kMaxText = size_t{64} << 20;

// Told the part of the file scanned so far; false stops the scan.
using ScanProgress = std::function<bool(double done)>;

// The text of every stream of a PDF held in memory, at most `textLimit` bytes.
// `inflated`, when given, receives the bytes of content the streams it read
// inflated to.
std::string extractText(std::string_view pdf, size_t textLimit = kMaxText, size_t* inflated = nullptr,
                        const ScanProgress& progress = {});
// Extracts the text of the PDF at pdfPath into the file outputPath; false
// when either file cannot be opened.
bool extractTextFile(const std::string& pdfPath, const std::string& outputPath, size_t* inflated = nullptr,
                     const ScanProgress& progress = {});
// The text of a PDF file, through a temporary text file; empty on failure.
std::string fileToText(const std::string& path, size_t* inflated = nullptr, const ScanProgress& progress = {});

// The scanner's text, or poppler's where the scanner reads too little of it
// (see PdfRescue.h).
class PdfImporter : public layout::TextImporter {
public:
    // The poppler helper: empty for the one beside the program.
    explicit PdfImporter(std::string rescueHelper = {}) : m_rescueHelper(std::move(rescueHelper)) {}

protected:
    layout::SourceText produceText(CVersaleoDoc& doc, const std::string& path) override;

private:
    std::string m_rescueHelper;
};

}  // namespace pdf
