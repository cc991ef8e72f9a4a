// The frame's page commands: the page clipboard (copy, cut, paste and delete
// of whole leaves), moving to a book page by number (Turn To and the page
// box) and editing a book page's text in place.
#include "app/CMainFrame.h"

#include "app/CContentDlg.h"
#include "app/CSelectBookmarkDlg.h"
#include "app/CTurnToDlg.h"
#include "app/PageJump.h"
#include "app/UiText.h"

#include "book/CVersaleoDoc.h"
#include "book/PageContent.h"
#include "views/SpreadGeometry.h"

#include "CBookViews.h"

#include <QLineEdit>

void CMainFrame::runPageCommand(int id)
{
    switch (id) {
    case cmd::CopyPage:
        m_doc.copyCurrentLeaf();
        break;
    case cmd::CutPage:
    case cmd::DeletePage:
        removeCurrentLeaf(id == cmd::CutPage);
        break;
    case cmd::PastePage:
        m_doc.pasteLeaves();
        break;
    case cmd::Jump: {
        CTurnToDlg dialog(this);
        if (runDialog(dialog) == QDialog::Accepted)
            turnToBookPage(dialog.number());
        break;
    }
    case cmd::JumpBox: {
        const std::optional<int64_t> number = pagejump::parseNumber(m_pageBox->text());
        if (!number) {
            showNotice(ui::text(4102), ui::text(4400));
            return;
        }
        turnToBookPage(*number);
        break;
    }
    case cmd::EditContent:
        editContent();
        break;
    default:
        return;
    }
    // The counts of the status line follow every change.
    RefreshViews();
}

void CMainFrame::removeCurrentLeaf(bool cut)
{
    const int c = m_doc.currentPage;
    if (c < 0 || c >= m_doc.pageCount())
        return;
    CBookPage& page = *m_doc.pages[static_cast<size_t>(c)];
    int question = 0;
    switch (page.kind()) {
    case PageKind::BookPage: question = 4300; break;
    case PageKind::NotePage: question = 4302; break;
    case PageKind::BookmarkPage: question = 4304; break;
    default: return;  // index and cover pages belong to the book
    }
    if (!askQuestion(ui::text(4101), ui::text(question + (cut ? 1 : 0))))
        return;
    int target = c;
    if (page.kind() == PageKind::BookmarkPage && m_state.twoPageMode) {
        // Two bookmarks face each other: the reader says which one goes.
        const spread::FacingPair shown = spread::facingPair(m_doc);
        const auto isBookmark = [this](int i) { return m_doc.kindOf(i) == PageKind::BookmarkPage; };
        if (isBookmark(shown.left) && isBookmark(shown.right) && shown.left / 2 != shown.right / 2) {
            CSelectBookmarkDlg choice(c == shown.right, this);
            if (runDialog(choice) != QDialog::Accepted)
                return;
            target = choice.rightChosen() ? shown.right : shown.left;
        }
    } else if (page.kind() != PageKind::BookmarkPage) {
        currentView()->rollUpCurrentPage(page.background, page.textColour);
    }
    // The reader stays on the page shown when the other bookmark goes.
    const CBookPage* stay = target == c ? nullptr : &page;
    m_doc.currentPage = target;
    const int removed = cut ? m_doc.cutCurrentLeaf() : m_doc.deleteCurrentLeaf();
    if (!removed) {
        m_doc.currentPage = c;
        return;
    }
    if (stay)
        m_doc.currentPage = m_doc.indexOfPage(stay);
    forgetSelectedItems();
}

void CMainFrame::forgetSelectedItems()
{
    // A selection is kept by its number on a page: once marks or pages have
    // gone, the number may name another mark, or a page made where the old
    // one was.
    m_twoPageView->unselectItem();
    m_onePageView->unselectItem();
}

void CMainFrame::turnToBookPage(int64_t number)
{
    const int bookPage = pagejump::targetBookPage(number, m_doc.bookPageCount());
    if (bookPage == 0)
        return;
    const int index = m_doc.pageOfBookPage(bookPage);
    if (index < 0)
        return;
    // A jump asked for while the pages run on ends their running there.
    m_state.continuousFlip = false;
    currentView()->turnTo(index);
}

void CMainFrame::editContent()
{
    const int c = m_doc.currentPage;
    if (c < 0 || c >= m_doc.pageCount())
        return;
    CBookPage& page = *m_doc.pages[static_cast<size_t>(c)];
    m_twoPageView->ensureComposed();
    const spread::PageRects& rects = m_twoPageView->painter().pageRects();
    const Rect& shown = c % 2 == 1 ? rects.left : rects.right;
    const PageGeometry& geometry = m_twoPageView->painter().geometryOf(page);
    const QPoint origin = m_twoPageView->mapToGlobal(QPoint(0, 0));
    ContentPlace place;
    place.page = QRect(origin + QPoint(shown.left, shown.top), QSize(shown.width(), shown.height()));
    place.textArea = QRect(origin + QPoint(geometry.area.left, geometry.area.top),
                           QSize(geometry.area.width(), geometry.area.height()));
    for (size_t i = 0; i < place.lineTops.size(); ++i)
        place.lineTops[i] = origin.y() + geometry.lineTops[i];
    place.lineHeight = geometry.lineHeight;
    CContentDlg dialog(page, place, this);
    if (runDialog(dialog) != QDialog::Accepted)
        return;
    content::replaceLines(page, dialog.slotTexts());
    m_doc.modified = 1;
    forgetSelectedItems();
}
