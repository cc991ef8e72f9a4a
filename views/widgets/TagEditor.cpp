#include "TagEditor.h"

#include "views/Canvas.h"
#include "views/PageInput.h"
#include "views/TextCodec.h"

#include "book/CodePage.h"
#include "book/PageItems.h"

#include <QAbstractTextDocumentLayout>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextLayout>

#include <algorithm>

TagEditorBox::TagEditorBox(QWidget* parent) : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    setTabChangesFocus(false);
    document()->setDocumentMargin(1);
}

QStringList TagEditorBox::shownLines() const
{
    QStringList lines;
    QAbstractTextDocumentLayout* layout = document()->documentLayout();
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        layout->blockBoundingRect(block);  // lays the block out at the box's width
        const QTextLayout* wrapped = block.layout();
        const QString text = block.text();
        if (!wrapped || wrapped->lineCount() == 0) {
            lines << text;
            continue;
        }
        for (int i = 0; i < wrapped->lineCount(); ++i) {
            const QTextLine line = wrapped->lineAt(i);
            lines << text.mid(line.textStart(), line.textLength());
        }
    }
    return lines;
}

bool TagEditorBox::fitsTag(const QStringList& lines)
{
    if (lines.size() > static_cast<qsizetype>(PageTag::kLines))
        return false;
    size_t total = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const size_t bytes = codepage::fromUtf8(lines[i].toStdString()).size();
        if (bytes > PageTag::kSlot)
            return false;
        total += bytes + (i > 0 ? 2 : 0);
    }
    return total <= static_cast<size_t>(kByteLimit);
}

void TagEditorBox::fitHeight()
{
    const QFontMetrics metrics(font());
    const int lines = std::max<int>(1, static_cast<int>(shownLines().size()));
    const int height = pageinput::tagEditorHeight(metrics.height() + metrics.leading(), lines);
    setGeometry(x(), y(), width(), height);
}

void TagEditorBox::restore(const QString& text, int caret)
{
    setPlainText(text);
    QTextCursor cursor = textCursor();
    cursor.setPosition(std::clamp(caret, 0, static_cast<int>(text.size())));
    setTextCursor(cursor);
}

void TagEditorBox::keyPressEvent(QKeyEvent* event)
{
    const QString typed = event->text();
    // Tab would leave a character the tag cannot show; DEL likewise.
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab ||
        (typed == QString(QChar(127)) && event->key() != Qt::Key_Delete))
        return;
    const QString before = toPlainText();
    const int caret = textCursor().position();
    QPlainTextEdit::keyPressEvent(event);
    keepOrRefuse(before, caret);
    update();
}

void TagEditorBox::inputMethodEvent(QInputMethodEvent* event)
{
    const QString before = toPlainText();
    const int caret = textCursor().position();
    QPlainTextEdit::inputMethodEvent(event);
    keepOrRefuse(before, caret);
}

void TagEditorBox::keepOrRefuse(const QString& before, int caret)
{
    if (toPlainText() != before) {
        // An edit that would take the text past what the tag holds is taken back.
        if (!fitsTag(shownLines()))
            restore(before, caret);
        else if (edited)
            edited();
    }
    fitHeight();
}

void TagEditorBox::insertFromMimeData(const QMimeData* source)
{
    if (!source || !source->hasText())
        return;
    QString text = source->text();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QChar('\r'), QChar('\n'));
    text.remove(QChar('\t'));
    text.remove(QChar(127));
    const QString before = toPlainText();
    const int anchor = textCursor().anchor(), position = textCursor().position();
    const auto tryInsert = [&](qsizetype count) {
        QTextCursor cursor = textCursor();
        cursor.setPosition(anchor);
        cursor.setPosition(position, QTextCursor::KeepAnchor);
        cursor.insertText(text.left(count));
        setTextCursor(cursor);
    };
    const auto fitsWith = [&](qsizetype count) {
        tryInsert(count);
        const bool fits = fitsTag(shownLines());
        setPlainText(before);
        return fits;
    };
    // The longest beginning of the text the tag still holds, whole characters only.
    qsizetype low = 0, high = text.size();
    while (low < high) {
        qsizetype middle = (low + high + 1) / 2;
        if (fitsWith(middle))
            low = middle;
        else
            high = middle - 1;
    }
    while (low > 0 && text.at(low - 1).isHighSurrogate())
        --low;
    setPlainText(before);
    tryInsert(low);
    if (toPlainText() != before && edited)
        edited();
    fitHeight();
}

void TagEditorBox::focusOutEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusOutEvent(event);
    if (auto leave = std::exchange(leaving, nullptr))
        leave();
}

void TagEditorBox::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();
}

TagEditor::~TagEditor()
{
    if (m_box) {
        m_box->leaving = nullptr;
        m_box->hide();
        m_box->deleteLater();
    }
}

std::string TagEditor::text() const
{
    // The lines as shown, so the tag stores what the reader saw.
    return m_box ? codepage::fromUtf8(m_box->shownLines().join(QStringLiteral("\r\n")).toStdString()) : std::string();
}

void TagEditor::hide()
{
    if (m_box)
        m_box->hide();
}

NoteLineBox::NoteLineBox(QWidget* parent) : QLineEdit(parent)
{
    setFrame(false);
}

void NoteLineBox::keyPressEvent(QKeyEvent* event)
{
    const QString typed = event->text();
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab ||
        (typed == QString(QChar(127)) && event->key() != Qt::Key_Delete))
        return;
    const bool down = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Down;
    NoteLineBox* next = down ? below.data() : event->key() == Qt::Key_Up ? above.data() : nullptr;
    if (!next)
        return QLineEdit::keyPressEvent(event);
    next->setFocus();
    next->end(false);
}

NoteLineEditor::~NoteLineEditor()
{
    if (m_box) {
        m_box->hide();
        m_box->deleteLater();
    }
}

std::string NoteLineEditor::text() const
{
    return m_box ? toCodePage(m_box->text(), m_codePage) : std::string();
}

void NoteLineEditor::hide()
{
    if (m_box)
        m_box->hide();
}
