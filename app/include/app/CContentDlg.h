// The "Book Page Content" dialog: laid exactly over a book page on screen in
// the page's colour, one line editor per line slot on the line's painted row,
// in the page's font and text colour. OK hands back what the slots hold.
#pragma once

#include "app/CSkinDialog.h"

#include "book/CBookPage.h"

#include <QRect>

#include <array>
#include <string>
#include <vector>

class NoteLineBox;

// Where the page was last painted, in screen coordinates.
struct ContentPlace {
    QRect page;
    QRect textArea;
    std::array<int, CBookPage::kLineSlots> lineTops{};
    int lineHeight = 0;
};

class CContentDlg : public CSkinDialog {
    Q_OBJECT

public:
    static constexpr int kResourceId = 76;
    static constexpr int kLineId = 1006;

    CContentDlg(const CBookPage& page, const ContentPlace& place, QWidget* parent = nullptr);

    const std::vector<NoteLineBox*>& lineBoxes() const { return m_boxes; }
    // Each slot's text in the page's code page; a slot left as it was gives
    // back the page's line byte for byte, so OK without an edit changes nothing.
    std::vector<std::string> slotTexts() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QColor m_background;
    const char* m_codePage;
    std::vector<NoteLineBox*> m_boxes;
    std::vector<std::string> m_lines;  // the page's lines as the boxes got them
    std::vector<QString> m_shown;      // and what the boxes showed of them
};
