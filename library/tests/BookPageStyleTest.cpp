#include "library/BookPageStyle.h"

#include "book/BookFile.h"
#include "book/CVersaleoDoc.h"
#include "book/CodePage.h"

#include "views/FontMetrics.h"

#include <QFont>
#include <QFontInfo>

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

// A window whose content is `bookPages` book pages with one note page after
// the first leaf; page n's text colour is n so each page can be told apart.
void fill(CVersaleoDoc& doc, int bookPages)
{
    PageList content;
    for (int n = 1; n <= bookPages; ++n) {
        auto page = doc.createPage(PageKind::BookPage);
        page->textColour = static_cast<COLORREF>(n);
        content.push_back(std::move(page));
        if (n == 2)
            content.push_back(doc.createPage(PageKind::NotePage));
    }
    if (content.size() % 2)
        content.push_back(doc.createPage(PageKind::NotePage));
    doc.insertPages(2, std::move(content));
    doc.rebuildIndexPages();
    doc.modified = 0;
}

BookPageChoice greenOnGrey(const CVersaleoDoc& doc)
{
    BookPageChoice choice = startingChoice(doc, false);
    choice.paper = rgb(200, 200, 200);
    choice.text = rgb(0, 120, 0);
    choice.font.setFaceName("Liberation Serif");
    choice.font.lfWeight = 700;
    choice.picture = 2;
    return choice;
}

std::vector<int> changedPages(const CVersaleoDoc& doc, const BookPageChoice& choice)
{
    std::vector<int> numbers;
    for (int n = 1; n <= doc.bookPageCount(); ++n) {
        const CBookPage& page = *doc.pages[static_cast<size_t>(doc.pageOfBookPage(n))];
        if (page.textColour == choice.text) {
            EXPECT_EQ(page.background, choice.paper);
            EXPECT_EQ(page.font, choice.font);
            EXPECT_EQ(page.pictureNumber, choice.picture);
            numbers.push_back(n);
        }
    }
    return numbers;
}

TEST(BookPageChoice, ItStartsFromTheBookPageStyleOverTheWholeBook)
{
    CVersaleoDoc doc;
    doc.styles.bookPage.background = rgb(1, 2, 3);
    BookPageChoice empty = startingChoice(doc, false);
    EXPECT_EQ(empty.paper, rgb(1, 2, 3));
    EXPECT_EQ(empty.font, doc.styles.bookPage.font);
    EXPECT_EQ(empty.start, 0);
    EXPECT_EQ(empty.end, 0);
    EXPECT_FALSE(rangeMovable(empty));

    fill(doc, 7);
    const BookPageChoice book = startingChoice(doc, false);
    EXPECT_EQ(book.start, 1);
    EXPECT_EQ(book.end, 7);
    EXPECT_EQ(book.picture, 0);
    EXPECT_TRUE(rangeMovable(book));
    EXPECT_FALSE(rangeMovable(startingChoice(doc, true)));
}

TEST(BookPageChoice, ARangeChangesItsBookPagesOnly)
{
    CVersaleoDoc doc;
    fill(doc, 6);
    BookPageChoice choice = greenOnGrey(doc);
    choice.start = 2;
    choice.end = 4;
    const PageStyle before = doc.styles.bookPage;
    EXPECT_EQ(applyBookPageChoice(doc, choice), 3);
    EXPECT_EQ(changedPages(doc, choice), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(doc.modified, 1);
    // the defaults stay, and so does the note page between pages 2 and 3
    EXPECT_EQ(doc.styles.bookPage.background, before.background);
    EXPECT_EQ(doc.styles.bookPage.font, before.font);
    for (const auto& page : doc.pages) {
        if (page->kind() == PageKind::NotePage) {
            EXPECT_EQ(page->background, doc.styles.notePage.background);
        }
    }
}

TEST(BookPageChoice, AReversedRangeAppliesInOrder)
{
    CVersaleoDoc doc;
    fill(doc, 6);
    BookPageChoice choice = greenOnGrey(doc);
    choice.start = 5;
    choice.end = 2;
    EXPECT_EQ(applyBookPageChoice(doc, choice), 4);
    EXPECT_EQ(changedPages(doc, choice), (std::vector<int>{2, 3, 4, 5}));
}

TEST(BookPageChoice, ApplyingToAllPagesChangesEveryBookPageAndTheDefaults)
{
    CVersaleoDoc doc;
    fill(doc, 6);
    BookPageChoice choice = greenOnGrey(doc);
    choice.start = 3;  // whatever the sliders say
    choice.end = 3;
    choice.applyAll = true;
    EXPECT_EQ(applyBookPageChoice(doc, choice), 6);
    EXPECT_EQ(changedPages(doc, choice), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(doc.styles.bookPage.background, choice.paper);
    EXPECT_EQ(doc.styles.bookPage.textColour, choice.text);
    EXPECT_EQ(doc.styles.bookPage.font, choice.font);
    // pages made from now on look the same
    EXPECT_EQ(doc.createPage(PageKind::BookPage)->font, choice.font);

    // a book without book pages still takes the new defaults
    CVersaleoDoc empty;
    choice.start = choice.end = 0;
    EXPECT_EQ(applyBookPageChoice(empty, choice), 0);
    EXPECT_EQ(empty.styles.bookPage.background, choice.paper);
    EXPECT_EQ(empty.modified, 0);
}

TEST(BookPageChoice, ChoosingWhatThePagesAlreadyHaveLeavesTheBookUnmodified)
{
    CVersaleoDoc doc;
    fill(doc, 2);
    BookPageChoice choice = greenOnGrey(doc);
    EXPECT_EQ(applyBookPageChoice(doc, choice), 2);
    doc.modified = 0;
    EXPECT_EQ(applyBookPageChoice(doc, choice), 0);
    EXPECT_EQ(doc.modified, 0);
}

TEST(BookPageChoice, PageStylesSurviveASaveAndReopen)
{
    TestFolder dir;
    CVersaleoDoc doc;
    fill(doc, 4);
    BookPageChoice choice = greenOnGrey(doc);
    choice.font.lfItalic = 1;
    choice.start = 3;
    choice.end = 4;
    applyBookPageChoice(doc, choice);
    ASSERT_TRUE(bookfile::save(doc, dir / "styled.vl"));

    CVersaleoDoc reopened;
    ASSERT_EQ(bookfile::readFile(reopened, dir / "styled.vl"), bookfile::ReadResult::Read);
    reopened.rebuildIndexPages();
    ASSERT_EQ(reopened.bookPageCount(), 4);
    for (int n = 1; n <= 4; ++n) {
        const CBookPage& saved = *doc.pages[static_cast<size_t>(doc.pageOfBookPage(n))];
        const CBookPage& read = *reopened.pages[static_cast<size_t>(reopened.pageOfBookPage(n))];
        EXPECT_EQ(read.background, saved.background) << n;
        EXPECT_EQ(read.textColour, saved.textColour) << n;
        EXPECT_EQ(read.font, saved.font) << n;
        EXPECT_EQ(read.pictureNumber, saved.pictureNumber) << n;
    }
    EXPECT_EQ(reopened.pages[static_cast<size_t>(reopened.pageOfBookPage(4))]->pictureNumber, 2);
    EXPECT_EQ(reopened.pages[static_cast<size_t>(reopened.pageOfBookPage(4))]->font.faceName(), "Liberation Serif");
}

TEST(BookPageFont, ALargerFontSizeKeepsTheHeight)
{
    LOGFONT current = CVersaleoDoc().styles.bookPage.font;
    current.lfCharSet = 134;
    QFont chosen(QStringLiteral("Liberation Serif"));
    chosen.setPixelSize(48);
    chosen.setWeight(QFont::Bold);
    chosen.setItalic(true);
    chosen.setUnderline(true);
    const LOGFONT font = fontWithFaceOf(current, chosen);
    EXPECT_EQ(font.lfHeight, current.lfHeight);
    EXPECT_EQ(font.lfWidth, current.lfWidth);
    EXPECT_EQ(font.faceName(), "Liberation Serif");
    EXPECT_EQ(font.lfWeight, 700);
    EXPECT_EQ(font.lfItalic, 1);
    EXPECT_EQ(font.lfUnderline, 1);
    EXPECT_EQ(font.lfStrikeOut, 0);
    EXPECT_EQ(font.lfCharSet, 134);

    chosen.setItalic(false);
    chosen.setUnderline(false);
    chosen.setStrikeOut(true);
    chosen.setWeight(QFont::Light);
    const LOGFONT plain = fontWithFaceOf(font, chosen);
    EXPECT_EQ(plain.lfItalic, 0);
    EXPECT_EQ(plain.lfUnderline, 0);
    EXPECT_EQ(plain.lfStrikeOut, 1);
    EXPECT_EQ(plain.lfWeight, 300);
}

TEST(BookPageFont, TheFaceTheBookIsShownInKeepsTheBooksName)
{
    // "Arial" shows here as whatever face stands in for it; taking that face
    // back from the font dialog must not rename the book's font.
    LOGFONT arial = CVersaleoDoc().styles.bookPage.font;
    QFont shown(QFontInfo(fontFromLogFont(arial)).family());
    shown.setBold(true);
    const LOGFONT font = fontWithFaceOf(arial, shown);
    EXPECT_EQ(font.faceName(), "Arial");
    EXPECT_EQ(font.lfWeight, 700);
}

TEST(BookPageFont, ALongChineseFaceIsCutBetweenCharacters)
{
    // seventeen characters: 34 bytes in the code page, more than the record holds
    const QString face = QString::fromUtf8("文泉驿微米黑文泉驿微米黑文泉驿微米黑").left(17);
    const LOGFONT font = fontWithFaceOf(LOGFONT{}, QFont(face));
    EXPECT_EQ(font.faceName().size(), 30u);
    EXPECT_EQ(codepage::toUtf8(font.faceName()), face.left(15).toStdString());
}

TEST(PagePictureRemoval, PagesKeepTheirPicturesUnderTheNewNumbers)
{
    CVersaleoDoc doc;
    fill(doc, 4);
    const auto picturesOf = [&doc] {
        std::vector<int> numbers;
        for (int n = 1; n <= doc.bookPageCount(); ++n)
            numbers.push_back(doc.pages[static_cast<size_t>(doc.pageOfBookPage(n))]->pictureNumber);
        return numbers;
    };
    for (int n = 1; n <= 4; ++n)
        doc.pages[static_cast<size_t>(doc.pageOfBookPage(n))]->pictureNumber = n - 1;
    doc.switchWindow(3);
    fill(doc, 2);
    doc.pages[static_cast<size_t>(doc.pageOfBookPage(2))]->pictureNumber = 3;
    doc.switchWindow(1);

    followPictureRemoval(doc, 2);
    EXPECT_EQ(doc.activeWindow(), 1);
    EXPECT_EQ(picturesOf(), (std::vector<int>{0, 1, 0, 2}));
    EXPECT_EQ(doc.modified, 1);
    EXPECT_EQ(doc.window(2).modified, 0);  // nothing of it changed
    EXPECT_EQ(doc.window(3).modified, 1);
    doc.switchWindow(3);
    EXPECT_EQ(picturesOf(), (std::vector<int>{0, 2}));
}

}  // namespace
