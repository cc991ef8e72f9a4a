// The frame's library command: the cabinet manager, and the book it reads.
#include "app/CMainFrame.h"

#include "app/CCabinetManagerDlg.h"

#include "book/CVersaleoDoc.h"
#include "library/BooksFolder.h"

void CMainFrame::openCabinetManager()
{
    CCabinetManagerDlg manager(m_doc, m_settings, books::booksFolder(), this);
    if (runDialog(manager) != QDialog::Accepted || !manager.bookToRead())
        return;
    const CCabinetManagerDlg::BookToRead& book = *manager.bookToRead();
    const int before = m_doc.pageCount();
    m_doc.openLibraryBook(book.path, book.name);
    // The window is named after the book, not after its copy's file name.
    if (m_doc.pageCount() > before)
        SetTitle(book.name);
    RefreshViews();
}
