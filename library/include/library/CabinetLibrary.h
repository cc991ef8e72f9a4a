// The library as the cabinet manager holds it while it is open: the
// cabinets, the current cabinet and the selected book, the operations of the
// manager's commands, loading and saving "library.xml" and keeping the books
// folder clean. No widgets here: the dialogs drive it, tests drive it alone.
#pragma once

#include "library/BooksFolder.h"
#include "library/Cabinet.h"

#include <ctime>
#include <functional>
#include <string>
#include <vector>

// Which of the manager's buttons are enabled.
struct CabinetButtons {
    bool create = true;
    bool updateCabinet = false;
    bool deleteCabinet = false;
    bool addBook = false;
    bool updateBook = false;
    bool deleteBook = false;
    bool readBook = false;

    friend bool operator==(const CabinetButtons&, const CabinetButtons&) = default;
};

// Without a current cabinet only "Create"; with one the cabinet buttons, "Add"
// while it holds fewer than 24 books, and the three book buttons exactly
// while a book is selected.
CabinetButtons cabinetButtonStates(int currentCabinet, size_t booksInCurrent, int selectedBook);

class CabinetLibrary {
public:
    enum class LoadStatus {
        Missing,  // no library file: an empty library
        Loaded,
        Damaged,  // the file was no library: kept aside (damagedFileName()), the library is empty
    };

    explicit CabinetLibrary(std::string booksFolder);

    // Reads the library file. Entries whose copy is missing are left out. A
    // file that cannot be read as a library is renamed aside and never
    // overwritten; while it is there the clean-up does not run.
    LoadStatus load();
    // The name the damaged file was kept under; empty when it could not be
    // moved (then the library refuses to save over it).
    const std::string& damagedFileName() const { return m_damagedName; }

    // Backs up and replaces the library file atomically, then, only when
    // that worked, deletes every file of the books folder that is neither
    // the library file nor a copy of an entry. False when nothing was saved.
    bool save();

    // --- state ---
    const std::vector<CCabinet>& cabinets() const { return m_cabinets; }
    int currentCabinet() const { return m_current; }
    int selectedBook() const { return m_selected; }
    const CCabinet* current() const;
    const CCabinetBook* selected() const;
    CabinetButtons buttonStates() const;

    // The list's selection: a cabinet index (-1 none); the selection of a book ends.
    void selectCabinet(int index);
    // A book of the current cabinet, -1 for none.
    void selectBook(int index);

    // --- the manager's commands ---
    // Appends and makes current, no book selected.
    void createCabinet(CCabinet cabinet);
    // The current cabinet's name, creator and colour; its date stays.
    void updateCabinet(const std::string& name, const std::string& creator, COLORREF borderColor);
    // The current cabinet with its entries (the copies go at the next save).
    void deleteCabinet();
    // Copies the file into the books folder and appends an entry for it to
    // the current cabinet; false (nothing added) when there is no room or the
    // copy failed.
    bool addBook(const std::string& sourcePath, const std::string& bookName, const std::string& author,
                 COLORREF frameColor);
    void updateBook(const std::string& bookName, const std::string& author, COLORREF frameColor);
    void deleteBook();
    // The copy of the selected entry (empty when none is selected).
    std::string selectedCopyPath() const;

    const std::string& folder() const { return m_folder; }
    // Tests put in a writer that fails.
    void setWriter(books::FileWriter writer) { m_writer = std::move(writer); }
    // The clock that dates a damaged file.
    void setClock(std::function<std::time_t()> clock) { m_clock = std::move(clock); }

private:
    std::string m_folder;
    std::vector<CCabinet> m_cabinets;
    int m_current = -1;
    int m_selected = -1;
    std::string m_damagedName;
    bool m_saveRefused = false;
    books::FileWriter m_writer = books::writeAll;
    std::function<std::time_t()> m_clock = [] { return std::time(nullptr); };
};
