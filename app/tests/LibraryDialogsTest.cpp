#include "app/CBookInfoDlg.h"
#include "app/CBookshelf.h"
#include "app/CCabinetDlg.h"
#include "app/CCabinetManagerDlg.h"
#include "app/CMainFrame.h"
#include "app/ColourBox.h"
#include "app/UiText.h"

#include "book/CVersaleoDoc.h"
#include "book/CodePage.h"
#include "book/Importers.h"
#include "library/BooksFolder.h"
#include "library/CabinetLibrary.h"
#include "library/DocumentPictures.h"
#include "library/Settings.h"
#include "library/ShelfGeometry.h"
#include "style/CStyleButton.h"
#include "views/Canvas.h"
#include "views/FontMetrics.h"

#include "TestSupport.h"

#include <QApplication>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTimer>

#include "BuiltSkin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

using Messages = std::vector<std::string>;

std::string message(const QString& caption, const QString& text)
{
    return (caption + ": " + text).toStdString();
}

void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<std::string> folderNames(const std::string& folder)
{
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder))
        found.push_back(entry.path().filename().string());
    std::sort(found.begin(), found.end());
    return found;
}

class LibraryDialogs : public testing::Test {
protected:
    static void SetUpTestSuite() { useBuiltSkin(); }
    ~LibraryDialogs() override { ui::setLanguage(0, PROGRAM_FOLDER); }

    TestFolder dir;
    SettingsStore settings{QString::fromStdString(dir / "settings.ini")};
    Messages messages;
    std::function<void(const QString&, const QString&)> record = [this](const QString& caption, const QString& text) {
        messages.push_back(message(caption, text));
    };
};

// --- the cabinet dialog ---

TEST(CreateTime, MonthDayYearInEnglishYearMonthDayInChinese)
{
    EXPECT_EQ(createTimeText(2008, 5, 17, 0), "5/17/2008");
    EXPECT_EQ(createTimeText(2008, 5, 17, 1), "2008/5/17");
}

TEST_F(LibraryDialogs, ANewCabinetIsDatedTodayAndTakesTheDefaultColour)
{
    std::vector<CCabinet> none;
    CCabinetDlg dialog(CCabinetDlg::Create, none);
    EXPECT_EQ(dialog.windowTitle(), "Create Cabinet");
    const QDate today = QDate::currentDate();
    EXPECT_EQ(dialog.createTime()->text(), createTimeText(today.year(), today.month(), today.day(), 0));
    dialog.nameEdit()->setText(QString::fromUtf8("  经典 & <新>  "));
    dialog.creatorEdit()->setText("Reader");
    const CCabinet made = dialog.cabinet();
    EXPECT_EQ(made.name, codepage::fromUtf8("经典 & <新>"));
    EXPECT_EQ(made.borderColor, rgb(240, 106, 12));
    EXPECT_EQ(made.createYear, today.year());
    EXPECT_EQ(made.createMonth, today.month());
    EXPECT_EQ(made.createDay, today.day());
}

TEST_F(LibraryDialogs, TheDateFollowsTheInterfaceLanguage)
{
    ASSERT_EQ(ui::setLanguage(1, PROGRAM_FOLDER), 1);
    std::vector<CCabinet> none;
    CCabinetDlg dialog(CCabinetDlg::Update, none);
    CCabinet stored;
    stored.createYear = 2008;
    stored.createMonth = 5;
    stored.createDay = 17;
    dialog.setCabinet(stored);
    EXPECT_EQ(dialog.createTime()->text(), "2008/5/17");
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("修改书柜"));
}

TEST_F(LibraryDialogs, AnEmptyNameIsRefusedAndTheDialogStays)
{
    std::vector<CCabinet> none;
    CCabinetDlg dialog(CCabinetDlg::Create, none);
    dialog.showMessage = record;
    dialog.show();
    dialog.nameEdit()->setText("   ");
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_EQ(messages, Messages{"Error: The cabinet name can't be empty."});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(dialog.result(), QDialog::Accepted);
}

TEST_F(LibraryDialogs, ARenameToItsOwnNameInAnotherCaseIsAcceptedToAnothersRefused)
{
    std::vector<CCabinet> cabinets(2);
    cabinets[0].name = "Classics";
    cabinets[1].name = "Poetry";
    CCabinetDlg dialog(CCabinetDlg::Update, cabinets);
    dialog.showMessage = record;
    dialog.setCabinet(cabinets[0]);
    dialog.show();
    dialog.nameEdit()->setText("pOeTrY");
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_EQ(messages, Messages{"Error: The cabinet of the name already exists. Please rename again."});
    EXPECT_TRUE(dialog.isVisible());
    dialog.nameEdit()->setText("classics");
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.cabinet().name, "classics");
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(LibraryDialogs, TheColourBoxOpensTheColourDialogAtItsColour)
{
    std::vector<CCabinet> none;
    CCabinetDlg dialog(CCabinetDlg::Create, none);
    dialog.show();
    COLORREF askedWith = 0;
    dialog.askColour = [&askedWith](COLORREF current) {
        askedWith = current;
        return std::optional<COLORREF>(rgb(10, 20, 30));
    };
    QTest::mouseClick(dialog.colourBox(), Qt::LeftButton);
    EXPECT_EQ(askedWith, rgb(240, 106, 12));
    EXPECT_EQ(dialog.cabinet().borderColor, rgb(10, 20, 30));
    EXPECT_EQ(fromQColor(dialog.colourBox()->grab().toImage().pixelColor(10, 10)), rgb(10, 20, 30));
    // cancelled: the colour stays
    dialog.askColour = [](COLORREF) { return std::optional<COLORREF>(); };
    QTest::keyClick(dialog.colourBox(), Qt::Key_Space);
    EXPECT_EQ(dialog.cabinet().borderColor, rgb(10, 20, 30));

    // the book dialog's box, from the entry's colour
    CBookInfoDlg book(CBookInfoDlg::Update, settings);
    book.setBook({rgb(1, 2, 3), "book1.txt", "x", ""});
    book.show();
    book.askColour = [&askedWith](COLORREF current) {
        askedWith = current;
        return std::optional<COLORREF>(rgb(200, 100, 50));
    };
    QTest::keyClick(book.colourBox(), Qt::Key_Space);
    EXPECT_EQ(askedWith, rgb(1, 2, 3));
    EXPECT_EQ(book.book().frameColor, rgb(200, 100, 50));
}

// --- the book dialog ---

TEST_F(LibraryDialogs, TheFileButtonFillsThePathAndTheTitleAndRemembersTheFolder)
{
    settings.writeOpenFilePath("/start/here");
    CBookInfoDlg dialog(CBookInfoDlg::Add, settings);
    EXPECT_EQ(dialog.windowTitle(), "Add Book");
    QString startedIn;
    dialog.askFilePath = [&startedIn](const QString& folder) {
        startedIn = folder;
        return QStringLiteral("/books/novels/Dream of the Red Chamber.part1.TXT");
    };
    dialog.show();
    QTest::mouseClick(dialog.fileButton(), Qt::LeftButton);
    EXPECT_EQ(startedIn, "/start/here");
    EXPECT_EQ(dialog.path(), "/books/novels/Dream of the Red Chamber.part1.TXT");
    EXPECT_EQ(dialog.pathEdit()->text(), "/books/novels/Dream of the Red Chamber.part1.TXT");
    EXPECT_EQ(dialog.nameEdit()->text(), "Dream of the Red Chamber.part1");
    EXPECT_EQ(settings.read().openFilePath, "/books/novels");
    EXPECT_EQ(dialog.book().frameColor, rgb(100, 200, 100));
}

TEST_F(LibraryDialogs, EnterPressesTheButtonInFocusElseOk)
{
    CBookInfoDlg dialog(CBookInfoDlg::Add, settings);
    int asked = 0;
    dialog.askFilePath = [&asked](const QString&) {
        ++asked;
        return QStringLiteral("/d/story.txt");
    };
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    dialog.fileButton()->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(dialog.isVisible());
    // in a field, Enter is OK
    dialog.authorEdit()->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(asked, 1);
}

TEST_F(LibraryDialogs, AFileOfAnotherKindIsRefusedButItsFolderRemembered)
{
    CBookInfoDlg dialog(CBookInfoDlg::Add, settings);
    dialog.showMessage = record;
    dialog.askFilePath = [](const QString&) { return QStringLiteral("/pictures/cover.jpg"); };
    dialog.show();
    QTest::mouseClick(dialog.fileButton(), Qt::LeftButton);
    EXPECT_EQ(messages, Messages{"Error: Sorry! This isn't supported file type."});
    EXPECT_EQ(dialog.path(), "");
    EXPECT_EQ(dialog.nameEdit()->text(), "");
    EXPECT_EQ(settings.read().openFilePath, "/pictures");
}

TEST_F(LibraryDialogs, AddingDoesNothingUntilAFileIsChosen)
{
    CBookInfoDlg dialog(CBookInfoDlg::Add, settings);
    dialog.show();
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    dialog.askFilePath = [](const QString&) { return QStringLiteral("/d/a.vl"); };
    QTest::mouseClick(dialog.fileButton(), Qt::LeftButton);
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(LibraryDialogs, UpdatingABookShowsItsValuesAndNoFile)
{
    CBookInfoDlg dialog(CBookInfoDlg::Update, settings);
    EXPECT_EQ(dialog.windowTitle(), "Update Book");
    EXPECT_EQ(dialog.fileButton(), nullptr);
    EXPECT_EQ(dialog.pathEdit(), nullptr);
    dialog.setBook({rgb(1, 2, 3), "book9.pdf", codepage::fromUtf8("红楼梦"), "Cao Xueqin"});
    dialog.show();
    EXPECT_EQ(dialog.nameEdit()->text(), QString::fromUtf8("红楼梦"));
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.book(), (CCabinetBook{rgb(1, 2, 3), "", codepage::fromUtf8("红楼梦"), "Cao Xueqin"}));
}

TEST_F(LibraryDialogs, ChangingOnlyTheColourKeepsLongerNamesReadFromTheFile)
{
    // Names typed here stop at 128 characters; a file may hold longer ones.
    const std::string longName(300, 'n'), longAuthor(200, 'a');
    CBookInfoDlg book(CBookInfoDlg::Update, settings);
    book.setBook({rgb(1, 2, 3), "book1.txt", longName, longAuthor});
    book.askColour = [](COLORREF) { return std::optional<COLORREF>(rgb(4, 5, 6)); };
    book.show();
    QTest::mouseClick(book.colourBox(), Qt::LeftButton);
    QTest::mouseClick(book.okButton(), Qt::LeftButton);
    EXPECT_EQ(book.book(), (CCabinetBook{rgb(4, 5, 6), "", longName, longAuthor}));

    std::vector<CCabinet> cabinets(1);
    cabinets[0].name = std::string(250, 'c');
    cabinets[0].creator = std::string(129, 'r');
    CCabinetDlg cabinet(CCabinetDlg::Update, cabinets);
    cabinet.setCabinet(cabinets[0]);
    cabinet.show();
    QTest::mouseClick(cabinet.okButton(), Qt::LeftButton);
    EXPECT_EQ(cabinet.result(), QDialog::Accepted);
    EXPECT_EQ(cabinet.cabinet().name, cabinets[0].name);
    EXPECT_EQ(cabinet.cabinet().creator, cabinets[0].creator);
}

// --- the cabinet manager ---

class Manager : public LibraryDialogs {
protected:
    Manager()
    {
        fs::create_directory(books);
        writeFile(dir / "novel.txt", "It was a dark and stormy night.\n");
    }
    std::unique_ptr<CCabinetManagerDlg> open()
    {
        auto manager = std::make_unique<CCabinetManagerDlg>(doc, settings, books);
        manager->showMessage = record;
        manager->runDialog = [this](QDialog& dialog) { return answer(dialog); };
        manager->show();
        return manager;
    }
    // What the reader does in a child dialog: fill it in and press OK.
    int answer(QDialog& dialog)
    {
        if (auto* cabinet = dynamic_cast<CCabinetDlg*>(&dialog)) {
            cabinet->showMessage = record;
            cabinet->nameEdit()->setText(cabinetName);
            cabinet->colourBox()->setColour(toQColor(cabinetColour));
            QTest::mouseClick(cabinet->okButton(), Qt::LeftButton);
        } else if (auto* book = dynamic_cast<CBookInfoDlg*>(&dialog)) {
            if (book->fileButton()) {
                book->askFilePath = [this](const QString&) { return QString::fromStdString(chosenFile); };
                QTest::mouseClick(book->fileButton(), Qt::LeftButton);
            }
            if (!bookName.isEmpty())
                book->nameEdit()->setText(bookName);
            QTest::mouseClick(book->okButton(), Qt::LeftButton);
        }
        return dialog.result();
    }
    void click(CCabinetManagerDlg& manager, int id) { QTest::mouseClick(manager.button(id), Qt::LeftButton); }
    // Which of the seven buttons are enabled, Create first.
    std::vector<bool> enabled(CCabinetManagerDlg& manager)
    {
        std::vector<bool> states;
        for (int id = CCabinetManagerDlg::kCreateId; id <= CCabinetManagerDlg::kReadId; ++id)
            states.push_back(manager.button(id)->isEnabled());
        return states;
    }
    QPoint spineCentre(CCabinetManagerDlg& manager, int book)
    {
        const Rect spine = shelf::spineRect(manager.shelf()->frame(), book);
        return {(spine.left + spine.right) / 2, (spine.top + spine.bottom) / 2};
    }
    void createWithBooks(CCabinetManagerDlg& manager, int count)
    {
        click(manager, CCabinetManagerDlg::kCreateId);
        for (int i = 0; i < count; ++i)
            ASSERT_TRUE(manager.library().addBook(chosenFile, "Book " + std::to_string(i), "", rgb(9, 99, 199)));
        manager.updateButtons();
    }

    std::string books = dir / "books";
    CVersaleoDoc doc;
    QString cabinetName = "Classics";
    COLORREF cabinetColour = rgb(30, 120, 200);
    std::string chosenFile = dir / "novel.txt";
    QString bookName;
};

TEST_F(Manager, WithoutACabinetOnlyCreateIsEnabled)
{
    const auto manager = open();
    EXPECT_EQ(manager->windowTitle(), "Cabinet");
    EXPECT_EQ(manager->loadStatus(), CabinetLibrary::LoadStatus::Missing);
    EXPECT_EQ(enabled(*manager), (std::vector<bool>{true, false, false, false, false, false, false}));
}

TEST_F(Manager, CreatingACabinetListsItSelectsItAndEnablesItsButtons)
{
    const auto manager = open();
    click(*manager, CCabinetManagerDlg::kCreateId);
    ASSERT_EQ(manager->cabinetList()->count(), 1);
    EXPECT_EQ(manager->cabinetList()->item(0)->text(), "Classics");
    EXPECT_EQ(manager->cabinetList()->currentRow(), 0);
    EXPECT_EQ(enabled(*manager), (std::vector<bool>{true, true, true, true, false, false, false}));
    // A second cabinet of the same name in another case is refused.
    cabinetName = "CLASSICS";
    click(*manager, CCabinetManagerDlg::kCreateId);
    EXPECT_EQ(manager->cabinetList()->count(), 1);
    EXPECT_EQ(messages, Messages{"Error: The cabinet of the name already exists. Please rename again."});
}

TEST_F(Manager, ChoosingACabinetInTheListShowsItsShelf)
{
    const auto manager = open();
    click(*manager, CCabinetManagerDlg::kCreateId);
    cabinetName = "Poetry";
    cabinetColour = rgb(200, 40, 40);
    click(*manager, CCabinetManagerDlg::kCreateId);
    EXPECT_EQ(manager->cabinetList()->currentRow(), 1);
    const auto frameColourNow = [&manager] {
        const Rect frame = shelf::narrowedFrame(manager->shelf()->frame());
        return fromQColor(manager->shelf()->grab().toImage().pixelColor(frame.left + 1, frame.bottom / 2));
    };
    EXPECT_EQ(frameColourNow(), rgb(200, 40, 40));
    manager->cabinetList()->setCurrentRow(0);
    EXPECT_EQ(manager->library().currentCabinet(), 0);
    EXPECT_EQ(frameColourNow(), rgb(30, 120, 200));
}

TEST_F(Manager, AClickOnASpineSelectsItAndAClickBesideEndsTheSelection)
{
    const auto manager = open();
    createWithBooks(*manager, 3);
    CBookshelf* shelfWidget = manager->shelf();
    const QImage before = shelfWidget->grab().toImage();
    QTest::mouseClick(shelfWidget, Qt::LeftButton, Qt::NoModifier, spineCentre(*manager, 2));
    EXPECT_EQ(manager->library().selectedBook(), 2);
    EXPECT_EQ(enabled(*manager), (std::vector<bool>{true, true, true, true, true, true, true}));
    // the outline: the spine's top left corner, exclusive-or RGB(122, 255, 122)
    const Rect spine = shelf::spineRect(shelfWidget->frame(), 2);
    const QImage after = shelfWidget->grab().toImage();
    EXPECT_EQ(fromQColor(after.pixelColor(spine.left + 1, spine.top + 1)),
              fromQColor(before.pixelColor(spine.left + 1, spine.top + 1)) ^ rgb(122, 255, 122));

    QTest::mouseClick(shelfWidget, Qt::LeftButton, Qt::NoModifier, spineCentre(*manager, 5));  // no sixth book
    EXPECT_EQ(manager->library().selectedBook(), -1);
    EXPECT_EQ(enabled(*manager), (std::vector<bool>{true, true, true, true, false, false, false}));
    EXPECT_EQ(shelfWidget->grab().toImage(), before);
}

TEST_F(Manager, TheHandShowsOverASpineOnly)
{
    const auto manager = open();
    createWithBooks(*manager, 1);
    CBookshelf* shelfWidget = manager->shelf();
    QTest::mouseMove(shelfWidget, spineCentre(*manager, 0));
    QApplication::processEvents();
    EXPECT_EQ(shelfWidget->cursor().shape(), Qt::BitmapCursor);
    QTest::mouseMove(shelfWidget, spineCentre(*manager, 1));
    QApplication::processEvents();
    EXPECT_EQ(shelfWidget->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(Manager, TwentyFourBooksDisableAddAndDeletingOneEnablesIt)
{
    const auto manager = open();
    createWithBooks(*manager, 24);
    EXPECT_FALSE(manager->button(CCabinetManagerDlg::kAddId)->isEnabled());
    QTest::mouseClick(manager->shelf(), Qt::LeftButton, Qt::NoModifier, spineCentre(*manager, 23));
    click(*manager, CCabinetManagerDlg::kDeleteBookId);
    EXPECT_EQ(manager->library().current()->books.size(), 23u);
    EXPECT_TRUE(manager->button(CCabinetManagerDlg::kAddId)->isEnabled());
}

TEST_F(Manager, TheButtonTimerRunsEveryTwoHundredMilliseconds)
{
    const auto manager = open();
    createWithBooks(*manager, 24);
    // A change made behind the buttons' back, as a tick would find it.
    manager->library().selectBook(0);
    manager->library().deleteBook();
    const auto timers = manager->findChildren<QTimer*>();
    const auto ticking = std::find_if(timers.begin(), timers.end(), [](const QTimer* timer) {
        return timer->isActive() && timer->interval() == CCabinetManagerDlg::kButtonTimerMs;
    });
    ASSERT_NE(ticking, timers.end());
    EXPECT_FALSE(manager->button(CCabinetManagerDlg::kAddId)->isEnabled());
    ASSERT_TRUE(QMetaObject::invokeMethod(*ticking, "timeout"));
    EXPECT_TRUE(manager->button(CCabinetManagerDlg::kAddId)->isEnabled());
}

TEST_F(Manager, DeletingTheLastCabinetLeavesOnlyCreate)
{
    const auto manager = open();
    createWithBooks(*manager, 2);
    click(*manager, CCabinetManagerDlg::kDeleteCabinetId);
    EXPECT_EQ(manager->cabinetList()->count(), 0);
    EXPECT_EQ(manager->library().currentCabinet(), -1);
    EXPECT_EQ(enabled(*manager), (std::vector<bool>{true, false, false, false, false, false, false}));
}

TEST_F(Manager, AddingABookCopiesItUnderTheFirstFreeNumberAndOkSavesIt)
{
    {
        const auto manager = open();
        click(*manager, CCabinetManagerDlg::kCreateId);
        click(*manager, CCabinetManagerDlg::kAddId);
        click(*manager, CCabinetManagerDlg::kAddId);
        ASSERT_EQ(manager->library().current()->books.size(), 2u);
        EXPECT_EQ(manager->library().current()->books[0].bookName, "novel");
        EXPECT_EQ(manager->library().current()->books[1].fileName, "book2.txt");
        QTest::mouseClick(manager->okButton(), Qt::LeftButton);
        EXPECT_EQ(manager->result(), QDialog::Accepted);
    }
    EXPECT_EQ(folderNames(books), (std::vector<std::string>{"book1.txt", "book2.txt", "library.xml"}));
    const auto again = open();
    EXPECT_EQ(again->library().current()->books.size(), 2u);
}

TEST_F(Manager, AddThenCancelLeavesNeitherEntriesNorCopies)
{
    {
        const auto manager = open();
        click(*manager, CCabinetManagerDlg::kCreateId);
        click(*manager, CCabinetManagerDlg::kAddId);
        QTest::mouseClick(manager->okButton(), Qt::LeftButton);
    }
    const auto manager = open();
    click(*manager, CCabinetManagerDlg::kAddId);
    click(*manager, CCabinetManagerDlg::kAddId);
    EXPECT_EQ(folderNames(books).size(), 4u);
    QTest::mouseClick(manager->cancelButton(), Qt::LeftButton);
    EXPECT_EQ(manager->result(), QDialog::Rejected);
    EXPECT_EQ(manager->library().current()->books.size(), 1u);
    EXPECT_EQ(folderNames(books), (std::vector<std::string>{"book1.txt", "library.xml"}));
}

TEST_F(Manager, AFailedCopyIsToldAndAddsNothing)
{
    const auto manager = open();
    click(*manager, CCabinetManagerDlg::kCreateId);
    chosenFile = dir / "gone.txt";
    click(*manager, CCabinetManagerDlg::kAddId);
    EXPECT_EQ(messages, Messages{"Error: Fail to copy " + chosenFile + " into the library."});
    EXPECT_TRUE(manager->library().current()->books.empty());
}

TEST_F(Manager, UpdatingABookKeepsItSelectedAndItsCopy)
{
    const auto manager = open();
    createWithBooks(*manager, 2);
    QTest::mouseClick(manager->shelf(), Qt::LeftButton, Qt::NoModifier, spineCentre(*manager, 1));
    bookName = "Renamed";
    click(*manager, CCabinetManagerDlg::kUpdateBookId);
    EXPECT_EQ(manager->library().current()->books[1].bookName, "Renamed");
    EXPECT_EQ(manager->library().current()->books[1].fileName, "book2.txt");
    EXPECT_EQ(manager->library().selectedBook(), 1);
}

TEST_F(Manager, ReadingAMissingCopyIsToldAndTheDialogStays)
{
    const auto manager = open();
    createWithBooks(*manager, 1);
    QTest::mouseClick(manager->shelf(), Qt::LeftButton, Qt::NoModifier, spineCentre(*manager, 0));
    fs::remove(books + "/book1.txt");
    click(*manager, CCabinetManagerDlg::kReadId);
    EXPECT_EQ(messages, Messages{"Error: Fail to open this file. The file maybe lost."});
    EXPECT_TRUE(manager->isVisible());
    EXPECT_FALSE(manager->bookToRead());
}

TEST_F(Manager, ReadingSavesClosesAndNamesTheCopy)
{
    const auto manager = open();
    createWithBooks(*manager, 2);
    QTest::mouseDClick(manager->shelf(), Qt::LeftButton, Qt::NoModifier, spineCentre(*manager, 1));
    EXPECT_EQ(manager->result(), QDialog::Accepted);
    ASSERT_TRUE(manager->bookToRead());
    EXPECT_EQ(manager->bookToRead()->path, books + "/book2.txt");
    EXPECT_EQ(manager->bookToRead()->name, "Book 1");
    EXPECT_TRUE(fs::exists(books + "/library.xml"));
}

TEST_F(Manager, ADamagedLibraryIsToldOnceAndItsCopiesStay)
{
    writeFile(books + "/library.xml", "<root><cabinet name='half");
    writeFile(books + "/book1.txt", "a copy");
    const auto manager = open();
    QApplication::processEvents();
    EXPECT_EQ(manager->loadStatus(), CabinetLibrary::LoadStatus::Damaged);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].starts_with("Notice: The library file is damaged; it was kept as " + books + "/library.xml."))
        << messages[0];
    manager->hide();
    manager->show();
    QApplication::processEvents();
    EXPECT_EQ(messages.size(), 1u);
    QTest::mouseClick(manager->okButton(), Qt::LeftButton);
    EXPECT_TRUE(fs::exists(books + "/book1.txt"));
}

// --- strings ---

TEST_F(LibraryDialogs, EveryTextOfTheLibraryHasItsChineseText)
{
    const int ids[] = {4013, 4014, 4015, 4016, 4017, 4403, 4410, 4411, 4440, 4441, 4442, 4443, 30521, 30522,
                       30523, 30524, 30525, 30526, 30527, 30560, 31520, 31524, 31540, 31541, 31542, 31543,
                       31562, 31563, 31564};
    std::vector<QString> english;
    for (const int id : ids)
        english.push_back(ui::text(id));
    ASSERT_EQ(ui::setLanguage(1, PROGRAM_FOLDER), 1);
    for (size_t i = 0; i < std::size(ids); ++i) {
        EXPECT_FALSE(english[i].isEmpty()) << ids[i];
        EXPECT_NE(ui::text(ids[i]), english[i]) << ids[i];
        EXPECT_EQ(ui::text(ids[i]).count(QLatin1Char('%')), english[i].count(QLatin1Char('%'))) << ids[i];
    }
}

// --- the frame's command ---

class FrameCabinet : public LibraryDialogs {
protected:
    FrameCabinet()
    {
        doc.setMeasurerFactory([](const LOGFONT& font) { return std::make_shared<QtTextMeasurer>(font); });
        registerStandardImporters(doc);
        frame = std::make_unique<CMainFrame>(doc, pictures, settings, 0);
        frame->showNotice = record;
    }
    ScopedEnv home{"VERSALEO_HOME", dir.path()};
    CVersaleoDoc doc;
    DocumentPictures pictures{std::string(PROGRAM_FOLDER) + "/picture"};
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(FrameCabinet, ReadingALibraryBookOpensItInTheWindowUnderItsName)
{
    // A library made earlier: one cabinet holding a text.
    writeFile(dir / "journey.txt", "Far away.\n");
    {
        CabinetLibrary library(books::booksFolder());
        CCabinet cabinet;
        cabinet.name = "Travel";
        library.createCabinet(cabinet);
        ASSERT_TRUE(library.addBook(dir / "journey.txt", codepage::fromUtf8("西游记 Journey"), "", 0));
        ASSERT_TRUE(library.save());
    }
    int shown = 0;
    frame->runDialog = [&shown](QDialog& dialog) {
        auto& manager = dynamic_cast<CCabinetManagerDlg&>(dialog);
        ++shown;
        manager.show();
        const Rect spine = shelf::spineRect(manager.shelf()->frame(), 0);
        QTest::mouseClick(manager.shelf(), Qt::LeftButton, Qt::NoModifier, QPoint(spine.left + 5, spine.top + 5));
        QTest::mouseClick(manager.button(CCabinetManagerDlg::kReadId), Qt::LeftButton);
        return manager.result();
    };
    frame->updateCommands();
    ASSERT_TRUE(frame->button(cmd::Cabinet)->isEnabled());
    QTest::mouseClick(frame->button(cmd::Cabinet), Qt::LeftButton);
    EXPECT_EQ(shown, 1);
    ASSERT_GT(doc.pageCount(), 4);
    EXPECT_EQ(doc.indexEntries.front()->titleText(), codepage::fromUtf8("西游记 Journey"));
    EXPECT_EQ(frame->title(), QString::fromUtf8("西游记 Journey - Versaleo"));
    EXPECT_TRUE(messages.empty());
}

TEST_F(FrameCabinet, TheCommandWaitsOutTheHelpWindowAndTheBlockingModes)
{
    int shown = 0;
    frame->runDialog = [&shown](QDialog&) {
        ++shown;
        return int(QDialog::Rejected);
    };
    doc.switchWindow(CVersaleoDoc::kHelpWindow);
    frame->runCommand(cmd::Cabinet);
    EXPECT_EQ(shown, 0);
    doc.switchWindow(1);
    frame->runCommand(cmd::Cabinet);
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(fs::is_directory(dir / "books"));
}

}  // namespace
