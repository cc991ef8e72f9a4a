// The main frame: the skinned style window with its top bar (title, caption
// buttons, window tabs), the left, right and bottom tool bars, the status
// bar, the reading views, the book windows and the routing of every command
// through the command table.
#pragma once

#include "app/Commands.h"
#include "app/CRestTimeDlg.h"

#include "views/PageInput.h"

#include <QColor>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

class CBookView;
class CBrowserDlg;
class CDemoView;
class CTwoPageView;
class COnePageView;
class CPrintBar;
class CPrintView;
class CStyleButton;
class CTopBar;
class CVersaleoDoc;
class DocumentPictures;
class MusicState;
class QAction;
class QDialog;
class QLabel;
class QLineEdit;
class QStackedWidget;
class QBoxLayout;
class SettingsStore;
struct BarButton;
class QTimer;
struct EnvironmentValues;

class CMainFrame : public QWidget {
    Q_OBJECT

public:
    CMainFrame(CVersaleoDoc& doc, DocumentPictures& pictures, SettingsStore& settings, int language);
    ~CMainFrame() override;

    // "name - Versaleo", cut as the title rule says; the name (in the code
    // page) stays with the window on show and comes back when it does.
    void SetTitle(const std::string& name);
    const QString& title() const { return m_title; }

    // Drops the views' cached pictures, repaints, updates the status line.
    void RefreshViews();
    // The statistics line of the status bar, in the interface language.
    QString statusLine() const;
    // Ends the in-place editing (tags and note lines) of the open spread and,
    // when something was being edited, refreshes the views.
    void CommitTagEdits();

    // Runs a command of the table (when its update rule allows it).
    void runCommand(int id);
    // Applies every update rule to the actions and buttons.
    void updateCommands();

    cmd::FrameState& state() { return m_state; }
    CStyleButton* button(int id) const;
    QAction* action(int id) const;
    CBookView* currentView() const;
    // The view the reader sees: the lantern slide while it runs, the print
    // view in print mode, else the reading view of the mode.
    QWidget* viewOnShow() const;
    CPrintView* printView() const { return m_printView; }
    // The bottom bar's page box: the book page number to move to.
    QLineEdit* pageBox() const { return m_pageBox; }
    // The web-browser panel, laid over the view while the browser mode is on.
    CBrowserDlg* browserPanel() const { return m_browser; }
    CPrintBar* printBar() const { return m_printBar; }
    // Popup 36 (mark), 37 (tag), 38 (selection) or 39 (lantern slide) with its commands.
    std::unique_ptr<QMenu> pagePopup(int menu);

    // Files dropped on the window open in it; the help window takes none.
    void DropFiles(const QStringList& paths);

    // Opens the help book in window 6 (English or Chinese by the language).
    void openHelpBook();

    // One tick of the continuous flip (its timer calls it every 300 ms).
    void continuousFlipTick();

    // The background music the frame's dialogs manage and its songs' ends
    // advance; the players report to this window.
    void setMusic(MusicState* music, const std::string& folder);
    // The rest reminder: notice flag, hours and minutes, and timer 3.
    const RestTime& restTime() const { return m_restTime; }
    // Starts timer 3 with the interval (or stops it when notice is 0).
    void setRestTime(const RestTime& rest);
    bool restTimerActive() const;
    // One tick of timer 3: the reminder.
    void restTimeTick();

    // How the frame asks and tells; tests replace them.
    std::function<void(const QString& caption, const QString& text)> showNotice;
    // A question answered Yes (true) or No.
    std::function<bool(const QString& caption, const QString& text)> askQuestion;
    // The path chosen in Save As, empty when the dialog was cancelled.
    std::function<QString()> askSaveAsPath;
    std::function<QStringList()> askOpenPaths;
    // Runs a dialog of the frame's commands modally; returns its result.
    std::function<int(QDialog& dialog)> runDialog;
    // The colour chosen for a mark or tag, from its own; nothing when
    // cancelled. Unset: the colour dialog.
    std::function<std::optional<QColor>(const QColor& start)> askItemColour;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // The players' end-of-song notification.
    void customEvent(QEvent* event) override;

private:
    friend class CTopBar;
    void buildBars();
    void buildActions();
    CStyleButton* addButton(QWidget* bar, QBoxLayout* layout, const BarButton& row, Qt::Alignment alignment);
    enum class SaveResult { Saved, Cancelled, Failed };
    void openFiles();
    SaveResult saveAs();
    void switchWindow(int n);
    // Empties the window on show, its book saved or given up first; false
    // (the book kept) when the reader keeps it or the save failed.
    bool closeWindow();
    // Shows the title of the book of the window on show.
    void showWindowTitle();
    void ownMaximise();
    void restoreFromMaximise();
    void savePlacement();
    // Shows or hides the frame (border and top bar, or the system frame in
    // traditional style) and the bars (the tool bars, or the menu bar).
    void showDecorations(bool frame, bool bars);
    void startContinuousFlip(bool forward);
    void syncModes();
    // In clip-window mode the window takes the book's shape.
    void applyClipOutline();
    void toggleSelection(bool text);
    void toggleFullWindow();
    void toggleClipWindow();
    void toggleStyleWindow();
    // The lantern slide: its view and popup, entering and leaving it, its frame.
    void buildDemoView();
    void toggleLanternSlide();
    void toggleSlideFrame();
    void fillMenus(QMenu* root);
    void openPaths(const QStringList& paths);
    void chooseBackgroundPicture();
    void editBookPages();
    // The cabinet manager; a book it reads opens in the window on show.
    void openCabinetManager();
    void openMusicDialog();
    void openRestTimeDialog();
    // The search dialog over the window on show.
    void openSearchDialog();
    // The environment sheet and what its OK applies, page by page.
    void openEnvironmentDialog();
    void applyEnvironment(const EnvironmentValues& values);
    // The bars shown or hidden by their flags, where the frame shows its bars.
    void showToolBarsByFlags();
    // The interface in the language now in force: menus, bars, status line
    // and every open window's texts.
    void reloadLanguage(int language);
    void retranslateBars();
    // The annotation dialogs (index, bookmark, note page) and the colours of marks and tags.
    void runAnnotationCommand(int id);
    // Print mode: the print view and its bar in place of the reading view.
    void buildPrintView();
    void runPrintCommand(int id);
    // The page commands: the page clipboard, Turn To and the page box, Edit Content.
    void runPageCommand(int id);
    void removeCurrentLeaf(bool cut);
    void turnToBookPage(int64_t number);
    void editContent();
    void forgetSelectedItems();
    void enterPrintView();
    void leavePrintView();
    // The browser mode: the panel over the view, the window tabs hidden.
    void buildBrowser();
    void showBrowser();
    void hideBrowser();
    // Where the keys go after a command: the browser's address box while it
    // shows, else the view on show.
    QWidget* focusTarget() const;

    CVersaleoDoc& m_doc;
    DocumentPictures& m_pictures;
    SettingsStore& m_settings;
    int m_language;
    cmd::FrameState m_state;
    // The mode flags the views read and change; copied into m_state for the rules.
    pageinput::ViewModes m_viewModes;
    QString m_title;
    // The book's name of each window by number (index 0 unused).
    std::array<std::string, 7> m_windowNames;
    CTopBar* m_topBar = nullptr;
    QWidget* m_leftBar = nullptr;
    QWidget* m_rightBar = nullptr;
    QWidget* m_bottomBar = nullptr;
    QLabel* m_statusBar = nullptr;
    QLineEdit* m_pageBox = nullptr;
    QStackedWidget* m_views = nullptr;
    CTwoPageView* m_twoPageView = nullptr;
    COnePageView* m_onePageView = nullptr;
    CDemoView* m_demoView = nullptr;
    QAction* m_endDemo = nullptr;  // popup 39's last item: ends the slide
    // The window as the slide found it, back when the slide ends.
    struct {
        QRect geometry;
        int windowStatus = 0;
        QRect restoreRect;
    } m_beforeSlide;
    CPrintView* m_printView = nullptr;
    CPrintBar* m_printBar = nullptr;
    CBrowserDlg* m_browser = nullptr;
    std::map<int, CStyleButton*> m_buttons;
    // The row each bar button was made from, for its texts in another language.
    std::map<int, const BarButton*> m_barRows;
    std::map<int, QAction*> m_actions;
    QTimer* m_updateTimer = nullptr;
    QTimer* m_flipTimer = nullptr;
    bool m_flipForward = true;
    MusicState* m_music = nullptr;
    std::string m_musicFolder;
    RestTime m_restTime;
    QTimer* m_restTimer = nullptr;
    bool m_restNoticeShown = false;
    class QMenuBar* m_menuBar = nullptr;
    QRect m_savedPlacement;
    bool m_showLeftBar = true, m_showRightBar = true, m_showBottomBar = true, m_showStatusBar = false;
    // Music after start-up ("Tunedeck"); a change waits for the next start.
    int m_playMusic = 1;
    int m_windowStatus = 0;
    QRect m_restoreRect;
};
