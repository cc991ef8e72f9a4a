#include "app/FontColourDialog.h"

#include "app/ColourBox.h"
#include "app/UiText.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

// The font dialog looks its start's style up by a name in the interface
// language among names in the font's own: give the start the listed name,
// or a translated interface starts on the wrong style.
QFont withListedStyle(const QFont& font)
{
    for (const QString& style : QFontDatabase::styles(font.family())) {
        const QFont listed = QFontDatabase::font(font.family(), style, 12);
        if (listed.weight() == font.weight() && listed.italic() == font.italic()) {
            QFont named = font;
            named.setStyleName(style);
            return named;
        }
    }
    return font;
}

}  // namespace

std::optional<FontAndColour> askFontAndColour(QWidget* parent, const FontAndColour& start, const QString& title)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(title);
    auto* layout = new QVBoxLayout(&dialog);
    // The font dialog lives inside ours, its own buttons replaced by ours.
    auto* fonts = new QFontDialog(withListedStyle(start.font), &dialog);
    fonts->setWindowFlags(Qt::Widget);
    fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    layout->addWidget(fonts);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(ui::textOr(ui::kControlLabel + 448, "Text Color:"), &dialog));
    auto* colour = new ColourBox(&dialog);
    colour->setColour(start.colour);
    colour->setFixedSize(60, 22);
    QObject::connect(colour, &ColourBox::clicked, &dialog, [&dialog, colour, &title] {
        if (const auto chosen = askColourDialog(&dialog, colour->colour(), title))
            colour->setColour(*chosen);
    });
    row->addWidget(colour);
    row->addStretch();
    layout->addLayout(row);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return FontAndColour{fonts->currentFont(), colour->colour()};
}

std::optional<QFont> askFont(QWidget* parent, const QFont& start, const QString& title)
{
    bool ok = false;
    const QFont chosen =
        QFontDialog::getFont(&ok, withListedStyle(start), parent, title, QFontDialog::DontUseNativeDialog);
    return ok ? std::optional<QFont>(chosen) : std::nullopt;
}
