#include "app/CMusicDlg.h"

#include "app/CMessageDlg.h"
#include "app/MusicState.h"
#include "app/UiText.h"

#include "style/CStyle.h"
#include "style/CStyleButton.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>

#include <algorithm>
#include <utility>

namespace {

constexpr QSize kSize{410, 290};

// The wait cursor for the length of a copy or a deletion.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// The table's names with the patterns in Qt's form (spaces, not semicolons).
QStringList musicFilters()
{
    const auto filter = [](int id, const char* patterns) {
        return ui::text(id).section(QStringLiteral(" ("), 0, 0) + QStringLiteral(" (") +
               QLatin1String(patterns) + QLatin1Char(')');
    };
    return {filter(4504, "*.mp3"), filter(4505, "*.wav *.wave"), filter(4506, "*.mid *.midi")};
}

}  // namespace

CMusicDlg::CMusicDlg(MusicState& music, std::string musicFolder, QWidget* parent)
    : CSkinDialog(parent), m_music(music), m_folder(std::move(musicFolder)), m_list(new QListWidget(this)),
      m_add(new CStyleButton(this)), m_delete(new CStyleButton(this)), m_choices{}
{
    showNotice = [this](const QString& caption, const QString& text) { CMessageDlg(text, caption, false, this).exec(); };
    askMusicPaths = [this] {
        QFileDialog chooser(this, ui::textOr(4003, "Open Music File"), QDir::homePath());
        chooser.setOption(QFileDialog::DontUseNativeDialog);
        chooser.setOption(QFileDialog::ReadOnly);
        chooser.setAcceptMode(QFileDialog::AcceptOpen);
        chooser.setFileMode(QFileDialog::ExistingFiles);
        chooser.setNameFilters(musicFilters());
        return chooser.exec() == QDialog::Accepted ? chooser.selectedFiles() : QStringList();
    };

    setModal(true);
    setFixedSize(kSize);
    auto* listLabel = new QLabel(ui::textOr(ui::kControlLabel + kListId, "Playing List:"), this);
    listLabel->setGeometry(15, 34, 170, 20);
    m_list->setGeometry(15, 56, 200, 186);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_add->setGeometry(15, 248, 20, 20);
    m_delete->setGeometry(41, 248, 20, 20);
    const CStyle* style = applicationStyle();
    for (const auto& [button, id] : {std::pair{m_add, kAddId}, std::pair{m_delete, kDeleteId}}) {
        button->setCommandId(id);
        button->setToolTip(ui::textOr(ui::kControlText + id, id == kAddId ? "Add songs" : "Delete the selected songs"));
        button->setAccessibleName(button->toolTip());
        if (style) {
            if (button == m_add)
                button->SetPicture(STYLE_PICTURES(*style, add));
            else
                button->SetPicture(STYLE_PICTURES(*style, subtract));
        }
    }
    connect(m_add, &CStyleButton::clicked, this, [this] {
        const QStringList paths = askMusicPaths();
        if (!paths.isEmpty())
            addSongs(paths);
    });
    connect(m_delete, &CStyleButton::clicked, this, &CMusicDlg::deleteSelected);

    auto* group = new QGroupBox(ui::textOr(ui::kControlLabel + kPlayAllId, "Option"), this);
    group->setGeometry(230, 50, 165, 120);
    auto* radios = new QButtonGroup(this);
    const char* const labels[] = {"Play all songs", "Play selected songs", "Stop playing"};
    for (int i = 0; i < 3; ++i) {
        m_choices[i] = new QRadioButton(ui::textOr(ui::kControlText + kPlayAllId + i, labels[i]), group);
        m_choices[i]->setGeometry(10, 24 + 30 * i, 150, 22);
        radios->addButton(m_choices[i], i);
    }
    m_choices[PlayAll]->setChecked(true);
    SetUp(ui::textOr(4002, "Background Music"), true, true, true, true, QString(), QString());

    for (const std::string& path : music::songsInFolder(m_folder))
        m_list->addItem(QFileInfo(QString::fromStdString(path)).fileName());
}

CMusicDlg::~CMusicDlg() = default;

QRadioButton* CMusicDlg::choiceRadio(Choice choice) const
{
    return m_choices[choice];
}

void CMusicDlg::addSongs(const QStringList& paths)
{
    if (paths.isEmpty())
        return;
    if (music::playerForSong(QFileInfo(paths.first()).fileName().toStdString()) == music::kNone) {
        showNotice(ui::text(4102), ui::text(4401));
        return;
    }
    const WaitCursor wait;
    const QString folder = QString::fromStdString(m_folder);
    QDir().mkpath(folder);
    for (const QString& path : paths) {
        const QString name = QFileInfo(path).fileName();
        const QString target = folder + QLatin1Char('/') + name;
        // Copying a song onto itself would delete it first.
        if (QFileInfo(path).canonicalFilePath() == QFileInfo(target).canonicalFilePath())
            continue;
        if (QFileInfo::exists(target))
            QFile::remove(target);
        if (!QFile::copy(path, target))
            continue;
        if (m_list->findItems(name, Qt::MatchExactly).isEmpty())
            m_list->addItem(name);
    }
}

void CMusicDlg::deleteSelected()
{
    std::vector<int> rows;
    for (const QListWidgetItem* item : m_list->selectedItems())
        rows.push_back(m_list->row(item));
    if (rows.empty())
        return;
    const WaitCursor wait;
    // A playing song's file is held open: stop it first.
    m_music.close();
    std::sort(rows.begin(), rows.end());
    int removed = 0;
    for (int row : rows) {
        const int at = row - removed;
        const QString path = QString::fromStdString(m_folder) + QLatin1Char('/') + m_list->item(at)->text();
        QFile::remove(path);
        // A file that could not be deleted stays listed, as it stays a song.
        if (QFileInfo::exists(path))
            continue;
        delete m_list->takeItem(at);
        ++removed;
    }
}

void CMusicDlg::OnOK()
{
    int choice = PlayAll;
    for (int i = 0; i < 3; ++i) {
        if (m_choices[i]->isChecked())
            choice = i;
    }
    m_music.close();
    if (choice != StopPlaying) {
        std::vector<std::string> songs;
        for (int row = 0; row < m_list->count(); ++row) {
            const QListWidgetItem* item = m_list->item(row);
            if (choice == PlayAll || item->isSelected())
                songs.push_back(m_folder + "/" + item->text().toStdString());
        }
        m_music.setSongList(std::move(songs));
        m_music.playNext();
    }
    CSkinDialog::OnOK();
}
