// Qt's own texts (the file, colour, font and print dialogs, the message
// boxes) in the interface language, from the translations Qt installs
// (Debian: qt6-translations-l10n). Missing files leave them English.
#pragma once

#include <QString>

// The folder Qt's translations are installed in.
QString qtTranslationsFolder();

// Installs Qt's translations for the language (1 Chinese) from the folder,
// or removes them for English. True when Chinese ones are now in force.
bool installQtTranslations(int language, const QString& folder = qtTranslationsFolder());
