#include "app/CMainFrame.h"

#include "app/CMessageDlg.h"
#include "app/Settings.h"
#include "app/StartupRules.h"
#include "app/UiText.h"

#include "book/BookFile.h"
#include "book/CVersaleoDoc.h"
#include "book/CodePage.h"
#include "book/Encodings.h"
#include "library/DocumentPictures.h"
#include "library/ProgramFolder.h"
#include "style/CStyle.h"
#include "style/CStyleButton.h"

#include "aidkern/CAKPathManager.h"

#include "CBookViews.h"

#include <QAction>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QScreen>
#include <QSettings>
#include <QStackedWidget>
#include <QTimer>
#include <QWindow>

namespace {

constexpr int kTopBarHeight = 30;
// The style window's border: 5 pixels left and right, 4 at the top, 3 at the bottom.
constexpr int kBorderLeft = 5, kBorderTop = 4, kBorderRight = 5, kBorderBottom = 3;

QRect toQRect(const Rect& r)
{
    return QRect(r.left, r.top, r.width(), r.height());
}

Rect toRect(const QRect& r)
{
    return {r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}

const QImage* const* pictureSet(const QImage* set[4], const QImage& u, const QImage& f, const QImage& d, const QImage& x)
{
    set[0] = &u;
    set[1] = &f;
    set[2] = &d;
    set[3] = &x;
    return set;
}

// A text of the interface, the English given when the string table has none.
QString translated(int id, const char* english)
{
    const QString text = ui::text(id);
    return text.isEmpty() ? QString::fromUtf8(english) : text;
}

Qt::Edges frameBorderEdges(const QRect& window, const QPoint& p, bool sizingAllowed)
{
    const int hit = borderHit({window.left(), window.top(), window.right() + 1, window.bottom() + 1}, {p.x(), p.y()}, sizingAllowed);
    Qt::Edges edges;
    if (hit & kEdgeLeft)
        edges |= Qt::LeftEdge;
    if (hit & kEdgeRight)
        edges |= Qt::RightEdge;
    if (hit & kEdgeTop)
        edges |= Qt::TopEdge;
    if (hit & kEdgeBottom)
        edges |= Qt::BottomEdge;
    return edges;
}

#define SKIN_SET(name)                                                                                         \
    [](const CStyle& s, const QImage* skinSlots[4]) { return pictureSet(skinSlots, s.name##_u, s.name##_f, s.name##_d, s.name##_x); }

}  // namespace

// The skinned caption: title, window tabs and caption buttons; dragging it
// moves the frame, a double-click maximises or restores.
class CTopBar : public QWidget {
public:
    explicit CTopBar(CMainFrame& frame) : QWidget(&frame), m_frame(frame) { setFixedHeight(kTopBarHeight); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        QLinearGradient band(0, 0, 0, height());
        band.setColorAt(0, QColor(250, 214, 252));
        band.setColorAt(1, QColor(224, 150, 236));
        painter.fillRect(rect(), band);
        QFont font = painter.font();
        font.setBold(true);
        font.setPixelSize(13);
        painter.setFont(font);
        painter.setPen(QColor(70, 20, 80));
        painter.drawText(QRect(34, 0, width() / 2, height()), Qt::AlignVCenter | Qt::AlignLeft, m_frame.title());
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && m_frame.m_windowStatus == 0) {
            if (QWindow* window = m_frame.windowHandle(); window && window->startSystemMove())
                return;
            m_dragOffset = event->globalPosition().toPoint() - m_frame.frameGeometry().topLeft();
            m_dragging = true;
        }
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (m_dragging)
            m_frame.move(event->globalPosition().toPoint() - m_dragOffset);
    }
    void mouseReleaseEvent(QMouseEvent*) override { m_dragging = false; }
    void mouseDoubleClickEvent(QMouseEvent*) override
    {
        m_frame.runCommand(m_frame.m_windowStatus == 0 ? cmd::Maximise : cmd::Restore);
    }

private:
    CMainFrame& m_frame;
    bool m_dragging = false;
    QPoint m_dragOffset;
};

CMainFrame::CMainFrame(CVersaleoDoc& doc, DocumentPictures& pictures, QSettings& settings, int language)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), m_doc(doc), m_pictures(pictures), m_settings(settings),
      m_language(language)
{
    setAcceptDrops(true);
    setMouseTracking(true);
    setMinimumSize(840, 620);
    const AppSettings values = readSettings(settings, QDir::currentPath(), QString::fromStdString(programFolder()));
    setGeometry(values.windowPositionLeft, values.windowPositionTop, values.windowWidth, values.windowHeight);
    m_windowStatus = values.windowStatus;
    m_restoreRect = QRect(QPoint(values.minWindowPositionLeft, values.minWindowPositionTop),
                          QPoint(values.minWindowPositionRight - 1, values.minWindowPositionBottom - 1));

    showNotice = [this](const QString& caption, const QString& text) { CMessageDlg(text, caption, false, this).exec(); };
    askSaveAsPath = [this] {
        m_settings.beginGroup(QStringLiteral("Settings"));
        const QString folder = m_settings.value(QStringLiteral("SaveFilePath"), QString::fromStdString(programFolder())).toString();
        m_settings.endGroup();
        return QFileDialog::getSaveFileName(this, ui::text(4007), folder, ui::text(4500));
    };
    askOpenPaths = [this] {
        m_settings.beginGroup(QStringLiteral("Settings"));
        const QString folder = m_settings.value(QStringLiteral("OpenFilePath"), QDir::currentPath()).toString();
        m_settings.endGroup();
        QStringList filters;
        for (const int id : {4500, 4501, 4502, 4508, 4509, 4503})
            filters << ui::text(id);
        return QFileDialog::getOpenFileNames(this, ui::text(4006), folder, filters.join(QStringLiteral(";;")));
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
        view->inputBlocked = [this] { return m_state.continuousFlip; };
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
    buildBars();
    buildActions();
    m_showLeftBar = values.showLeftBar == 1;
    m_showRightBar = values.showRightBar == 1;
    m_showBottomBar = values.showBottomBar == 1;
    m_showStatusBar = values.showStatusBar == 1;
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

CStyleButton* CMainFrame::addButton(QWidget* bar, int id, const QString& caption, const QString& tip,
                                    const QImage* const pictures[4])
{
    auto* button = new CStyleButton(bar);
    button->setCommandId(id);
    button->setText(caption);
    button->setToolTip(tip.isEmpty() ? caption : tip);
    if (pictures)
        button->SetPicture(pictures[0], pictures[1], pictures[2], pictures[3]);
    connect(button, &CStyleButton::command, this, &CMainFrame::runCommand);
    m_buttons[id] = button;
    return button;
}

void CMainFrame::buildBars()
{
    const CStyle* style = applicationStyle();
    const QImage* set[4] = {};
    const auto pictures = [&](auto picker) -> const QImage* const* { return style ? picker(*style, set) : nullptr; };

    m_topBar = new CTopBar(*this);
    auto* top = new QHBoxLayout(m_topBar);
    top->setContentsMargins(6, 5, 6, 5);
    top->setSpacing(3);
    auto* system = addButton(m_topBar, cmd::SystemMenu, QString(), ui::text(3301), nullptr);
    if (style)
        system->SetPicture(&style->doctype, &style->doctype, &style->doctype, &style->doctype);
    system->setFixedSize(20, 20);
    top->addWidget(system);
    top->addStretch(1);
    const int tabs[] = {3005, 3000, 3001, 3002, 3003, 3004, 3006};
    const int tabTips[] = {3307, 3302, 3303, 3304, 3305, 3306, 3300};
    for (int i = 0; i < 7; ++i) {
        auto* tab = addButton(m_topBar, cmd::HelpWindow + i, ui::text(tabs[i]), ui::text(tabTips[i]), pictures(SKIN_SET(middle_btn)));
        tab->setFixedSize(60, 20);
        top->addWidget(tab);
    }
    top->addSpacing(10);
    for (const auto& [id, picker] : std::initializer_list<std::pair<int, const QImage* const* (*)(const CStyle&, const QImage* [4])>>{
             {cmd::Minimise, SKIN_SET(min)}, {cmd::Restore, SKIN_SET(normal)}, {cmd::Maximise, SKIN_SET(max)}, {cmd::Exit, SKIN_SET(exit)}}) {
        auto* button = addButton(m_topBar, id, QString(), QString(), style ? picker(*style, set) : nullptr);
        button->setFixedSize(16, 16);
        top->addWidget(button);
    }
    m_buttons[cmd::Maximise]->setToolTip(ui::text(3310));
    m_buttons[cmd::Minimise]->setToolTip(ui::text(3308));
    m_buttons[cmd::Restore]->setToolTip(ui::text(3309));
    m_buttons[cmd::Exit]->setToolTip(ui::text(3311));

    struct ToolButton {
        int id;
        const char* caption;
        int tip;
        const QImage* const* (*picker)(const CStyle&, const QImage* [4]);
    };
    const auto buildBar = [&](QWidget*& bar, QBoxLayout* layout, std::initializer_list<ToolButton> buttons) {
        bar = new QWidget(this);
        bar->setLayout(layout);
        layout->setContentsMargins(4, 4, 4, 4);
        layout->setSpacing(2);
        for (const ToolButton& b : buttons) {
            auto* button = addButton(bar, b.id, translated(ui::kButtonCaption + b.id, b.caption), ui::text(b.tip),
                                     b.picker && style ? b.picker(*style, set) : nullptr);
            button->setFixedSize(b.picker ? QSize(60, 48) : QSize(60, 20));
            layout->addWidget(button, 0, Qt::AlignHCenter);
        }
        layout->addStretch(1);
    };
    buildBar(m_leftBar, new QVBoxLayout,
             {{cmd::OnePage, "One", 3360, SKIN_SET(one)},
              {cmd::TwoPage, "Two", 3361, SKIN_SET(two)},
              {cmd::FullWindow, "Full", 3362, SKIN_SET(full)},
              {cmd::AddTag, "Tag", 3363, SKIN_SET(tag)},
              {cmd::AddMark, "Mark", 3364, SKIN_SET(mark)},
              {cmd::EditIndex, "Index", 3365, SKIN_SET(index)},
              {cmd::EditBookmark, "Book-mark", 3366, SKIN_SET(bookmark)},
              {cmd::EditNotePage, "Note", 3367, SKIN_SET(note)},
              {cmd::Print, "Print", 3368, SKIN_SET(print)},
              {cmd::Open, "File", 3369, SKIN_SET(file)},
              {cmd::SaveAs, "Save", 3370, SKIN_SET(save)},
              {cmd::EditBookPage, "Book", 3371, SKIN_SET(book)}});
    buildBar(m_rightBar, new QVBoxLayout,
             {{cmd::Cabinet, "Cabinet", 3320, SKIN_SET(cabinet)},
              {cmd::BackPicture, "Picture", 3322, SKIN_SET(ground)},
              {cmd::BackMusic, "Music", 3323, SKIN_SET(music)},
              {cmd::RestTime, "Time", 3324, SKIN_SET(time)},
              {cmd::Search, "Search", 3325, SKIN_SET(search)},
              {cmd::Internet, "Web", 3326, SKIN_SET(web)},
              {cmd::Environment, "Envset", 3327, SKIN_SET(envset)},
              {cmd::Help, "Help", 3328, SKIN_SET(help)}});

    m_bottomBar = new QWidget(this);
    auto* bottom = new QHBoxLayout(m_bottomBar);
    bottom->setContentsMargins(6, 3, 6, 3);
    bottom->setSpacing(4);
    const auto textButton = [&](int id, const char* caption, int tip) {
        auto* button = addButton(m_bottomBar, id, translated(ui::kButtonCaption + id, caption), ui::text(tip),
                                 style ? SKIN_SET(middle_btn)(*style, set) : nullptr);
        button->setFixedSize(60, 20);
        bottom->addWidget(button);
    };
    textButton(cmd::CopyPage, "Copy", 3340);
    textButton(cmd::CutPage, "Cut", 3341);
    textButton(cmd::PastePage, "Paste", 3342);
    textButton(cmd::DeletePage, "Delete", 3343);
    bottom->addStretch(1);
    m_pageBox = new QLineEdit(m_bottomBar);
    m_pageBox->setFixedWidth(50);
    m_pageBox->setValidator(nullptr);
    bottom->addWidget(m_pageBox);
    textButton(cmd::JumpBox, "Jump", 3344);
    for (const auto& [id, tip, picker] : std::initializer_list<std::tuple<int, int, const QImage* const* (*)(const CStyle&, const QImage* [4])>>{
             {cmd::ContinueRight, 3345, SKIN_SET(prev)},
             {cmd::StopFlip, 3346, SKIN_SET(stop)},
             {cmd::ContinueLeft, 3347, SKIN_SET(next)}}) {
        auto* button = addButton(m_bottomBar, id, QString(), ui::text(tip), style ? picker(*style, set) : nullptr);
        button->setFixedSize(24, 24);
        bottom->addWidget(button);
    }
    bottom->addStretch(1);
    textButton(cmd::EditContent, "Edit", 3348);
    textButton(cmd::SelectText, "Text", 3349);
    textButton(cmd::SelectBitmap, "Bitmap", 3350);

    m_statusBar = new QLabel(this);
    m_statusBar->setContentsMargins(8, 2, 8, 2);

    auto* middle = new QHBoxLayout;
    middle->setContentsMargins(0, 0, 0, 0);
    middle->setSpacing(0);
    middle->addWidget(m_leftBar);
    middle->addWidget(m_views, 1);
    middle->addWidget(m_rightBar);
    m_menuBar = new QMenuBar(this);
    m_menuBar->hide();
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(kBorderLeft, kBorderTop, kBorderRight, kBorderBottom);
    outer->setSpacing(0);
    outer->setMenuBar(m_menuBar);
    outer->addWidget(m_topBar);
    outer->addLayout(middle, 1);
    outer->addWidget(m_bottomBar);
    outer->addWidget(m_statusBar);
}

void CMainFrame::buildActions()
{
    for (const cmd::Command& command : cmd::commandTable()) {
        auto* act = new QAction(translated(ui::kMenuLabel + command.id, command.label), this);
        // Items whose update rule checks them: the windows and the modes.
        const bool mode = command.id == cmd::FullWindow || command.id == cmd::ClipWindow ||
                          command.id == cmd::StyleWindow || command.id == cmd::AddTag || command.id == cmd::AddMark ||
                          command.id == cmd::SelectText || command.id == cmd::SelectBitmap;
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

void CMainFrame::syncModes()
{
    m_state.markMode = m_viewModes.markMode;
    m_state.tagPending = m_viewModes.tagPending;
    m_state.textSelection = m_viewModes.textSelection;
    m_state.bitmapSelection = m_viewModes.bitmapSelection;
    m_viewModes.helpWindowActive = m_doc.activeWindow() == CVersaleoDoc::kHelpWindow;
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
            b->setEnabled(ui.enabled || command.id == cmd::SystemMenu);
    }
    // The "Help" tab shows only while the help window is open.
    if (CStyleButton* help = button(cmd::HelpWindow))
        help->setVisible(m_state.helpWindowOpen && !m_state.printView && !m_state.browserShown);
    m_buttons[cmd::Maximise]->setVisible(m_windowStatus == 0);
    m_buttons[cmd::Restore]->setVisible(m_windowStatus == 1);
    // The mark button says how to leave mark mode while it is on.
    if (CStyleButton* mark = button(cmd::AddMark); mark && mark->isEnabled())
        mark->setText(ui::text(m_state.markMode ? 3072 : 3064));
}

void CMainFrame::SetTitle(const std::string& name)
{
    m_title = QString::fromStdString(codepage::toUtf8(frameTitle(name)));
    setWindowTitle(m_title);
    if (m_topBar)
        m_topBar->update();
}

void CMainFrame::RefreshViews()
{
    m_twoPageView->refresh();
    m_onePageView->refresh();
    m_views->setCurrentWidget(currentView());
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
    // Note lines too: a command that saves must not lose them.
    m_doc.commitSpreadEditors();
}

void CMainFrame::runCommand(int id)
{
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
    syncModes();
    const cmd::CommandUi ui = cmd::updateRule(id, m_state, cmd::docState(m_doc));
    if (!ui.enabled)
        return;
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
    case cmd::CopySelection: currentView()->copySelection(); break;
    case cmd::SelectAllSelection: currentView()->selectAll(); break;
    case cmd::SelectBitmap: toggleSelection(false); break;
    case cmd::CancelSelect: toggleSelection(m_viewModes.textSelection); break;
    case cmd::FullWindow: toggleFullWindow(); break;
    case cmd::ClipWindow: toggleClipWindow(); break;
    case cmd::StyleWindow: toggleStyleWindow(); break;
    case cmd::Maximise: ownMaximise(); break;
    case cmd::Restore: restoreFromMaximise(); break;
    case cmd::Minimise: showMinimized(); break;
    default: break;
    }
    updateCommands();
}

void CMainFrame::openFiles()
{
    const QStringList paths = askOpenPaths();
    if (paths.isEmpty())
        return;
    m_settings.setValue(QStringLiteral("Settings/OpenFilePath"), QFileInfo(paths.front()).absolutePath());
    openPaths(paths);
}

void CMainFrame::openPaths(const QStringList& paths)
{
    std::vector<std::string> files;
    for (const QString& path : paths)
        files.push_back(path.toStdString());
    const DropSelection selection = dropSelection(files);
    if (m_doc.openFiles(selection.buffer.data(), selection.buffer.size(), selection.firstName) == 1 && m_doc.modified) {
        std::string name;
        CAKPathManager::AKGetFileName(files.front(), &name);
        SetTitle(codepage::fromFileName(name));
    }
    RefreshViews();
}

void CMainFrame::saveAs()
{
    QString path = askSaveAsPath();
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".vl");
    m_settings.setValue(QStringLiteral("Settings/SaveFilePath"), QFileInfo(path).absolutePath());
    bookfile::save(m_doc, path.toStdString());
}

void CMainFrame::switchWindow(int n)
{
    m_doc.switchWindow(n);
    RefreshViews();
}

void CMainFrame::closeWindow()
{
    if (m_doc.activeWindow() == CVersaleoDoc::kHelpWindow) {
        m_doc.emptyWindow();
        m_doc.switchWindow(1);
        m_state.helpWindowOpen = false;
    } else {
        if (m_doc.modified)
            saveAs();
        m_doc.emptyWindow();
    }
    RefreshViews();
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
    RefreshViews();
}

void CMainFrame::ownMaximise()
{
    m_windowStatus = 1;
    m_restoreRect = geometry();
    const QScreen* screen = this->screen();
    if (!screen)
        return;
    // The part of the screen the desktop keeps for itself stands in for the task bar.
    const QRect whole = screen->geometry(), available = screen->availableGeometry();
    std::optional<Rect> taskBar;
    if (available.bottom() < whole.bottom())
        taskBar = Rect{whole.left(), available.bottom() + 1, whole.right() + 1, whole.bottom() + 1};
    else if (available.top() > whole.top())
        taskBar = Rect{whole.left(), whole.top(), whole.right() + 1, available.top()};
    else if (available.left() > whole.left())
        taskBar = Rect{whole.left(), whole.top(), available.left(), whole.bottom() + 1};
    else if (available.right() < whole.right())
        taskBar = Rect{available.right() + 1, whole.top(), whole.right() + 1, whole.bottom() + 1};
    setGeometry(toQRect(ownMaximiseArea(toRect(whole), taskBar)));
}

void CMainFrame::restoreFromMaximise()
{
    m_windowStatus = 0;
    setGeometry(m_restoreRect);
}

void CMainFrame::savePlacement()
{
    AppSettings values = readSettings(m_settings, QDir::currentPath(), QString::fromStdString(programFolder()));
    const QRect g = geometry();
    values.windowPositionLeft = g.left();
    values.windowPositionTop = g.top();
    values.windowWidth = g.width();
    values.windowHeight = g.height();
    values.windowStatus = m_windowStatus;
    values.minWindowPositionLeft = m_restoreRect.left();
    values.minWindowPositionTop = m_restoreRect.top();
    values.minWindowPositionRight = m_restoreRect.right() + 1;
    values.minWindowPositionBottom = m_restoreRect.bottom() + 1;
    writeSettings(m_settings, values);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (m_state.printView) {
        event->ignore();
        return;
    }
    savePlacement();
    for (int n = 1; n <= 5; ++n) {
        m_doc.switchWindow(n);
        if (m_doc.modified) {
            RefreshViews();
            showNotice(ui::text(4017 + n), ui::text(4200 + n));
            closeWindow();
        }
    }
    event->accept();
}

void CMainFrame::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QColor strip(122, 122, 255);
    painter.fillRect(QRect(0, 0, width(), kBorderTop), strip);
    painter.fillRect(QRect(0, height() - kBorderBottom, width(), kBorderBottom), strip);
    painter.fillRect(QRect(0, 0, kBorderLeft, height()), strip);
    painter.fillRect(QRect(width() - kBorderRight, 0, kBorderRight, height()), strip);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.drawLine(0, 2, width(), 2);
    painter.drawLine(0, height() - 3, width(), height() - 3);
    painter.fillRect(rect().adjusted(kBorderLeft, kBorderTop, -kBorderRight, -kBorderBottom), QColor(239, 205, 224));
}

void CMainFrame::mousePressEvent(QMouseEvent* event)
{
    const Qt::Edges edges = frameBorderEdges(rect(), event->position().toPoint(), m_windowStatus == 0 && !m_state.fullWindow);
    if (edges && windowHandle())
        windowHandle()->startSystemResize(edges);
}

void CMainFrame::mouseMoveEvent(QMouseEvent* event)
{
    const Qt::Edges edges = frameBorderEdges(rect(), event->position().toPoint(), m_windowStatus == 0 && !m_state.fullWindow);
    if (edges == (Qt::LeftEdge | Qt::TopEdge) || edges == (Qt::RightEdge | Qt::BottomEdge))
        setCursor(Qt::SizeFDiagCursor);
    else if (edges == (Qt::RightEdge | Qt::TopEdge) || edges == (Qt::LeftEdge | Qt::BottomEdge))
        setCursor(Qt::SizeBDiagCursor);
    else if (edges & (Qt::LeftEdge | Qt::RightEdge))
        setCursor(Qt::SizeHorCursor);
    else if (edges & (Qt::TopEdge | Qt::BottomEdge))
        setCursor(Qt::SizeVerCursor);
    else
        unsetCursor();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
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
    if (m_doc.activeWindow() == CVersaleoDoc::kHelpWindow || paths.isEmpty())
        return;
    openPaths(paths);
}

void CMainFrame::fillMenus(QMenu* root)
{
    std::map<std::string, QMenu*> popups;
    int popupId = 9001;
    for (const char* name : {"File", "Edit", "Encoding", "Select", "Flip", "View", "Window-Style", "Tool", "Window", "Help"}) {
        const QString title = translated(popupId++, name);
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
    for (const int id : ids)
        popup->addAction(action(id));
    return popup;
}

void CMainFrame::contextMenuEvent(QContextMenuEvent* event)
{
    updateCommands();
    QMenu menu(this);
    fillMenus(&menu);
    menu.exec(event->globalPos());
}

void CMainFrame::showDecorations(bool frame, bool bars)
{
    CommitTagEdits();
    if (m_state.traditionalStyle) {
        m_topBar->hide();
        layout()->setContentsMargins(0, 0, 0, 0);
        m_menuBar->setVisible(bars);
    } else {
        m_menuBar->hide();
        m_topBar->setVisible(frame);
        layout()->setContentsMargins(frame ? kBorderLeft : 0, frame ? kBorderTop : 0, frame ? kBorderRight : 0,
                                     frame ? kBorderBottom : 0);
    }
    const bool tools = bars && !m_state.fullWindow;
    m_leftBar->setVisible(tools && m_showLeftBar);
    m_rightBar->setVisible(tools && m_showRightBar);
    m_bottomBar->setVisible(tools && m_showBottomBar);
    m_statusBar->setVisible(tools && m_showStatusBar);
    RefreshViews();
    currentView()->setFocus();
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
    // Keys and clicks stay blocked during the flip; the view's turn rules apply.
    if (m_state.twoPageMode) {
        currentView()->turnTo(m_flipForward ? c + 2 : c - 2);
    } else {
        auto* one = static_cast<COnePageView*>(m_onePageView);
        const bool flips = m_flipForward ? c % 2 == 0 : c % 2 == 1;
        if (flips)
            one->turnTo(m_flipForward ? c + 2 : c - 2);
        else
            one->slide(m_flipForward);
    }
}

void CMainFrame::toggleFullWindow()
{
    if (!m_state.fullWindow) {
        m_savedPlacement = geometry();
        m_state.fullWindow = true;
        showDecorations(false, false);
        showFullScreen();
    } else {
        m_state.fullWindow = false;
        showDecorations(true, true);
        showNormal();
        setGeometry(m_savedPlacement);
    }
}

void CMainFrame::toggleClipWindow()
{
    m_state.clipWindow = !m_state.clipWindow;
    m_viewModes.clipWindow = m_state.clipWindow;
    if (m_state.clipWindow) {
        showDecorations(false, true);
    } else {
        resize(840, 620);
        showDecorations(true, true);
    }
    applyClipOutline();
}

void CMainFrame::applyClipOutline()
{
    if (!m_state.clipWindow) {
        clearMask();
        return;
    }
    m_twoPageView->ensureComposed();
    QRegion shape = m_twoPageView->bookRegion().translated(m_twoPageView->mapTo(this, QPoint(0, 0)));
    // The bars above and below the book stay usable.
    const QRect views(m_views->mapTo(this, QPoint(0, 0)), m_views->size());
    shape += QRect(0, 0, width(), views.top());
    shape += QRect(0, views.bottom() + 1, width(), height() - views.bottom() - 1);
    setMask(shape);
}

void CMainFrame::toggleStyleWindow()
{
    showDecorations(false, false);
    m_state.traditionalStyle = !m_state.traditionalStyle;
    const QRect placement = geometry();
    const bool shown = isVisible();
    // The traditional window has the system's frame and the menu bar.
    setWindowFlags(m_state.traditionalStyle ? Qt::Window : Qt::Window | Qt::FramelessWindowHint);
    if (m_state.traditionalStyle && m_menuBar->actions().isEmpty())
        fillMenus(nullptr);
    setGeometry(placement);
    if (shown)
        show();
    showDecorations(true, true);
}
