#include "app/CContentDlg.h"

#include "app/UiText.h"

#include "book/CodePage.h"
#include "views/Canvas.h"
#include "views/FontMetrics.h"
#include "views/TextCodec.h"

#include "TagEditor.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPointer>

#include <algorithm>

namespace {

// Where QLineEdit draws its text inside a frameless box.
constexpr QSize kLineEditMargin{2, 1};

}  // namespace

CContentDlg::CContentDlg(const CBookPage& page, const ContentPlace& place, QWidget* parent)
    : CSkinDialog(parent), m_background(toQColor(page.background)), m_codePage(codepage::forCharset(page.font.lfCharSet))
{
    setModal(true);
    setGeometry(place.page);
    setFixedSize(place.page.size());
    // The page's font at the height the lines were painted in.
    LOGFONT painted = page.font;
    painted.lfHeight = std::max(1, place.lineHeight);
    const QFont font = fontFromLogFont(painted);
    const int textHeight = QFontMetrics(font).height();
    QPalette palette;
    palette.setColor(QPalette::Base, m_background);
    palette.setColor(QPalette::Text, toQColor(page.textColour));
    const QPoint origin = place.page.topLeft();
    NoteLineBox* above = nullptr;
    for (int i = 0; i < CBookPage::kLineSlots; ++i) {
        const auto slot = static_cast<size_t>(i);
        auto* box = new NoteLineBox(this);
        box->setObjectName(QString::number(kLineId));
        box->setFrame(false);
        box->setTextMargins(0, 0, 0, 0);
        box->setFont(font);
        box->setPalette(palette);
        // A line edit keeps its text kLineEditMargin inside: the box stands
        // out by as much, so the typed text sits where the line was painted.
        box->setGeometry(place.textArea.left() - origin.x() - kLineEditMargin.width(),
                         place.lineTops[slot] - origin.y() - kLineEditMargin.height(),
                         place.textArea.width() + 2 * kLineEditMargin.width(),
                         textHeight + 2 * kLineEditMargin.height());
        if (slot < page.lines.size()) {
            std::string line = page.lines[slot];
            while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
                line.pop_back();
            box->setText(fromCodePage(line, m_codePage));
            box->setCursorPosition(0);
            m_lines.push_back(page.lines[slot]);
            m_shown.push_back(box->text());
        }
        box->above = above;
        if (above)
            above->below = box;
        above = box;
        m_boxes.push_back(box);
    }
    SetUp(ui::text(4026), true, true, true, true, QString(), QString());
    m_boxes.front()->setFocus();
}

std::vector<std::string> CContentDlg::slotTexts() const
{
    std::vector<std::string> texts;
    texts.reserve(m_boxes.size());
    for (size_t i = 0; i < m_boxes.size(); ++i) {
        // A round trip through Unicode is not exact for bytes the code page
        // cannot decode, and re-joining would shift the cells of marks.
        const QString text = m_boxes[i]->text();
        if (i < m_lines.size() && text == m_shown[i])
            texts.push_back(m_lines[i]);
        else
            texts.push_back(toCodePage(text, m_codePage));
    }
    return texts;
}

void CContentDlg::showEvent(QShowEvent* event)
{
    CSkinDialog::showEvent(event);
    m_boxes.front()->setFocus();
    // The caret at the start of the first line, nothing selected to be typed
    // over: once the dialog has shown, as showing focuses the line selecting it.
    QMetaObject::invokeMethod(
        this,
        [first = QPointer<NoteLineBox>(m_boxes.front())] {
            if (first) {
                first->deselect();
                first->setCursorPosition(0);
            }
        },
        Qt::QueuedConnection);
}

void CContentDlg::paintEvent(QPaintEvent* event)
{
    CSkinDialog::paintEvent(event);
    // Below the caption band the dialog is the page itself.
    QPainter painter(this);
    const int top = captionRect().isNull() ? 1 : captionRect().bottom() + 2;
    painter.fillRect(QRect(1, top, width() - 2, height() - top - 1), m_background);
}
