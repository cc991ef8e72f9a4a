#include "book/CVersaleoDoc.h"

#include <algorithm>
#include <cstdio>
#include <set>

CVersaleoDoc::CVersaleoDoc()
{
    for (auto& window : m_windows)
        window = std::make_unique<CBookWindow>();
    switchWindow(1);
}

CVersaleoDoc::~CVersaleoDoc()
{
    clear();
}

void CVersaleoDoc::setFlipSpeed(int32_t speed)
{
    flipSpeed = speed < 10 || speed > 50 ? 50 : speed;
}

void CVersaleoDoc::setMeasurerFactory(MeasurerFactory factory)
{
    m_measurerFactory = std::move(factory);
    m_measurer.reset();
}

std::shared_ptr<TextMeasurer> CVersaleoDoc::bookMeasurer()
{
    const LOGFONT& font = styles.bookPage.font;
    if (!m_measurer || !(m_measuredFont == font)) {
        m_measurer = m_measurerFactory ? m_measurerFactory(font) : nullptr;
        if (!m_measurer)
            m_measurer = std::make_shared<FixedMeasurer>();
        m_measuredFont = font;
    }
    return m_measurer;
}

std::unique_ptr<CBookPage> CVersaleoDoc::createPage(PageKind kind) const
{
    auto page = std::make_unique<CBookPage>(kind);
    switch (kind) {
    case PageKind::BookPage:
        page->background = styles.bookPage.background;
        page->textColour = styles.bookPage.textColour;
        page->font = styles.bookPage.font;
        break;
    case PageKind::NotePage:
        page->background = styles.notePage.background;
        page->textColour = styles.notePage.textColour;
        page->font = styles.notePage.font;
        break;
    case PageKind::BookmarkPage:
        page->background = styles.bookmarkBackground;
        break;
    default:
        break;
    }
    return page;
}

int CVersaleoDoc::countPages(PageKind kind, int first, int last) const
{
    first = std::max(first, 0);
    last = std::min(last, pageCount() - 1);
    int count = 0;
    for (int i = first; i <= last; ++i)
        count += pages[static_cast<size_t>(i)]->kind() == kind ? 1 : 0;
    return count;
}

namespace {

// Marks and tags count on book pages only.
template <typename Items>
int countOnBookPages(const PageList& pages, Items CBookPage::*items)
{
    int count = 0;
    for (const auto& page : pages) {
        if (page->kind() == PageKind::BookPage)
            count += static_cast<int>(((*page).*items).size());
    }
    return count;
}

}  // namespace

int CVersaleoDoc::markCount() const
{
    return countOnBookPages(pages, &CBookPage::marks);
}

int CVersaleoDoc::tagCount() const
{
    return countOnBookPages(pages, &CBookPage::tags);
}

int CVersaleoDoc::bookPageNumberOf(int i) const
{
    return countPages(PageKind::BookPage, 0, i);
}

int CVersaleoDoc::pageOfBookPage(int n) const
{
    if (n < 1)
        return -1;
    int seen = 0;
    for (int i = 0; i < pageCount(); ++i) {
        if (pages[static_cast<size_t>(i)]->kind() == PageKind::BookPage && ++seen == n)
            return i;
    }
    return -1;
}

int CVersaleoDoc::indexOfPage(const CBookPage* page) const
{
    for (int i = 0; i < pageCount(); ++i) {
        if (pages[static_cast<size_t>(i)].get() == page)
            return i;
    }
    return -1;
}

int CVersaleoDoc::pageOfBookmark(int n) const
{
    if (n < 0)
        return -1;
    int seen = 0;
    for (int i = 0; i < pageCount(); i += 2) {
        if (pages[static_cast<size_t>(i)]->kind() == PageKind::BookmarkPage && seen++ == n)
            return i;
    }
    return -1;
}

std::string CVersaleoDoc::statisticsLine() const
{
    char line[256];
    std::snprintf(line, sizeof line,
                  "Statistic:  [Index page: %d]  [Book page: %d]  [Note page: %d]  [Bookmark: %d]  "
                  "[Index: %d]  [Tag: %d]  [Mark: %d]",
                  indexPageCount(), bookPageCount(), notePageCount(), bookmarkCount(), indexEntryCount(),
                  tagCount(), markCount());
    return line;
}

void CVersaleoDoc::rebuildIndexPages()
{
    indexEntries.clear();
    int bookPages = 0;
    std::erase_if(pages, [](const auto& page) { return page->kind() == PageKind::IndexPage; });
    for (const auto& page : pages) {
        if (page->kind() != PageKind::BookPage)
            continue;
        ++bookPages;
        for (const auto& entry : page->indexEntries) {
            entry->bookPageNumber = bookPages;
            indexEntries.push_back(entry.get());
        }
    }
    // Whole leaves of index pages.
    int count = 2;
    if (!indexEntries.empty()) {
        count = (static_cast<int>(indexEntries.size()) + kEntriesPerIndexPage - 1) / kEntriesPerIndexPage;
        count += count % 2;
    }
    const auto at = pages.begin() + std::min<std::ptrdiff_t>(2, static_cast<std::ptrdiff_t>(pages.size()));
    PageList indexPages;
    for (int i = 0; i < count; ++i)
        indexPages.push_back(createPage(PageKind::IndexPage));
    pages.insert(at, std::make_move_iterator(indexPages.begin()), std::make_move_iterator(indexPages.end()));
}

bool CVersaleoDoc::commitSpreadEditors()
{
    bool open = false;
    for (int i = std::max(0, currentPage - 1); i <= currentPage + 1 && i < pageCount(); ++i)
        open = pages[static_cast<size_t>(i)]->commitEditors() || open;
    return open;
}

void CVersaleoDoc::numberBookmarks()
{
    int counter = 0;
    for (int i = 0; i < pageCount() - 1; i += 2) {
        CBookPage& front = *pages[static_cast<size_t>(i)];
        if (front.kind() != PageKind::BookmarkPage)
            continue;
        const int colour = counter++ % 5 + 1;
        front.bookmarkColour = colour;
        pages[static_cast<size_t>(i) + 1]->bookmarkColour = colour;
    }
}

bool CVersaleoDoc::inContent(int first, int last) const
{
    return first <= last && first >= firstContentPage() && last <= lastContentPage();
}

void CVersaleoDoc::alignToLeaves(int& first, int& last)
{
    first -= first % 2;
    last += 1 - last % 2;
}

void CVersaleoDoc::fillClipboard(int first, int last)
{
    clipboard.clear();
    for (int i = first; i <= last; ++i)
        clipboard.push_back(pages[static_cast<size_t>(i)]->deepCopy());
}

void CVersaleoDoc::removeLeaves(int first, int last, const TextSource* keeping)
{
    const auto begin = pages.begin() + first;
    const auto end = pages.begin() + last + 1;
    // A text source whose pages go is of no further use, and its page
    // pointers must not outlive the pages.
    std::set<const CBookPage*> removed;
    for (auto it = begin; it != end; ++it)
        removed.insert(it->get());
    std::erase_if(textSources, [&](const auto& source) {
        return source.get() != keeping && (removed.count(source->firstPage) || removed.count(source->lastPage));
    });
    pages.erase(begin, end);
    rebuildIndexPages();
    numberBookmarks();
    modified = 1;
}

int CVersaleoDoc::copyLeaves(int first, int last)
{
    if (!inContent(first, last))
        return 0;
    alignToLeaves(first, last);
    fillClipboard(first, last);
    return 1;
}

int CVersaleoDoc::deleteLeaves(int first, int last, const TextSource* keeping)
{
    if (!inContent(first, last))
        return 0;
    alignToLeaves(first, last);
    removeLeaves(first, last, keeping);
    currentPage = std::min(currentPage, pageCount() - 1);
    return 1;
}

int CVersaleoDoc::cutLeaves(int first, int last)
{
    if (!copyLeaves(first, last))
        return 0;
    return deleteLeaves(first, last);
}

int CVersaleoDoc::copyCurrentLeaf()
{
    textSources.clear();
    return copyLeaves(currentPage, currentPage);
}

int CVersaleoDoc::deleteCurrentLeaf()
{
    textSources.clear();
    if (!deleteLeaves(currentPage, currentPage))
        return 0;
    if (currentPage % 2 == 1)
        currentPage = std::max(currentPage - 2, 0);
    if (currentPage > pageCount() - 1)
        currentPage = pageCount() - 1;
    return 1;
}

int CVersaleoDoc::cutCurrentLeaf()
{
    if (!copyCurrentLeaf())
        return 0;
    return deleteCurrentLeaf();
}

int CVersaleoDoc::pasteLeaves()
{
    textSources.clear();
    if (clipboard.empty() || !canPasteAt(currentPage))
        return 0;
    PageList copies;
    copies.reserve(clipboard.size());
    for (const auto& page : clipboard)
        copies.push_back(page->deepCopy());
    const int count = static_cast<int>(copies.size());
    const bool odd = currentPage % 2 == 1;
    const int at = odd ? currentPage + 1 : currentPage;
    pages.insert(pages.begin() + at, std::make_move_iterator(copies.begin()), std::make_move_iterator(copies.end()));
    if (odd)
        currentPage += count;
    rebuildIndexPages();
    numberBookmarks();
    modified = 1;
    return 1;
}

void CVersaleoDoc::switchWindow(int n)
{
    if (n < 1 || n > kWindowCount || n == m_activeWindow)
        return;
    if (m_activeWindow != 0) {
        CBookWindow& old = *m_windows[static_cast<size_t>(m_activeWindow - 1)];
        std::swap(old.pages, pages);
        std::swap(old.indexEntries, indexEntries);
        std::swap(old.textSources, textSources);
        old.modified = modified;
        old.currentPage = currentPage;
    }
    CBookWindow& next = *m_windows[static_cast<size_t>(n - 1)];
    std::swap(next.pages, pages);
    std::swap(next.indexEntries, indexEntries);
    std::swap(next.textSources, textSources);
    modified = next.modified;
    currentPage = next.currentPage;
    m_activeWindow = n;
}

void CVersaleoDoc::emptyWindow()
{
    indexEntries.clear();
    textSources.clear();
    if (pages.size() > 4)
        pages.erase(pages.begin() + 2, pages.end() - 2);
    currentPage = 0;
    viewValue1 = -1;
    viewValue2 = -1;
    modified = 0;
}

void CVersaleoDoc::clear()
{
    indexEntries.clear();
    textSources.clear();
    clipboard.clear();
    pages.clear();
}

void CVersaleoDoc::insertPages(int at, PageList newPages)
{
    at = std::clamp(at, 0, pageCount());
    pages.insert(pages.begin() + at, std::make_move_iterator(newPages.begin()),
                 std::make_move_iterator(newPages.end()));
}

std::string CVersaleoDoc::selectedText(int page, bool twoPageMode)
{
    if (page < 0 || page >= pageCount())
        return {};
    return pages[static_cast<size_t>(page)]->selectedText(!twoPageMode);
}
