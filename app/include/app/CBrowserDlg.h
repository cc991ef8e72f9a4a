// The web-browser panel (dialog 77): the web control under a bar with the
// address box and the Go, Stop, Refresh, back, forward, Read and Close
// buttons. It lies over the reading view while the frame shows it; Read
// turns the page on show into a book of the active window. The addresses
// typed or chosen are remembered in "favorite.xml".
#pragma once

#include "app/CSkinDialog.h"

#include <QImage>

#include <functional>
#include <map>
#include <string>
#include <vector>

class CStyleButton;
class CWebBrowser2;
class QComboBox;
class QLabel;
class QTimer;

namespace browser {

// Control ids of dialog 77.
enum Control : int {
    kWebControl = 620, kAddressLabel = 621, kAddressBox = 622,
    kGo = 623, kStop = 624, kRefresh = 625, kBack = 626, kForward = 627, kRead = 628, kClose = 629,
};

// The bar's line, and the bar above it.
inline constexpr int kBarLine = 29;
// Each button stands this far left of the one before it, from the right edge.
inline constexpr int kButtonStep = 39;
// The left edge of a button: Close first, then Read, "=>>", "<<=", Refresh, Stop, Go.
int buttonLeft(int panelWidth, int control);

// The busy indicator: ten rings from (5, 5)-(25, 25) inwards, ring k drawn in
// the colour after the previous ring's, starting after `index`.
inline constexpr int kRings = 10;
uint32_t ringColour(int index, int ring);  // a COLORREF
// The index after one step of the indicator (its ten rings).
int nextBusyIndex(int index);

// The name a page is saved under in the program's folder, from its title:
// its double-byte characters (in the system code page), ASCII letters and
// digits followed by ".html", "tmp.html" when nothing is left; a file-system
// name (UTF-8), cut on whole characters to stay within a name's limit.
QString pageFileName(const QString& title);

}  // namespace browser

class CBrowserDlg : public CSkinDialog {
    Q_OBJECT

public:
    // The favourites are read from the file now and written back when the
    // panel goes, if they changed. Read saves pages into programFolder.
    CBrowserDlg(std::string programFolder, QWidget* parent = nullptr);
    ~CBrowserDlg() override;

    // What the frame does for the panel: hide it and leave the browser
    // mode (Close); open a saved page as a book of the active window (Read);
    // the picture painted behind the bar.
    std::function<void()> closeRequested;
    std::function<void(const QString& path)> openPage;
    std::function<QImage()> backgroundPicture;

    CWebBrowser2* control() const { return m_control; }
    QComboBox* addressBox() const { return m_address; }
    CStyleButton* button(int control) const;
    const std::vector<std::string>& addresses() const { return m_addresses; }
    // Whether a Read is on its way (the page's text is being fetched).
    bool reading() const { return m_reading; }

    // The buttons' work.
    void go();
    void stop();
    void refresh();
    void goBack();
    void goForward();
    void read();
    void closePanel();
    // Timer 4: the buttons' states and one step of the busy indicator.
    void tick();

signals:
    // A Read has ended (the page imported, or nothing to import).
    void readFinished();

protected:
    void OnCancel() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void layOut();
    void addressChosen(int index);
    // Writes the page, opens it, deletes it and closes the panel.
    void finishRead(const QString& title, const QString& html);

    std::string m_programFolder;
    std::string m_favouritesPath;
    std::vector<std::string> m_addresses;
    bool m_addressesChanged = false;
    CWebBrowser2* m_control = nullptr;
    QLabel* m_label = nullptr;
    QComboBox* m_address = nullptr;
    std::map<int, CStyleButton*> m_buttons;
    QTimer* m_timer = nullptr;
    int m_busyIndex = 0;
    bool m_indicatorShown = false;
    bool m_reading = false;
};
