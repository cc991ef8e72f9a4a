// The "Background Picture" dialog: the background pictures of the picture
// folder, adding and deleting them, and choosing the one behind the book.
#pragma once

#include "app/CSkinDialog.h"

#include <functional>

class DocumentPictures;
class PicturePanel;
class PicturePreview;
class SettingsStore;

class CBackPictureDlg : public CSkinDialog {
    Q_OBJECT

public:
    static constexpr int kResourceId = 58;
    static constexpr int kListId = 340, kAddId = 341, kDeleteId = 342, kPreviewId = 343;

    // refreshViews: the main frame's refresh, run when the background changed.
    CBackPictureDlg(DocumentPictures& pictures, SettingsStore& settings, std::function<void()> refreshViews,
                    QWidget* parent = nullptr);
    ~CBackPictureDlg() override;

    PicturePanel& panel() const { return *m_panel; }
    PicturePreview& preview() const { return *m_preview; }

protected:
    // The selected picture goes behind the book and into the settings.
    void OnOK() override;
    // The choice stays as it was; pictures added or deleted stay so.
    void OnCancel() override;

private:
    void showWhatTheFolderHolds();

    DocumentPictures& m_pictures;
    SettingsStore& m_settings;
    std::function<void()> m_refreshViews;
    PicturePreview* m_preview;
    PicturePanel* m_panel;
    // The number of the picture behind the book, followed through deletions.
    int m_chosen;
};
