#include "book/Annotations.h"

#include "book/CVersaleoDoc.h"
#include "book/Dbcs.h"

#include <memory>

namespace annotations {
namespace {

CBookPage* pageOfKind(CVersaleoDoc& doc, int page, PageKind kind)
{
    if (page < 0 || page >= doc.pageCount())
        return nullptr;
    CBookPage* record = doc.pages[static_cast<size_t>(page)].get();
    return record->kind() == kind ? record : nullptr;
}

// Rebuilding the index can add or drop index pages in front of the current
// page: the reader stays on the page record they were looking at.
void rebuildKeepingCurrent(CVersaleoDoc& doc)
{
    const CBookPage* current = doc.currentPage >= 0 && doc.currentPage < doc.pageCount()
                                   ? doc.pages[static_cast<size_t>(doc.currentPage)].get()
                                   : nullptr;
    doc.rebuildIndexPages();
    doc.numberBookmarks();
    if (const int index = doc.indexOfPage(current); index >= 0)
        doc.currentPage = index;
    doc.modified = 1;
}

int insertLeaf(CVersaleoDoc& doc, std::unique_ptr<CBookPage> front, std::unique_ptr<CBookPage> back)
{
    const int at = newLeafPosition(doc);
    if (at < 0)
        return -1;
    // As a paste does: a text source spans the pages it laid out, and reading
    // it again in another encoding would replace a leaf put among them.
    doc.textSources.clear();
    PageList leaf;
    leaf.push_back(std::move(front));
    leaf.push_back(std::move(back));
    const CBookPage* first = leaf.front().get();
    doc.insertPages(at, std::move(leaf));
    // As after a paste on an odd page: the spread moves on to show the leaf.
    if (doc.currentPage % 2 == 1)
        doc.currentPage += 2;
    rebuildKeepingCurrent(doc);
    return doc.indexOfPage(first);
}

}  // namespace

bool addIndexEntry(CVersaleoDoc& doc, int page, std::string_view title)
{
    CBookPage* record = pageOfKind(doc, page, PageKind::BookPage);
    if (!record)
        return false;
    auto entry = std::make_unique<IndexEntry>();
    entry->setTitle(title, IndexEntry::kTitleLimit);
    record->indexEntries.push_back(std::move(entry));
    rebuildKeepingCurrent(doc);
    return true;
}

bool retitleIndexEntry(CVersaleoDoc& doc, int page, size_t entry, std::string_view title)
{
    CBookPage* record = pageOfKind(doc, page, PageKind::BookPage);
    if (!record || entry >= record->indexEntries.size())
        return false;
    record->indexEntries[entry]->setTitle(title, IndexEntry::kTitleLimit);
    doc.modified = 1;
    return true;
}

bool removeIndexEntry(CVersaleoDoc& doc, int page, size_t entry)
{
    CBookPage* record = pageOfKind(doc, page, PageKind::BookPage);
    if (!record || entry >= record->indexEntries.size())
        return false;
    // The live list points at the entry: it is rebuilt before anyone reads it.
    record->indexEntries.erase(record->indexEntries.begin() + static_cast<std::ptrdiff_t>(entry));
    rebuildKeepingCurrent(doc);
    return true;
}

int newLeafPosition(const CVersaleoDoc& doc)
{
    const int c = doc.currentPage;
    if (c < doc.indexPageCount() + 1 || c > doc.pageCount() - 2)
        return -1;
    return c % 2 == 1 ? c + 1 : c;
}

int insertBookmarkLeaf(CVersaleoDoc& doc, std::string_view caption, COLORREF colour)
{
    std::unique_ptr<CBookPage> sides[2];
    for (auto& side : sides) {
        side = doc.createPage(PageKind::BookmarkPage);
        side->caption = dbcs::cutCopy(caption, kCaptionLimit);
        side->background = colour;
    }
    return insertLeaf(doc, std::move(sides[0]), std::move(sides[1]));
}

int insertNoteLeaf(CVersaleoDoc& doc, COLORREF background, COLORREF textColour, const LOGFONT& font)
{
    std::unique_ptr<CBookPage> sides[2];
    for (auto& side : sides) {
        side = doc.createPage(PageKind::NotePage);
        side->background = background;
        side->textColour = textColour;
        side->font = font;
    }
    return insertLeaf(doc, std::move(sides[0]), std::move(sides[1]));
}

bool updateBookmarkLeaf(CVersaleoDoc& doc, int page, std::string_view caption, COLORREF colour)
{
    if (!pageOfKind(doc, page, PageKind::BookmarkPage))
        return false;
    // Both sides carry the bookmark; a lone side (a damaged book) still changes.
    const std::string cut = dbcs::cutCopy(caption, kCaptionLimit);
    const int front = page - page % 2;
    for (const int side : {front, front + 1}) {
        if (CBookPage* record = pageOfKind(doc, side, PageKind::BookmarkPage)) {
            record->caption = cut;
            record->background = colour;
        }
    }
    doc.modified = 1;
    return true;
}

bool updateNotePage(CVersaleoDoc& doc, int page, COLORREF background, COLORREF textColour, const LOGFONT& font)
{
    CBookPage* record = pageOfKind(doc, page, PageKind::NotePage);
    if (!record)
        return false;
    record->background = background;
    record->textColour = textColour;
    record->font = font;
    doc.modified = 1;
    return true;
}

}  // namespace annotations
