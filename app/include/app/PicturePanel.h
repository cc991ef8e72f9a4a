// What the Background Picture and Book Page dialogs share: the list of one
// picture family with its add and delete buttons, and the preview frame that
// shows the selected picture. The list always shows what the folder holds.
#pragma once

#include "library/PictureFamily.h"

#include <QGroupBox>
#include <QImage>
#include <QObject>

#include <functional>

class CStyleButton;
class QListWidget;

// A frame with a title; the picture is stretched into it, inset by 10 pixels
// left, right and at the bottom and by 20 at the top (below the title).
class PicturePreview : public QGroupBox {
    Q_OBJECT

public:
    PicturePreview(const QString& title, QWidget* parent);

    void setPicture(QImage picture);
    const QImage& picture() const { return m_picture; }

    // Where the picture goes inside a frame of that rectangle.
    static QRect pictureArea(const QRect& frame);

protected:
    void paintEvent(QPaintEvent* event) override;
    // Draws what the frame shows into `area`; the picture by default.
    virtual void paintInside(QPainter& painter, const QRect& area);

private:
    QImage m_picture;
};

class PicturePanel : public QObject {
    Q_OBJECT

public:
    // noneFirst: the list starts with a line meaning "no picture", so that a
    // line's index is its picture's number. The ids name the list and the two
    // buttons (their texts are the dialog texts of those ids).
    PicturePanel(QWidget* dialog, PictureFamily family, bool noneFirst, PicturePreview* preview, int listId, int addId,
                 int deleteId);

    QListWidget* list() const { return m_list; }
    CStyleButton* addButton() const { return m_add; }
    CStyleButton* deleteButton() const { return m_delete; }
    const PictureFamily& family() const { return m_family; }

    // The lines by the family rule, and the preview of the selection.
    void fill();
    // The picture with that number selected; nothing (or the "no picture"
    // line) for a number without a line.
    void selectNumber(int number);
    // The selected picture's number: 0 for the "no picture" line, -1 for none.
    int selectedNumber() const;

    // The add and delete buttons' work.
    void addPicture();
    void deleteSelected();
    // Whether a picture was added or deleted since the dialog opened.
    bool filesChanged() const { return m_filesChanged; }

    // How the panel asks for a file and tells of a failure; tests replace them.
    std::function<QString()> askPicturePath;
    std::function<void(const QString& caption, const QString& text)> showNotice;

signals:
    // The picture of that number was deleted and the later ones moved down.
    void pictureDeleted(int number);

private:
    int numberOfRow(int row) const { return row < 0 ? -1 : row + (m_noneFirst ? 0 : 1); }
    int rowOfNumber(int number) const { return number - (m_noneFirst ? 0 : 1); }
    void setRow(int row);
    void showPreview();
    void updateButtons();
    static QString shown(const std::string& path);

    PictureFamily m_family;
    bool m_noneFirst;
    int m_listId;
    PicturePreview* m_preview;
    QListWidget* m_list;
    CStyleButton* m_add;
    CStyleButton* m_delete;
    bool m_filesChanged = false;
};
