#include "app/CBackPictureDlg.h"

#include "app/PicturePanel.h"
#include "app/UiText.h"

#include "library/DocumentPictures.h"
#include "library/Settings.h"
#include "style/CStyleButton.h"

#include <QListWidget>

#include <utility>

namespace {

constexpr QSize kSize{470, 300};

}  // namespace

CBackPictureDlg::CBackPictureDlg(DocumentPictures& pictures, SettingsStore& settings, std::function<void()> refreshViews,
                                 QWidget* parent)
    : CSkinDialog(parent), m_pictures(pictures), m_settings(settings), m_refreshViews(std::move(refreshViews)),
      m_preview(new PicturePreview(ui::text(ui::kControlText + kPreviewId), this)),
      m_panel(new PicturePanel(this, PictureFamily(pictures.folder(), "BackGround"), false, m_preview, kListId, kAddId,
                               kDeleteId)),
      m_chosen(pictures.backgroundNumber())
{
    setModal(true);
    setFixedSize(kSize);
    m_panel->list()->setGeometry(15, 40, 170, 186);
    m_panel->addButton()->setGeometry(15, 232, 20, 20);
    m_panel->deleteButton()->setGeometry(41, 232, 20, 20);
    m_preview->setGeometry(200, 34, 255, 218);
    SetUp(ui::text(4000), true, true, true, true, QString(), QString());

    m_panel->fill();
    // Nothing is selected when the chosen number has no picture.
    m_panel->selectNumber(pictures.backgroundNumber());
    connect(m_panel->list(), &QListWidget::itemDoubleClicked, this, [this] { OnOK(); });
    // The chosen picture keeps its place behind the book when one before it
    // goes and it moves down a number.
    connect(m_panel, &PicturePanel::pictureDeleted, this, [this](int number) {
        if (number < m_chosen)
            --m_chosen;
    });
}

CBackPictureDlg::~CBackPictureDlg() = default;

void CBackPictureDlg::OnOK()
{
    const int number = m_panel->selectedNumber();
    if (number >= 1) {
        m_pictures.chooseBackground(number);
        m_settings.writeBackPictureIndex(number);
        m_refreshViews();
    } else {
        // Nothing chosen: the background stays the reader's earlier choice.
        showWhatTheFolderHolds();
    }
    CSkinDialog::OnOK();
}

void CBackPictureDlg::OnCancel()
{
    showWhatTheFolderHolds();
    CSkinDialog::OnCancel();
}

void CBackPictureDlg::showWhatTheFolderHolds()
{
    // The picture behind the book may have gone (what moved into its number
    // shows, as the next start would show it) or moved down a number (it
    // stays, under its new number in the settings too).
    if (!m_panel->filesChanged())
        return;
    if (m_chosen != m_pictures.backgroundNumber()) {
        m_pictures.chooseBackground(m_chosen);
        m_settings.writeBackPictureIndex(m_chosen);
    } else {
        m_pictures.loadBackground(m_chosen);
    }
    m_refreshViews();
}
