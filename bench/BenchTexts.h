// The generated texts the benchmarks lay out and open: deterministic, so
// every run measures the same pages.
#pragma once

#include <cstddef>
#include <iterator>
#include <random>
#include <string>

namespace benchtext {

// English prose of common words: sentences of twelve, paragraphs of a few.
inline std::string englishText(size_t bytes)
{
    static const char* const kWords[] = {"the",   "reader", "turns",  "a",      "page",   "of",    "book",
                                         "night", "quiet",  "letter", "window", "garden", "river", "and",
                                         "slowly", "remembered", "everything", "she", "had", "written"};
    std::mt19937 random(42);
    std::string text;
    text.reserve(bytes + 100);
    int sentence = 0;
    while (text.size() < bytes) {
        text += kWords[random() % std::size(kWords)];
        if (++sentence % 12 == 0)
            text += random() % 4 == 0 ? ".\r\n" : ". ";
        else
            text += random() % 9 == 0 ? ", " : " ";
    }
    return text;
}

// GBK prose: characters of the common block, commas, and full stops ending
// some sentences' paragraphs.
inline std::string chineseText(size_t bytes)
{
    std::mt19937 random(7);
    std::string text;
    text.reserve(bytes + 100);
    int count = 0;
    while (text.size() < bytes) {
        text += static_cast<char>(0xB0 + random() % 40);
        text += static_cast<char>(0xA1 + random() % 94);
        if (++count % 30 == 0)
            text += random() % 5 == 0 ? "\xA1\xA3\r\n" : "\xA3\xAC";
    }
    return text;
}

}  // namespace benchtext
