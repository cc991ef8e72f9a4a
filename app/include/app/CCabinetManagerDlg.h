// The cabinet manager: the list of cabinets, the bookshelf of the current
// one, and the commands that create, update and delete cabinets, add,
// update and delete books and read a book. The library is loaded when the
// dialog is made; OK and Read save it, Cancel goes back to what was saved.
#pragma once

#include "app/CSkinDialog.h"

#include "library/CabinetLibrary.h"

#include "book/WinTypes.h"

#include <functional>
#include <map>
#include <optional>
#include <string>

class CBookshelf;
class CStyleButton;
class CVersaleoDoc;
class QLabel;
class QListWidget;
class QTimer;
class SettingsStore;

class CCabinetManagerDlg : public CSkinDialog {
    Q_OBJECT

public:
    static constexpr int kListId = 520;
    static constexpr int kCreateId = 521;
    static constexpr int kUpdateCabinetId = 522;
    static constexpr int kDeleteCabinetId = 523;
    static constexpr int kAddId = 524;
    static constexpr int kUpdateBookId = 525;
    static constexpr int kDeleteBookId = 526;
    static constexpr int kReadId = 527;
    static constexpr int kButtonTimerMs = 200;

    // The library of the books folder; the document lends its page font to
    // the spines' titles.
    CCabinetManagerDlg(const CVersaleoDoc& doc, SettingsStore& settings, const std::string& booksFolder,
                       QWidget* parent = nullptr);
    ~CCabinetManagerDlg() override;

    // What Read chose: the copy to open and the entry's name (page text).
    struct BookToRead {
        std::string path;
        std::string name;
    };
    const std::optional<BookToRead>& bookToRead() const { return m_read; }

    CabinetLibrary& library() { return m_library; }
    CabinetLibrary::LoadStatus loadStatus() const { return m_loadStatus; }
    QListWidget* cabinetList() const { return m_list; }
    CBookshelf* shelf() const { return m_shelf; }
    CStyleButton* button(int id) const;
    // The buttons' states from the library now (timer 800 runs it every 200 ms).
    void updateButtons();

    // How the child dialogs run and the reader is told; tests replace them.
    std::function<int(QDialog& dialog)> runDialog;
    std::function<void(const QString& caption, const QString& text)> showMessage;

protected:
    void OnOK() override;
    void OnCancel() override;
    void showEvent(QShowEvent* event) override;

private:
    void runCommand(int id);
    void createCabinet();
    void updateCabinet();
    void deleteCabinet();
    void addBook();
    void updateBook();
    void deleteBook();
    void readBook();
    // The list, the cabinet's details and the shelf after the library changed.
    void showLibrary();
    bool save();

    CabinetLibrary m_library;
    SettingsStore& m_settings;
    LOGFONT m_pageFont;
    CabinetLibrary::LoadStatus m_loadStatus;
    bool m_damageTold = false;
    std::optional<BookToRead> m_read;
    QListWidget* m_list = nullptr;
    QLabel* m_details = nullptr;
    CBookshelf* m_shelf = nullptr;
    std::map<int, CStyleButton*> m_buttons;
    QTimer* m_buttonTimer = nullptr;
};
