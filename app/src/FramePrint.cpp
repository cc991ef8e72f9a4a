// The frame's print mode: the print view shown in place of the reading view
// with the print bar above it, and the print-mode commands.
#include "app/CMainFrame.h"

#include "app/CPrintBar.h"
#include "app/UiText.h"

#include "library/DocumentPictures.h"
#include "style/CStyleButton.h"

#include "CBookViews.h"
#include "CPrintView.h"

#include <QBoxLayout>
#include <QStackedWidget>

void CMainFrame::buildPrintView()
{
    m_printView = new CPrintView(m_doc, m_pictures);
    m_views->addWidget(m_printView);
    // The page set-up and print dialogs run as the frame's dialogs do.
    m_printView->runDialog = [this](QDialog& dialog) { return runDialog(dialog); };
    m_printBar = new CPrintBar(*m_printView, this);
    m_printBar->hide();
    m_printView->setRangeBoxes(m_printBar->fromBox(), m_printBar->toBox());
    m_printView->stateChanged = [this] {
        m_printBar->showOptions();
        updateCommands();
    };
    for (CStyleButton* button : m_printBar->commandButtons()) {
        m_buttons[button->commandId()] = button;
        connect(button, &CStyleButton::command, this, &CMainFrame::runCommand);
    }
    // Docked at the top, under the top bar.
    if (auto* outer = qobject_cast<QBoxLayout*>(layout()))
        outer->insertWidget(1, m_printBar);
}

void CMainFrame::runPrintCommand(int id)
{
    switch (id) {
    case cmd::Print:
        if (m_state.printView)
            leavePrintView();
        else
            enterPrintView();
        break;
    case cmd::PrintSheets:
        if (m_printView->print() == CPrintView::PrintResult::Failed)
            showNotice(ui::text(4102), ui::text(4433));
        break;
    case cmd::ClosePrint: leavePrintView(); break;
    case cmd::PreviousSheet: m_printView->previousSheet(); break;
    case cmd::NextSheet: m_printView->nextSheet(); break;
    default: break;
    }
}

void CMainFrame::enterPrintView()
{
    // The printer is set up first; then the sheets show.
    m_printView->enter();
    m_state.printView = true;
    m_printBar->show();
    RefreshViews();
}

void CMainFrame::leavePrintView()
{
    m_state.printView = false;
    m_printBar->hide();
    // Back to the reading view it came from.
    RefreshViews();
}
