#include "app/CVersaleoApp.h"

#include "app/CMainFrame.h"
#include "app/CMessageDlg.h"
#include "app/CSplashDlg.h"
#include "app/COneTipDlg.h"
#include "app/FileDialogs.h"
#include "app/LanguageSetup.h"
#include "app/MusicState.h"
#include "app/StartupRules.h"
#include "app/UiText.h"

#include "book/CVersaleoDoc.h"
#include "book/CodePage.h"
#include "book/Importers.h"
#include "library/DocumentPictures.h"
#include "library/ProgramFolder.h"
#include "library/Settings.h"
#include "style/CStyle.h"
#include "views/FontMetrics.h"

#include "aidkern/CAKPathManager.h"
#include "aidkern/CAKRegister.h"

#include <QCoreApplication>
#include "app/OpenProgress.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// The desktop entry an installed copy of the program comes with.
constexpr const char* kInstalledDesktopEntry = "io.github.versaleo.Versaleo.desktop";

// An installed program's package already gives ".vl" its type, icon and
// opener; registering it again per user would give the extension a second
// type. A build tree or a portable copy has no entry and registers itself.
bool desktopKnowsTheProgram()
{
    return !QStandardPaths::locate(QStandardPaths::ApplicationsLocation, QString::fromLatin1(kInstalledDesktopEntry))
                .isEmpty();
}

// Messages of the document: the program's message box, wait cursor and refresh.
class FrameNotifier : public DocumentNotifier {
public:
    explicit FrameNotifier(CMainFrame*& frame) : m_frame(frame) {}
    void showMessage(DocMessage message) override { showError(ui::text(messageId(message))); }
    void showFileMessage(DocMessage message, const std::string& path) override
    {
        showError(ui::text(messageId(message), QFile::decodeName(QByteArray::fromStdString(path))));
    }
    // The messages come in the middle of an opening: the box shows the normal
    // pointer, and the wait cursor comes back after it.
    void showError(const QString& text)
    {
        QApplication::setOverrideCursor(Qt::ArrowCursor);
        CMessageDlg(text, ui::text(4102), false, m_frame).exec();
        QApplication::restoreOverrideCursor();
    }
    static int messageId(DocMessage message)
    {
        switch (message) {
        case DocMessage::NoFileToOpen: return 4402;
        case DocMessage::UnsupportedType: return 4401;
        case DocMessage::WordMissing: return 4404;
        case DocMessage::InnerError: return 4405;
        case DocMessage::DamagedFile: return 4432;
        case DocMessage::LockedBook: return 4434;
        }
        return 4405;
    }
    void beginWait() override { QApplication::setOverrideCursor(Qt::WaitCursor); }
    void endWait() override { QApplication::restoreOverrideCursor(); }
    void refreshViews() override
    {
        if (m_frame)
            m_frame->RefreshViews();
    }

private:
    CMainFrame*& m_frame;
};

CMainFrame* g_frame = nullptr;

}  // namespace

CVersaleoApp::CVersaleoApp()
    : showError([](const QString& caption, const QString& text) { CMessageDlg(text, caption, false).exec(); }),
      runDialog([](QDialog& dialog) { return dialog.exec(); })
{
}

CVersaleoApp::~CVersaleoApp()
{
    // The players stop before the window they report to goes.
    if (m_music)
        m_music->close();
    m_music.reset();
    m_frame.reset();
    g_frame = nullptr;
    if (m_doc)
        m_doc->setNotifier(nullptr);
}

int CVersaleoApp::InitInstance(const std::vector<std::string>& arguments)
{
    m_settings = std::make_unique<SettingsStore>();
    const std::string folder = programFolder();
    const AppSettings values = m_settings->read(QDir::currentPath(), defaultSaveFolder());

    m_language = setUpInterfaceLanguage(values.language);

    installFontSubstitutions();
    CSplashDlg splash(folder, m_language);
    splash.showNow();
    m_style = std::make_unique<CStyle>();
    m_style->InitBitmap(folder);
    setApplicationStyle(m_style.get());
    m_music = std::make_unique<MusicState>();
    m_music->load(folder + "/music");

    m_doc = std::make_unique<CVersaleoDoc>();
    m_doc->needIndex = values.needIndex;
    m_doc->needBookmark = values.needBookmark;
    m_doc->detectChapters = values.detectChapters;
    m_doc->setFlipSpeed(values.flipSpeed);
    m_doc->setMeasurerFactory([](const LOGFONT& font) { return std::make_shared<QtTextMeasurer>(font); });
    registerStandardImporters(*m_doc);
    static FrameNotifier notifier(g_frame);
    m_doc->setNotifier(&notifier);
    static OpenProgress progress([] { return static_cast<QWidget*>(g_frame); });
    m_doc->setProgress(&progress);

    m_pictures = std::make_unique<DocumentPictures>(folder + "/picture");
    m_pictures->loadFromSettings(values);
    splash.close();

    CVersaleoCommandLineInfo commandLine;
    commandLine.parse(arguments);

    // Books open with this program.
    const std::string program = QCoreApplication::applicationFilePath().toStdString();
    if (!desktopKnowsTheProgram())
        CAKRegister::AKRegisterFileRelation(".vl", "VL.Document", program, 1, program);

    m_frame = std::make_unique<CMainFrame>(*m_doc, *m_pictures, *m_settings, m_language);
    g_frame = m_frame.get();
    m_frame->setMusic(m_music.get(), folder + "/music");

    if (!commandLine.fileName().empty()) {
        std::string extension;
        CAKPathManager::AKGetFileExtern(commandLine.fileName(), &extension);
        if (!isOpenableExtension(extension)) {
            showError(ui::text(4102), ui::text(4401));
            return 1;
        }
        const std::string path = QFileInfo(QString::fromStdString(commandLine.fileName())).absoluteFilePath().toStdString();
        if (m_doc->openPath(path) == 1 && m_doc->modified) {
            std::string name;
            CAKPathManager::AKGetFileName(path, &name);
            m_frame->SetTitle(codepage::fromFileName(name));
        }
    } else {
        m_frame->openHelpBook();
    }
    m_frame->RefreshViews();
    m_frame->show();
    if (values.tunedeck == 1)
        m_music->playNext();
    else
        m_music->close();
    if (m_settings->read().showOneTipDlg == 1) {
        COneTipDlg tip(onetip::tipFile(folder, m_language), *m_settings, m_frame.get());
        runDialog(tip);
    }
    return -1;
}
