// The frame's command handlers: the routing of every command of the table,
// opening and saving books, the book windows, the close sequence and the
// continuous flip.
#include "app/CMainFrame.h"

#include "app/CBackPictureDlg.h"
#include "app/CBookPageStyleDlg.h"
#include "app/FileDialogs.h"
#include "app/StartupRules.h"
#include "app/UiText.h"

#include "book/BookFile.h"
#include "book/CVersaleoDoc.h"
#include "book/CodePage.h"
#include "book/Encodings.h"
#include "library/ProgramFolder.h"
#include "library/Settings.h"
#include "style/CStyleButton.h"

#include "aidkern/CAKPathManager.h"

#include "CBookViews.h"
#include "CDemoView.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>

#include <algorithm>

void CMainFrame::runCommand(int id)
{
    syncModes();
    const cmd::CommandUi ui = cmd::updateRule(id, m_state, cmd::docState(m_doc));
    if (!ui.enabled)
        return;
    // Whatever the command (a bar button, a menu, a dialog), the keys go on
    // turning the pages afterwards.
    struct FocusBack {
        CMainFrame& frame;
        ~FocusBack() { frame.focusTarget()->setFocus(); }
    } focusBack{*this};
    if (id == cmd::SystemMenu) {
        // The system popup: the items of "Tool" and "Help".
        updateCommands();
        QMenu menu(this);
        for (const cmd::Command& command : cmd::commandTable()) {
            if (std::string_view(command.menu) == "Tool" || std::string_view(command.menu) == "Help")
                menu.addAction(action(command.id));
        }
        menu.exec(button(cmd::SystemMenu)->mapToGlobal(QPoint(0, button(cmd::SystemMenu)->height())));
        return;
    }
    CommitTagEdits();
    if (const int code = cmd::encodingCode(id); code >= 0) {
        encoding::reencode(m_doc, code);
        RefreshViews();
        return;
    }
    switch (id) {
    case cmd::Open: openFiles(); break;
    case cmd::SaveAs: saveAs(); break;
    case cmd::Exit: close(); break;
    case cmd::Window1: case cmd::Window2: case cmd::Window3: case cmd::Window4: case cmd::Window5:
        switchWindow(id - cmd::Window1 + 1);
        break;
    case cmd::HelpWindow: switchWindow(CVersaleoDoc::kHelpWindow); break;
    case cmd::CloseWindow: closeWindow(); break;
    case cmd::Help: openHelpBook(); break;
    case cmd::Cabinet: openCabinetManager(); break;
    case cmd::Internet: showBrowser(); break;
    case cmd::OnePage:
    case cmd::TwoPage:
        m_state.twoPageMode = id == cmd::TwoPage;
        RefreshViews();
        break;
    case cmd::ContinueLeft: startContinuousFlip(true); break;
    case cmd::ContinueRight: startContinuousFlip(false); break;
    case cmd::StopFlip: m_state.continuousFlip = false; break;
    case cmd::AddTag: m_viewModes.tagPending = true; break;
    case cmd::AddMark:
        m_viewModes.markMode = !m_viewModes.markMode;
        m_viewModes.tagPending = false;
        break;
    case cmd::SelectText: toggleSelection(true); break;
    case cmd::DeleteMark:
    case cmd::DeleteTag: currentView()->deleteSelectedItem(); break;
    case cmd::MarkColour:
    case cmd::TagColour:
    case cmd::EditIndex:
    case cmd::EditBookmark:
    case cmd::EditNotePage: runAnnotationCommand(id); break;
    case cmd::CopySelection: currentView()->copySelection(); break;
    case cmd::SelectAllSelection: currentView()->selectAll(); break;
    case cmd::SelectBitmap: toggleSelection(false); break;
    case cmd::CancelSelect: toggleSelection(m_viewModes.textSelection); break;
    case cmd::LanternSlide: toggleLanternSlide(); break;
    case cmd::SlidePrevious: m_demoView->previousSlide(); break;
    case cmd::SlideNext: m_demoView->nextSlide(); break;
    case cmd::SlideFrame: toggleSlideFrame(); break;
    case cmd::FullWindow: toggleFullWindow(); break;
    case cmd::ClipWindow: toggleClipWindow(); break;
    case cmd::StyleWindow: toggleStyleWindow(); break;
    case cmd::Maximise: ownMaximise(); break;
    case cmd::Restore: restoreFromMaximise(); break;
    case cmd::Minimise: showMinimized(); break;
    case cmd::BackPicture: chooseBackgroundPicture(); break;
    case cmd::BackMusic: openMusicDialog(); break;
    case cmd::RestTime: openRestTimeDialog(); break;
    case cmd::Search: openSearchDialog(); break;
    case cmd::Environment: openEnvironmentDialog(); break;
    case cmd::EditBookPage: editBookPages(); break;
    case cmd::Print:
    case cmd::PrintSheets:
    case cmd::ClosePrint:
    case cmd::PreviousSheet:
    case cmd::NextSheet: runPrintCommand(id); break;
    case cmd::CopyPage:
    case cmd::CutPage:
    case cmd::PastePage:
    case cmd::DeletePage:
    case cmd::Jump:
    case cmd::JumpBox:
    case cmd::EditContent: runPageCommand(id); break;
    default: break;
    }
    updateCommands();
}

void CMainFrame::chooseBackgroundPicture()
{
    CBackPictureDlg dialog(m_pictures, m_settings, [this] { RefreshViews(); }, this);
    runDialog(dialog);
}

void CMainFrame::editBookPages()
{
    CBookPageStyleDlg dialog(m_doc, m_pictures, m_settings, [this] { RefreshViews(); }, this);
    runDialog(dialog);
}

void CMainFrame::openFiles()
{
    const QStringList paths = askOpenPaths();
    if (paths.isEmpty())
        return;
    m_settings.writeOpenFilePath(QFileInfo(paths.front()).absolutePath());
    openPaths(paths);
}

void CMainFrame::openPaths(const QStringList& paths)
{
    // One open per folder, in the order the folders first appear: each file
    // is read from its own folder.
    std::vector<std::vector<std::string>> groups;
    std::vector<QString> folders;
    for (const QString& path : paths) {
        const QString folder = QFileInfo(path).absolutePath();
        const auto at = std::find(folders.begin(), folders.end(), folder);
        if (at == folders.end()) {
            folders.push_back(folder);
            groups.emplace_back();
            groups.back().push_back(path.toStdString());
        } else {
            groups[static_cast<size_t>(at - folders.begin())].push_back(path.toStdString());
        }
    }
    bool titled = false;
    for (const std::vector<std::string>& files : groups) {
        const DropSelection selection = dropSelection(files);
        if (selection.buffer.empty())
            continue;
        const int before = m_doc.pageCount();
        m_doc.openFiles(selection.buffer.data(), selection.buffer.size(), selection.firstName);
        // The title names the book only when the open really added to it,
        // and by a file of a kind that opens, not one the opening refused.
        const auto opens = std::find_if(files.begin(), files.end(),
                                        [this](const std::string& file) { return m_doc.importers().forPath(file); });
        if (m_doc.pageCount() > before && !titled && opens != files.end()) {
            std::string name;
            CAKPathManager::AKGetFileName(*opens, &name);
            SetTitle(codepage::fromFileName(name));
            titled = true;
        }
    }
    RefreshViews();
}

CMainFrame::SaveResult CMainFrame::saveAs()
{
    const QString path = askSaveAsPath();
    if (path.isEmpty())
        return SaveResult::Cancelled;
    const QFileInfo file(withBookSuffix(path));
    m_settings.writeSaveFilePath(file.absolutePath());
    if (!bookfile::save(m_doc, file.absoluteFilePath().toStdString())) {
        showNotice(ui::text(4102), ui::text(4430, QDir::toNativeSeparators(file.absoluteFilePath())));
        return SaveResult::Failed;
    }
    SetTitle(codepage::fromFileName(file.fileName().toStdString()));
    return SaveResult::Saved;
}

void CMainFrame::switchWindow(int n)
{
    m_doc.switchWindow(n);
    showWindowTitle();
    RefreshViews();
}

bool CMainFrame::closeWindow()
{
    // What is saved, and what the reader sees while asked, is what was typed.
    CommitTagEdits();
    if (m_doc.activeWindow() == CVersaleoDoc::kHelpWindow) {
        m_doc.emptyWindow();
        SetTitle("VLDocument");
        m_doc.switchWindow(1);
        m_state.helpWindowOpen = false;
        showWindowTitle();
        RefreshViews();
        return true;
    }
    if (m_doc.modified) {
        switch (saveAs()) {
        case SaveResult::Saved: break;
        case SaveResult::Failed: return false;
        case SaveResult::Cancelled:
            if (!askQuestion(ui::text(4101), ui::text(4431, QString::number(m_doc.activeWindow()))))
                return false;
            break;
        }
    }
    m_doc.emptyWindow();
    SetTitle("VLDocument");
    RefreshViews();
    return true;
}

void CMainFrame::openHelpBook()
{
    const std::string path = programFolder() + (m_language == 1 ? "/help_ch.vl" : "/help_en.vl");
    if (!QFileInfo::exists(QString::fromStdString(path))) {
        showNotice(ui::text(4102), ui::text(4406, QFileInfo(QString::fromStdString(path)).fileName()));
        return;
    }
    m_doc.switchWindow(CVersaleoDoc::kHelpWindow);
    m_doc.emptyWindow();
    m_doc.openPath(path);
    m_doc.modified = 0;
    m_state.helpWindowOpen = true;
    showWindowTitle();
    RefreshViews();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (m_state.printView) {
        event->ignore();
        return;
    }
    // The window the placement keeps is the reader's, not the slide's.
    if (m_state.lanternSlide)
        toggleLanternSlide();
    // No page turns under the questions, nor after a close the reader stopped.
    m_state.continuousFlip = false;
    m_flipTimer->stop();
    // Close Window wants no mode on, and the walk leaves the window on show:
    // a selection or mark mode must not follow the reader to another book.
    if (m_viewModes.textSelection)
        toggleSelection(true);
    if (m_viewModes.bitmapSelection)
        toggleSelection(false);
    m_viewModes.markMode = false;
    m_viewModes.tagPending = false;
    CommitTagEdits();
    RefreshViews();
    for (int n = 1; n <= 5; ++n) {
        m_doc.switchWindow(n);
        if (!m_doc.modified)
            continue;
        showWindowTitle();
        RefreshViews();
        showNotice(ui::text(4017 + n), ui::text(4200 + n));
        if (!closeWindow()) {
            // The reader keeps this book: the program goes on, showing it.
            event->ignore();
            updateCommands();
            return;
        }
    }
    savePlacement();
    event->accept();
}

void CMainFrame::keyPressEvent(QKeyEvent* event)
{
    // Keys the view on show has no use for arrive here.
    if (m_state.lanternSlide && event->key() == Qt::Key_Escape) {
        runCommand(cmd::LanternSlide);
        return;
    }
    if (m_state.printView && event->key() == Qt::Key_Escape) {
        runCommand(cmd::ClosePrint);
        return;
    }
    if (m_state.fullWindow && (event->key() == Qt::Key_Escape || event->key() == Qt::Key_F11)) {
        runCommand(cmd::FullWindow);
        return;
    }
    QWidget::keyPressEvent(event);
}

void CMainFrame::toggleSelection(bool text)
{
    bool& mode = text ? m_viewModes.textSelection : m_viewModes.bitmapSelection;
    mode = !mode;
    m_viewModes.tagPending = false;
    // Leaving a selection mode clears what was selected.
    if (!mode) {
        for (CBookView* view : {static_cast<CBookView*>(m_twoPageView), static_cast<CBookView*>(m_onePageView)})
            view->cancelSelection();
    }
}

void CMainFrame::startContinuousFlip(bool forward)
{
    m_state.continuousFlip = true;
    m_flipForward = forward;
    m_flipTimer->start();
}

void CMainFrame::continuousFlipTick()
{
    const int c = m_doc.currentPage;
    const bool atEnd = m_flipForward ? c >= m_doc.pageCount() - 1 : c <= 0;
    if (!m_state.continuousFlip || atEnd) {
        m_state.continuousFlip = false;
        m_flipTimer->stop();
        updateCommands();
        return;
    }
    // Keys and clicks stay blocked during the flip; each tick turns to the
    // next page the reader sees, so the one-page view passes over none.
    if (m_flipForward)
        currentView()->pageForward();
    else
        currentView()->pageBack();
}
