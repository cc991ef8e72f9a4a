#include "app/CSearchDlg.h"

#include "app/CMessageDlg.h"
#include "app/UiText.h"

#include "book/BookSearch.h"
#include "book/CVersaleoDoc.h"
#include "book/CodePage.h"
#include "style/CStyle.h"
#include "style/CStyleButton.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>

namespace {

constexpr QSize kSize{340, 130};

}  // namespace

CSearchDlg::CSearchDlg(CVersaleoDoc& doc, bool wideLines, QWidget* parent)
    : CSkinDialog(parent), m_doc(doc), m_wideLines(wideLines), m_content(new QLabel(this)),
      m_text(new QLineEdit(this)), m_matchCase(new QCheckBox(this)), m_previous(new CStyleButton(this)),
      m_next(new CStyleButton(this)), m_closeSearch(new CStyleButton(this))
{
    showNotice = [this](const QString& caption, const QString& text) { CMessageDlg(text, caption, false, this).exec(); };
    showPage = [](int) {};
    refreshViews = [] {};
    setModal(true);
    setFixedSize(kSize);
    m_content->setGeometry(15, 42, 60, 22);
    m_text->setGeometry(80, 42, 245, 22);
    m_matchCase->setGeometry(80, 70, 245, 20);
    const int top = kSize.height() - 10 - 20;
    const std::pair<CStyleButton*, int> buttons[] = {{m_previous, kPreviousId}, {m_next, kNextId}, {m_closeSearch, kCloseId}};
    int left = kSize.width() - 10 - 3 * 60 - 2 * 10;
    for (const auto& [button, id] : buttons) {
        button->setCommandId(id);
        if (const CStyle* style = applicationStyle())
            button->SetPicture(STYLE_PICTURES(*style, middle_btn));
        button->setGeometry(left, top, 60, 20);
        left += 70;
    }
    connect(m_previous, &CStyleButton::command, this, &CSearchDlg::previous);
    connect(m_next, &CStyleButton::command, this, &CSearchDlg::next);
    connect(m_closeSearch, &CStyleButton::command, this, &CSearchDlg::closeSearch);
    // Enter in the box looks for the next hit, as a search box does.
    connect(m_text, &QLineEdit::returnPressed, this, &CSearchDlg::next);
    // Another text starts again from the top of the current page.
    connect(m_text, &QLineEdit::textChanged, this, [this] { m_hitStart = m_hitEnd = 0; });
    SetUp(QString(), false, false, false, true, QString(), QString());
    retranslate();
    m_text->setFocus();
}

CSearchDlg::~CSearchDlg() = default;

void CSearchDlg::retranslate()
{
    SetTexts(ui::textOr(4024, "Search"), QString(), QString());
    m_content->setText(ui::textOr(ui::kControlText + kContentId, "Content:"));
    m_matchCase->setText(ui::textOr(ui::kControlText + kMatchCaseId, "Match Case"));
    m_previous->setText(ui::textOr(ui::kControlText + kPreviousId, "Previous"));
    m_next->setText(ui::textOr(ui::kControlText + kNextId, "Next"));
    m_closeSearch->setText(ui::textOr(ui::kControlText + kCloseId, "Close"));
}

void CSearchDlg::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    CSkinDialog::changeEvent(event);
}

void CSearchDlg::next()
{
    search(true);
}

void CSearchDlg::previous()
{
    search(false);
}

void CSearchDlg::search(bool forward)
{
    const std::string text = codepage::fromUtf8(m_text->text().toStdString());
    if (text.empty() || m_doc.pageCount() == 0)
        return;
    const booksearch::Query query{text, m_matchCase->isChecked(), m_wideLines};
    const int current = m_doc.currentPage;
    const std::optional<booksearch::Hit> hit = forward ? booksearch::findNext(m_doc, query, current, m_hitEnd)
                                                       : booksearch::findPrevious(m_doc, query, current, m_hitStart);
    if (!hit) {
        showNotice(ui::text(4100), ui::textOr(4207, "Sorry! Don't find your searching content."));
        refreshViews();
        return;
    }
    m_hitStart = hit->position;
    m_hitEnd = hit->position + text.size();
    markLine(hit->page, hit->line);
    showPage(hit->page);
    // The kept position belongs to the hit's page, whatever the view did.
    m_doc.currentPage = hit->page;
    refreshViews();
}

void CSearchDlg::markLine(int page, int line)
{
    // One marked line at a time: the last hit's arrow goes with the new one.
    if (m_markedPage >= 0 && m_markedPage < m_doc.pageCount() && m_markedPage != page)
        m_doc.pages[static_cast<size_t>(m_markedPage)]->setHighlightedLine(0);
    m_doc.pages[static_cast<size_t>(page)]->setHighlightedLine(line);
    m_markedPage = page;
}

void CSearchDlg::closeSearch()
{
    if (m_doc.currentPage >= 0 && m_doc.currentPage < m_doc.pageCount())
        m_doc.pages[static_cast<size_t>(m_doc.currentPage)]->setHighlightedLine(0);
    if (m_markedPage >= 0 && m_markedPage < m_doc.pageCount())
        m_doc.pages[static_cast<size_t>(m_markedPage)]->setHighlightedLine(0);
    m_markedPage = -1;
    refreshViews();
    CSkinDialog::OnCancel();
}

void CSearchDlg::OnCancel()
{
    // Escape and the window's close leave the book as "Close" does.
    closeSearch();
}
