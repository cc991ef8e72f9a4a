#include "app/CSkinDialog.h"

#include "app/UiText.h"

#include "style/CStyleButton.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

const CStyle*& styleSlot()
{
    static const CStyle* style = nullptr;
    return style;
}

}  // namespace

const CStyle* applicationStyle()
{
    return styleSlot();
}

void setApplicationStyle(const CStyle* style)
{
    styleSlot() = style;
}

CSkinDialog::CSkinDialog(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CSkinDialog::~CSkinDialog() = default;

void CSkinDialog::SetUp(const QString& title, bool showOk, bool showCancel, bool showClose, bool captionBand,
                        const QString& cancelCaption, const QString& okCaption)
{
    m_title = title;
    setWindowTitle(title);
    m_showOk = showOk;
    m_showCancel = showCancel;
    m_captionBand = captionBand;
    // A close button needs the band to sit in and a Cancel to stand for.
    m_showClose = showClose && showCancel && captionBand;
    m_cancelCaption = cancelCaption.isEmpty() ? ui::text(3291) : cancelCaption;
    m_okCaption = okCaption.isEmpty() ? ui::text(3290) : okCaption;

    const CStyle* style = applicationStyle();
    const auto make = [this, style](CStyleButton*& button, int id, const QString& caption, bool wanted, bool close) {
        delete button;
        button = nullptr;
        if (!wanted)
            return;
        button = new CStyleButton(this);
        button->setCommandId(id);
        button->setText(caption);
        if (style) {
            if (close)
                button->SetPicture(STYLE_PICTURES(*style, exit));
            else
                button->SetPicture(STYLE_PICTURES(*style, middle_btn));
        }
        connect(button, &CStyleButton::command, this, [this](int command) {
            if (command == kOkId)
                OnOK();
            else
                OnCancel();
        });
        button->show();
    };
    make(m_ok, kOkId, m_okCaption, m_showOk, false);
    make(m_cancel, kCancelId, m_cancelCaption, m_showCancel, false);
    make(m_close, kCloseId, QString(), m_showClose, true);
    if (m_close)
        m_close->setToolTip(m_cancelCaption);
    layoutButtons();
}

void CSkinDialog::SetTexts(const QString& title, const QString& cancelCaption, const QString& okCaption)
{
    m_title = title;
    setWindowTitle(title);
    m_cancelCaption = cancelCaption.isEmpty() ? ui::text(3291) : cancelCaption;
    m_okCaption = okCaption.isEmpty() ? ui::text(3290) : okCaption;
    if (m_ok)
        m_ok->setText(m_okCaption);
    if (m_cancel)
        m_cancel->setText(m_cancelCaption);
    if (m_close)
        m_close->setToolTip(m_cancelCaption);
    update();
}

void CSkinDialog::layoutButtons()
{
    const int w = width(), h = height();
    m_captionRect = m_captionBand ? QRect(QPoint(5, 3), QPoint(w - 5 - 1, kCaptionBottom - 1)) : QRect();
    if (m_close) {
        const int top = m_captionRect.top() + (m_captionRect.height() - 16) / 2;
        m_close->setGeometry(m_captionRect.right() + 1 - 5 - 16, top, 16, 16);
    }
    if (m_cancel)
        m_cancel->setGeometry(w - 10 - 60, h - 10 - 20, 60, 20);
    if (m_ok) {
        if (m_cancel)
            m_ok->setGeometry(w - 10 - 60 - 65, h - 10 - 20, 60, 20);
        else
            m_ok->setGeometry((w - 60) / 2, h - 10 - 20, 60, 20);
    }
}

void CSkinDialog::OnOK()
{
    accept();
}

void CSkinDialog::OnCancel()
{
    m_cancelling = true;
    QDialog::reject();
    m_cancelling = false;
}

void CSkinDialog::keyPressEvent(QKeyEvent* event)
{
    // Enter presses the push button in focus (the dialog's own or one of its
    // controls, a font or colour button), else answers with OK, as a system
    // box does. A tick box is no push button: Enter there is OK.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        auto* focused = qobject_cast<QAbstractButton*>(focusWidget());
        if (focused && !focused->isCheckable() && focused->isEnabled() && isAncestorOf(focused)) {
            focused->click();
            return;
        }
        if (m_ok && m_ok->isEnabled()) {
            OnOK();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

void CSkinDialog::reject()
{
    // Escape and closing the window answer as Cancel does.
    if (m_cancelling)
        QDialog::reject();
    else
        OnCancel();
}

void CSkinDialog::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_backBrush);
    if (m_captionBand) {
        QLinearGradient band(0, m_captionRect.top(), 0, m_captionRect.bottom());
        band.setColorAt(0, m_bandBrush.lighter(112));
        band.setColorAt(1, m_bandBrush);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(band);
        painter.drawRoundedRect(QRectF(m_captionRect), 5, 5);
        QFont font = painter.font();
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(QColor(70, 20, 80));
        painter.drawText(m_captionRect.adjusted(8, 0, -26, 0), Qt::AlignVCenter | Qt::AlignLeft, m_title);
        painter.setRenderHint(QPainter::Antialiasing, false);
    }
    painter.setPen(QColor(150, 90, 160));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CSkinDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    layoutButtons();
}

void CSkinDialog::mousePressEvent(QMouseEvent* event)
{
    const bool inBand = !m_captionBand || m_captionRect.contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton && inBand) {
        // The window follows the mouse while the band is dragged.
        m_dragging = true;
        m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
        return;
    }
    QDialog::mousePressEvent(event);
}

void CSkinDialog::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging) {
        move(event->globalPosition().toPoint() - m_dragOffset);
        return;
    }
    QDialog::mouseMoveEvent(event);
}

void CSkinDialog::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_dragging && event->button() == Qt::LeftButton) {
        m_dragging = false;
        return;
    }
    QDialog::mouseReleaseEvent(event);
}
