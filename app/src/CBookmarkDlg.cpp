#include "app/CBookmarkDlg.h"

#include "app/CodePageLimit.h"
#include "app/ColourBox.h"
#include "app/UiText.h"

#include "book/Annotations.h"
#include "book/CVersaleoDoc.h"
#include "views/Canvas.h"

#include "PageText.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace bookmarkdlg {

bool canUpdate(const CVersaleoDoc& doc)
{
    return doc.kindOf(doc.currentPage) == PageKind::BookmarkPage;
}

Choice opening(const CVersaleoDoc& doc)
{
    Choice choice;
    if (canUpdate(doc)) {
        const CBookPage& page = *doc.pages[static_cast<size_t>(doc.currentPage)];
        choice.update = true;
        choice.title = fromPageText(page.caption);
        choice.colour = page.background;
        return choice;
    }
    choice.colour = doc.styles.bookmarkBackground;
    return choice;
}

bool apply(CVersaleoDoc& doc, const Choice& choice)
{
    const std::string title = toPageText(choice.title.trimmed());
    if (choice.update)
        return canUpdate(doc) && annotations::updateBookmarkLeaf(doc, doc.currentPage, title, choice.colour);
    return annotations::insertBookmarkLeaf(doc, title, choice.colour) >= 0;
}

}  // namespace bookmarkdlg

namespace {

constexpr QSize kSize{340, 210};

}  // namespace

CBookmarkDlg::CBookmarkDlg(CVersaleoDoc& doc, QWidget* parent)
    : CSkinDialog(parent), m_doc(doc), m_update(nullptr), m_add(nullptr), m_title(new QLineEdit(this)),
      m_colour(new ColourBox(this))
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
    auto* titleLabel = new QLabel(ui::text(ui::kControlText + kTitleLabelId), this);
    titleLabel->setGeometry(15, 122, 110, 22);
    m_title->setGeometry(125, 122, 200, 22);
    auto* colourLabel = new QLabel(ui::text(ui::kControlText + kColourLabelId), this);
    colourLabel->setGeometry(15, 150, 110, 22);
    m_colour->setGeometry(125, 150, 60, 22);
    m_colour->setToolTip(ui::text(ui::kControlText + kColourId));
    SetUp(ui::text(4008), true, true, true, true, QString(), QString());

    const bookmarkdlg::Choice start = bookmarkdlg::opening(doc);
    m_update->setEnabled(start.update);
    (start.update ? m_update : m_add)->setChecked(true);
    m_title->setText(start.title);
    CodePageLimit::apply(m_title, annotations::kCaptionLimit);
    m_colour->setColour(toQColor(start.colour));

    askColour = [this](const QColor& from) {
        return askColourDialog(this, from, ui::text(ui::kControlText + kColourId));
    };
    connect(m_colour, &ColourBox::clicked, this, &CBookmarkDlg::chooseColour);
    m_title->setFocus();
    m_title->selectAll();
}

CBookmarkDlg::~CBookmarkDlg() = default;

bookmarkdlg::Choice CBookmarkDlg::choice() const
{
    return {m_update->isChecked(), m_title->text(), fromQColor(m_colour->colour())};
}

void CBookmarkDlg::chooseColour()
{
    if (const auto colour = askColour(m_colour->colour()))
        m_colour->setColour(*colour);
}

void CBookmarkDlg::OnOK()
{
    bookmarkdlg::apply(m_doc, choice());
    CSkinDialog::OnOK();
}
