#include "app/FileDialogs.h"

#include "app/UiText.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QStandardPaths>

namespace {

// Save As gives the typed name its ".vl" before Qt asks about replacing a
// file, so the question is about the file really written.
class SaveAsDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    void accept() override
    {
        if (auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
            const QString typed = name->text().trimmed();
            // A folder's name opens the folder, as before.
            if (!typed.isEmpty() && !QFileInfo(directory().absoluteFilePath(typed)).isDir())
                name->setText(withBookSuffix(typed));
        }
        QFileDialog::accept();
    }
};

}  // namespace

QStringList openFilters(const std::vector<std::string>& extensions)
{
    QStringList patterns;
    for (const std::string& extension : extensions)
        patterns << QStringLiteral("*.") + QString::fromStdString(extension);
    QStringList filters;
    if (!patterns.isEmpty())
        filters << ui::text(4530) + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    for (const int id : {4500, 4501, 4502, 4508, 4509, 4503, 4531, 4532})
        filters << ui::text(id);
    return filters;
}

std::unique_ptr<QFileDialog> makeOpenDialog(QWidget* parent, const QString& folder,
                                            const std::vector<std::string>& extensions)
{
    auto dialog = std::make_unique<QFileDialog>(parent, ui::text(4006), folder);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFiles);
    dialog->setNameFilters(openFilters(extensions));
    return dialog;
}

std::unique_ptr<QFileDialog> makeSaveAsDialog(QWidget* parent, const QString& folder)
{
    auto dialog = std::make_unique<SaveAsDialog>(parent, ui::text(4007), folder);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setNameFilter(ui::text(4500));
    dialog->setDefaultSuffix(QStringLiteral("vl"));
    return dialog;
}

QString defaultSaveFolder()
{
    // A desktop without a documents folder starts in the home folder instead.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() || !QDir(documents).exists() ? QDir::homePath() : documents;
}

std::unique_ptr<QFileDialog> makeOpenPictureDialog(QWidget* parent, const QString& folder)
{
    auto dialog = std::make_unique<QFileDialog>(parent, ui::text(4001), folder);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setNameFilter(ui::text(4510));
    dialog->setDefaultSuffix(QStringLiteral("jpg"));
    return dialog;
}

QString defaultPictureFolder()
{
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return pictures.isEmpty() || !QDir(pictures).exists() ? QDir::homePath() : pictures;
}

QString withBookSuffix(const QString& name)
{
    // "Vol.2" is a book called "Vol.2", not a file of the kind "2": without
    // its ".vl" no Open would ever take it again.
    if (QFileInfo(name).suffix().compare(QStringLiteral("vl"), Qt::CaseInsensitive) == 0)
        return name;
    return name.endsWith(QLatin1Char('.')) ? name + QStringLiteral("vl") : name + QStringLiteral(".vl");
}
