// Builders and fakes for the book model tests.
#pragma once

#include "book/CVersaleoDoc.h"

#include <string>
#include <vector>

// Appends `count` book pages (an even number) to the end of the content; each
// page's first line names it ("page 1", "page 2", ... among those added).
inline void addBookPages(CVersaleoDoc& doc, int count, int entriesPerPage = 0)
{
    PageList added;
    for (int i = 0; i < count; ++i) {
        auto page = doc.createPage(PageKind::BookPage);
        page->lines.push_back("page " + std::to_string(i + 1) + "\r\n");
        page->rebuildCells();
        for (int e = 0; e < entriesPerPage; ++e) {
            auto entry = std::make_unique<IndexEntry>();
            entry->setTitle("entry " + std::to_string(e));
            page->indexEntries.push_back(std::move(entry));
        }
        added.push_back(std::move(page));
    }
    doc.insertPages(doc.lastContentPage() + 1, std::move(added));
    doc.rebuildIndexPages();
    doc.numberBookmarks();
}

inline void addBookmark(CVersaleoDoc& doc, const std::string& caption)
{
    PageList leaf;
    for (int i = 0; i < 2; ++i) {
        auto page = doc.createPage(PageKind::BookmarkPage);
        page->caption = caption;
        leaf.push_back(std::move(page));
    }
    doc.insertPages(doc.lastContentPage() + 1, std::move(leaf));
    doc.numberBookmarks();
}

// The first line of every page, or the kind's initial for pages without lines.
inline std::vector<std::string> pageNames(const CVersaleoDoc& doc)
{
    std::vector<std::string> names;
    for (const auto& page : doc.pages) {
        if (!page->lines.empty()) {
            std::string line = page->lines.front();
            while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
                line.pop_back();
            names.push_back(line);
        } else {
            static const char* const kInitials[] = {"B", "N", "I", "M", "C"};
            names.push_back(kInitials[static_cast<int>(page->kind())]);
        }
    }
    return names;
}

class FakeEditor : public InPlaceEditor {
public:
    FakeEditor(std::string text, int* hidden, int* destroyed)
        : m_text(std::move(text)), m_hidden(hidden), m_destroyed(destroyed)
    {
    }
    ~FakeEditor() override { ++*m_destroyed; }
    std::string text() const override { return m_text; }
    void hide() override { ++*m_hidden; }

private:
    std::string m_text;
    int* m_hidden;
    int* m_destroyed;
};

class RecordingNotifier : public DocumentNotifier {
public:
    std::vector<DocMessage> messages;
    // The files named by file messages, in order.
    std::vector<std::string> messagePaths;
    int waits = 0;
    int waitsEnded = 0;
    int refreshes = 0;
    void showMessage(DocMessage message) override { messages.push_back(message); }
    void showFileMessage(DocMessage message, const std::string& path) override
    {
        messages.push_back(message);
        messagePaths.push_back(path);
    }
    void beginWait() override { ++waits; }
    void endWait() override { ++waitsEnded; }
    void refreshViews() override { ++refreshes; }
};

// Inserts one leaf of book pages named after the file, and records the order.
class FakeImporter : public Importer {
public:
    explicit FakeImporter(bool succeeds = true, bool bookFiles = false)
        : m_succeeds(succeeds), m_bookFiles(bookFiles)
    {
    }
    std::vector<std::string> imported;
    bool import(CVersaleoDoc& doc, const std::string& path) override
    {
        imported.push_back(path);
        if (!m_succeeds)
            return false;
        PageList leaf;
        if (!m_bookFiles) {
            for (int i = 0; i < 2; ++i) {
                auto mark = doc.createPage(PageKind::BookmarkPage);
                mark->caption = "file caption";
                leaf.push_back(std::move(mark));
            }
        }
        for (int i = 0; i < 2; ++i) {
            auto page = doc.createPage(PageKind::BookPage);
            page->lines.push_back(path + "\r\n");
            if (i == 0 && !m_bookFiles) {
                auto entry = std::make_unique<IndexEntry>();
                entry->setTitle("file title");
                page->indexEntries.push_back(std::move(entry));
            }
            leaf.push_back(std::move(page));
        }
        doc.insertPages(doc.firstContentPage(), std::move(leaf));
        doc.modified = 1;
        return true;
    }
    bool readsBookFiles() const override { return m_bookFiles; }

private:
    bool m_succeeds;
    bool m_bookFiles;
};
