#include "book/import/EpubImporter.h"

#include "book/CVersaleoDoc.h"
#include "book/CodePage.h"
#include "book/Dbcs.h"
#include "book/TextLayout.h"
#include "book/import/EpubArchive.h"
#include "book/import/EpubPackage.h"
#include "book/import/HtmlText.h"

#include "aidkern/CAKPathManager.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

namespace epub {
namespace {

struct Chapter {
    layout::SourceText text;
    std::vector<std::string> titles;  // table-of-contents entries pointing here, in order
};

// A chapter that is not well-formed XML is read as a web page would be.
layout::SourceText chapterText(const std::string& bytes)
{
    if (std::optional<std::string> text = xhtmlText(bytes))
        return {std::move(*text), codepage::kUtf8};
    std::string page = bytes;
    const char* encoding = codepage::detect(page);
    if (codepage::isUtf16(encoding)) {
        page = codepage::convert(std::string_view(page).substr(2), encoding, codepage::kUtf8);
        encoding = codepage::kUtf8;
    } else if (!page.starts_with("\xEF\xBB\xBF")) {
        bool declared = false;
        const char* named = html::declaredEncoding(page, &declared);
        // XML without a declaration is UTF-8.
        encoding = declared ? named : codepage::kUtf8;
    }
    return {html::toText(page), encoding};
}

bool hasText(const layout::SourceText& text)
{
    return text.bytes.find_first_not_of(" \t\r\n") != std::string::npos;
}

std::vector<TocEntry> tableOfContents(Archive& archive, const Package& package)
{
    std::vector<TocEntry> entries;
    if (!package.navPath.empty()) {
        if (const std::optional<std::string> nav = archive.read(package.navPath))
            entries = parseNav(*nav, package.navPath);
    }
    if (entries.empty() && !package.ncxPath.empty()) {
        if (const std::optional<std::string> ncx = archive.read(package.ncxPath))
            entries = parseNcx(*ncx, package.ncxPath);
    }
    return entries;
}

}  // namespace

bool EpubImporter::import(CVersaleoDoc& doc, const std::string& path)
{
    const auto damaged = [&doc, &path] {
        if (doc.notifier())
            doc.notifier()->showFileMessage(DocMessage::DamagedFile, path);
        return false;
    };
    Archive archive;
    switch (archive.open(path)) {
    case Archive::OpenResult::Unreadable:
        return false;
    case Archive::OpenResult::Refused:
        return damaged();
    case Archive::OpenResult::Opened:
        break;
    }
    const std::optional<std::string> container = archive.read(kContainerPath);
    const std::optional<std::string> packageName = container ? packagePath(*container) : std::nullopt;
    const std::optional<std::string> opf = packageName ? archive.read(*packageName) : std::nullopt;
    const std::optional<Package> package = opf ? parsePackage(*opf, *packageName) : std::nullopt;
    if (!package)
        return damaged();

    const std::optional<std::string> encryption = archive.read(kEncryptionPath);
    const bool locked = archive.contains(kRightsPath) || (encryption && encryptsContent(*encryption)) ||
                        std::any_of(package->spine.begin(), package->spine.end(),
                                    [&archive](const SpineItem& item) { return archive.isEncrypted(item.path); });
    if (locked) {
        if (doc.notifier())
            doc.notifier()->showFileMessage(DocMessage::LockedBook, path);
        return false;
    }

    // Reading the chapters is the first half of the work, laying them out the second.
    std::vector<Chapter> chapters;
    // For each spine item, the first chapter read at or after it.
    std::vector<size_t> chapterFrom(package->spine.size(), 0);
    std::vector<size_t> chapterOf(package->spine.size(), SIZE_MAX);
    // A spine none of whose items is in the archive is no book at all.
    bool anyItemRead = false;
    for (size_t i = 0; i < package->spine.size(); ++i) {
        const SpineItem& item = package->spine[i];
        if (!doc.reportProgress(0.5 * static_cast<double>(i) / static_cast<double>(package->spine.size())))
            return false;
        if (!isTextItem(item))
            continue;
        // A missing or unreadable chapter is left out; the rest still opens.
        const std::optional<std::string> bytes = archive.read(item.path);
        if (!bytes)
            continue;
        anyItemRead = true;
        layout::SourceText text = chapterText(*bytes);
        if (!hasText(text))
            continue;
        chapterOf[i] = chapters.size();
        chapters.push_back({std::move(text), {}});
    }
    if (!anyItemRead)
        return damaged();
    // Past the last chapter read, the last chapter.
    size_t next = chapters.empty() ? 0 : chapters.size() - 1;
    for (size_t i = package->spine.size(); i-- > 0;) {
        if (chapterOf[i] != SIZE_MAX)
            next = chapterOf[i];
        chapterFrom[i] = next;
    }

    // Each entry goes to its chapter; an entry whose chapter had no text to
    // the next chapter that has, or the last.
    if (doc.needIndex == 1 && !chapters.empty()) {
        std::unordered_map<std::string, size_t> spineIndex;
        for (size_t i = package->spine.size(); i-- > 0;)
            spineIndex[package->spine[i].path] = i;
        for (const TocEntry& entry : tableOfContents(archive, *package)) {
            const auto found = spineIndex.find(entry.path);
            if (found == spineIndex.end())
                continue;
            chapters[chapterFrom[found->second]].titles.push_back(codepage::fromUtf8(entry.title));
        }
    }

    std::string fileTitle;
    CAKPathManager::AKGetFileTitle(path, &fileTitle);
    const std::string title = package->title.empty() ? codepage::fromFileName(fileTitle) : codepage::fromUtf8(package->title);
    if (chapters.empty())
        chapters.push_back({layout::SourceText(std::string(), codepage::kUtf8), {}});
    // Without a table of contents the book still gets its entry.
    const bool anyTitles = std::any_of(chapters.begin(), chapters.end(), [](const Chapter& c) { return !c.titles.empty(); });
    if (doc.needIndex == 1 && !anyTitles)
        chapters.front().titles.push_back(title);
    const std::string caption = doc.needBookmark == 1 ? dbcs::cutCopy(title, 20) : std::string();

    // Each text inserts at the start of the content: the last chapter goes first.
    for (size_t n = chapters.size(); n-- > 0;) {
        Chapter& chapter = chapters[n];
        const double done = static_cast<double>(chapters.size() - 1 - n) / static_cast<double>(chapters.size());
        doc.setProgressPart(0.5 + 0.5 * done, 0.5 / static_cast<double>(chapters.size()));
        TextSource* source = layout::importSource(doc, std::move(chapter.text), n == 0 ? caption : std::string(),
                                                  std::string(), *doc.bookMeasurer());
        if (!source)
            return false;
        for (const std::string& entryTitle : chapter.titles) {
            auto entry = std::make_unique<IndexEntry>();
            entry->setTitle(entryTitle);
            source->firstPage->indexEntries.push_back(std::move(entry));
        }
    }
    doc.setProgressPart(0.0, 1.0);
    return true;
}

}  // namespace epub
