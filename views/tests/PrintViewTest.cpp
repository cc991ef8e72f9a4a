#include "CPrintView.h"

#include "book/CVersaleoDoc.h"
#include "views/FontMetrics.h"
#include "views/SpreadPainter.h"

#include "PdfText.h"
#include "TestSupport.h"

#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>

namespace {

using printsheet::Sheet;

// Words without digits: the only numbers a printed page holds are the ones
// the options add.
const char* const kWords[] = {"alpha", "bravo", "charlie", "delta", "echo",
                              "foxtrot", "golf", "hotel", "india", "juliet"};
constexpr int kBookPages = 10;

class PrintView : public testing::Test {
protected:
    class Desk : public PictureSource {
    public:
        QImage plain = [] {
            QImage image(8, 8, QImage::Format_RGB32);
            image.fill(QColor(0, 100, 0));
            return image;
        }();
        const QImage& background() override { return plain; }
        const QImage& outerCover() override { return plain; }
        const QImage& innerCover() override { return plain; }
        QImage pagePicture(int) override { return {}; }
    };

    PrintView()
    {
        installFontSubstitutions();
        // Covers, two index pages, book pages 1-10 at records 4-13, covers.
        PageList pages;
        for (const char* word : kWords) {
            auto page = doc.createPage(PageKind::BookPage);
            for (int line = 0; line < 6; ++line)
                page->lines.push_back(std::string(word) + " " + word + " " + word + "\r\n");
            page->rebuildCells();
            pages.push_back(std::move(page));
        }
        doc.insertPages(2, std::move(pages));
        doc.rebuildIndexPages();
        view.runDialog = [this](QDialog& dialog) { return answer(dialog); };
        view.resize(800, 600);
        view.show();
    }

    int answer(QDialog& dialog)
    {
        if (auto* setup = qobject_cast<QPageSetupDialog*>(&dialog)) {
            QPrinter& printer = *setup->printer();
            offeredLandscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
            offeredA4 = printer.pageLayout().pageSize().id() == QPageSize::A4;
            if (choosePortrait)
                printer.setPageOrientation(QPageLayout::Portrait);
            return QDialog::Accepted;
        }
        if (auto* print = qobject_cast<QPrintDialog*>(&dialog)) {
            ++printDialogs;
            if (pdfPath.empty())
                return QDialog::Rejected;
            print->printer()->setOutputFormat(QPrinter::PdfFormat);
            print->printer()->setOutputFileName(QString::fromStdString(pdfPath));
            print->printer()->setResolution(600);
            return QDialog::Accepted;
        }
        return QDialog::Rejected;
    }

    CBookPage& bookPage(int n) { return *doc.pages[static_cast<size_t>(doc.pageOfBookPage(n))]; }

    void selectRange(const char* from, const char* to)
    {
        view.setAllPages(0);
        view.fromBox()->setText(from);
        view.toBox()->setText(to);
        view.readTypedRange();
    }

    // Prints what the options select into a PDF and reads it back.
    std::vector<PdfPage> printToPdf()
    {
        EXPECT_TRUE(pdftext::available()) << "pdfinfo and pdftotext (poppler-utils) are needed: scripts/install-deps";
        pdfPath = dir / "sheets.pdf";
        std::filesystem::remove(pdfPath);
        EXPECT_EQ(view.print(), CPrintView::PrintResult::Printed);
        const auto pages = pdftext::read(pdfPath);
        EXPECT_TRUE(pages.has_value());
        return pages.value_or(std::vector<PdfPage>{});
    }

    static std::set<int> numbersIn(const std::string& text)
    {
        std::set<int> numbers;
        const std::regex number("[0-9]+");
        for (auto it = std::sregex_iterator(text.begin(), text.end(), number); it != std::sregex_iterator(); ++it)
            numbers.insert(std::stoi(it->str()));
        return numbers;
    }

    // The records of book pages a..b, one a sheet.
    std::vector<Sheet> singleSheets(int a, int b)
    {
        std::vector<Sheet> sheets;
        for (int n = a; n <= b; ++n)
            sheets.push_back({doc.pageOfBookPage(n), -1});
        return sheets;
    }

    // The paper of the preview: the rectangle the sheet's size fits into.
    Rect paper()
    {
        const QSize sheet = view.options().pagesPerSheet ? view.landscapeSheet() : view.portraitSheet();
        return printsheet::previewRect(sheet.width(), sheet.height(), view.width(), view.height());
    }

    static int inkIn(const QImage& image, const Rect& r)
    {
        int ink = 0;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x)
                ink += qGray(image.pixel(x, y)) < 100 ? 1 : 0;
        }
        return ink;
    }

    TestFolder dir;
    CVersaleoDoc doc;
    Desk desk;
    CPrintView view{doc, desk};
    bool choosePortrait = false;
    bool offeredLandscape = false;
    bool offeredA4 = false;
    int printDialogs = 0;
    std::string pdfPath;
};

TEST_F(PrintView, EnteringOffersA4LandscapeAndKeepsWhatTheReaderChose)
{
    view.enter();
    EXPECT_TRUE(offeredLandscape);
    EXPECT_TRUE(offeredA4);
    EXPECT_EQ(view.options().pagesPerSheet, 1);
    EXPECT_GT(view.landscapeSheet().width(), view.landscapeSheet().height());
    EXPECT_EQ(view.portraitSheet(), view.landscapeSheet().transposed());
    // All pages: the boxes hold the whole book and are locked.
    EXPECT_EQ(view.fromBox()->text(), "1");
    EXPECT_EQ(view.toBox()->text(), "10");
    EXPECT_FALSE(view.fromBox()->isEnabled());

    choosePortrait = true;
    view.enter();
    EXPECT_TRUE(offeredLandscape);  // offered anew each time
    EXPECT_EQ(view.options().pagesPerSheet, 0);
    EXPECT_LT(view.portraitSheet().width(), view.portraitSheet().height());
    EXPECT_EQ(view.currentSheet(), doc.pageOfBookPage(1));
}

TEST_F(PrintView, NineToThreePrintsThreeToNine)
{
    choosePortrait = true;
    view.enter();
    selectRange("9", "3");
    EXPECT_EQ(view.fromBox()->text(), "3");
    EXPECT_EQ(view.toBox()->text(), "9");
    EXPECT_TRUE(view.fromBox()->isEnabled());
    EXPECT_EQ(view.sheets(), singleSheets(3, 9));
    EXPECT_EQ(view.currentSheet(), doc.pageOfBookPage(3));
}

TEST_F(PrintView, FromZeroPrintsFromTheFirstPageAndPastTheEndIsCut)
{
    choosePortrait = true;
    view.enter();
    selectRange("0", "99");
    EXPECT_EQ(view.fromBox()->text(), "1");
    EXPECT_EQ(view.toBox()->text(), "10");
    EXPECT_EQ(view.sheets(), singleSheets(1, kBookPages));
    // "All Pages" puts the whole book back into the boxes and locks them.
    selectRange("4", "5");
    view.setAllPages(1);
    EXPECT_EQ(view.toBox()->text(), "10");
    EXPECT_FALSE(view.toBox()->isEnabled());
    EXPECT_EQ(view.sheets().size(), 10u);
}

TEST_F(PrintView, BookPagesTwoToFiveOnePerSheetPrintFourPagesWithTheirWords)
{
    choosePortrait = true;
    view.enter();
    selectRange("2", "5");
    const std::vector<PdfPage> pages = printToPdf();
    ASSERT_EQ(pages.size(), 4u);
    for (size_t i = 0; i < pages.size(); ++i) {
        EXPECT_LT(pages[i].width, pages[i].height) << "portrait paper";
        EXPECT_NE(pages[i].text.find(kWords[i + 1]), std::string::npos) << pages[i].text;
        EXPECT_EQ(pages[i].text.find(kWords[0]), std::string::npos);
        EXPECT_EQ(pages[i].text.find(kWords[5]), std::string::npos);
        EXPECT_TRUE(numbersIn(pages[i].text).empty()) << "no numbers were asked for";
    }
    EXPECT_EQ(printDialogs, 1);
}

TEST_F(PrintView, AMarkOnPaperLiesUnderItsTextLikeAHighlighter)
{
    // Book page 2's first line, its fifteen letters, marked in yellow.
    CBookPage& page = bookPage(2);
    page.marks.push_back({rgb(255, 255, 0), 0, 14});
    choosePortrait = true;
    view.enter();
    selectRange("2", "2");
    const std::vector<PdfPage> pages = printToPdf();
    ASSERT_EQ(pages.size(), 1u);
    const std::string png = dir / "page";
    ASSERT_TRUE(pdftext::run("pdftoppm -r 40 -png -singlefile '" + pdfPath + "' '" + png + "'"));
    const QImage paper(QString::fromStdString(png + ".png"));
    ASSERT_FALSE(paper.isNull());
    // The words' ink shows inside the yellow run.
    QRect run;
    for (int y = 0; y < paper.height(); ++y) {
        for (int x = 0; x < paper.width(); ++x) {
            const QColor c = paper.pixelColor(x, y);
            if (c.red() > 200 && c.green() > 200 && c.blue() < 80)
                run |= QRect(x, y, 1, 1);
        }
    }
    ASSERT_GT(run.width(), 20);
    int ink = 0;
    for (int y = run.top(); y <= run.bottom(); ++y) {
        for (int x = run.left(); x <= run.right(); ++x)
            ink += qGray(paper.pixel(x, y)) < 90 ? 1 : 0;
    }
    EXPECT_GT(ink, 10) << "the mark covers its words";
}

TEST_F(PrintView, PrintTagNumbersTheTagsThroughTheWholeBook)
{
    const auto tagOn = [this](int n, double x, double y) {
        auto tag = std::make_unique<PageTag>();
        tag->x = x;
        tag->y = y;
        tag->colour = rgb(255, 255, 0);
        bookPage(n).tags.push_back(std::move(tag));
    };
    tagOn(1, 0.5, 0.5);  // not printed, but counted
    tagOn(2, 0.2, 0.7);
    tagOn(4, 0.1, 0.8);
    tagOn(4, 0.6, 0.9);
    choosePortrait = true;
    view.enter();
    selectRange("2", "5");
    view.setPrintTag(1);
    const std::vector<PdfPage> pages = printToPdf();
    ASSERT_EQ(pages.size(), 4u);
    EXPECT_EQ(numbersIn(pages[0].text), (std::set<int>{2}));
    EXPECT_TRUE(numbersIn(pages[1].text).empty());
    EXPECT_EQ(numbersIn(pages[2].text), (std::set<int>{3, 4}));
    EXPECT_TRUE(numbersIn(pages[3].text).empty());
}

TEST_F(PrintView, AddNumberLabelsEveryPrintedPage)
{
    choosePortrait = true;
    view.enter();
    selectRange("3", "4");
    view.setAddNumber(1);
    view.setPrintIndex(1);
    const std::vector<PdfPage> pages = printToPdf();
    ASSERT_EQ(pages.size(), 4u);  // the two index pages, then book pages 3 and 4
    EXPECT_NE(pages[0].text.find("Index 1"), std::string::npos) << pages[0].text;
    EXPECT_NE(pages[1].text.find("Index 2"), std::string::npos);
    EXPECT_NE(pages[2].text.find("Page 3"), std::string::npos) << pages[2].text;
    EXPECT_NE(pages[3].text.find("Page 4"), std::string::npos);
}

TEST_F(PrintView, ThePageNumberTakesAStripOfItsOwnUnderTheText)
{
    CBookPage& full = bookPage(1);
    full.lines.assign(CBookPage::kLineSlots, "charlie charlie charlie charlie charlie charlie charlie\r\n");
    full.rebuildCells();
    choosePortrait = true;
    view.enter();
    const Rect area = printsheet::pageAreas(paper(), false, 30).front();
    // The strip at the area's left, where every line starts, at the number's height.
    const Rect strip{area.left, area.bottom - 5 - 16, area.left + 30, area.bottom - 5};
    const QImage without = view.preview();
    EXPECT_GT(inkIn(without, strip), 0) << "the last row reaches the bottom";
    view.setAddNumber(1);
    const QImage with = view.preview();
    EXPECT_EQ(inkIn(with, strip), 0);
    EXPECT_GT(inkIn(with, {area.left, area.bottom - 5 - 16, area.right, area.bottom - 5}), 0) << "the number";
}

TEST_F(PrintView, TwoPagesPerSheetPrintLandscapeSheetsOfALeafSideBySide)
{
    view.enter();
    ASSERT_EQ(view.options().pagesPerSheet, 1);
    std::vector<PdfPage> pages = printToPdf();
    ASSERT_EQ(pages.size(), 5u);
    for (size_t i = 0; i < pages.size(); ++i) {
        EXPECT_GT(pages[i].width, pages[i].height) << "landscape paper";
        EXPECT_NE(pages[i].text.find(kWords[2 * i]), std::string::npos) << pages[i].text;
        EXPECT_NE(pages[i].text.find(kWords[2 * i + 1]), std::string::npos) << pages[i].text;
    }
    // A range from the back of a leaf to the front of one: the ends alone.
    selectRange("2", "5");
    EXPECT_EQ(view.sheets(), (std::vector<Sheet>{{5, -1}, {6, 7}, {8, -1}}));
    pages = printToPdf();
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_NE(pages[0].text.find("bravo"), std::string::npos);
    EXPECT_EQ(pages[0].text.find("charlie"), std::string::npos);
    EXPECT_NE(pages[1].text.find("charlie"), std::string::npos);
    EXPECT_NE(pages[1].text.find("delta"), std::string::npos);
    EXPECT_NE(pages[2].text.find("echo"), std::string::npos);
    EXPECT_EQ(pages[2].text.find("foxtrot"), std::string::npos);
}

TEST_F(PrintView, CancellingThePrintDialogPrintsNothingAndPrintingKeepsTheSheetOnShow)
{
    view.enter();
    view.nextSheet();
    const int shown = view.currentSheet();
    pdfPath.clear();
    EXPECT_EQ(view.print(), CPrintView::PrintResult::Cancelled);
    EXPECT_FALSE(std::filesystem::exists(dir / "sheets.pdf"));
    EXPECT_EQ(view.currentSheet(), shown);
    printToPdf();
    EXPECT_EQ(view.currentSheet(), shown);
}

TEST_F(PrintView, PreviousAndNextSheetStopAtTheEnds)
{
    view.enter();  // two pages a sheet: records 4-5, 6-7 ... 12-13
    EXPECT_EQ(view.currentSheet(), 4);
    EXPECT_FALSE(view.hasPreviousSheet());
    view.previousSheet();
    EXPECT_EQ(view.currentSheet(), 4);
    for (int i = 0; i < 10; ++i)
        view.nextSheet();
    EXPECT_EQ(view.currentSheet(), 12);
    EXPECT_FALSE(view.hasNextSheet());
    view.previousSheet();
    EXPECT_EQ(view.currentSheet(), 10);
    EXPECT_EQ(view.sheetOnShow(), (Sheet{10, 11}));
    // The keys of the preview turn sheets as well.
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_PageUp);
    EXPECT_EQ(view.currentSheet(), 8);
    QTest::keyClick(&view, Qt::Key_Right);
    EXPECT_EQ(view.currentSheet(), 10);
}

TEST_F(PrintView, AClickAfterTypingARangeStartsThePreviewAtIt)
{
    view.enter();
    view.setAllPages(0);
    view.nextSheet();
    view.nextSheet();
    EXPECT_EQ(view.currentSheet(), 8);
    view.fromBox()->setText("7");
    view.toBox()->setText("9");
    QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(view.currentSheet(), doc.pageOfBookPage(7));
    EXPECT_EQ(view.sheets(), (std::vector<Sheet>{{10, 11}, {12, -1}}));
}

TEST_F(PrintView, ThePreviewShowsThePaperToScaleOverTheDesk)
{
    choosePortrait = true;
    view.enter();
    const QColor deskColour(0, 100, 0);
    QImage image = view.preview();
    Rect sheet = paper();
    ASSERT_GT(sheet.width(), 0);
    EXPECT_LT(sheet.width(), sheet.height());
    EXPECT_EQ(sheet.top, 10);
    EXPECT_EQ(image.pixelColor(sheet.left - 6, sheet.top + 20), deskColour);
    EXPECT_EQ(image.pixelColor(sheet.left + 10, sheet.top + 10), QColor(Qt::white));  // the margin
    const Rect page = printsheet::pageAreas(sheet, false, 30).front();
    EXPECT_GT(inkIn(image, page), 0);

    // Two pages a sheet: a landscape sheet with text on both halves.
    view.setPagesPerSheet(1);
    image = view.preview();
    sheet = paper();
    EXPECT_GT(sheet.width(), sheet.height());
    const std::vector<Rect> halves = printsheet::pageAreas(sheet, true, 30);
    EXPECT_GT(inkIn(image, halves[0]), 0);
    EXPECT_GT(inkIn(image, halves[1]), 0);
    // On the last sheet of a range ending at a leaf's front the right half stays blank.
    selectRange("5", "5");
    image = view.preview();
    EXPECT_GT(inkIn(image, halves[0]), 0);
    EXPECT_EQ(inkIn(image, halves[1]), 0);
}

TEST_F(PrintView, BlackAndWhiteDropsThePaperColourAndTheInk)
{
    for (int n = 1; n <= kBookPages; ++n) {
        bookPage(n).background = rgb(255, 255, 0);
        bookPage(n).textColour = rgb(0, 0, 255);
    }
    choosePortrait = true;
    view.enter();
    const Rect page = printsheet::pageAreas(paper(), false, 30).front();
    const QPoint blank(page.right - 3, page.bottom - 3);  // below the text
    EXPECT_EQ(view.preview().pixelColor(blank), QColor(255, 255, 0));
    const auto blueInk = [&](const QImage& image) {
        int blue = 0;
        for (int y = page.top; y < page.bottom; ++y) {
            for (int x = page.left; x < page.right; ++x) {
                const QColor c = image.pixelColor(x, y);
                blue += c.blue() > 150 && c.red() < 100 ? 1 : 0;
            }
        }
        return blue;
    };
    EXPECT_GT(blueInk(view.preview()), 0);
    view.setColour(0);
    const QImage plain = view.preview();
    EXPECT_EQ(plain.pixelColor(blank), QColor(Qt::white));
    EXPECT_EQ(blueInk(plain), 0);
    EXPECT_GT(inkIn(plain, page), 0);
}

TEST_F(PrintView, ABookWithoutBookPagesHasNothingToPrint)
{
    CVersaleoDoc empty;  // its four covers
    empty.rebuildIndexPages();
    CPrintView emptyView(empty, desk);
    emptyView.runDialog = [this](QDialog& dialog) { return answer(dialog); };
    emptyView.resize(400, 300);
    emptyView.enter();
    EXPECT_TRUE(emptyView.nothingToPrint());
    EXPECT_EQ(emptyView.fromBox()->text(), "0");
    EXPECT_EQ(emptyView.toBox()->text(), "0");
    EXPECT_FALSE(emptyView.fromBox()->isEnabled());
    emptyView.setAllPages(0);
    EXPECT_FALSE(emptyView.fromBox()->isEnabled());
    // Only the desk shows.
    const QImage image = emptyView.preview();
    EXPECT_EQ(image.pixelColor(200, 150), QColor(0, 100, 0));
    EXPECT_EQ(emptyView.print(), CPrintView::PrintResult::NothingToPrint);
    EXPECT_EQ(printDialogs, 0);
    // The index pages can still be printed.
    emptyView.setPrintIndex(1);
    EXPECT_FALSE(emptyView.nothingToPrint());
    EXPECT_EQ(emptyView.currentSheet(), 2);
}

}  // namespace
