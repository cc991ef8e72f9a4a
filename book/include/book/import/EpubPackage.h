// What an EPUB book's XML says: where its package document is, its title,
// its spine, its table of contents (the EPUB 3 navigation document or the
// EPUB 2 NCX), whether it is locked by DRM, and the text of its XHTML
// chapters. Parsed with libxml2, without the network and without expanding
// entities. Paths are zip entry names; text comes out as UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace epub {

inline constexpr const char* kContainerPath = "META-INF/container.xml";
inline constexpr const char* kEncryptionPath = "META-INF/encryption.xml";
inline constexpr const char* kRightsPath = "META-INF/rights.xml";

// `href` (percent-encoded, maybe with a fragment) taken relative to the
// folder of the entry `base`, with "." and ".." parts resolved and the
// fragment dropped; empty when it leaves the book or is not a local path.
std::string resolve(std::string_view base, std::string_view href);

// The package document's entry name from container.xml; none when missing.
std::optional<std::string> packagePath(std::string_view containerXml);

struct SpineItem {
    std::string path;
    std::string mediaType;
};

struct Package {
    std::string title;  // dc:title, blanks collapsed; empty when missing
    std::vector<SpineItem> spine;
    std::string navPath;  // EPUB 3 navigation document, or empty
    std::string ncxPath;  // EPUB 2 NCX, or empty
};

// The package document at entry `path`; none when it does not parse.
std::optional<Package> parsePackage(std::string_view opf, const std::string& path);

struct TocEntry {
    std::string title;
    std::string path;  // resolved, without its fragment
};

// The table of contents of a navigation document (the nav whose epub:type
// is "toc", else the first nav) or of an NCX, in document order.
std::vector<TocEntry> parseNav(std::string_view xhtml, const std::string& path);
std::vector<TocEntry> parseNcx(std::string_view ncx, const std::string& path);

// Whether encryption.xml encrypts anything beyond font obfuscation.
bool encryptsContent(std::string_view encryptionXml);

// Whether a spine item's media type is a chapter of text.
bool isTextItem(const SpineItem& item);

// The text of an XHTML chapter: a paragraph per block element or line
// break, blanks collapsed outside <pre>, head, scripts and styles left out.
// None when it does not parse as XML.
std::optional<std::string> xhtmlText(std::string_view xhtml);

}  // namespace epub
