// The "Book Page" dialog: the paper colour, text colour, font and page
// picture of a range of book pages (or of every page and the pages to come),
// and the page pictures of the picture folder.
#pragma once

#include "app/CSkinDialog.h"

#include "library/BookPageStyle.h"

#include <QColor>
#include <QFont>

#include <functional>
#include <optional>

class CStyleButton;
class CVersaleoDoc;
class ColourBox;
class DocumentPictures;
class PicturePanel;
class PicturePreview;
class QCheckBox;
class QLabel;
class QSlider;
class SettingsStore;

class CBookPageStyleDlg : public CSkinDialog {
    Q_OBJECT

public:
    static constexpr int kResourceId = 64;
    static constexpr int kPaperId = 580, kTextColourId = 581, kFontId = 582, kApplyAllId = 583, kStartId = 584,
                         kEndId = 585, kStartNumberId = 586, kEndNumberId = 587, kListId = 588, kAddId = 589,
                         kDeleteId = 590, kPreviewId = 591;

    // refreshViews: the main frame's refresh, run when pages or pictures changed.
    CBookPageStyleDlg(CVersaleoDoc& doc, DocumentPictures& pictures, SettingsStore& settings,
                      std::function<void()> refreshViews, QWidget* parent = nullptr);
    ~CBookPageStyleDlg() override;

    // What the dialog has chosen so far (the picture is the selected line's).
    BookPageChoice choice() const;

    ColourBox* paperBox() const { return m_paper; }
    ColourBox* textColourBox() const { return m_textColour; }
    CStyleButton* fontButton() const { return m_font; }
    QCheckBox* applyAllBox() const { return m_applyAll; }
    QSlider* startSlider() const { return m_start; }
    QSlider* endSlider() const { return m_end; }
    QLabel* startNumber() const { return m_startNumber; }
    QLabel* endNumber() const { return m_endNumber; }
    PicturePanel& panel() const { return *m_panel; }
    PicturePreview& preview() const { return *m_preview; }

    // How the dialog asks for a colour and a font; tests replace them.
    // Nothing comes back when the reader cancels.
    std::function<std::optional<QColor>(const QColor& start, const QString& title)> askColour;
    std::function<std::optional<QFont>(const QFont& start)> askFont;

protected:
    // The choice goes to the range of pages (or to every page and the
    // document's book-page style) and "Apply to all pages" to the settings.
    void OnOK() override;
    void OnCancel() override;

private:
    void choosePaper();
    void chooseTextColour();
    void chooseFont();
    void showChoice();
    void showRange();
    // Page pictures added or deleted: the book shows the folder's pictures.
    void showNewPictures();

    CVersaleoDoc& m_doc;
    DocumentPictures& m_pictures;
    SettingsStore& m_settings;
    std::function<void()> m_refreshViews;
    BookPageChoice m_choice;
    ColourBox* m_paper;
    ColourBox* m_textColour;
    CStyleButton* m_font;
    QCheckBox* m_applyAll;
    QSlider* m_start;
    QSlider* m_end;
    QLabel* m_startNumber;
    QLabel* m_endNumber;
    PicturePreview* m_preview;
    PicturePanel* m_panel;
};
