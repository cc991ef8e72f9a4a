#include "book/CVersaleoDoc.h"

#include "book/Dbcs.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr char kSeparator = '/';

// Ends the wait cursor however the opening leaves.
class WaitScope {
public:
    explicit WaitScope(DocumentNotifier* notifier) : m_notifier(notifier)
    {
        if (m_notifier)
            m_notifier->beginWait();
    }
    ~WaitScope()
    {
        if (m_notifier)
            m_notifier->endWait();
    }
    WaitScope(const WaitScope&) = delete;
    WaitScope& operator=(const WaitScope&) = delete;

private:
    DocumentNotifier* m_notifier;
};

// Tells the progress each file as it starts, and that the opening is over
// however it leaves.
class ProgressScope {
public:
    explicit ProgressScope(ImportProgress* progress) : m_progress(progress) {}
    ~ProgressScope()
    {
        if (m_progress && m_begun)
            m_progress->end();
    }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;
    void begin(const std::string& path)
    {
        if (!m_progress)
            return;
        m_progress->begin(path);
        m_begun = true;
    }

private:
    ImportProgress* m_progress;
    bool m_begun = false;
};

}  // namespace

std::vector<std::string> parseOpenSelection(const char* selection, size_t size, size_t firstName)
{
    std::vector<std::string> paths;
    if (!selection)
        return paths;
    size = std::min(size, CVersaleoDoc::kMaxSelectionBytes);
    if (firstName >= size)
        return paths;
    // The folder is what comes before the first name, without the NUL or the
    // separator that ends it; empty for a root path, which still gets its
    // separator back.
    const bool hasFolder = firstName > 0;
    const std::string folder(selection, hasFolder ? firstName - 1 : 0);
    for (size_t pos = firstName; pos < size;) {
        const char* name = selection + pos;
        const size_t length = ::strnlen(name, size - pos);
        // An empty name ends the list; one without its NUL was cut off.
        if (length == 0 || length == size - pos)
            break;
        std::string path = hasFolder ? folder + kSeparator + std::string(name, length) : std::string(name, length);
        insertSorted(paths, std::move(path));
        pos += length + 1;
    }
    return paths;
}

void insertSorted(std::vector<std::string>& paths, std::string path)
{
    // Before the first path that compares greater: equal paths keep their order.
    const auto at = std::upper_bound(paths.begin(), paths.end(), path, [](const std::string& a, const std::string& b) {
        return dbcs::compareNoCase(a, b) < 0;
    });
    paths.insert(at, std::move(path));
}

int CVersaleoDoc::openPaths(std::vector<std::string> paths)
{
    std::vector<std::string> sorted;
    for (std::string& path : paths)
        insertSorted(sorted, std::move(path));
    if (sorted.empty()) {
        if (m_notifier)
            m_notifier->showMessage(DocMessage::NoFileToOpen);
        return 0;
    }
    return openSortedPaths(sorted);
}

int CVersaleoDoc::openFiles(const char* selection, size_t size, size_t firstName)
{
    const std::vector<std::string> paths = parseOpenSelection(selection, size, firstName);
    if (paths.empty()) {
        if (m_notifier)
            m_notifier->showMessage(DocMessage::NoFileToOpen);
        return 0;
    }
    return openSortedPaths(paths);
}

int CVersaleoDoc::openPath(const std::string& path)
{
    const size_t sep = path.rfind(kSeparator);
    const size_t firstName = sep == std::string::npos ? 0 : sep + 1;
    return openFiles(path.c_str(), path.size() + 1, firstName);
}

int CVersaleoDoc::openSortedPaths(const std::vector<std::string>& paths)
{
    WaitScope wait(m_notifier);
    ProgressScope progress(m_progress);
    m_stopped = false;
    m_opening = true;
    // The texts imported before give way to what this opening adds; an
    // opening that adds nothing keeps them.
    std::vector<std::unique_ptr<TextSource>> before = std::move(textSources);
    textSources.clear();
    pageToOpenAt = 0;
    const int32_t modifiedBefore = modified;
    const int pagesBefore = pageCount();
    const int first = firstContentPage();
    bool added = false;
    // Each importer inserts at the start of the content, so the last path goes
    // first and the files end up in list order.
    for (auto it = paths.rbegin(); it != paths.rend() && !m_stopped; ++it) {
        Importer* importer = m_importers.forPath(*it);
        if (!importer) {
            if (m_notifier)
                m_notifier->showMessage(DocMessage::UnsupportedType);
            break;
        }
        setProgressPart(0.0, 1.0);
        progress.begin(*it);
        added = importer->import(*this, *it) || added;
    }
    if (m_stopped) {
        // Everything this opening inserted sits at the start of the content.
        const int inserted = pageCount() - pagesBefore;
        if (inserted > 0)
            pages.erase(pages.begin() + first, pages.begin() + first + inserted);
        textSources = std::move(before);
        modified = modifiedBefore;
        pageToOpenAt = 0;
        m_opening = false;
        m_stopped = false;
        return 1;
    }
    m_opening = false;
    // A file that added nothing (a damaged book, say) leaves the window as it was.
    if (!added && textSources.empty())
        textSources = std::move(before);
    if (modified && added) {
        rebuildIndexPages();
        numberBookmarks();
        // The start page comes from the file: keep it inside the book, and
        // add in 64 bits, as it may be anything up to INT32_MAX.
        const int64_t target = int64_t{firstContentPage()} + std::max(pageToOpenAt, 0);
        currentPage = static_cast<int>(std::clamp<int64_t>(target, 0, std::max(lastContentPage(), 0)));
        if (m_notifier)
            m_notifier->refreshViews();
    }
    return 1;
}

bool CVersaleoDoc::reportProgress(double done)
{
    if (!m_opening || m_stopped || !m_progress)
        return !m_stopped;
    const double shown = done < 0 ? ImportProgress::kUnknown : m_partFrom + std::clamp(done, 0.0, 1.0) * m_partShare;
    if (!m_progress->update(shown))
        m_stopped = true;
    return !m_stopped;
}

void CVersaleoDoc::setProgressPart(double from, double share)
{
    m_partFrom = from;
    m_partShare = share;
}

int CVersaleoDoc::openLibraryBook(const std::string& path, const std::string& name)
{
    const int before = pageCount();
    const int result = openPath(path);
    Importer* importer = m_importers.forPath(path);
    // A file that added nothing leaves the first bookmark and entry to the
    // book that was there before.
    if (!result || !importer || importer->readsBookFiles() || pageCount() == before)
        return result;
    if (needBookmark == 1) {
        const int front = pageOfBookmark(0);
        if (front >= 0) {
            const std::string caption = dbcs::cutCopy(name, 20);
            pages[static_cast<size_t>(front)]->caption = caption;
            pages[static_cast<size_t>(front) + 1]->caption = caption;
        }
    }
    if (needIndex == 1 && !indexEntries.empty())
        indexEntries.front()->setTitle(name, IndexEntry::kTitleLimit);
    return result;
}
