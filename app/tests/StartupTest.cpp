#include "app/CMainFrame.h"
#include "app/CMessageDlg.h"
#include "app/CSplashDlg.h"
#include "app/CVersaleoApp.h"

#include "book/CVersaleoDoc.h"

#include "TestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QSettings>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

// A program folder with the skin, the pictures and the help book, and a
// private settings and data home.
class Startup : public testing::Test {
protected:
    Startup()
    {
        for (const char* item : {"style.data", "help_en.vl", "picture"})
            std::filesystem::copy(std::string(PROGRAM_FOLDER) + "/" + item, dir / item,
                                  std::filesystem::copy_options::recursive);
    }
    TestFolder dir;
    ScopedEnv home{"VERSALEO_HOME", dir.path()};
    ScopedEnv config{"XDG_CONFIG_HOME", dir / "config"};
    ScopedEnv data{"XDG_DATA_HOME", dir / "data"};
    ScopedEnv systemData{"XDG_DATA_DIRS", dir / "system"};
    std::vector<std::string> errors;
    std::vector<std::string> dialogs;  // the titles of the dialogs start-up ran
    int start(CVersaleoApp& app, std::vector<std::string> arguments)
    {
        app.showError = [this](const QString& caption, const QString& text) {
            errors.push_back((caption + ": " + text).toStdString());
        };
        app.runDialog = [this](QDialog& dialog) {
            dialogs.push_back(dialog.windowTitle().toStdString());
            return 0;
        };
        return app.InitInstance(arguments);
    }
};

TEST_F(Startup, WithoutAFileTheHelpBookOpensInTheHelpWindow)
{
    CVersaleoApp app;
    EXPECT_EQ(start(app, {}), -1);
    EXPECT_EQ(app.document().activeWindow(), CVersaleoDoc::kHelpWindow);
    EXPECT_GT(app.document().bookmarkCount(), 0);
    EXPECT_EQ(app.frame()->title(), "VLDocument - Versaleo");
    // the book file type is registered with the desktop
    EXPECT_TRUE(std::filesystem::exists(dir / "data/applications/vl-document.desktop"));
}

TEST_F(Startup, AnInstalledProgramLeavesTheBookTypeToItsPackage)
{
    std::filesystem::create_directories(dir / "system/applications");
    std::ofstream(dir / "system/applications/io.github.versaleo.Versaleo.desktop")
        << "[Desktop Entry]\nType=Application\nName=Versaleo\nExec=versaleo %F\n";
    CVersaleoApp app;
    EXPECT_EQ(start(app, {}), -1);
    EXPECT_FALSE(std::filesystem::exists(dir / "data/applications/vl-document.desktop"));
    EXPECT_FALSE(std::filesystem::exists(dir / "data/mime/packages/vl-document.xml"));
    EXPECT_FALSE(std::filesystem::exists(dir / "config/mimeapps.list"));
}

TEST_F(Startup, TheTipOfTheDayShowsUnlessSwitchedOff)
{
    std::filesystem::copy_file(std::string(PROGRAM_FOLDER) + "/OneTip_en.txt", dir / "OneTip_en.txt");
    {
        CVersaleoApp app;
        EXPECT_EQ(start(app, {}), -1);
        EXPECT_EQ(dialogs, std::vector<std::string>{"One Tip"});
    }
    QSettings(QStringLiteral("Versaleo"), QStringLiteral("Versaleo")).setValue("Settings/ShowOneTipDlg", 0);
    dialogs.clear();
    CVersaleoApp app;
    EXPECT_EQ(start(app, {}), -1);
    EXPECT_TRUE(dialogs.empty());
}

TEST_F(Startup, TheSplashShowsItsPictureAndHidesWithoutOne)
{
    CSplashDlg english(PROGRAM_FOLDER, 0);
    EXPECT_TRUE(english.showNow());
    EXPECT_EQ(english.size(), QSize(400, 300));
    EXPECT_TRUE(CSplashDlg(PROGRAM_FOLDER, 1).hasPicture());
    CSplashDlg missing(dir.path(), 0);
    EXPECT_FALSE(missing.showNow());
    EXPECT_FALSE(missing.isVisible());
}

TEST_F(Startup, ACommandLineFileInCapitalsOpens)
{
    std::ofstream(dir / "Page.HTML") << "<html><body><p>Hello from the web page</body></html>";
    CVersaleoApp app;
    EXPECT_EQ(start(app, {"ignored.txt", dir / "Page.HTML"}), -1);
    EXPECT_EQ(app.document().activeWindow(), 1);
    EXPECT_EQ(app.document().bookPageCount(), 2);
    EXPECT_EQ(app.frame()->title(), "Page.HTML - Versaleo");
    EXPECT_TRUE(errors.empty());
}

TEST_F(Startup, AnUnsupportedFileEndsWithOneAfterTheMessage)
{
    CVersaleoApp app;
    EXPECT_EQ(start(app, {dir / "letter.xyz"}), 1);
    EXPECT_EQ(errors, std::vector<std::string>{"Error: Sorry! This isn't supported file type."});
}

TEST_F(Startup, ADamagedBookIsReportedUnderTheNormalPointer)
{
    const std::string broken = dir / "broken.vl";
    std::ofstream(broken) << "not a book at all";
    // What the reader sees: each message box, and whether the pointer over it is busy.
    std::vector<std::string> shown;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&shown] {
        if (auto* box = qobject_cast<CMessageDlg*>(QApplication::activeModalWidget())) {
            const QCursor* cursor = QApplication::overrideCursor();
            const bool busy = cursor && cursor->shape() == Qt::WaitCursor;
            shown.push_back(box->text().toStdString() + (busy ? " (busy pointer)" : ""));
            box->accept();
        }
    });
    watch.start(10);
    CVersaleoApp app;
    EXPECT_EQ(start(app, {broken}), -1);
    EXPECT_EQ(shown, std::vector<std::string>{"Fail to open " + broken + ": the file is damaged."});
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // nor after the opening
    EXPECT_EQ(app.frame()->title(), "VLDocument - Versaleo");
}

}  // namespace
