#include "app/LanguageSetup.h"

#include "app/QtTranslations.h"
#include "app/StartupRules.h"
#include "app/UiText.h"

#include "library/ProgramFolder.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>

int setUpInterfaceLanguage(int stored)
{
    // Beside the program's data, or with the libraries when installed.
    std::string moduleFolder = programFolder();
    const QString installed = QCoreApplication::applicationDirPath() + QStringLiteral("/../lib/versaleo");
    if (!QFileInfo::exists(QString::fromStdString(moduleFolder + "/" + ui::moduleFileName())) &&
        QFileInfo::exists(installed + "/" + ui::moduleFileName()))
        moduleFolder = installed.toStdString();
    const bool chineseModule = QFileInfo::exists(QString::fromStdString(moduleFolder + "/" + ui::moduleFileName()));
    const int language = ui::setLanguage(decideLanguage(stored, QLocale::system().name().toStdString(), chineseModule),
                                         moduleFolder);
    installQtTranslations(language);
    return language;
}
