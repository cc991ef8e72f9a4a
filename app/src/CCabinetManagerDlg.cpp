#include "app/CCabinetManagerDlg.h"

#include "app/CBookInfoDlg.h"
#include "app/CBookshelf.h"
#include "app/CCabinetDlg.h"
#include "app/CMessageDlg.h"
#include "app/UiText.h"

#include "book/CVersaleoDoc.h"
#include "style/CStyle.h"
#include "style/CStyleButton.h"

#include "PageText.h"

#include <QDir>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QTimer>

#include <sys/stat.h>

namespace {

constexpr int kWidth = 770;
constexpr int kHeight = 500;
constexpr int kLeft = 12;
constexpr int kColumnWidth = 186;
constexpr QRect kShelf{210, 38, 548, 412};

struct ButtonRow {
    int id;
    const char* caption;
    QPoint at;  // in the dialog, or in the book group
};

bool exists(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

QString shownPath(const std::string& path)
{
    return QDir::toNativeSeparators(QString::fromStdString(path));
}

}  // namespace

CCabinetManagerDlg::CCabinetManagerDlg(const CVersaleoDoc& doc, SettingsStore& settings,
                                       const std::string& booksFolder, QWidget* parent)
    : CSkinDialog(parent), m_library(booksFolder), m_settings(settings), m_pageFont(doc.styles.bookPage.font)
{
    setModal(true);
    setFixedSize(kWidth, kHeight);
    runDialog = [](QDialog& dialog) { return dialog.exec(); };
    showMessage = [this](const QString& caption, const QString& text) { CMessageDlg(text, caption, false, this).exec(); };

    auto* listLabel = new QLabel(ui::textOr(31000 + kListId, "Cabinet List:"), this);
    listLabel->setGeometry(kLeft, 36, kColumnWidth, 20);
    m_list = new QListWidget(this);
    m_list->setGeometry(kLeft, 56, kColumnWidth, 172);
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        m_library.selectCabinet(row);
        showLibrary();
    });

    const CStyle* style = applicationStyle();
    const auto makeButton = [this, style](QWidget* owner, const ButtonRow& row) {
        auto* button = new CStyleButton(owner);
        button->setCommandId(row.id);
        button->setText(ui::textOr(30000 + row.id, row.caption));
        if (style)
            button->SetPicture(STYLE_PICTURES(*style, middle_btn));
        button->setGeometry(row.at.x(), row.at.y(), 60, 20);
        connect(button, &CStyleButton::command, this, &CCabinetManagerDlg::runCommand);
        m_buttons[row.id] = button;
    };
    for (const ButtonRow& row : {ButtonRow{kCreateId, "Create", {kLeft, 234}},
                                 ButtonRow{kUpdateCabinetId, "Update", {kLeft + 63, 234}},
                                 ButtonRow{kDeleteCabinetId, "Delete", {kLeft + 126, 234}}})
        makeButton(this, row);

    m_details = new QLabel(this);
    m_details->setGeometry(kLeft, 262, kColumnWidth, 40);
    m_details->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* group = new QGroupBox(ui::textOr(31000 + kAddId, "Manage Book:"), this);
    group->setGeometry(kLeft, 308, kColumnWidth, 86);
    for (const ButtonRow& row : {ButtonRow{kAddId, "Add", {20, 26}}, ButtonRow{kUpdateBookId, "Update", {106, 26}},
                                 ButtonRow{kDeleteBookId, "Delete", {20, 54}}, ButtonRow{kReadId, "Read", {106, 54}}})
        makeButton(group, row);

    m_shelf = new CBookshelf(m_library, m_pageFont, this);
    m_shelf->setGeometry(kShelf);
    connect(m_shelf, &CBookshelf::selectionChanged, this, &CCabinetManagerDlg::updateButtons);
    connect(m_shelf, &CBookshelf::readRequested, this, [this] { runCommand(kReadId); });

    SetUp(ui::text(4013), true, true, true, true, QString(), QString());
    m_loadStatus = m_library.load();
    showLibrary();

    // Timer 800: the buttons follow the library.
    m_buttonTimer = new QTimer(this);
    m_buttonTimer->setInterval(kButtonTimerMs);
    connect(m_buttonTimer, &QTimer::timeout, this, &CCabinetManagerDlg::updateButtons);
    m_buttonTimer->start();
}

CCabinetManagerDlg::~CCabinetManagerDlg() = default;

CStyleButton* CCabinetManagerDlg::button(int id) const
{
    const auto found = m_buttons.find(id);
    return found == m_buttons.end() ? nullptr : found->second;
}

void CCabinetManagerDlg::updateButtons()
{
    const CabinetButtons states = m_library.buttonStates();
    for (const auto& [id, enabled] :
         {std::pair{kCreateId, states.create}, std::pair{kUpdateCabinetId, states.updateCabinet},
          std::pair{kDeleteCabinetId, states.deleteCabinet}, std::pair{kAddId, states.addBook},
          std::pair{kUpdateBookId, states.updateBook}, std::pair{kDeleteBookId, states.deleteBook},
          std::pair{kReadId, states.readBook}})
        m_buttons.at(id)->setEnabled(enabled);
}

void CCabinetManagerDlg::showEvent(QShowEvent* event)
{
    CSkinDialog::showEvent(event);
    if (m_loadStatus != CabinetLibrary::LoadStatus::Damaged || m_damageTold)
        return;
    m_damageTold = true;
    // Told once the dialog is on screen, over it.
    QTimer::singleShot(0, this, [this] {
        const std::string& kept = m_library.damagedFileName();
        if (kept.empty())
            showMessage(ui::text(4102), ui::text(4443, shownPath(books::libraryFilePath(m_library.folder()))));
        else
            showMessage(ui::text(4100), ui::text(4440, shownPath(m_library.folder() + "/" + kept)));
    });
}

void CCabinetManagerDlg::showLibrary()
{
    const QSignalBlocker quiet(m_list);
    m_list->clear();
    for (const CCabinet& cabinet : m_library.cabinets())
        m_list->addItem(fromPageText(cabinet.name));
    m_list->setCurrentRow(m_library.currentCabinet());
    if (const CCabinet* cabinet = m_library.current()) {
        const QString creator = ui::textOr(31000 + CCabinetDlg::kCreatorId, "Creator:") + QLatin1Char(' ') +
                                fromPageText(cabinet->creator);
        const QString created = ui::textOr(31000 + CCabinetDlg::kCreateTimeId, "Create Time:") + QLatin1Char(' ') +
                                createTimeText(cabinet->createYear, cabinet->createMonth, cabinet->createDay,
                                               ui::language());
        // A long creator is cut to the column; the whole of it is in the tip.
        const QFontMetrics metrics(m_details->font());
        m_details->setText(metrics.elidedText(creator, Qt::ElideRight, m_details->width()) + QLatin1Char('\n') +
                           metrics.elidedText(created, Qt::ElideRight, m_details->width()));
        m_details->setToolTip(creator + QLatin1Char('\n') + created);
    } else {
        m_details->clear();
        m_details->setToolTip(QString());
    }
    m_shelf->update();
    updateButtons();
}

void CCabinetManagerDlg::runCommand(int id)
{
    // A button disabled since the last tick does nothing.
    updateButtons();
    if (!button(id) || !button(id)->isEnabled())
        return;
    switch (id) {
    case kCreateId: createCabinet(); break;
    case kUpdateCabinetId: updateCabinet(); break;
    case kDeleteCabinetId: deleteCabinet(); break;
    case kAddId: addBook(); break;
    case kUpdateBookId: updateBook(); break;
    case kDeleteBookId: deleteBook(); break;
    case kReadId: readBook(); break;
    default: break;
    }
}

void CCabinetManagerDlg::createCabinet()
{
    CCabinetDlg dialog(CCabinetDlg::Create, m_library.cabinets(), this);
    if (runDialog(dialog) != QDialog::Accepted)
        return;
    m_library.createCabinet(dialog.cabinet());
    showLibrary();
}

void CCabinetManagerDlg::updateCabinet()
{
    CCabinetDlg dialog(CCabinetDlg::Update, m_library.cabinets(), this);
    dialog.setCabinet(*m_library.current());
    if (runDialog(dialog) != QDialog::Accepted)
        return;
    const CCabinet values = dialog.cabinet();
    m_library.updateCabinet(values.name, values.creator, values.borderColor);
    showLibrary();
}

void CCabinetManagerDlg::deleteCabinet()
{
    m_library.deleteCabinet();
    showLibrary();
}

void CCabinetManagerDlg::addBook()
{
    CBookInfoDlg dialog(CBookInfoDlg::Add, m_settings, this);
    if (runDialog(dialog) != QDialog::Accepted)
        return;
    const CCabinetBook values = dialog.book();
    if (!m_library.addBook(dialog.path(), values.bookName, values.author, values.frameColor))
        showMessage(ui::text(4102), ui::text(4441, shownPath(dialog.path())));
    showLibrary();
}

void CCabinetManagerDlg::updateBook()
{
    CBookInfoDlg dialog(CBookInfoDlg::Update, m_settings, this);
    dialog.setBook(*m_library.selected());
    if (runDialog(dialog) != QDialog::Accepted)
        return;
    const CCabinetBook values = dialog.book();
    m_library.updateBook(values.bookName, values.author, values.frameColor);
    showLibrary();
}

void CCabinetManagerDlg::deleteBook()
{
    m_library.deleteBook();
    showLibrary();
}

void CCabinetManagerDlg::readBook()
{
    const std::string path = m_library.selectedCopyPath();
    if (!exists(path)) {
        showMessage(ui::text(4102), ui::text(4403));
        return;
    }
    const std::string name = m_library.selected()->bookName;
    if (!save())
        return;
    m_read = BookToRead{path, name};
    accept();
}

bool CCabinetManagerDlg::save()
{
    if (m_library.save())
        return true;
    showMessage(ui::text(4102), ui::text(4442, shownPath(books::libraryFilePath(m_library.folder()))));
    return false;
}

void CCabinetManagerDlg::OnOK()
{
    if (save())
        CSkinDialog::OnOK();
}

void CCabinetManagerDlg::OnCancel()
{
    // Back to the file as it was: what this visit copied is cleaned away.
    m_library.load();
    m_library.save();
    m_read.reset();
    CSkinDialog::OnCancel();
}
