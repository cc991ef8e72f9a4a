// The document: six book windows, the live pages of the active one, the page
// clipboard and the page styles. Every page operation works on whole leaves
// (pairs of pages) so the page count stays even. The model shows no windows:
// messages go through a DocumentNotifier.
#pragma once

#include "book/CBookWindow.h"
#include "book/DocumentNotifier.h"
#include "book/ImportProgress.h"
#include "book/Importer.h"
#include "book/PageStyle.h"
#include "book/TextMeasurer.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Makes the measurer of a font: the program's measures with the platform's
// fonts, tests and vltool may measure with fixed metrics.
using MeasurerFactory = std::function<std::shared_ptr<TextMeasurer>(const LOGFONT&)>;

class CVersaleoDoc {
public:
    static constexpr int kWindowCount = 6;  // windows 1-5 and the help window 6
    static constexpr int kHelpWindow = 6;
    static constexpr int kEntriesPerIndexPage = 25;
    static constexpr size_t kMaxSelectionBytes = 26000;

    // Creates the six windows and makes window 1 active.
    CVersaleoDoc();
    virtual ~CVersaleoDoc();
    CVersaleoDoc(const CVersaleoDoc&) = delete;
    CVersaleoDoc& operator=(const CVersaleoDoc&) = delete;

    // --- the live set: the active window's content ---
    PageList pages;
    std::vector<IndexEntry*> indexEntries;  // in page order, owned by their pages
    std::vector<std::unique_ptr<TextSource>> textSources;
    PageList clipboard;
    int32_t currentPage = 0;
    int32_t pageToOpenAt = 0;
    int32_t modified = 0;

    // --- settings and styles ---
    int32_t needIndex = 1;
    int32_t needBookmark = 1;
    // Plain texts opened with need index get an entry per chapter heading.
    int32_t detectChapters = 1;
    int32_t flipSpeed = 50;
    int32_t viewValue1 = -1;  // kept for the views
    int32_t viewValue2 = -1;
    PageStyles styles = PageStyles::defaults();
    int32_t lineWidth = kLineWidth;
    double pageProportion = kPageProportion;
    std::array<COLORREF, 8> pageEdgePalette = kPageEdgePalette;

    // A flip speed below 10 or above 50 becomes 50.
    void setFlipSpeed(int32_t speed);

    // Text is laid out with a measurer of the book-page font as it is when the
    // layout runs; without a factory, fixed metrics.
    void setMeasurerFactory(MeasurerFactory factory);
    std::shared_ptr<TextMeasurer> bookMeasurer();

    // A new page of `kind` with the document's style for that kind.
    std::unique_ptr<CBookPage> createPage(PageKind kind) const;

    // --- counting ---
    int pageCount() const { return static_cast<int>(pages.size()); }
    // The kind of page i; None outside the sequence.
    PageKind kindOf(int i) const
    {
        return i >= 0 && i < pageCount() ? pages[static_cast<size_t>(i)]->kind() : PageKind::None;
    }
    // Pages of `kind` among first..last (clamped to the sequence).
    int countPages(PageKind kind, int first, int last) const;
    int countPages(PageKind kind) const { return countPages(kind, 0, pageCount() - 1); }
    int indexPageCount() const { return countPages(PageKind::IndexPage); }
    int bookPageCount() const { return countPages(PageKind::BookPage); }
    int notePageCount() const { return countPages(PageKind::NotePage); }
    int bookmarkCount() const { return countPages(PageKind::BookmarkPage) / 2; }
    int markCount() const;
    int tagCount() const;
    int indexEntryCount() const { return static_cast<int>(indexEntries.size()); }
    // The first and last content page indexes (the last is below the first
    // when there is no content).
    int firstContentPage() const { return indexPageCount() + 2; }
    int lastContentPage() const { return pageCount() - 3; }

    // Book pages among indexes 0..i.
    int bookPageNumberOf(int i) const;
    // The index of the n-th book page (1-based), or -1.
    int pageOfBookPage(int n) const;
    int indexOfPage(const CBookPage* page) const;
    // The front page of bookmark n (0-based), or -1.
    int pageOfBookmark(int n) const;

    // "Statistic:  [Index page: %d]  ..." for the status bar.
    std::string statisticsLine() const;

    // --- rebuilding ---
    void rebuildIndexPages();
    void numberBookmarks();
    // Reads the open editors (tags and note lines) of the spread around the
    // current page back into their pages. The spread pairs an odd page with
    // the next one, so both neighbours of the current page are covered.
    // True when an editor was open.
    bool commitSpreadEditors();

    // --- leaves: 1 on success, 0 (and nothing changed) outside the content ---
    int copyLeaves(int first, int last);
    // `keeping` names a text source that is about to be laid out again: it
    // stays in the list although its pages go.
    int deleteLeaves(int first, int last, const TextSource* keeping = nullptr);
    int cutLeaves(int first, int last);
    int copyCurrentLeaf();
    int deleteCurrentLeaf();
    int cutCurrentLeaf();
    int pasteLeaves();
    // The position rule of pasting: at the spine of a spread from the last
    // index page to the first page of the back cover.
    bool canPasteAt(int page) const { return page >= indexPageCount() + 1 && page <= pageCount() - 2; }

    // --- windows ---
    int activeWindow() const { return m_activeWindow; }
    const CBookWindow& window(int n) const { return *m_windows.at(static_cast<size_t>(n - 1)); }
    void switchWindow(int n);
    void emptyWindow();
    void clear();

    // --- opening files ---
    ImporterRegistry& importers() { return m_importers; }
    void setNotifier(DocumentNotifier* notifier) { m_notifier = notifier; }
    DocumentNotifier* notifier() const { return m_notifier; }
    // Told how far each opening has got; null for none.
    void setProgress(ImportProgress* progress) { m_progress = progress; }
    // Importers report the part of the current file done (0 to 1, or
    // ImportProgress::kUnknown); false once the reader stopped the opening,
    // and from then on until it ends. A stopped opening adds nothing. Outside
    // an opening (a text laid out again) always true.
    bool reportProgress(double done);
    // Later reports of the current file fill the part [from, from + share)
    // of its progress: for a file that is opened as several texts.
    void setProgressPart(double from, double share);

    // The file dialog's multiple selection: the folder, then NUL-separated
    // names from firstName on (at most 26,000 bytes); or one full path with
    // firstName just past its last separator. 0 when nothing names a file.
    int openFiles(const char* selection, size_t size, size_t firstName);
    // One full path.
    int openPath(const std::string& path);
    // Full paths, opened in ascending case-insensitive order.
    int openPaths(std::vector<std::string> paths);
    // A library book: opened as a path; for anything but a book file the
    // library name then becomes the first bookmark's caption and the first
    // index entry's title.
    int openLibraryBook(const std::string& path, const std::string& name);

    // Where importers insert their pages: the start of the content.
    void insertPages(int at, PageList newPages);

    // The selected text of a page, as the clipboard gets it.
    std::string selectedText(int page, bool twoPageMode);

private:
    bool inContent(int first, int last) const;
    static void alignToLeaves(int& first, int& last);
    void fillClipboard(int first, int last);
    void removeLeaves(int first, int last, const TextSource* keeping);
    int openSortedPaths(const std::vector<std::string>& paths);

    std::array<std::unique_ptr<CBookWindow>, kWindowCount> m_windows;
    int m_activeWindow = 0;
    ImporterRegistry m_importers;
    DocumentNotifier* m_notifier = nullptr;
    ImportProgress* m_progress = nullptr;
    bool m_opening = false;
    bool m_stopped = false;
    double m_partFrom = 0.0;
    double m_partShare = 1.0;
    MeasurerFactory m_measurerFactory;
    std::shared_ptr<TextMeasurer> m_measurer;
    LOGFONT m_measuredFont;
};

// The paths a file-dialog selection names, in ascending case-insensitive order.
std::vector<std::string> parseOpenSelection(const char* selection, size_t size, size_t firstName);
// Puts a path into a sorted list before the first path that compares greater.
void insertSorted(std::vector<std::string>& paths, std::string path);
