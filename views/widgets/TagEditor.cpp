#include "TagEditor.h"

#include "views/Canvas.h"
#include "views/PageInput.h"

#include "book/CodePage.h"

#include <QKeyEvent>

TagEditorBox::TagEditorBox(QWidget* parent) : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    setTabChangesFocus(false);
    document()->setDocumentMargin(1);
}

void TagEditorBox::fitHeight()
{
    const QFontMetrics metrics(font());
    const int height = pageinput::tagEditorHeight(metrics.height() + metrics.leading(), document()->blockCount());
    setGeometry(x(), y(), width(), height);
}

void TagEditorBox::keyPressEvent(QKeyEvent* event)
{
    const QString typed = event->text();
    // Tab would leave a character the tag cannot show; DEL likewise.
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab ||
        (typed == QString(QChar(127)) && event->key() != Qt::Key_Delete))
        return;
    const bool character = !typed.isEmpty() && typed.at(0).isPrint();
    const bool newLine = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    QPlainTextEdit::keyPressEvent(event);
    if (character || newLine) {
        // Too many lines or characters: the keystroke is taken back.
        const QString text = toPlainText();
        if (document()->blockCount() > kLineLimit || text.size() - text.count(QChar('\n')) > kCharacterLimit)
            textCursor().deletePreviousChar();
    }
    fitHeight();
    update();
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
    if (!m_box)
        return {};
    QString text = m_box->toPlainText();
    text.replace(QChar('\n'), QStringLiteral("\r\n"));
    return codepage::fromUtf8(text.toStdString());
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
    return m_box ? codepage::fromUtf8(m_box->text().toStdString()) : std::string();
}

void NoteLineEditor::hide()
{
    if (m_box)
        m_box->hide();
}
