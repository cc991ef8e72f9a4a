#include "app/CBackPictureDlg.h"
#include "app/CBookPageStyleDlg.h"
#include "app/CMainFrame.h"
#include "app/ColourBox.h"
#include "app/PicturePanel.h"

#include "book/CVersaleoDoc.h"
#include "book/Importers.h"
#include "library/Artwork.h"
#include "library/DocumentPictures.h"
#include "library/Settings.h"
#include "pixmill/Pixmill.h"
#include "style/CStyleButton.h"
#include "views/FontMetrics.h"

#include "CBookViews.h"
#include "TestSupport.h"

#include <QAction>
#include <QCheckBox>
#include <QFontInfo>
#include <QLabel>
#include <QListWidget>
#include <QSettings>
#include <QSlider>
#include <QTest>

#include "BuiltSkin.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>

namespace {

namespace fs = std::filesystem;

void savePicture(const QImage& image, const std::string& path)
{
    QImage copy = image.convertToFormat(QImage::Format_RGB32);
    HDIB dib = GetDIBFromHBITMAP(&copy);
    ASSERT_EQ(SaveDIBToFile(dib, path.c_str()), 1);
    DibFree(dib);
}

QImage solid(QColor colour, QSize size = {200, 150})
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Colours through JPEG come back within a few steps.
bool near(QColor a, QColor b)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) < 24;
}

std::vector<QString> lines(const QListWidget* list)
{
    std::vector<QString> texts;
    for (int row = 0; row < list->count(); ++row)
        texts.push_back(list->item(row)->text());
    return texts;
}

void clickRow(QListWidget* list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualItemRect(list->item(row)).center());
}

const QColor kRed(220, 30, 30), kGreen(30, 200, 60), kBlue(30, 60, 220);

// A picture folder with three backgrounds (red, green, blue) and two page
// pictures, a book of six book pages, and the settings in a scratch file.
class PictureDialogs : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        useBuiltSkin();
        installFontSubstitutions();
    }
    PictureDialogs()
    {
        fs::create_directory(folder);
        savePicture(solid(kRed, {210, 150}), folder + "/BackGround1.jpg");
        savePicture(solid(kGreen, {220, 150}), folder + "/BackGround2.jpg");
        savePicture(solid(kBlue, {230, 150}), folder + "/BackGround3.jpg");
        savePicture(solid(kGreen, {120, 180}), folder + "/BookPage1.jpg");
        savePicture(solid(kBlue, {130, 180}), folder + "/BookPage2.jpg");
        doc.setMeasurerFactory([](const LOGFONT& font) { return std::make_shared<QtTextMeasurer>(font); });
        registerStandardImporters(doc);
    }
    // Book pages 1 to n, page k's lines saying "page k".
    void makeBook(int n)
    {
        PageList content;
        for (int k = 1; k <= n; ++k) {
            auto page = doc.createPage(PageKind::BookPage);
            page->lines = {"page " + std::to_string(k) + "\r\n"};
            page->rebuildCells();
            content.push_back(std::move(page));
        }
        if (content.size() % 2)
            content.push_back(doc.createPage(PageKind::NotePage));
        doc.insertPages(2, std::move(content));
        doc.rebuildIndexPages();
        doc.modified = 0;
    }
    CBookPage& bookPage(int n) { return *doc.pages[static_cast<size_t>(doc.pageOfBookPage(n))]; }
    std::unique_ptr<CBackPictureDlg> backgroundDialog()
    {
        auto dialog = std::make_unique<CBackPictureDlg>(pictures, settings, [this] { ++refreshed; });
        watch(dialog->panel());
        dialog->show();
        return dialog;
    }
    std::unique_ptr<CBookPageStyleDlg> bookPageDialog()
    {
        auto dialog = std::make_unique<CBookPageStyleDlg>(doc, pictures, settings, [this] { ++refreshed; });
        watch(dialog->panel());
        dialog->show();
        return dialog;
    }
    void watch(PicturePanel& panel)
    {
        panel.askPicturePath = [this] { return picked; };
        panel.showNotice = [this](const QString& caption, const QString& text) {
            notices.push_back((caption + ": " + text).toStdString());
        };
    }
    void chooseBackgroundSetting(int number)
    {
        QSettings(settingsFile, QSettings::IniFormat).setValue("Settings/BackPictureIndex", number);
        pictures.loadFromSettings(settings.read());
    }

    TestFolder dir;
    std::string folder = dir / "picture";
    QString settingsFile = QString::fromStdString(dir / "settings.ini");
    SettingsStore settings{settingsFile};
    CVersaleoDoc doc;
    DocumentPictures pictures{folder};
    int refreshed = 0;
    QString picked;  // what the reader picks in the open dialog; empty: cancelled
    std::vector<std::string> notices;
};

TEST_F(PictureDialogs, TheBackgroundDialogOpensOnTheChosenPicture)
{
    chooseBackgroundSetting(2);
    const auto dialog = backgroundDialog();
    const QListWidget* list = dialog->panel().list();
    EXPECT_EQ(dialog->windowTitle(), "Background Picture");
    EXPECT_EQ(lines(list), (std::vector<QString>{"BackGround1", "BackGround2", "BackGround3"}));
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_EQ(dialog->preview().picture().size(), QSize(220, 150));
    EXPECT_TRUE(dialog->panel().deleteButton()->isEnabled());
}

TEST_F(PictureDialogs, ABackPictureIndexBeyondTheFilesSelectsNothingAndShowsTheFallback)
{
    chooseBackgroundSetting(5);
    EXPECT_EQ(pictures.background(), artwork::fallback());
    const auto dialog = backgroundDialog();
    EXPECT_EQ(dialog->panel().list()->count(), 3);
    EXPECT_EQ(dialog->panel().list()->currentRow(), -1);
    EXPECT_TRUE(dialog->panel().list()->selectedItems().isEmpty());
    EXPECT_TRUE(dialog->preview().picture().isNull());
    EXPECT_FALSE(dialog->panel().deleteButton()->isEnabled());
    // OK with nothing chosen keeps the choice
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(pictures.backgroundNumber(), 5);
    EXPECT_EQ(settings.read().backPictureIndex, 5);
    EXPECT_EQ(refreshed, 0);
}

TEST_F(PictureDialogs, ABackPictureIndexOfNoPictureNumberSelectsNothing)
{
    // Settings are a file the reader can edit: any number may come back.
    for (const int number : {0, -1, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()}) {
        chooseBackgroundSetting(number);
        const auto dialog = backgroundDialog();
        EXPECT_EQ(dialog->panel().list()->count(), 3) << number;
        EXPECT_EQ(dialog->panel().list()->currentRow(), -1) << number;
        EXPECT_EQ(dialog->panel().selectedNumber(), -1) << number;
    }
}

TEST_F(PictureDialogs, OkPutsTheSelectedPictureBehindTheBookAndRemembersIt)
{
    chooseBackgroundSetting(1);
    const auto dialog = backgroundDialog();
    clickRow(dialog->panel().list(), 2);
    EXPECT_EQ(dialog->preview().picture().size(), QSize(230, 150));
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(pictures.backgroundNumber(), 3);
    EXPECT_TRUE(near(pictures.background().pixelColor(5, 5), kBlue));
    EXPECT_EQ(settings.read().backPictureIndex, 3);
    EXPECT_EQ(refreshed, 1);
}

TEST_F(PictureDialogs, CancelKeepsTheChoiceButNotTheDeletedPicture)
{
    chooseBackgroundSetting(2);
    const auto dialog = backgroundDialog();
    clickRow(dialog->panel().list(), 2);
    QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(pictures.backgroundNumber(), 2);
    EXPECT_EQ(refreshed, 0);

    // Deleting the picture on show, then cancelling: the book shows what now
    // carries its number, as the next start will.
    const auto again = backgroundDialog();
    QTest::mouseClick(again->panel().deleteButton(), Qt::LeftButton);
    QTest::keyClick(again.get(), Qt::Key_Escape);
    EXPECT_EQ(again->result(), QDialog::Rejected);
    EXPECT_FALSE(fs::exists(folder + "/BackGround3.jpg"));
    EXPECT_EQ(pictures.backgroundNumber(), 2);
    EXPECT_TRUE(near(pictures.background().pixelColor(5, 5), kBlue));
    EXPECT_EQ(settings.read().backPictureIndex, 2);
    EXPECT_EQ(refreshed, 1);
}

TEST_F(PictureDialogs, DeletingAnEarlierPictureKeepsTheChosenOneBehindTheBook)
{
    // green is chosen; red before it goes, so green is number 1 from now on
    chooseBackgroundSetting(2);
    const auto dialog = backgroundDialog();
    clickRow(dialog->panel().list(), 0);
    QTest::mouseClick(dialog->panel().deleteButton(), Qt::LeftButton);
    ASSERT_EQ(lines(dialog->panel().list()), (std::vector<QString>{"BackGround1", "BackGround2"}));
    QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
    EXPECT_TRUE(near(pictures.background().pixelColor(5, 5), kGreen));
    EXPECT_EQ(pictures.backgroundNumber(), 1);
    EXPECT_EQ(settings.read().backPictureIndex, 1);  // the next start shows it too
    EXPECT_EQ(refreshed, 1);

    // and so does OK with nothing selected
    chooseBackgroundSetting(2);
    const auto again = backgroundDialog();
    clickRow(again->panel().list(), 0);
    QTest::mouseClick(again->panel().deleteButton(), Qt::LeftButton);
    again->panel().selectNumber(-1);
    ASSERT_EQ(again->panel().selectedNumber(), -1);
    QTest::mouseClick(again->okButton(), Qt::LeftButton);
    EXPECT_TRUE(near(pictures.background().pixelColor(5, 5), kBlue));
    EXPECT_EQ(pictures.backgroundNumber(), 1);
    EXPECT_EQ(settings.read().backPictureIndex, 1);
}

TEST_F(PictureDialogs, DeletingBackGround2OfThreeRenamesTheThirdAndKeepsTheSelection)
{
    chooseBackgroundSetting(2);
    const auto dialog = backgroundDialog();
    QListWidget* list = dialog->panel().list();
    QTest::mouseClick(dialog->panel().deleteButton(), Qt::LeftButton);
    EXPECT_EQ(lines(list), (std::vector<QString>{"BackGround1", "BackGround2"}));
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_EQ(dialog->preview().picture().size(), QSize(230, 150));  // the blue one, now number 2
    EXPECT_FALSE(fs::exists(folder + "/BackGround3.jpg"));
    // deleting the last line moves the selection up one
    QTest::mouseClick(dialog->panel().deleteButton(), Qt::LeftButton);
    EXPECT_EQ(lines(list), std::vector<QString>{"BackGround1"});
    EXPECT_EQ(list->currentRow(), 0);
    QTest::mouseClick(dialog->panel().deleteButton(), Qt::LeftButton);
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(list->currentRow(), -1);
    EXPECT_FALSE(dialog->panel().deleteButton()->isEnabled());
    EXPECT_TRUE(notices.empty());
}

TEST_F(PictureDialogs, AnAddedPictureIsTheNewLastLineSelectedAndShown)
{
    chooseBackgroundSetting(1);
    savePicture(artwork::background(1), dir / "desk.jpg");
    picked = QString::fromStdString(dir / "desk.jpg");
    const auto dialog = backgroundDialog();
    QTest::mouseClick(dialog->panel().addButton(), Qt::LeftButton);
    EXPECT_EQ(lines(dialog->panel().list()).back(), "BackGround4");
    EXPECT_EQ(dialog->panel().list()->currentRow(), 3);
    EXPECT_EQ(dialog->preview().picture().size(), QSize(1024, 768));
    // a cancelled open dialog adds nothing
    picked.clear();
    QTest::mouseClick(dialog->panel().addButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->panel().list()->count(), 4);
    EXPECT_TRUE(notices.empty());
}

TEST_F(PictureDialogs, AFileThatIsNoJpegIsRefusedWithAMessageAndNotCopied)
{
    chooseBackgroundSetting(1);
    std::ofstream(dir / "letter.jpg") << "Dear reader, this is no picture.";
    picked = QString::fromStdString(dir / "letter.jpg");
    const auto dialog = backgroundDialog();
    QTest::mouseClick(dialog->panel().addButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->panel().list()->count(), 3);
    EXPECT_FALSE(fs::exists(folder + "/BackGround4.jpg"));
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0], "Error: Sorry! " + (dir / "letter.jpg") + " isn't a JPEG picture that can be shown.");
    EXPECT_EQ(dialog->panel().list()->currentRow(), 0);  // the selection stays
}

TEST_F(PictureDialogs, WithoutAPictureFolderTheFirstAddCreatesIt)
{
    fs::remove_all(folder);
    savePicture(artwork::pagePicture(1), dir / "paper.jpg");
    picked = QString::fromStdString(dir / "paper.jpg");
    makeBook(2);
    const auto dialog = bookPageDialog();
    EXPECT_EQ(dialog->panel().list()->count(), 1);  // the "no picture" line alone
    QTest::mouseClick(dialog->panel().addButton(), Qt::LeftButton);
    EXPECT_TRUE(fs::is_regular_file(folder + "/BookPage1.jpg"));
    EXPECT_EQ(lines(dialog->panel().list()), (std::vector<QString>{"(No picture)", "BookPage1"}));
    EXPECT_EQ(dialog->choice().picture, 1);
    EXPECT_TRUE(notices.empty());
}

TEST_F(PictureDialogs, ThePreviewStretchesThePictureInsideItsFrame)
{
    chooseBackgroundSetting(1);
    const auto dialog = backgroundDialog();
    const QImage shot = dialog->grab().toImage();
    const QRect frame = dialog->preview().geometry();
    const QRect area = PicturePreview::pictureArea(frame);
    EXPECT_EQ(area, frame.adjusted(10, 20, -10, -10));
    for (const QPoint inside : {area.topLeft(), area.bottomRight(), area.center()})
        EXPECT_TRUE(near(shot.pixelColor(inside), kRed)) << inside.x() << "," << inside.y();
    for (const QPoint outside : {area.topLeft() - QPoint(1, 0), area.topLeft() - QPoint(0, 1),
                                 area.bottomRight() + QPoint(1, 0), area.bottomRight() + QPoint(0, 1)})
        EXPECT_FALSE(near(shot.pixelColor(outside), kRed)) << outside.x() << "," << outside.y();
}

TEST_F(PictureDialogs, TheBookPageDialogStartsFromTheBookPageStyleOverTheWholeBook)
{
    makeBook(6);
    settings.writeApplyAll(0);
    const auto dialog = bookPageDialog();
    EXPECT_EQ(dialog->windowTitle(), "Book Page");
    EXPECT_EQ(dialog->paperBox()->colour(), QColor(249, 181, 249));
    EXPECT_EQ(dialog->textColourBox()->colour(), QColor(50, 128, 23));
    EXPECT_EQ(dialog->fontButton()->text(), "Arial");
    for (QSlider* slider : {dialog->startSlider(), dialog->endSlider()}) {
        EXPECT_EQ(slider->minimum(), 1);
        EXPECT_EQ(slider->maximum(), 6);
        EXPECT_TRUE(slider->isEnabled());
    }
    EXPECT_EQ(dialog->startSlider()->value(), 1);
    EXPECT_EQ(dialog->endSlider()->value(), 6);
    EXPECT_EQ(dialog->startNumber()->text(), "1");
    EXPECT_EQ(dialog->endNumber()->text(), "6");
    EXPECT_FALSE(dialog->applyAllBox()->isChecked());
    EXPECT_EQ(lines(dialog->panel().list()), (std::vector<QString>{"(No picture)", "BookPage1", "BookPage2"}));
    EXPECT_EQ(dialog->panel().list()->currentRow(), 0);
    // the first line is no picture and cannot be deleted
    EXPECT_FALSE(dialog->panel().deleteButton()->isEnabled());
    QTest::mouseClick(dialog->panel().deleteButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->panel().list()->count(), 3);
}

TEST_F(PictureDialogs, WithoutBookPagesTheRangeIsZeroAndCannotMove)
{
    const auto dialog = bookPageDialog();
    EXPECT_EQ(dialog->startNumber()->text(), "0");
    EXPECT_EQ(dialog->endNumber()->text(), "0");
    EXPECT_FALSE(dialog->startSlider()->isEnabled());
    EXPECT_FALSE(dialog->endSlider()->isEnabled());
    QTest::mouseClick(dialog->applyAllBox(), Qt::LeftButton);
    QTest::mouseClick(dialog->applyAllBox(), Qt::LeftButton);
    EXPECT_FALSE(dialog->startSlider()->isEnabled());
}

TEST_F(PictureDialogs, AReversedRangeAppliesInOrder)
{
    makeBook(6);
    const auto dialog = bookPageDialog();
    dialog->askColour = [](const QColor& start, const QString&) {
        EXPECT_EQ(start, QColor(249, 181, 249));
        return std::optional<QColor>(QColor(250, 240, 200));
    };
    QTest::mouseClick(dialog->paperBox(), Qt::LeftButton);
    EXPECT_EQ(dialog->paperBox()->colour(), QColor(250, 240, 200));
    // start at 5, end at 2, moved as the keys move them
    QTest::keyClick(dialog->startSlider(), Qt::Key_End);
    QTest::keyClick(dialog->startSlider(), Qt::Key_Left);
    QTest::keyClick(dialog->endSlider(), Qt::Key_Home);
    QTest::keyClick(dialog->endSlider(), Qt::Key_Right);
    EXPECT_EQ(dialog->startNumber()->text(), "5");
    EXPECT_EQ(dialog->endNumber()->text(), "2");
    clickRow(dialog->panel().list(), 2);
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    for (int n = 1; n <= 6; ++n) {
        const bool inRange = n >= 2 && n <= 5;
        EXPECT_EQ(bookPage(n).background, inRange ? rgb(250, 240, 200) : rgb(249, 181, 249)) << n;
        EXPECT_EQ(bookPage(n).pictureNumber, inRange ? 2 : 0) << n;
    }
    EXPECT_EQ(doc.styles.bookPage.background, rgb(249, 181, 249));  // the defaults stay
    EXPECT_EQ(doc.modified, 1);
    EXPECT_EQ(settings.read().applyAll, 0);
    EXPECT_EQ(refreshed, 1);
}

TEST_F(PictureDialogs, ALargerFontSizeKeepsTheHeightAndTheFontDialogGivesTheRest)
{
    makeBook(2);
    const auto dialog = bookPageDialog();
    dialog->askFont = [](const QFont& start) {
        // the face "Arial" is shown with here, which the font dialog lists
        EXPECT_EQ(start.family(), QFontInfo(fontFromLogFont(defaultBookFont())).family());
        QFont bigger(QStringLiteral("Liberation Serif"));
        bigger.setPixelSize(start.pixelSize() * 3);
        bigger.setBold(true);
        bigger.setItalic(true);
        return std::optional<QFont>(bigger);
    };
    dialog->askColour = [](const QColor&, const QString&) { return std::optional<QColor>(QColor(10, 20, 30)); };
    QTest::mouseClick(dialog->fontButton(), Qt::LeftButton);
    QTest::mouseClick(dialog->textColourBox(), Qt::LeftButton);
    EXPECT_EQ(dialog->fontButton()->text(), "Liberation Serif");
    EXPECT_EQ(dialog->textColourBox()->colour(), QColor(10, 20, 30));
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    for (int n = 1; n <= 2; ++n) {
        const LOGFONT& font = bookPage(n).font;
        EXPECT_EQ(font.lfHeight, 20);
        EXPECT_EQ(font.faceName(), "Liberation Serif");
        EXPECT_EQ(font.lfWeight, 700);
        EXPECT_EQ(font.lfItalic, 1);
        EXPECT_EQ(bookPage(n).textColour, rgb(10, 20, 30));
    }
}

TEST_F(PictureDialogs, ApplyToAllPagesChangesEveryPageAndTheDefaultsAndIsRemembered)
{
    makeBook(6);
    settings.writeApplyAll(0);
    const auto dialog = bookPageDialog();
    dialog->askColour = [](const QColor&, const QString&) { return std::optional<QColor>(QColor(200, 230, 255)); };
    QTest::mouseClick(dialog->paperBox(), Qt::LeftButton);
    QTest::keyClick(dialog->startSlider(), Qt::Key_End);
    QTest::mouseClick(dialog->applyAllBox(), Qt::LeftButton);
    EXPECT_FALSE(dialog->startSlider()->isEnabled());
    EXPECT_FALSE(dialog->endSlider()->isEnabled());
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    for (int n = 1; n <= 6; ++n)
        EXPECT_EQ(bookPage(n).background, rgb(200, 230, 255)) << n;
    EXPECT_EQ(doc.styles.bookPage.background, rgb(200, 230, 255));
    EXPECT_EQ(settings.read().applyAll, 1);

    // the next time the box is ticked and the range cannot move
    const auto again = bookPageDialog();
    EXPECT_TRUE(again->applyAllBox()->isChecked());
    EXPECT_FALSE(again->startSlider()->isEnabled());
    EXPECT_EQ(again->paperBox()->colour(), QColor(200, 230, 255));
    QTest::mouseClick(again->applyAllBox(), Qt::LeftButton);
    EXPECT_TRUE(again->startSlider()->isEnabled());
}

TEST_F(PictureDialogs, EnterOnAFocusedButtonPressesItNotOk)
{
    makeBook(2);
    const auto dialog = bookPageDialog();
    int fontAsked = 0, colourAsked = 0;
    dialog->askFont = [&fontAsked](const QFont&) {
        ++fontAsked;
        return std::optional<QFont>();
    };
    dialog->askColour = [&colourAsked](const QColor&, const QString&) {
        ++colourAsked;
        return std::optional<QColor>();
    };
    int picturesAsked = 0;
    dialog->panel().askPicturePath = [&picturesAsked] {
        ++picturesAsked;
        return QString();
    };
    dialog->activateWindow();
    for (QWidget* button : std::initializer_list<QWidget*>{dialog->fontButton(), dialog->paperBox(),
                                                           dialog->panel().addButton()}) {
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Return);
        EXPECT_TRUE(dialog->isVisible());
    }
    EXPECT_EQ(fontAsked, 1);
    EXPECT_EQ(colourAsked, 1);
    EXPECT_EQ(picturesAsked, 1);
    EXPECT_EQ(settings.read().applyAll, 0);
    // a tick box is no button to press: Enter there is OK
    dialog->applyAllBox()->setFocus();
    QTest::keyClick(dialog->applyAllBox(), Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(PictureDialogs, CancelChangesNoPageAndNoSetting)
{
    makeBook(4);
    settings.writeApplyAll(0);
    const auto dialog = bookPageDialog();
    dialog->askColour = [](const QColor&, const QString&) { return std::optional<QColor>(QColor(1, 2, 3)); };
    QTest::mouseClick(dialog->paperBox(), Qt::LeftButton);
    QTest::mouseClick(dialog->applyAllBox(), Qt::LeftButton);
    QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(bookPage(1).background, rgb(249, 181, 249));
    EXPECT_EQ(doc.styles.bookPage.background, rgb(249, 181, 249));
    EXPECT_EQ(settings.read().applyAll, 0);
    EXPECT_EQ(doc.modified, 0);
    EXPECT_EQ(refreshed, 0);
}

TEST_F(PictureDialogs, DeletingAPagePictureKeepsEveryPageOnItsPicture)
{
    makeBook(3);
    bookPage(1).pictureNumber = 1;
    bookPage(2).pictureNumber = 2;
    // the green picture 1 is read once and kept by the book
    EXPECT_TRUE(near(pictures.pagePicture(1).pixelColor(3, 3), kGreen));
    const auto dialog = bookPageDialog();
    clickRow(dialog->panel().list(), 1);
    QTest::mouseClick(dialog->panel().deleteButton(), Qt::LeftButton);
    EXPECT_EQ(lines(dialog->panel().list()), (std::vector<QString>{"(No picture)", "BookPage1"}));
    EXPECT_EQ(dialog->panel().list()->currentRow(), 1);
    EXPECT_EQ(bookPage(1).pictureNumber, 0);
    EXPECT_EQ(bookPage(2).pictureNumber, 1);
    QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
    // the book reads the pictures again: number 1 is the blue one now
    EXPECT_EQ(refreshed, 1);
    EXPECT_TRUE(near(pictures.pagePicture(1).pixelColor(3, 3), kBlue));
}

TEST_F(PictureDialogs, ThePreviewShowsThePaperThePictureAndTheBooksText)
{
    makeBook(2);
    const auto dialog = bookPageDialog();
    const QRect area = PicturePreview::pictureArea(dialog->preview().geometry());
    QImage shot = dialog->grab().toImage();
    const QColor paper(249, 181, 249);
    EXPECT_EQ(shot.pixelColor(area.right() - 2, area.bottom() - 2), paper);
    // the book's first line is written inside the page's margin, nothing above it
    const auto written = [&shot, &paper](const QRect& where) {
        int count = 0;
        for (int y = where.top(); y <= where.bottom(); ++y) {
            for (int x = where.left(); x <= where.right(); ++x)
                count += shot.pixelColor(x, y) != paper ? 1 : 0;
        }
        return count;
    };
    EXPECT_GT(written(area.adjusted(0, 0, 0, -area.height() / 2)), 10);
    EXPECT_EQ(written(area.adjusted(0, 0, 0, -area.height() + 20)), 0);
    clickRow(dialog->panel().list(), 2);
    shot = dialog->grab().toImage();
    EXPECT_TRUE(near(shot.pixelColor(area.right() - 2, area.bottom() - 2), kBlue));
    if (const char* out = std::getenv("VERSALEO_SCREENSHOTS")) {
        shot.save(QString(out) + "/book-page-dialog.png");
        chooseBackgroundSetting(2);
        backgroundDialog()->grab().save(QString(out) + "/background-picture-dialog.png");
    }
}

}  // namespace

namespace {

// The frame over a book of text, with the dialogs driven by the test.
class PictureCommands : public PictureDialogs {
protected:
    PictureCommands()
    {
        chooseBackgroundSetting(1);
        frame = std::make_unique<CMainFrame>(doc, pictures, settings, 0);
        frame->showNotice = [this](const QString& caption, const QString& text) {
            notices.push_back((caption + ": " + text).toStdString());
        };
        frame->runDialog = [this](QDialog& dialog) {
            ++dialogs;
            if (auto* background = dynamic_cast<CBackPictureDlg*>(&dialog); background && onBackground)
                onBackground(*background);
            if (auto* bookPage = dynamic_cast<CBookPageStyleDlg*>(&dialog); bookPage && onBookPage)
                onBookPage(*bookPage);
            return dialog.result();
        };
        std::string text;
        for (int i = 0; i < 40; ++i)
            text += "The reader turns a page of the old book while night falls quietly over the garden. ";
        std::ofstream(dir / "novel.txt") << text;
        doc.openPath(dir / "novel.txt");
        doc.currentPage = doc.firstContentPage() + 1;
        frame->resize(1000, 700);
        frame->show();
        frame->RefreshViews();
    }
    QImage view()
    {
        frame->currentView()->ensureComposed();
        return frame->currentView()->grab().toImage();
    }

    std::unique_ptr<CMainFrame> frame;
    int dialogs = 0;
    std::function<void(CBackPictureDlg&)> onBackground;
    std::function<void(CBookPageStyleDlg&)> onBookPage;
};

TEST_F(PictureCommands, ThePictureButtonPutsTheChosenPictureBehindTheBook)
{
    EXPECT_TRUE(near(view().pixelColor(5, 5), kRed));
    onBackground = [](CBackPictureDlg& dialog) {
        dialog.show();
        clickRow(dialog.panel().list(), 2);
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    };
    ASSERT_TRUE(frame->button(cmd::BackPicture)->isEnabled());
    QTest::mouseClick(frame->button(cmd::BackPicture), Qt::LeftButton);
    EXPECT_EQ(dialogs, 1);
    EXPECT_TRUE(near(view().pixelColor(5, 5), kBlue));
    EXPECT_EQ(settings.read().backPictureIndex, 3);
}

TEST_F(PictureCommands, TheBookButtonRestylesEveryPageAndTheViewShowsIt)
{
    onBookPage = [](CBookPageStyleDlg& dialog) {
        dialog.show();
        dialog.askColour = [](const QColor&, const QString&) { return std::optional<QColor>(QColor(255, 250, 220)); };
        QTest::mouseClick(dialog.paperBox(), Qt::LeftButton);
        if (!dialog.applyAllBox()->isChecked())
            QTest::mouseClick(dialog.applyAllBox(), Qt::LeftButton);
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    };
    ASSERT_TRUE(frame->button(cmd::EditBookPage)->isEnabled());
    QTest::mouseClick(frame->button(cmd::EditBookPage), Qt::LeftButton);
    EXPECT_EQ(dialogs, 1);
    const QImage shown = view();
    const Rect right = frame->currentView()->painter().pageRects().right;
    ASSERT_GT(right.width(), 100);
    EXPECT_EQ(shown.pixelColor(right.right - 12, right.bottom - 12), QColor(255, 250, 220));
    EXPECT_EQ(doc.modified, 1);
    for (int n = 1; n <= doc.bookPageCount(); ++n)
        EXPECT_EQ(bookPage(n).background, rgb(255, 250, 220)) << n;
}

TEST_F(PictureCommands, TheHelpBookKeepsItsPagesButNotItsDesk)
{
    frame->openHelpBook();
    frame->updateCommands();
    EXPECT_FALSE(frame->button(cmd::EditBookPage)->isEnabled());
    EXPECT_FALSE(frame->action(cmd::EditBookPage)->isEnabled());
    EXPECT_TRUE(frame->button(cmd::BackPicture)->isEnabled());
    frame->runCommand(cmd::EditBookPage);
    EXPECT_EQ(dialogs, 0);
    frame->runCommand(cmd::BackPicture);
    EXPECT_EQ(dialogs, 1);
}

}  // namespace
