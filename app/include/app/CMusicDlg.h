// The "Background Music" dialog: the songs of the music folder, adding and
// deleting them, and what plays from now on.
#pragma once

#include "app/CSkinDialog.h"

#include <functional>
#include <string>

class CStyleButton;
class MusicState;
class QListWidget;
class QRadioButton;

class CMusicDlg : public CSkinDialog {
    Q_OBJECT

public:
    static constexpr int kResourceId = 59;
    static constexpr int kListId = 350, kAddId = 351, kDeleteId = 352, kPlayAllId = 353, kPlaySelectedId = 354,
                         kStopId = 355;
    enum Choice { PlayAll = 0, PlaySelected = 1, StopPlaying = 2 };

    CMusicDlg(MusicState& music, std::string musicFolder, QWidget* parent = nullptr);
    ~CMusicDlg() override;

    QListWidget* list() const { return m_list; }
    CStyleButton* addButton() const { return m_add; }
    CStyleButton* deleteButton() const { return m_delete; }
    QRadioButton* choiceRadio(Choice choice) const;

    // Copies the chosen files into the music folder (the first one's type
    // checked) and lists the ones copied.
    void addSongs(const QStringList& paths);
    // Stops the music and deletes the selected songs' files.
    void deleteSelected();

    // The files chosen in the open dialog (empty when cancelled); tests replace it.
    std::function<QStringList()> askMusicPaths;
    std::function<void(const QString& caption, const QString& text)> showNotice;

protected:
    void OnOK() override;

private:
    MusicState& m_music;
    std::string m_folder;
    QListWidget* m_list;
    CStyleButton* m_add;
    CStyleButton* m_delete;
    QRadioButton* m_choices[3];
};
