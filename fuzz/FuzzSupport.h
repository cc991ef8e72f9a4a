// What every harness needs: a private scratch folder in memory for the files
// a parser only reads from a path, the headless GUI application for fonts,
// and the two measurers of the layout.
#pragma once

#include "book/CVersaleoDoc.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace fuzz {

// This process's own folder under /dev/shm (the temporary folder when there
// is none): parallel fuzzing jobs never share a file.
const std::string& scratchFolder();
// Writes the input as scratchFolder()/name and gives its path.
std::string writeScratch(const std::string& name, const uint8_t* data, size_t size);
// Removes a file or folder below the scratch folder, whatever it holds.
void removeScratch(const std::string& path);

inline std::string_view bytesOf(const uint8_t* data, size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

// The offscreen QGuiApplication and the font substitutions of the program.
void ensureGuiApplication();

// Lays text out with the platform's fonts, as the reader does, or with the
// fixed metrics of vltool and the tests.
void useRealMetrics(CVersaleoDoc& doc);
void useFixedMetrics(CVersaleoDoc& doc);

}  // namespace fuzz
