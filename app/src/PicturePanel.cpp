#include "app/PicturePanel.h"

#include "app/CMessageDlg.h"
#include "app/CSkinDialog.h"
#include "app/FileDialogs.h"
#include "app/UiText.h"

#include "library/DocumentPictures.h"
#include "style/CStyleButton.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QListWidget>
#include <QPainter>

#include <utility>

PicturePreview::PicturePreview(const QString& title, QWidget* parent) : QGroupBox(title, parent) {}

void PicturePreview::setPicture(QImage picture)
{
    m_picture = std::move(picture);
    update();
}

QRect PicturePreview::pictureArea(const QRect& frame)
{
    return frame.adjusted(10, 20, -10, -10);
}

void PicturePreview::paintEvent(QPaintEvent* event)
{
    QGroupBox::paintEvent(event);
    QPainter painter(this);
    const QRect area = pictureArea(rect());
    if (area.isValid())
        paintInside(painter, area);
}

void PicturePreview::paintInside(QPainter& painter, const QRect& area)
{
    // Stretched pixel by pixel, as the book's pages show their pictures.
    if (!m_picture.isNull())
        painter.drawImage(area, m_picture.scaled(area.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation));
}

namespace {

// Where the file dialog opens: where the last picture was picked.
QString& lastPictureFolder()
{
    static QString folder;
    return folder;
}

}  // namespace

PicturePanel::PicturePanel(QWidget* dialog, PictureFamily family, bool noneFirst, PicturePreview* preview,
                           int listId, int addId, int deleteId)
    : QObject(dialog), m_family(std::move(family)), m_noneFirst(noneFirst), m_listId(listId), m_preview(preview),
      m_list(new QListWidget(dialog)), m_add(new CStyleButton(dialog)), m_delete(new CStyleButton(dialog))
{
    const CStyle* style = applicationStyle();
    for (const auto& [button, id] : {std::pair{m_add, addId}, std::pair{m_delete, deleteId}}) {
        button->setCommandId(id);
        button->setToolTip(ui::text(ui::kControlText + id));
        button->setAccessibleName(button->toolTip());
        if (style) {
            if (button == m_add)
                button->SetPicture(STYLE_PICTURES(*style, add));
            else
                button->SetPicture(STYLE_PICTURES(*style, subtract));
        }
    }
    connect(m_add, &CStyleButton::clicked, this, &PicturePanel::addPicture);
    connect(m_delete, &CStyleButton::clicked, this, &PicturePanel::deleteSelected);
    connect(m_list, &QListWidget::currentRowChanged, this, [this] {
        showPreview();
        updateButtons();
    });

    askPicturePath = [dialog] {
        QString& folder = lastPictureFolder();
        const auto chooser = makeOpenPictureDialog(dialog, folder.isEmpty() ? defaultPictureFolder() : folder);
        if (chooser->exec() != QDialog::Accepted)
            return QString();
        const QString path = chooser->selectedFiles().value(0);
        if (!path.isEmpty())
            folder = QFileInfo(path).absolutePath();
        return path;
    };
    showNotice = [dialog](const QString& caption, const QString& text) { CMessageDlg(text, caption, false, dialog).exec(); };
}

void PicturePanel::fill()
{
    const QSignalBlocker quiet(m_list);
    m_list->clear();
    if (m_noneFirst) {
        auto* none = new QListWidgetItem(ui::text(ui::kControlText + m_listId), m_list);
        QFont italic = m_list->font();
        italic.setItalic(true);
        none->setFont(italic);
        none->setForeground(QColor(120, 110, 120));
    }
    for (const std::string& title : m_family.titles())
        m_list->addItem(QFile::decodeName(QByteArray::fromStdString(title)));
    setRow(-1);
}

void PicturePanel::selectNumber(int number)
{
    // The number may come from the settings file: anything an int holds.
    const int first = m_noneFirst ? 0 : 1;
    const bool listed = number >= first && number - first < m_list->count();
    setRow(listed ? rowOfNumber(number) : m_noneFirst ? 0 : -1);
}

void PicturePanel::setRow(int row)
{
    const QSignalBlocker quiet(m_list);
    m_list->setCurrentRow(row);
    if (QListWidgetItem* item = m_list->currentItem())
        m_list->scrollToItem(item);
    showPreview();
    updateButtons();
}

int PicturePanel::selectedNumber() const
{
    return numberOfRow(m_list->currentRow());
}

QString PicturePanel::shown(const std::string& path)
{
    return QDir::toNativeSeparators(QFile::decodeName(QByteArray::fromStdString(path)));
}

void PicturePanel::addPicture()
{
    const QString source = askPicturePath ? askPicturePath() : QString();
    if (source.isEmpty())
        return;
    const int selected = selectedNumber();
    const PictureFamily::Added added = m_family.add(QFile::encodeName(source).toStdString());
    if (added.result != PictureFamily::AddResult::NoFolder)
        m_filesChanged = true;
    fill();
    if (added.result == PictureFamily::AddResult::Added) {
        selectNumber(added.number);
        return;
    }
    // Nothing was added: the selection stays where it was.
    if (selected >= 0)
        selectNumber(selected);
    switch (added.result) {
    case PictureFamily::AddResult::Added:
        break;
    case PictureFamily::AddResult::NotAPicture:
        showNotice(ui::text(4102), ui::text(4720, QDir::toNativeSeparators(source)));
        break;
    case PictureFamily::AddResult::NoFolder:
        showNotice(ui::text(4102), ui::text(4722, shown(m_family.folder())));
        break;
    case PictureFamily::AddResult::CopyFailed:
        showNotice(ui::text(4102), ui::text(4721, QDir::toNativeSeparators(source)));
        break;
    }
}

void PicturePanel::deleteSelected()
{
    const int row = m_list->currentRow();
    const int number = numberOfRow(row);
    if (number < 1)
        return;
    const std::string path = m_family.path(number);
    const bool deleted = m_family.remove(number);
    if (deleted) {
        m_filesChanged = true;
        emit pictureDeleted(number);
    }
    fill();
    // The selection stays on its line, or on the last line when it was the
    // one that went.
    setRow(std::min(row, m_list->count() - 1));
    if (!deleted)
        showNotice(ui::text(4102), ui::text(4723, shown(path)));
}

void PicturePanel::showPreview()
{
    const int number = selectedNumber();
    m_preview->setPicture(number >= 1 ? loadPicture(m_family.path(number)) : QImage());
}

void PicturePanel::updateButtons()
{
    m_delete->setEnabled(selectedNumber() >= 1);
}
