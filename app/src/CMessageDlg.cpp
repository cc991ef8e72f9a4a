#include "app/CMessageDlg.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

QFont messageFont()
{
    QFont font;
    font.setPointSize(10);
    return font;
}

constexpr int kMaxTextWidth = 360;
constexpr int kMargin = 20;
constexpr int kButtonBand = 40;

}  // namespace

CMessageDlg::CMessageDlg(const QString& text, const QString& caption, bool question, QWidget* parent)
    : CSkinDialog(parent), m_text(text)
{
    setModal(true);
    // The dialog takes the size of its wrapped text.
    const QRect bounds = QFontMetrics(messageFont()).boundingRect(QRect(0, 0, kMaxTextWidth, 10000),
                                                                  Qt::TextWordWrap | Qt::AlignCenter, text);
    const int width = std::max(question ? 240 : 200, bounds.width() + 2 * kMargin);
    const int height = kCaptionBottom + kMargin + bounds.height() + kMargin / 2 + kButtonBand;
    setFixedSize(width, height);
    SetUp(caption, true, question, question, true, QString(), QString());
}

CMessageDlg::CMessageDlg(const QString& text, const QString& caption, const QString& yes, const QString& no,
                         QWidget* parent)
    : CMessageDlg(text, caption, true, parent)
{
    SetUp(caption, true, true, true, true, no, yes);
}

QRect CMessageDlg::textRect() const
{
    return QRect(kMargin, kCaptionBottom + kMargin / 2, width() - 2 * kMargin,
                 height() - kCaptionBottom - kMargin / 2 - kButtonBand);
}

void CMessageDlg::paintEvent(QPaintEvent* event)
{
    CSkinDialog::paintEvent(event);
    QPainter painter(this);
    painter.setFont(messageFont());
    painter.setPen(QColor(40, 20, 50));
    painter.drawText(textRect(), Qt::TextWordWrap | Qt::AlignCenter, m_text);
}
