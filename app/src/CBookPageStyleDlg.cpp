#include "app/CBookPageStyleDlg.h"

#include "app/ColourBox.h"
#include "app/FontColourDialog.h"
#include "app/PicturePanel.h"
#include "app/UiText.h"

#include "book/CVersaleoDoc.h"
#include "book/CodePage.h"
#include "book/TextLayout.h"
#include "library/DocumentPictures.h"
#include "library/Settings.h"
#include "style/CStyleButton.h"
#include "views/Canvas.h"
#include "views/FontMetrics.h"
#include "views/SpreadGeometry.h"

#include <QCheckBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QSlider>

#include <utility>

namespace {

constexpr QSize kSize{540, 404};

// The preview shows a page as the choice would make it: the paper, the
// picture over it, and the book's own text in the chosen face and colour,
// laid out as the book lays out a page of the preview's size.
class PagePreview : public PicturePreview {
public:
    PagePreview(const QString& title, QWidget* parent, const BookPageChoice& choice, std::vector<std::string> sample)
        : PicturePreview(title, parent), m_choice(choice), m_sample(std::move(sample))
    {
    }

protected:
    void paintInside(QPainter& painter, const QRect& area) override
    {
        painter.fillRect(area, toQColor(m_choice.paper));
        PicturePreview::paintInside(painter, area);
        const Rect page{area.left(), area.top(), area.right() + 1, area.bottom() + 1};
        const spread::TextLayout layout = spread::bookTextLayout(page, static_cast<int>(m_sample.size()), false);
        LOGFONT logFont = m_choice.font;
        logFont.lfHeight = layout.fontHeight;
        const QFont font = fontFromLogFont(logFont);
        QtTextMeasurer measurer(font);
        const int ascent = QFontMetrics(font).ascent();
        painter.save();
        painter.setClipRect(area);
        painter.setFont(font);
        painter.setPen(toQColor(m_choice.text));
        const size_t shown = std::min(m_sample.size(), layout.rows.tops.size());
        for (size_t i = 0; i < shown; ++i) {
            const int top = layout.rows.tops[i];
            const layout::LineDrawing drawing = layout::justifyLine(m_sample[i], layout.area.left, top, layout.area.width(),
                                                                    false, layout.rows.heights[i], measurer);
            for (const layout::DrawnRun& run : drawing.runs) {
                std::string_view text = run.text;
                while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
                    text.remove_suffix(1);
                painter.drawText(run.x, top + ascent, QString::fromStdString(codepage::toUtf8(text)));
            }
        }
        painter.restore();
    }

private:
    const BookPageChoice& m_choice;
    std::vector<std::string> m_sample;
};

// The lines of the first book page, or a few words when the book has none.
std::vector<std::string> sampleText(const CVersaleoDoc& doc)
{
    if (const int index = doc.pageOfBookPage(1); index >= 0 && !doc.pages[static_cast<size_t>(index)]->lines.empty()) {
        // The preview draws system code page text; a Big5 or Shift_JIS page is read in its own.
        const CBookPage& first = *doc.pages[static_cast<size_t>(index)];
        const char* codePage = codepage::forCharset(first.font.lfCharSet);
        std::vector<std::string> lines = first.lines;
        if (!codepage::same(codePage, codepage::kSystem)) {
            for (std::string& line : lines)
                line = codepage::convert(line, codePage, codepage::kSystem);
        }
        return lines;
    }
    std::vector<std::string> lines;
    for (const char* line : {"Aa Bb Cc Dd Ee Ff Gg", "\u4e66\u9875 Versaleo", "0123456789"})
        lines.push_back(codepage::fromUtf8(line) + "\r\n");
    return lines;
}

QLabel* label(QWidget* parent, int id, const QRect& where)
{
    auto* text = new QLabel(ui::text(ui::kControlLabel + id), parent);
    text->setGeometry(where);
    return text;
}

}  // namespace

CBookPageStyleDlg::CBookPageStyleDlg(CVersaleoDoc& doc, DocumentPictures& pictures, SettingsStore& settings,
                                     std::function<void()> refreshViews, QWidget* parent)
    : CSkinDialog(parent), m_doc(doc), m_pictures(pictures), m_settings(settings),
      m_refreshViews(std::move(refreshViews)), m_choice(startingChoice(doc, settings.read().applyAll == 1)),
      m_paper(new ColourBox(this)), m_textColour(new ColourBox(this)), m_font(new CStyleButton(this)),
      m_applyAll(nullptr), m_start(nullptr), m_end(nullptr), m_startNumber(nullptr), m_endNumber(nullptr),
      m_preview(new PagePreview(ui::text(ui::kControlText + kPreviewId), this, m_choice, sampleText(doc))),
      m_panel(new PicturePanel(this, PictureFamily(pictures.folder(), "BookPage"), true, m_preview, kListId, kAddId,
                               kDeleteId))
{
    setModal(true);
    setFixedSize(kSize);

    label(this, kPaperId, {15, 44, 85, 22});
    m_paper->setGeometry(100, 44, 60, 22);
    m_paper->setToolTip(ui::text(ui::kControlText + kPaperId));
    label(this, kFontId, {15, 77, 85, 22});
    m_font->setGeometry(100, 76, 134, 24);
    m_font->setToolTip(ui::text(ui::kControlText + kFontId));
    if (const CStyle* style = applicationStyle())
        m_font->SetPicture(STYLE_PICTURES(*style, big_btn));
    m_textColour->setGeometry(240, 77, 22, 22);
    m_textColour->setToolTip(ui::text(ui::kControlText + kTextColourId));
    // Tab goes as the eye does: the font, then its colour beside it.
    setTabOrder(m_paper, m_font);

    auto* range = new QGroupBox(ui::text(ui::kControlLabel + kApplyAllId), this);
    range->setGeometry(15, 110, 250, 116);
    m_applyAll = new QCheckBox(ui::text(ui::kControlText + kApplyAllId), range);
    m_applyAll->setGeometry(12, 22, 226, 22);
    const auto sliderRow = [this, range](int labelId, int y, QSlider*& slider, QLabel*& number) {
        label(range, labelId, {12, y, 78, 22});
        slider = new QSlider(Qt::Horizontal, range);
        slider->setGeometry(90, y, 112, 22);
        number = new QLabel(range);
        number->setGeometry(208, y, 36, 22);
        number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    };
    sliderRow(kStartId, 50, m_start, m_startNumber);
    sliderRow(kEndId, 80, m_end, m_endNumber);

    label(this, kListId, {15, 236, 220, 20});
    m_panel->list()->setGeometry(15, 258, 220, 102);
    m_panel->addButton()->setGeometry(241, 258, 20, 20);
    m_panel->deleteButton()->setGeometry(241, 284, 20, 20);
    m_preview->setGeometry(280, 34, 245, 326);
    SetUp(ui::text(4025), true, true, true, true, QString(), QString());

    // The whole book is the range; without book pages there is none to move.
    const int bookPages = doc.bookPageCount();
    for (QSlider* slider : {m_start, m_end}) {
        slider->setRange(std::min(1, bookPages), bookPages);
        slider->setPageStep(std::max(1, bookPages / 10));
    }
    m_start->setValue(m_choice.start);
    m_end->setValue(m_choice.end);
    m_applyAll->setChecked(m_choice.applyAll);
    connect(m_start, &QSlider::valueChanged, this, [this](int value) {
        m_choice.start = value;
        showRange();
    });
    connect(m_end, &QSlider::valueChanged, this, [this](int value) {
        m_choice.end = value;
        showRange();
    });
    connect(m_applyAll, &QCheckBox::toggled, this, [this](bool all) {
        m_choice.applyAll = all;
        showRange();
    });
    connect(m_paper, &ColourBox::clicked, this, &CBookPageStyleDlg::choosePaper);
    connect(m_textColour, &ColourBox::clicked, this, &CBookPageStyleDlg::chooseTextColour);
    connect(m_font, &CStyleButton::clicked, this, &CBookPageStyleDlg::chooseFont);
    connect(m_panel, &PicturePanel::pictureDeleted, this, [this](int number) { followPictureRemoval(m_doc, number); });

    askColour = [this](const QColor& start, const QString& title) { return askColourDialog(this, start, title); };
    askFont = [this](const QFont& start) { return ::askFont(this, start, ui::text(ui::kControlText + kFontId)); };

    m_panel->fill();
    m_panel->selectNumber(0);
    showChoice();
    showRange();
}

CBookPageStyleDlg::~CBookPageStyleDlg() = default;

BookPageChoice CBookPageStyleDlg::choice() const
{
    BookPageChoice choice = m_choice;
    choice.picture = std::max(0, m_panel->selectedNumber());
    return choice;
}

void CBookPageStyleDlg::choosePaper()
{
    if (const auto colour = askColour(toQColor(m_choice.paper), ui::text(ui::kControlText + kPaperId))) {
        m_choice.paper = fromQColor(*colour);
        showChoice();
    }
}

void CBookPageStyleDlg::chooseTextColour()
{
    if (const auto colour = askColour(toQColor(m_choice.text), ui::text(ui::kControlText + kTextColourId))) {
        m_choice.text = fromQColor(*colour);
        showChoice();
    }
}

void CBookPageStyleDlg::chooseFont()
{
    // The dialog lists the faces this platform has: it starts on the one the
    // book's face is shown with.
    QFont start = fontFromLogFont(m_choice.font);
    start.setFamily(QFontInfo(start).family());
    if (const auto font = askFont(start)) {
        m_choice.font = fontWithFaceOf(m_choice.font, *font);
        showChoice();
    }
}

void CBookPageStyleDlg::showChoice()
{
    m_paper->setColour(toQColor(m_choice.paper));
    m_textColour->setColour(toQColor(m_choice.text));
    m_font->setText(QString::fromStdString(codepage::toUtf8(m_choice.font.faceName())));
    m_preview->update();
}

void CBookPageStyleDlg::showRange()
{
    m_startNumber->setText(QString::number(m_choice.start));
    m_endNumber->setText(QString::number(m_choice.end));
    const bool movable = rangeMovable(m_choice);
    m_start->setEnabled(movable);
    m_end->setEnabled(movable);
}

void CBookPageStyleDlg::OnOK()
{
    m_settings.writeApplyAll(m_choice.applyAll ? 1 : 0);
    applyBookPageChoice(m_doc, choice());
    if (m_panel->filesChanged())
        m_pictures.forgetPagePictures();
    m_refreshViews();
    CSkinDialog::OnOK();
}

void CBookPageStyleDlg::OnCancel()
{
    showNewPictures();
    CSkinDialog::OnCancel();
}

void CBookPageStyleDlg::showNewPictures()
{
    if (!m_panel->filesChanged())
        return;
    m_pictures.forgetPagePictures();
    m_refreshViews();
}
