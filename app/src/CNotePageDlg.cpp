#include "app/CNotePageDlg.h"

#include "app/ColourBox.h"
#include "app/UiText.h"

#include "book/Annotations.h"
#include "book/CVersaleoDoc.h"
#include "library/BookPageStyle.h"
#include "style/CStyle.h"
#include "style/CStyleButton.h"
#include "views/Canvas.h"
#include "views/FontMetrics.h"

#include <QButtonGroup>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>

namespace notepagedlg {

bool canUpdate(const CVersaleoDoc& doc)
{
    return doc.kindOf(doc.currentPage) == PageKind::NotePage;
}

Choice opening(const CVersaleoDoc& doc)
{
    Choice choice;
    if (canUpdate(doc)) {
        const CBookPage& page = *doc.pages[static_cast<size_t>(doc.currentPage)];
        choice.update = true;
        choice.background = page.background;
        choice.textColour = page.textColour;
        choice.font = page.font;
        return choice;
    }
    choice.background = doc.styles.notePage.background;
    choice.textColour = doc.styles.notePage.textColour;
    choice.font = doc.styles.notePage.font;
    return choice;
}

bool apply(CVersaleoDoc& doc, const Choice& choice)
{
    if (choice.update)
        return canUpdate(doc) &&
               annotations::updateNotePage(doc, doc.currentPage, choice.background, choice.textColour, choice.font);
    return annotations::insertNoteLeaf(doc, choice.background, choice.textColour, choice.font) >= 0;
}

}  // namespace notepagedlg

namespace {

constexpr QSize kSize{340, 262};
constexpr int kSampleHeight = 22;  // pixels: the sample shows the face, not the page's size

// A few words in the chosen font and text colour on the chosen page colour.
class FontSample : public QWidget {
public:
    FontSample(const notepagedlg::Choice& choice, QWidget* parent) : QWidget(parent), m_choice(choice) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QRect box = rect().adjusted(0, 0, -1, -1);
        painter.fillRect(box, toQColor(m_choice.background));
        painter.setPen(QColor(90, 50, 100));
        painter.drawRect(box);
        LOGFONT font = m_choice.font;
        font.lfHeight = kSampleHeight;
        painter.setFont(fontFromLogFont(font));
        painter.setPen(toQColor(m_choice.textColour));
        painter.drawText(box.adjusted(6, 2, -6, -2), Qt::AlignCenter | Qt::TextSingleLine,
                         ui::text(ui::kControlText + CNotePageDlg::kSampleId));
    }

private:
    const notepagedlg::Choice& m_choice;
};

}  // namespace

CNotePageDlg::CNotePageDlg(CVersaleoDoc& doc, QWidget* parent)
    : CSkinDialog(parent), m_doc(doc), m_choice(notepagedlg::opening(doc)), m_update(nullptr), m_add(nullptr),
      m_colour(new ColourBox(this)), m_font(new CStyleButton(this)), m_sample(new FontSample(m_choice, this))
{
    setModal(true);
    setFixedSize(kSize);
    auto* group = new QGroupBox(ui::text(ui::kControlLabel + kUpdateId), this);
    group->setGeometry(15, 38, 310, 74);
    m_update = new QRadioButton(ui::text(ui::kControlText + kUpdateId), group);
    m_update->setGeometry(14, 20, 280, 22);
    m_add = new QRadioButton(ui::text(ui::kControlText + kAddId), group);
    m_add->setGeometry(14, 44, 280, 22);
    auto* radios = new QButtonGroup(this);
    radios->addButton(m_update);
    radios->addButton(m_add);
    auto* colourLabel = new QLabel(ui::text(ui::kControlText + kColourLabelId), this);
    colourLabel->setGeometry(15, 122, 90, 22);
    m_colour->setGeometry(105, 122, 60, 22);
    m_colour->setToolTip(ui::text(ui::kControlText + kColourId));
    auto* fontLabel = new QLabel(ui::text(ui::kControlText + kFontLabelId), this);
    fontLabel->setGeometry(15, 152, 90, 22);
    m_font->setGeometry(105, 152, 60, 22);
    m_font->setText(QStringLiteral(". . ."));
    m_font->setToolTip(ui::text(ui::kControlText + kFontId));
    if (const CStyle* style = applicationStyle())
        m_font->SetPicture(STYLE_PICTURES(*style, middle_btn));
    m_sample->setGeometry(15, 182, 310, 38);
    SetUp(ui::text(4009), true, true, true, true, QString(), QString());

    m_update->setEnabled(m_choice.update);
    (m_choice.update ? m_update : m_add)->setChecked(true);
    connect(m_update, &QRadioButton::toggled, this, [this](bool on) { m_choice.update = on; });

    askColour = [this](const QColor& start) {
        return askColourDialog(this, start, ui::text(ui::kControlText + kColourId));
    };
    askFont = [this](const FontAndColour& start) {
        return askFontAndColour(this, start, ui::text(ui::kControlText + kFontId));
    };
    connect(m_colour, &ColourBox::clicked, this, &CNotePageDlg::chooseColour);
    connect(m_font, &CStyleButton::clicked, this, &CNotePageDlg::chooseFont);
    showChoice();
}

CNotePageDlg::~CNotePageDlg() = default;

void CNotePageDlg::chooseColour()
{
    if (const auto colour = askColour(toQColor(m_choice.background))) {
        m_choice.background = fromQColor(*colour);
        showChoice();
    }
}

void CNotePageDlg::chooseFont()
{
    // The chooser lists the faces this platform has: it starts on the one
    // the page's face is shown with.
    QFont start = fontFromLogFont(m_choice.font);
    start.setFamily(QFontInfo(start).family());
    if (const auto chosen = askFont(FontAndColour{start, toQColor(m_choice.textColour)})) {
        m_choice.font = fontWithFaceOf(m_choice.font, chosen->font);
        m_choice.textColour = fromQColor(chosen->colour);
        showChoice();
    }
}

void CNotePageDlg::showChoice()
{
    m_colour->setColour(toQColor(m_choice.background));
    m_sample->update();
}

void CNotePageDlg::OnOK()
{
    notepagedlg::apply(m_doc, m_choice);
    CSkinDialog::OnOK();
}
