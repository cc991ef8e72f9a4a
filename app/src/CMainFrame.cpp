// The main frame: construction, the views and their wiring, the update of
// the commands, the title, the status line, menus and dropped files. The
// chrome, the bars and the command handlers have their own files.
#include "app/CMainFrame.h"

#include "app/CMessageDlg.h"
#include "app/FileDialogs.h"
#include "app/StartupRules.h"
#include "app/UiText.h"

#include "book/CVersaleoDoc.h"
#include "book/CodePage.h"
#include "library/DocumentPictures.h"
#include "library/Settings.h"
#include "style/CStyleButton.h"

#include "CBookViews.h"
#include "CDemoView.h"
#include "CPrintView.h"
#include "FrameChrome.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStackedWidget>
#include <QTimer>

#include <algorithm>

CMainFrame::CMainFrame(CVersaleoDoc& doc, DocumentPictures& pictures, SettingsStore& settings, int language)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), m_doc(doc), m_pictures(pictures), m_settings(settings),
      m_language(language)
{
    setAcceptDrops(true);
    setMouseTracking(true);
    setMinimumSize(840, 620);
    const AppSettings values = settings.read(QDir::currentPath(), defaultSaveFolder());
    setGeometry(values.windowPositionLeft, values.windowPositionTop, values.windowWidth, values.windowHeight);
    m_windowStatus = values.windowStatus;
    m_restoreRect = QRect(QPoint(values.minWindowPositionLeft, values.minWindowPositionTop),
                          QPoint(values.minWindowPositionRight - 1, values.minWindowPositionBottom - 1));

    showNotice = [this](const QString& caption, const QString& text) { CMessageDlg(text, caption, false, this).exec(); };
    askQuestion = [this](const QString& caption, const QString& text) {
        CMessageDlg question(text, caption, ui::text(3296), ui::text(3297), this);
        // The frame asks before giving something up: a hasty Enter keeps it.
        question.cancelButton()->setFocus();
        return question.exec() == QDialog::Accepted;
    };
    askSaveAsPath = [this] {
        const auto dialog = makeSaveAsDialog(this, m_settings.read(QDir::currentPath(), defaultSaveFolder()).saveFilePath);
        return dialog->exec() == QDialog::Accepted ? dialog->selectedFiles().value(0) : QString();
    };
    runDialog = [](QDialog& dialog) { return dialog.exec(); };
    askOpenPaths = [this] {
        const auto dialog = makeOpenDialog(this, m_settings.read(QDir::currentPath(), defaultSaveFolder()).openFilePath,
                                           m_doc.importers().extensions());
        return dialog->exec() == QDialog::Accepted ? dialog->selectedFiles() : QStringList();
    };

    m_twoPageView = new CTwoPageView(doc, pictures);
    m_onePageView = new COnePageView(doc, pictures);
    for (CBookView* view : std::initializer_list<CBookView*>{m_twoPageView, m_onePageView}) {
        view->setModes(&m_viewModes);
        view->modesChanged = [this] {
            // A new tag or mark changes the counts the bottom bar shows.
            m_statusBar->setText(statusLine());
            updateCommands();
        };
        view->popupMenu = [this](int menu, QPoint at) {
            const std::unique_ptr<QMenu> popup = pagePopup(menu);
            // Bottom-aligned at the pointer.
            popup->exec(at - QPoint(0, popup->sizeHint().height()));
        };
        // Nor does the view under the browser take keys.
        view->inputBlocked = [this] { return m_state.continuousFlip || m_state.browserShown; };
        // A click while flipping stops the flipping after the flip in progress.
        view->blockedClick = [this] { m_state.continuousFlip = false; };
        view->pageChanged = [this] {
            m_statusBar->setText(statusLine());
            updateCommands();
        };
    }
    m_twoPageView->outlineChanged = [this] {
        if (m_state.clipWindow)
            applyClipOutline();
    };
    m_views = new QStackedWidget;
    m_views->addWidget(m_twoPageView);
    m_views->addWidget(m_onePageView);
    buildDemoView();
    buildBars();
    buildPrintView();
    buildBrowser();
    buildActions();
    m_showLeftBar = values.showLeftBar == 1;
    m_showRightBar = values.showRightBar == 1;
    m_showBottomBar = values.showBottomBar == 1;
    m_showStatusBar = values.showStatusBar == 1;
    // Any value but 1 is music off.
    m_playMusic = values.tunedeck == 1 ? 1 : 0;
    showDecorations(true, true);
    SetTitle("VLDocument");

    m_flipTimer = new QTimer(this);
    m_flipTimer->setInterval(300);
    connect(m_flipTimer, &QTimer::timeout, this, &CMainFrame::continuousFlipTick);
    m_updateTimer = new QTimer(this);
    connect(m_updateTimer, &QTimer::timeout, this, &CMainFrame::updateCommands);
    m_updateTimer->start(300);
    updateCommands();
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::buildActions()
{
    for (const cmd::Command& command : cmd::commandTable()) {
        auto* act = new QAction(ui::textOr(ui::kMenuLabel + command.id, command.label), this);
        // Items whose update rule checks them: the windows and the modes.
        const bool mode = command.id == cmd::FullWindow || command.id == cmd::ClipWindow ||
                          command.id == cmd::StyleWindow || command.id == cmd::AddTag || command.id == cmd::AddMark ||
                          command.id == cmd::SelectText || command.id == cmd::SelectBitmap ||
                          command.id == cmd::SlideFrame || command.id == cmd::Print;
        act->setCheckable(mode || (command.id >= cmd::HelpWindow && command.id <= cmd::Window5));
        connect(act, &QAction::triggered, this, [this, id = command.id] { runCommand(id); });
        m_actions[command.id] = act;
    }
}

CStyleButton* CMainFrame::button(int id) const
{
    const auto found = m_buttons.find(id);
    return found == m_buttons.end() ? nullptr : found->second;
}

QAction* CMainFrame::action(int id) const
{
    const auto found = m_actions.find(id);
    return found == m_actions.end() ? nullptr : found->second;
}

CBookView* CMainFrame::currentView() const
{
    if (m_state.twoPageMode)
        return m_twoPageView;
    return m_onePageView;
}

QWidget* CMainFrame::viewOnShow() const
{
    if (m_state.lanternSlide)
        return m_demoView;
    if (m_state.printView)
        return m_printView;
    return currentView();
}

void CMainFrame::syncModes()
{
    m_state.markMode = m_viewModes.markMode;
    m_state.tagPending = m_viewModes.tagPending;
    m_state.textSelection = m_viewModes.textSelection;
    m_state.bitmapSelection = m_viewModes.bitmapSelection;
    m_viewModes.helpWindowActive = m_doc.activeWindow() == CVersaleoDoc::kHelpWindow;
    m_state.sheetsToPrint = m_state.printView && !m_printView->nothingToPrint();
    m_state.sheetBefore = m_state.printView && m_printView->hasPreviousSheet();
    m_state.sheetAfter = m_state.printView && m_printView->hasNextSheet();
}

void CMainFrame::updateCommands()
{
    syncModes();
    m_state.pageBoxEmpty = m_pageBox->text().isEmpty();
    const cmd::DocState doc = cmd::docState(m_doc);
    for (const cmd::Command& command : cmd::commandTable()) {
        const cmd::CommandUi ui = cmd::updateRule(command.id, m_state, doc);
        if (QAction* act = action(command.id)) {
            act->setEnabled(ui.enabled);
            act->setChecked(ui.checked);
        }
        if (CStyleButton* b = button(command.id))
            b->setEnabled(ui.enabled);
    }
    // The "Help" tab shows only while the help window is open.
    if (CStyleButton* help = button(cmd::HelpWindow))
        help->setVisible(m_state.helpWindowOpen && !m_state.printView && !m_state.browserShown);
    for (const int tab : {cmd::Window1, cmd::Window2, cmd::Window3, cmd::Window4, cmd::Window5, cmd::CloseWindow}) {
        if (CStyleButton* b = button(tab))
            b->setVisible(!m_state.printView && !m_state.browserShown);
    }
    m_buttons[cmd::Maximise]->setVisible(m_windowStatus == 0);
    m_buttons[cmd::Restore]->setVisible(m_windowStatus == 1);
    // The mode buttons say how to leave their mode while it is on.
    if (CStyleButton* mark = button(cmd::AddMark); mark && mark->isEnabled())
        mark->setText(ui::text(m_state.markMode ? 3072 : 3064));
    if (CStyleButton* text = button(cmd::SelectText))
        text->setText(m_state.textSelection ? ui::text(3048) : ui::textOr(ui::kButtonCaption + cmd::SelectText, "Text"));
    if (CStyleButton* bitmap = button(cmd::SelectBitmap))
        bitmap->setText(m_state.bitmapSelection ? ui::text(3049)
                                                : ui::textOr(ui::kButtonCaption + cmd::SelectBitmap, "Bitmap"));
}

void CMainFrame::SetTitle(const std::string& name)
{
    if (const int window = m_doc.activeWindow(); window >= 1 && window < static_cast<int>(m_windowNames.size()))
        m_windowNames[static_cast<size_t>(window)] = name;
    m_title = QString::fromStdString(codepage::toUtf8(frameTitle(name)));
    setWindowTitle(m_title);
    if (m_topBar)
        m_topBar->update();
}

void CMainFrame::showWindowTitle()
{
    const int window = m_doc.activeWindow();
    const bool named = window >= 1 && window < static_cast<int>(m_windowNames.size()) &&
                       !m_windowNames[static_cast<size_t>(window)].empty();
    SetTitle(named ? m_windowNames[static_cast<size_t>(window)] : std::string("VLDocument"));
}

void CMainFrame::RefreshViews()
{
    m_twoPageView->refresh();
    m_onePageView->refresh();
    m_demoView->refresh();
    if (m_state.lanternSlide)
        m_demoView->showCurrentSlide();
    if (m_state.printView)
        m_printView->refresh();
    m_views->setCurrentWidget(viewOnShow());
    m_statusBar->setText(statusLine());
    updateCommands();
}

QString CMainFrame::statusLine() const
{
    if (ui::language() != 1)
        return QString::fromStdString(m_doc.statisticsLine());
    QString line = ui::text(4611);
    for (const int count : {m_doc.indexPageCount(), m_doc.bookPageCount(), m_doc.notePageCount(), m_doc.bookmarkCount(),
                            m_doc.indexEntryCount(), m_doc.tagCount(), m_doc.markCount()}) {
        const qsizetype at = line.indexOf(QStringLiteral("%d"));
        if (at >= 0)
            line.replace(at, 2, QString::number(count));
    }
    return line;
}

void CMainFrame::CommitTagEdits()
{
    // Note lines too: a command that saves must not lose them. The cached
    // spreads still show the text from before the editing.
    if (m_doc.commitSpreadEditors())
        RefreshViews();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls() && !m_state.browserShown)
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    DropFiles(paths);
}

void CMainFrame::DropFiles(const QStringList& paths)
{
    if (m_doc.activeWindow() == CVersaleoDoc::kHelpWindow || m_state.browserShown || paths.isEmpty())
        return;
    openPaths(paths);
}

void CMainFrame::fillMenus(QMenu* root)
{
    std::map<std::string, QMenu*> popups;
    int popupId = 9001;
    for (const char* name : {"File", "Edit", "Encoding", "Select", "Flip", "View", "Window-Style", "Tool", "Window", "Help"}) {
        const QString title = ui::textOr(popupId++, name);
        QMenu* popup = root ? root->addMenu(title) : m_menuBar->addMenu(title);
        connect(popup, &QMenu::aboutToShow, this, &CMainFrame::updateCommands);
        popups[name] = popup;
    }
    for (const cmd::Command& command : cmd::commandTable()) {
        if (*command.menu)
            popups[command.menu]->addAction(action(command.id));
    }
}

std::unique_ptr<QMenu> CMainFrame::pagePopup(int menu)
{
    updateCommands();
    auto popup = std::make_unique<QMenu>(this);
    std::vector<int> ids;
    if (menu == 36)
        ids = {cmd::DeleteMark, cmd::MarkColour};
    else if (menu == 37)
        ids = {cmd::DeleteTag, cmd::TagColour};
    else if (menu == 38)
        ids = {cmd::CopySelection, cmd::SelectAllSelection, cmd::CancelSelect};
    else if (menu == 39)
        ids = {cmd::SlidePrevious, cmd::SlideNext, cmd::SlideFrame};
    for (const int id : ids)
        popup->addAction(action(id));
    if (menu == 39)
        popup->addAction(m_endDemo);
    return popup;
}

void CMainFrame::contextMenuEvent(QContextMenuEvent* event)
{
    updateCommands();
    QMenu menu(this);
    fillMenus(&menu);
    menu.exec(event->globalPos());
}
