#include "app/CBookInfoDlg.h"

#include "app/CMessageDlg.h"
#include "app/ColourBox.h"
#include "app/FileDialogs.h"
#include "app/StartupRules.h"
#include "app/UiText.h"

#include "book/Importers.h"
#include "library/Settings.h"
#include "style/CStyle.h"
#include "style/CStyleButton.h"
#include "views/Canvas.h"

#include "PageText.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace {

constexpr int kWidth = 380;
constexpr int kLabelLeft = 16;
constexpr int kFieldLeft = 86;
constexpr int kFieldWidth = kWidth - kFieldLeft - 16;
constexpr int kRow = 30;
constexpr int kTextLimit = 128;

// A stored value longer than what may be typed is shown whole, so that
// changing something else does not cut it.
void showStored(QLineEdit* edit, const QString& text)
{
    edit->setMaxLength(std::max<int>(kTextLimit, static_cast<int>(text.size())));
    edit->setText(text);
}

}  // namespace

CBookInfoDlg::CBookInfoDlg(Mode mode, SettingsStore& settings, QWidget* parent)
    : CSkinDialog(parent), m_mode(mode), m_settings(settings)
{
    setModal(true);
    // Without the file row the fields move up.
    int top = 42;
    if (mode == Add) {
        m_file = new CStyleButton(this);
        m_file->setCommandId(kFileId);
        m_file->setText(ui::textOr(30000 + kFileId, "File"));
        if (const CStyle* style = applicationStyle())
            m_file->SetPicture(STYLE_PICTURES(*style, middle_btn));
        m_file->setGeometry(kLabelLeft, top + 1, 60, 20);
        connect(m_file, &CStyleButton::command, this, &CBookInfoDlg::chooseFile);
        m_path = new QLineEdit(this);
        m_path->setGeometry(kFieldLeft, top, kFieldWidth, 22);
        // The path comes from the file dialog, where it is sure to exist.
        m_path->setReadOnly(true);
        top += kRow;
    }
    const auto label = [this](int id, const char* english, int y) {
        auto* text = new QLabel(ui::textOr(31000 + id, english), this);
        text->setGeometry(kLabelLeft, y, kFieldLeft - kLabelLeft - 4, 22);
    };
    label(kNameId, "Name:", top);
    m_name = new QLineEdit(this);
    m_name->setGeometry(kFieldLeft, top, kFieldWidth, 22);
    m_name->setMaxLength(kTextLimit);
    top += kRow;
    label(kAuthorId, "Author:", top);
    m_author = new QLineEdit(this);
    m_author->setGeometry(kFieldLeft, top, kFieldWidth, 22);
    m_author->setMaxLength(kTextLimit);
    top += kRow;
    label(kColourId, "Color:", top);
    m_colour = new ColourBox(this);
    m_colour->setColour(toQColor(CCabinetBook().frameColor));
    m_colour->setGeometry(kFieldLeft, top, 60, 22);
    connect(m_colour, &ColourBox::clicked, this, &CBookInfoDlg::chooseColour);
    top += kRow;
    setFixedSize(kWidth, top + 44);

    askFilePath = [this](const QString& startFolder) {
        const auto dialog = makeOpenDialog(this, startFolder, standardExtensions());
        dialog->setFileMode(QFileDialog::ExistingFile);
        return dialog->exec() == QDialog::Accepted ? dialog->selectedFiles().value(0) : QString();
    };
    askColour = [this](COLORREF current) -> std::optional<COLORREF> {
        const std::optional<QColor> chosen = askColourDialog(this, toQColor(current));
        return chosen ? std::optional<COLORREF>(fromQColor(*chosen)) : std::nullopt;
    };
    showMessage = [this](const QString& caption, const QString& text) { CMessageDlg(text, caption, false, this).exec(); };
    SetUp(ui::text(mode == Add ? 4016 : 4017), true, true, true, true, QString(), QString());
    if (m_file)
        m_file->setFocus();
    else
        m_name->setFocus();
}

void CBookInfoDlg::setBook(const CCabinetBook& book)
{
    showStored(m_name, fromPageText(book.bookName));
    showStored(m_author, fromPageText(book.author));
    m_colour->setColour(toQColor(book.frameColor));
}

std::string CBookInfoDlg::path() const
{
    return m_chosen.toStdString();
}

CCabinetBook CBookInfoDlg::book() const
{
    CCabinetBook result;
    result.bookName = toPageText(m_name->text().trimmed());
    result.author = toPageText(m_author->text().trimmed());
    result.frameColor = fromQColor(m_colour->colour());
    return result;
}

void CBookInfoDlg::chooseColour()
{
    if (const std::optional<COLORREF> chosen = askColour(fromQColor(m_colour->colour())))
        m_colour->setColour(toQColor(*chosen));
}

void CBookInfoDlg::chooseFile()
{
    if (!m_path)
        return;
    const QString chosen = askFilePath(m_settings.read(QDir::currentPath()).openFilePath);
    if (chosen.isEmpty())
        return;
    const QFileInfo file(chosen);
    m_settings.writeOpenFilePath(file.absolutePath());
    if (!isOpenableExtension(file.suffix().toStdString())) {
        showMessage(ui::text(4102), ui::text(4401));
        return;
    }
    m_chosen = file.absoluteFilePath();
    m_path->setText(QDir::toNativeSeparators(file.absoluteFilePath()));
    m_path->setCursorPosition(0);
    m_name->setText(file.completeBaseName());
    m_name->setFocus();
    m_name->selectAll();
}

void CBookInfoDlg::OnOK()
{
    // Nothing to add until a file is chosen.
    if (m_mode == Add && path().empty())
        return;
    CSkinDialog::OnOK();
}
