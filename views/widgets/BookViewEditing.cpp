// The editors a view opens over a page: one line box per note line, a text
// box over a tag. The page owns them; the view only places them.
#include "CBookView.h"

#include "book/CVersaleoDoc.h"
#include "book/CodePage.h"

#include "TagEditor.h"

#include "views/Canvas.h"
#include "views/FontMetrics.h"
#include "views/TextCodec.h"

void CBookView::openNoteEditors(CBookPage& page, QPoint at)
{
    if (!page.lineEditors.empty())
        return;
    const QPoint offset = scrollOffset();
    const PageGeometry& geometry = geometryOf(page);
    const Rect& area = geometry.area;
    const QFont font = fontFromLogFont(page.font);
    // The lines are edited as they are shown, and go back in the same code page.
    const char* codePage = codepage::forCharset(page.font.lfCharSet);
    QPalette palette;
    palette.setColor(QPalette::Base, toQColor(page.background));
    palette.setColor(QPalette::Text, toQColor(page.textColour));
    NoteLineBox* above = nullptr;
    NoteLineBox* clicked = nullptr;
    for (int i = 0; i < 24; ++i) {
        // From just below a line's top to just above the next one's.
        const int top = geometry.lineTops[static_cast<size_t>(i)] + 1;
        const int bottom = i + 1 < 24 ? geometry.lineTops[static_cast<size_t>(i) + 1] - 1 : area.bottom - 1;
        auto* box = new NoteLineBox(this);
        QFont lineFont = font;
        lineFont.setPixelSize(std::max(1, geometry.lineHeight));
        box->setFont(lineFont);
        box->setPalette(palette);
        box->setGeometry(area.left - offset.x(), top - offset.y(), area.width(), std::max(1, bottom - top));
        if (static_cast<size_t>(i) < page.lines.size()) {
            std::string line = page.lines[static_cast<size_t>(i)];
            while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
                line.pop_back();
            box->setText(fromCodePage(line, codePage));
        }
        // Opening the editors changes nothing; the first edited line does.
        connect(box, &QLineEdit::textEdited, this, [this] { m_doc.modified = 1; });
        box->above = above;
        if (above)
            above->below = box;
        above = box;
        box->show();
        if (!clicked && at.y() <= bottom)
            clicked = box;
        page.lineEditors.push_back(std::make_unique<NoteLineEditor>(box, codePage));
    }
    // The caret goes to the line clicked.
    if (!clicked)
        clicked = above;
    clicked->setFocus();
    clicked->end(false);
}

void CBookView::openTagEditor(PageTag& tag, const Rect& box)
{
    if (tag.editor)
        return;
    auto* editor = new TagEditorBox(this);
    editor->setFont(fontFromLogFont(m_doc.styles.tagFont));
    QPalette palette = editor->palette();
    palette.setColor(QPalette::Base, toQColor(tag.colour));
    palette.setColor(QPalette::Text, Qt::black);
    editor->setPalette(palette);
    // Every stored line up to the last one written, blank ones too, as the tag shows them.
    QStringList lines;
    for (size_t k = 0; k < static_cast<size_t>(spread::tagLineCount(tag)); ++k)
        lines << fromCodePage(tag.line(k));
    editor->setPlainText(lines.join(QChar('\n')));
    // An edit is a change to save, however the box is closed later: by
    // leaving it, or committed by a close or a command while it has the focus.
    editor->edited = [this] { m_doc.modified = 1; };
    const QPoint offset = scrollOffset();
    editor->setGeometry(box.left - offset.x(), box.top - offset.y(), box.width(), box.height());
    editor->fitHeight();
    PageTag* edited = &tag;
    editor->leaving = [this, edited] {
        const auto before = edited->text;
        edited->commitEditor();
        if (edited->text != before)
            m_doc.modified = 1;
        recompose();
    };
    tag.editor = std::make_unique<TagEditor>(editor);
    editor->show();
    editor->setFocus();
    editor->moveCursor(QTextCursor::End);
}
