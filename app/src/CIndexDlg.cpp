#include "app/CIndexDlg.h"

#include "app/CodePageLimit.h"
#include "app/UiText.h"

#include "book/Annotations.h"
#include "book/CVersaleoDoc.h"
#include "style/CStyleButton.h"

#include "PageText.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace indexdlg {
namespace {

const CBookPage* bookPage(const CVersaleoDoc& doc, int page)
{
    if (page < 0 || page >= doc.pageCount() || doc.pages[static_cast<size_t>(page)]->kind() != PageKind::BookPage)
        return nullptr;
    return doc.pages[static_cast<size_t>(page)].get();
}

}  // namespace

Choice opening(const CVersaleoDoc& doc, int page)
{
    Choice choice;
    const CBookPage* record = bookPage(doc, page);
    if (record && !record->indexEntries.empty()) {
        choice.mode = Update;
        choice.selection = 0;
        choice.title = fromPageText(record->indexEntries.front()->titleText());
        return choice;
    }
    choice.title = ui::text(4602, QString::number(doc.bookPageNumberOf(page)));
    return choice;
}

bool applicable(const Choice& choice, int entries)
{
    const bool selected = choice.selection >= 0 && choice.selection < entries;
    switch (choice.mode) {
    case Delete: return selected;
    case Update: return selected && !choice.title.trimmed().isEmpty();
    case Add: return !choice.title.trimmed().isEmpty();
    }
    return false;
}

bool apply(CVersaleoDoc& doc, int page, const Choice& choice)
{
    const CBookPage* record = bookPage(doc, page);
    if (!record || !applicable(choice, static_cast<int>(record->indexEntries.size())))
        return false;
    const std::string title = toPageText(choice.title.trimmed());
    const auto entry = static_cast<size_t>(choice.selection);
    switch (choice.mode) {
    case Delete: return annotations::removeIndexEntry(doc, page, entry);
    case Update: return annotations::retitleIndexEntry(doc, page, entry, title);
    case Add: return annotations::addIndexEntry(doc, page, title);
    }
    return false;
}

}  // namespace indexdlg

namespace {

constexpr QSize kSize{360, 262};

}  // namespace

CIndexDlg::CIndexDlg(CVersaleoDoc& doc, QWidget* parent)
    : CSkinDialog(parent), m_doc(doc), m_page(doc.currentPage), m_entries(0), m_modes{},
      m_titleLabel(new QLabel(ui::text(ui::kControlText + kTitleLabelId), this)), m_title(new QLineEdit(this)),
      m_list(new QComboBox(this))
{
    setModal(true);
    setFixedSize(kSize);
    auto* group = new QGroupBox(ui::text(ui::kControlLabel + kDeleteId), this);
    group->setGeometry(15, 38, 330, 98);
    auto* radios = new QButtonGroup(this);
    for (const indexdlg::Mode mode : {indexdlg::Delete, indexdlg::Update, indexdlg::Add}) {
        m_modes[mode] = new QRadioButton(ui::text(ui::kControlText + kDeleteId + mode), group);
        m_modes[mode]->setGeometry(14, 20 + 24 * mode, 300, 22);
        radios->addButton(m_modes[mode], mode);
    }
    m_titleLabel->setGeometry(15, 146, 90, 22);
    m_title->setGeometry(105, 146, 240, 22);
    auto* listLabel = new QLabel(ui::text(ui::kControlLabel + kListId), this);
    listLabel->setGeometry(15, 176, 330, 20);
    m_list->setGeometry(15, 198, 330, 24);
    SetUp(ui::text(4005), true, true, true, true, QString(), QString());

    if (m_page >= 0 && m_page < doc.pageCount()) {
        for (const auto& entry : doc.pages[static_cast<size_t>(m_page)]->indexEntries)
            m_list->addItem(fromPageText(entry->titleText()));
    }
    m_entries = m_list->count();
    const indexdlg::Choice start = indexdlg::opening(doc, m_page);
    m_list->setCurrentIndex(start.selection);
    m_title->setText(start.title);
    CodePageLimit::apply(m_title, IndexEntry::kTitleLimit);
    // Without entries there is nothing to delete or retitle.
    m_modes[indexdlg::Delete]->setEnabled(m_entries > 0);
    m_modes[indexdlg::Update]->setEnabled(m_entries > 0);
    m_list->setEnabled(m_entries > 0);
    m_modes[start.mode]->setChecked(true);

    connect(radios, &QButtonGroup::idClicked, this, [this] { showMode(); });
    connect(m_list, &QComboBox::activated, this, [this](int row) {
        m_title->setText(m_list->itemText(row));
        showMode();
    });
    connect(m_title, &QLineEdit::textChanged, this, [this] { showMode(); });
    showMode();
    m_title->setFocus();
    m_title->selectAll();
}

CIndexDlg::~CIndexDlg() = default;

indexdlg::Choice CIndexDlg::choice() const
{
    indexdlg::Choice choice;
    for (const indexdlg::Mode mode : {indexdlg::Delete, indexdlg::Update, indexdlg::Add}) {
        if (m_modes[mode]->isChecked())
            choice.mode = mode;
    }
    choice.selection = m_list->currentIndex();
    choice.title = m_title->text();
    return choice;
}

void CIndexDlg::showMode()
{
    const indexdlg::Choice now = choice();
    const bool titled = now.mode != indexdlg::Delete;
    m_titleLabel->setEnabled(titled);
    m_title->setEnabled(titled);
    if (okButton())
        okButton()->setEnabled(indexdlg::applicable(now, m_entries));
}

void CIndexDlg::OnOK()
{
    if (!indexdlg::applicable(choice(), m_entries))
        return;
    indexdlg::apply(m_doc, m_page, choice());
    CSkinDialog::OnOK();
}
