#include "app/CMainFrame.h"
#include "app/CPrintBar.h"

#include "book/CVersaleoDoc.h"
#include "book/Importers.h"
#include "library/DocumentPictures.h"
#include "library/Settings.h"
#include "style/CStyleButton.h"
#include "views/FontMetrics.h"

#include "CBookViews.h"
#include "CPrintView.h"

#include "BuiltSkin.h"
#include "PdfText.h"
#include "TestSupport.h"

#include <QAction>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QSettings>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

class FramePrinting : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        useBuiltSkin();
        installFontSubstitutions();
    }
    FramePrinting()
    {
        doc.setMeasurerFactory([](const LOGFONT& font) { return std::make_shared<QtTextMeasurer>(font); });
        registerStandardImporters(doc);
        pictures.loadFromSettings(settings.read());
        frame = std::make_unique<CMainFrame>(doc, pictures, settings, 0);
        frame->showNotice = [this](const QString& caption, const QString& text) {
            notices.push_back((caption + ": " + text).toStdString());
        };
        frame->runDialog = [this](QDialog& dialog) {
            if (qobject_cast<QPageSetupDialog*>(&dialog)) {
                ++setups;
                return int(QDialog::Accepted);
            }
            if (auto* print = qobject_cast<QPrintDialog*>(&dialog)) {
                print->printer()->setOutputFormat(QPrinter::PdfFormat);
                print->printer()->setOutputFileName(QString::fromStdString(pdfPath));
                return int(QDialog::Accepted);
            }
            return int(QDialog::Rejected);
        };
        std::string text;
        for (int i = 0; i < 120; ++i)
            text += "The reader prints the pages of a book that is long enough for several sheets. ";
        const std::string path = dir / "book.txt";
        std::ofstream(path) << text;
        doc.openPath(path);
        frame->RefreshViews();
    }

    bool tabsShown()
    {
        bool shown = false;
        for (const int id : {cmd::Window1, cmd::Window2, cmd::Window3, cmd::Window4, cmd::Window5, cmd::CloseWindow})
            shown = shown || frame->button(id)->isVisibleTo(frame.get());
        return shown;
    }

    TestFolder dir;
    QString settingsFile = QString::fromStdString(dir / "settings.ini");
    SettingsStore settings{settingsFile};
    CVersaleoDoc doc;
    DocumentPictures pictures{std::string(PROGRAM_FOLDER) + "/picture"};
    std::unique_ptr<CMainFrame> frame;
    std::vector<std::string> notices;
    int setups = 0;
    std::string pdfPath;
};

TEST_F(FramePrinting, PrintShowsTheSheetsWithTheBarAndHidesTheWindowTabs)
{
    frame->runCommand(cmd::OnePage);
    ASSERT_TRUE(tabsShown());
    frame->runCommand(cmd::Print);
    EXPECT_EQ(setups, 1);
    EXPECT_TRUE(frame->state().printView);
    EXPECT_TRUE(frame->printView()->isVisibleTo(frame.get()));
    EXPECT_FALSE(frame->currentView()->isVisibleTo(frame.get()));
    EXPECT_TRUE(frame->printBar()->isVisibleTo(frame.get()));
    EXPECT_FALSE(tabsShown());
    EXPECT_TRUE(frame->action(cmd::Print)->isChecked());
    // The book waits: nothing may change it or turn its pages meanwhile.
    for (const int id : {cmd::Open, cmd::AddTag, cmd::ContinueLeft, cmd::Window2, cmd::Exit})
        EXPECT_FALSE(frame->action(id)->isEnabled()) << id;
    EXPECT_TRUE(frame->button(cmd::ClosePrint)->isEnabled());

    frame->runCommand(cmd::ClosePrint);
    EXPECT_FALSE(frame->state().printView);
    EXPECT_FALSE(frame->printBar()->isVisibleTo(frame.get()));
    EXPECT_TRUE(tabsShown());
    // Back in the view it came from.
    EXPECT_FALSE(frame->state().twoPageMode);
    EXPECT_TRUE(frame->currentView()->isVisibleTo(frame.get()));
    EXPECT_TRUE(frame->action(cmd::Open)->isEnabled());
}

TEST_F(FramePrinting, ClosingDoesNothingWhileThePrintViewShows)
{
    frame->show();
    frame->runCommand(cmd::Print);
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->state().printView);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(notices.empty());
    // Nothing of the close sequence ran: the placement is not written.
    EXPECT_FALSE(QSettings(settingsFile, QSettings::IniFormat).contains("Settings/WindowWidth"));
    // Escape leaves the print view; then the window closes.
    QTest::keyClick(frame->printView(), Qt::Key_Escape);
    EXPECT_FALSE(frame->state().printView);
    doc.modified = 0;
    EXPECT_TRUE(frame->close());
}

TEST_F(FramePrinting, TheBarPrintsToPdfAndStepsThroughTheSheets)
{
    frame->runCommand(cmd::Print);
    CPrintView& view = *frame->printView();
    CPrintBar& bar = *frame->printBar();
    ASSERT_GT(view.sheets().size(), 2u);
    EXPECT_FALSE(frame->button(cmd::PreviousSheet)->isEnabled());
    EXPECT_TRUE(frame->button(cmd::NextSheet)->isEnabled());
    const int first = view.currentSheet();
    frame->button(cmd::NextSheet)->click();
    EXPECT_GT(view.currentSheet(), first);
    EXPECT_TRUE(frame->button(cmd::PreviousSheet)->isEnabled());

    // The options: the bar shows the choice in force.
    EXPECT_TRUE(bar.control(CPrintBar::kTwoPage)->isDown());
    bar.control(CPrintBar::kOnePage)->click();
    EXPECT_EQ(view.options().pagesPerSheet, 0);
    EXPECT_TRUE(bar.control(CPrintBar::kOnePage)->isDown());
    EXPECT_FALSE(bar.control(CPrintBar::kTwoPage)->isDown());
    EXPECT_EQ(view.currentSheet(), first);  // another layout starts again
    bar.control(CPrintBar::kSelectedPages)->click();
    EXPECT_TRUE(bar.fromBox()->isEnabled());
    bar.fromBox()->setText("3");
    bar.toBox()->setText("2");
    bar.control(CPrintBar::kPrintTag)->click();
    EXPECT_EQ(view.options().printTag, 1);
    EXPECT_EQ(bar.fromBox()->text(), "2");
    EXPECT_EQ(bar.toBox()->text(), "3");

    pdfPath = dir / "printed.pdf";
    frame->button(cmd::PrintSheets)->click();
    ASSERT_TRUE(pdftext::available()) << "pdfinfo and pdftotext (poppler-utils) are needed: scripts/install-deps";
    const auto pages = pdftext::read(pdfPath);
    ASSERT_TRUE(pages.has_value());
    ASSERT_EQ(pages->size(), 2u);
    EXPECT_LT(pages->front().width, pages->front().height);
    EXPECT_NE(pages->front().text.find("reader"), std::string::npos) << pages->front().text;
    EXPECT_TRUE(notices.empty());
}

TEST_F(FramePrinting, APrintThatCannotBeWrittenIsTold)
{
    frame->runCommand(cmd::Print);
    pdfPath = dir / "no such folder/printed.pdf";
    frame->runCommand(cmd::PrintSheets);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices.front(), "Error: Fail to print the sheets.");
    EXPECT_TRUE(frame->state().printView);
}

}  // namespace
