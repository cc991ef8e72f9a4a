// The base of every skinned dialog: borderless, with its own caption band
// (by which it is dragged), background colours and skinned OK (330), Cancel
// (331) and close (332) buttons.
#pragma once

#include <QDialog>

#include <memory>

class CStyle;
class CStyleButton;

// The program's skin, set once at start-up; dialogs and bars draw from it.
const CStyle* applicationStyle();
void setApplicationStyle(const CStyle* style);

class CSkinDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kOkId = 330;
    static constexpr int kCancelId = 331;
    static constexpr int kCloseId = 332;
    static constexpr int kCaptionBottom = 28;

    explicit CSkinDialog(QWidget* parent = nullptr);
    ~CSkinDialog() override;

    // What a derived dialog asks for: its title, which buttons it has, the
    // caption band, and the captions of Cancel and OK (empty: "Cancel", "Ok").
    void SetUp(const QString& title, bool showOk, bool showCancel, bool showClose, bool captionBand,
               const QString& cancelCaption, const QString& okCaption);

    // The title and the captions again (after a change of language), the
    // buttons kept as they are.
    void SetTexts(const QString& title, const QString& cancelCaption, const QString& okCaption);

    CStyleButton* okButton() const { return m_ok; }
    CStyleButton* cancelButton() const { return m_cancel; }
    CStyleButton* closeButton() const { return m_close; }
    QRect captionRect() const { return m_captionRect; }

protected:
    // OK runs this (accepts); Cancel and close run OnCancel (rejects).
    virtual void OnOK();
    virtual void OnCancel();

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    void layoutButtons();

    QString m_title;
    bool m_captionBand = true;
    bool m_showOk = true;
    bool m_showCancel = true;
    bool m_showClose = true;
    QString m_cancelCaption = QStringLiteral("Cancel");
    QString m_okCaption = QStringLiteral("Ok");
    QColor m_bandBrush{239, 160, 246};
    QColor m_backBrush{239, 205, 224};
    QRect m_captionRect;
    bool m_dragging = false;
    QPoint m_dragOffset;
    CStyleButton* m_ok = nullptr;
    CStyleButton* m_cancel = nullptr;
    CStyleButton* m_close = nullptr;
    bool m_cancelling = false;
};
