// The application object: the settings, the interface language, the skin,
// the document with its importers and pictures, and the main frame; the
// start-up sequence that ends with the frame on screen and a first book open.
#pragma once

#include <QApplication>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CMainFrame;
class QDialog;
class CStyle;
class CVersaleoDoc;
class DocumentPictures;
class MusicState;
class SettingsStore;

class CVersaleoApp {
public:
    CVersaleoApp();
    ~CVersaleoApp();

    // Runs the start-up; returns the exit code to end with, or -1 when the
    // frame is up and the event loop should run.
    int InitInstance(const std::vector<std::string>& arguments);

    int language() const { return m_language; }

    // How start-up reports an error before the frame is up; tests replace it.
    std::function<void(const QString& caption, const QString& text)> showError;
    // How start-up runs the tip of the day; tests replace it.
    std::function<int(QDialog& dialog)> runDialog;
    CMainFrame* frame() const { return m_frame.get(); }
    CVersaleoDoc& document() { return *m_doc; }
    MusicState* music() const { return m_music.get(); }

private:
    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<CStyle> m_style;
    std::unique_ptr<MusicState> m_music;
    std::unique_ptr<CVersaleoDoc> m_doc;
    std::unique_ptr<DocumentPictures> m_pictures;
    std::unique_ptr<CMainFrame> m_frame;
    int m_language = 0;
};
