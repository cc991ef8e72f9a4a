// The book dialog: the document a new entry copies (chosen with "File"), and
// the entry's name, author and spine colour. In add mode the chosen file's
// title becomes the name; in update mode the file cannot be changed.
#pragma once

#include "app/CSkinDialog.h"

#include "library/Cabinet.h"

#include <functional>
#include <optional>
#include <string>

class ColourBox;
class CStyleButton;
class QLabel;
class QLineEdit;
class SettingsStore;

class CBookInfoDlg : public CSkinDialog {
    Q_OBJECT

public:
    enum Mode { Add = 1, Update = 2 };
    static constexpr int kFileId = 560;
    static constexpr int kPathId = 561;
    static constexpr int kNameId = 562;
    static constexpr int kAuthorId = 563;
    static constexpr int kColourId = 564;

    // The settings hold the folder the file dialog starts in ("OpenFilePath").
    CBookInfoDlg(Mode mode, SettingsStore& settings, QWidget* parent = nullptr);

    // Update mode: the entry's name, author and colour.
    void setBook(const CCabinetBook& book);
    // The chosen file (add mode), empty when none was chosen.
    std::string path() const;
    // The name, author (page text) and colour; no file name.
    CCabinetBook book() const;

    // The "File" button: the open dialog, then the path and the title.
    void chooseFile();

    CStyleButton* fileButton() const { return m_file; }
    QLineEdit* pathEdit() const { return m_path; }
    QLineEdit* nameEdit() const { return m_name; }
    QLineEdit* authorEdit() const { return m_author; }
    ColourBox* colourBox() const { return m_colour; }

    // How the dialog asks for a file and a colour (nothing when cancelled)
    // and tells the reader; tests replace them.
    std::function<QString(const QString& startFolder)> askFilePath;
    std::function<std::optional<COLORREF>(COLORREF current)> askColour;
    std::function<void(const QString& caption, const QString& text)> showMessage;

protected:
    void OnOK() override;

private:
    void chooseColour();

    Mode m_mode;
    SettingsStore& m_settings;
    QString m_chosen;
    CStyleButton* m_file = nullptr;
    QLineEdit* m_path = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_author = nullptr;
    ColourBox* m_colour = nullptr;
};
