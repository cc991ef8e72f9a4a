#include "app/CBrowserDlg.h"

#include "app/CWebBrowser2.h"
#include "app/UiText.h"

#include "book/CodePage.h"
#include "book/Dbcs.h"
#include "book/import/HtmlText.h"
#include "library/Favourites.h"
#include "style/CStyleButton.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QSignalBlocker>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <array>
#include <memory>

namespace browser {
namespace {

// The bar's buttons from the right edge leftwards, with their captions.
constexpr std::array<std::pair<int, int>, 7> kButtonsFromRight = {{
    {kClose, 3106}, {kRead, 3105}, {kForward, 3104}, {kBack, 3103}, {kRefresh, 3102}, {kStop, 3101}, {kGo, 3100},
}};

// Red, orange, green, cyan, blue, blue-violet, dark blue.
constexpr std::array<uint32_t, 7> kBusyColours = {255, 42495, 65280, 16776960, 16711680, 14822282, 14811136};

constexpr int kButtonWidth = 37;
constexpr int kButtonHeight = 22;
constexpr int kBarTop = 4;
// A name stays well inside the file system's 255 bytes once in UTF-8.
constexpr size_t kMaxNameStem = 160;

QColor fromColorRef(uint32_t colour)
{
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

}  // namespace

int buttonLeft(int panelWidth, int control)
{
    for (size_t i = 0; i < kButtonsFromRight.size(); ++i) {
        if (kButtonsFromRight[i].first == control)
            return panelWidth - static_cast<int>(i + 1) * kButtonStep;
    }
    return -1;
}

uint32_t ringColour(int index, int ring)
{
    const int size = static_cast<int>(kBusyColours.size());
    return kBusyColours[static_cast<size_t>(((index + ring + 1) % size + size) % size)];
}

int nextBusyIndex(int index)
{
    return (index + kRings) % static_cast<int>(kBusyColours.size());
}

QString pageFileName(const QString& title)
{
    const std::string name = html::savedPageName(codepage::fromUtf8(title.toStdString()));
    const std::string stem = name.substr(0, name.size() - std::string_view(".html").size());
    size_t kept = 0;
    while (kept < stem.size()) {
        const size_t length = dbcs::charLength(stem, kept);
        if (kept + length > kMaxNameStem)
            break;
        kept += length;
    }
    return QString::fromStdString(codepage::toUtf8(stem.substr(0, kept))) + QStringLiteral(".html");
}

}  // namespace browser

using namespace browser;

CBrowserDlg::CBrowserDlg(std::string programFolder, QWidget* parent)
    : CSkinDialog(parent), m_programFolder(std::move(programFolder)),
      m_favouritesPath(favourites::filePath(m_programFolder))
{
    // A panel laid over the reading view, not a window of its own.
    setWindowFlags(Qt::Widget);
    SetUp(ui::textOr(ui::kMenuLabel + 235, "Internet"), false, false, false, false, QString(), QString());

    m_control = new CWebBrowser2(this);
    m_label = new QLabel(ui::textOr(ui::kControlLabel + kAddressBox, "Address:"), this);
    // Readable over any background picture.
    m_label->setStyleSheet(QStringLiteral("QLabel { background: rgba(255, 255, 255, 210); border-radius: 3px;"
                                          " padding: 0 4px; color: black; }"));
    m_address = new QComboBox(this);
    m_address->setEditable(true);
    // The list is kept by Go's rules, in the order they give.
    m_address->setInsertPolicy(QComboBox::NoInsert);
    m_address->setDuplicatesEnabled(true);
    // What is typed is gone to as typed: no completion from the list.
    m_address->setCompleter(nullptr);
    // Go is Enter in the box or a choice from its list, and nothing else: the
    // combo box would also choose an entry matching what was typed when the
    // typing ends (Enter, or the focus leaving), and pass Enter on.
    QObject::disconnect(m_address->lineEdit(), &QLineEdit::editingFinished, m_address, nullptr);
    QObject::disconnect(m_address->lineEdit(), &QLineEdit::returnPressed, m_address, nullptr);
    // The keys reach the box, which hands them to its line edit without
    // passing them through that one's filters: Enter is caught on both.
    m_address->installEventFilter(this);
    m_address->lineEdit()->installEventFilter(this);
    connect(m_address, &QComboBox::activated, this, &CBrowserDlg::addressChosen);

    const CStyle* style = applicationStyle();
    for (const auto& [control, caption] : kButtonsFromRight) {
        auto* b = new CStyleButton(this);
        b->setCommandId(control);
        b->setText(ui::text(caption));
        // Seven captions in 39 pixels each: a smaller face than the bars'.
        QFont font = b->font();
        font.setPixelSize(10);
        b->setFont(font);
        if (style)
            b->SetPicture(STYLE_PICTURES(*style, small_btn));
        connect(b, &CStyleButton::command, this, [this](int id) {
            switch (id) {
            case kGo: go(); break;
            case kStop: stop(); break;
            case kRefresh: refresh(); break;
            case kBack: goBack(); break;
            case kForward: goForward(); break;
            case kRead: read(); break;
            case kClose: closePanel(); break;
            default: break;
            }
        });
        m_buttons[control] = b;
    }
    m_buttons[kRead]->setToolTip(ui::text(3380));
    layOut();

    m_addresses = favourites::load(m_favouritesPath);
    for (const std::string& address : m_addresses)
        m_address->addItem(QString::fromStdString(address));
    m_address->setCurrentIndex(-1);

    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this, &CBrowserDlg::tick);
    m_timer->start(200);
    tick();
}

CBrowserDlg::~CBrowserDlg()
{
    // Every entry is kept, the first one too; an untouched list is not rewritten.
    if (m_addressesChanged)
        favourites::save(m_favouritesPath, m_addresses);
}

CStyleButton* CBrowserDlg::button(int control) const
{
    const auto found = m_buttons.find(control);
    return found == m_buttons.end() ? nullptr : found->second;
}

void CBrowserDlg::layOut()
{
    const int w = width();
    for (const auto& [control, b] : m_buttons)
        b->setGeometry(buttonLeft(w, control), kBarTop, kButtonWidth, kButtonHeight);
    // The busy indicator takes the bar's left end.
    const int labelLeft = 32;
    const int labelWidth = m_label->sizeHint().width();
    m_label->setGeometry(labelLeft, kBarTop, labelWidth, kButtonHeight);
    const int boxLeft = labelLeft + labelWidth + 4;
    m_address->setGeometry(boxLeft, kBarTop, std::max(0, buttonLeft(w, kGo) - 6 - boxLeft), kButtonHeight);
    m_control->setGeometry(0, kBarLine + 1, w, std::max(0, height() - kBarLine - 1));
}

void CBrowserDlg::resizeEvent(QResizeEvent* event)
{
    CSkinDialog::resizeEvent(event);
    layOut();
}

void CBrowserDlg::addressChosen(int index)
{
    if (index < 0)
        return;
    m_address->setEditText(m_address->itemText(index));
    go();
}

void CBrowserDlg::go()
{
    stop();
    // Blanks typed around an address are no part of it.
    const QString text = m_address->currentText().trimmed();
    if (text.isEmpty())
        return;
    if (favourites::remember(m_addresses, text.toStdString())) {
        m_addressesChanged = true;
        const QSignalBlocker quiet(m_address);
        m_address->clear();
        for (const std::string& address : m_addresses)
            m_address->addItem(QString::fromStdString(address));
        m_address->setCurrentIndex(-1);
        m_address->setEditText(text);
    }
    m_control->Navigate(text);
}

bool CBrowserDlg::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == m_address || watched == m_address->lineEdit()) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            go();
            return true;
        }
    }
    return CSkinDialog::eventFilter(watched, event);
}

void CBrowserDlg::stop()
{
    if (m_control->Document())
        m_control->Stop();
}

void CBrowserDlg::refresh()
{
    stop();
    if (m_control->Document())
        m_control->Refresh();
}

void CBrowserDlg::goBack()
{
    stop();
    m_control->GoBack();
}

void CBrowserDlg::goForward()
{
    stop();
    m_control->GoForward();
}

void CBrowserDlg::closePanel()
{
    stop();
    if (closeRequested)
        closeRequested();
}

void CBrowserDlg::OnCancel()
{
    // Esc closes the panel as its Close button does.
    closePanel();
}

void CBrowserDlg::read()
{
    // Not while a page loads: the button may not know yet (the timer has not
    // ticked), and what would be read is neither the old page nor the new.
    QWebEnginePage* page = m_control->Document();
    if (!page || m_reading || m_control->Busy())
        return;
    m_reading = true;
    tick();
    // The document's own title: the view's title falls back to the address.
    QPointer<CBrowserDlg> self(this);
    page->runJavaScript(QStringLiteral("document.title"), QWebEngineScript::ApplicationWorld,
                        [self](const QVariant& title) {
                            if (!self)
                                return;
                            self->m_control->view()->page()->toHtml([self, title = title.toString()](const QString& html) {
                                if (self)
                                    self->finishRead(title, html);
                            });
                        });
}

void CBrowserDlg::finishRead(const QString& title, const QString& html)
{
    const QString folder = QString::fromStdString(m_programFolder);
    const QString name = pageFileName(title);
    QString path = folder + QLatin1Char('/') + name;
    // A file of the reader's that bears the name is neither overwritten nor deleted.
    std::unique_ptr<QTemporaryDir> aside;
    if (QFileInfo::exists(path)) {
        aside = std::make_unique<QTemporaryDir>(folder + QStringLiteral("/webpage-XXXXXX"));
        path = aside->isValid() ? aside->path() + QLatin1Char('/') + name : QString();
    }
    bool saved = false;
    if (!path.isEmpty() && !html.isEmpty()) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            // The byte-order mark tells the importer the text is UTF-8,
            // whatever charset the page's own head declared.
            const QByteArray bytes = QByteArray("\xEF\xBB\xBF") + html.toUtf8();
            saved = file.write(bytes) == bytes.size() && file.flush();
            file.close();
            if (saved && openPage)
                openPage(path);
            QFile::remove(path);
        }
    }
    m_reading = false;
    closePanel();
    emit readFinished();
}

void CBrowserDlg::tick()
{
    const bool document = m_control->Document() != nullptr;
    const bool busy = m_control->Busy();
    m_buttons[kRead]->setEnabled(document && !busy && !m_reading);
    m_buttons[kBack]->setEnabled(document && m_control->canGoBack());
    m_buttons[kForward]->setEnabled(document && m_control->canGoForward());
    if (busy)
        m_busyIndex = nextBusyIndex(m_busyIndex);
    // The indicator moves while busy and is wiped once after.
    if (busy || m_indicatorShown)
        update(QRect(0, 0, 30, kBarLine));
    m_indicatorShown = busy;
}

void CBrowserDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QImage picture = backgroundPicture ? backgroundPicture() : QImage();
    if (picture.isNull())
        painter.fillRect(rect(), QColor(239, 205, 224));
    else
        painter.drawImage(rect(), picture);
    painter.setPen(Qt::black);
    painter.drawLine(0, kBarLine, width() - 1, kBarLine);
    if (!m_control->Busy())
        return;
    for (int ring = 0; ring < kRings; ++ring) {
        painter.setPen(QPen(fromColorRef(ringColour(m_busyIndex, ring)), 1));
        // From (5, 5)-(25, 25), one pixel smaller on every side each time.
        painter.drawEllipse(QRect(QPoint(5 + ring, 5 + ring), QPoint(24 - ring, 24 - ring)));
    }
}

void CBrowserDlg::mousePressEvent(QMouseEvent* event)
{
    // The panel stays over the view: no dragging.
    QWidget::mousePressEvent(event);
}

void CBrowserDlg::mouseMoveEvent(QMouseEvent* event)
{
    QWidget::mouseMoveEvent(event);
}

void CBrowserDlg::mouseReleaseEvent(QMouseEvent* event)
{
    QWidget::mouseReleaseEvent(event);
}
