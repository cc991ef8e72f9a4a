// Pages of every script on screen: each character drawn as what its bytes
// say in the code page of the page's font, in its own cell, and copied or
// edited as the reader sees it.
#include "views/SpreadPainter.h"
#include "views/TextCodec.h"

#include "ViewFixture.h"
#include "TagEditor.h"

#include "book/CodePage.h"

#include <QClipboard>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QTest>

#include <cmath>

namespace {

const std::string kBig5 = "\xC1\x63\xC5\xE9\xA4\xA4\xA4\xE5";  // 繁體中文

class PageText : public Views {
protected:
    // The first book page on the right, current, holding these lines in the
    // code page of this character set.
    CBookPage& bookPage(std::vector<std::string> lines, uint8_t charset)
    {
        int c = doc.firstContentPage();
        while (c % 2 == 1 || doc.pages[static_cast<size_t>(c)]->kind() != PageKind::BookPage)
            ++c;
        doc.currentPage = c;
        CBookPage& page = *doc.pages[static_cast<size_t>(c)];
        page.lines = std::move(lines);
        page.rebuildCells();
        page.font.setFaceName(codepage::fromUtf8("宋体"));
        page.font.lfCharSet = charset;
        return page;
    }
    QImage paintedPage()
    {
        QImage image(960, 640, QImage::Format_RGB32);
        painter.compose(image, {});
        return image.copy(painter.pageRects().right.left, painter.pageRects().right.top,
                          painter.pageRects().right.width(), painter.pageRects().right.height());
    }
    SpreadPainter painter{doc, pictures};
};

TEST_F(PageText, ABig5PageIsDrawnAsTheSameTextInGbk)
{
    // A stray lead byte before the line end shows as U+FFFD in either.
    bookPage({kBig5 + "\r\n", "\xAE\xD1 Big5 \xA4\r\n"}, 136);
    const QImage big5 = paintedPage();
    bookPage({codepage::fromUtf8("繁體中文\r\n"), codepage::fromUtf8("書 Big5 ") + "\xB0\r\n"}, 134);
    const QImage gbk = paintedPage();
    EXPECT_EQ(big5, gbk);
    // The character set decides: GBK bytes under a Big5 font are other characters.
    bookPage({codepage::fromUtf8("繁體中文\r\n"), codepage::fromUtf8("書 Big5 ") + "\xB0\r\n"}, 136);
    EXPECT_NE(paintedPage(), gbk);
}

TEST_F(PageText, AnEmojiIsOneGlyphInOneCellAndAMarkOverItCoversThatCell)
{
    CBookPage& page = bookPage({codepage::fromUtf8("a😀b\r\n")}, 0);
    const QImage plain = paintedPage();
    page.marks.push_back(PageMark{rgb(122, 255, 122), 1, 1});
    paintedPage();
    const PageGeometry& geometry = painter.geometryOf(page);
    ASSERT_EQ(geometry.cells.size(), 3u);
    const Rect emoji = geometry.cells[1].rect;
    const double advance = QFontMetricsF(fontFromLogFont(page.font)).horizontalAdvance(QString::fromUtf8("😀"));
    EXPECT_NEAR(emoji.width(), advance, 1.0);
    EXPECT_EQ(geometry.cells[0].rect.right, emoji.left);
    EXPECT_EQ(geometry.cells[2].rect.left, emoji.right);
    ASSERT_EQ(geometry.marks.size(), 1u);
    ASSERT_EQ(geometry.marks[0].size(), 1u);
    EXPECT_EQ(geometry.marks[0][0], emoji);
    // The emoji is drawn in colour inside its cell.
    const Rect right = painter.pageRects().right;
    int coloured = 0;
    for (int x = emoji.left; x < emoji.right; ++x) {
        for (int y = emoji.top; y < emoji.bottom; ++y) {
            const QColor c = plain.pixelColor(x - right.left, y - right.top);
            coloured += c.hsvSaturation() > 128 && c.value() > 128;
        }
    }
    EXPECT_GT(coloured, emoji.width());
}

TEST_F(PageText, CopyingFromABig5PageGivesItsUnicodeText)
{
    bookPage({kBig5 + "\r\n"}, 136);
    two.refresh();
    two.ensureComposed();
    two.modes().textSelection = true;
    QTest::keyClick(&two, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&two, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("繁體中文\r\n"));
}

TEST_F(PageText, ANoteLineOfABig5PageIsEditedAsItIsShown)
{
    int c = doc.firstContentPage();
    c += c % 2;  // a right page
    auto note = doc.createPage(PageKind::NotePage);
    note->lines = {kBig5};
    note->font.lfCharSet = 136;
    CBookPage& page = *note;
    doc.pages.insert(doc.pages.begin() + c, std::move(note));
    doc.currentPage = c;
    two.refresh();
    two.ensureComposed();
    two.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&two));
    const Rect right = two.painter().pageRects().right;
    QTest::mouseClick(&two, Qt::LeftButton, Qt::NoModifier,
                      QPoint(right.left + 100, two.painter().geometryOf(page).lineTops[0] + 4));
    ASSERT_EQ(page.lineEditors.size(), 24u);
    auto* first = static_cast<NoteLineEditor*>(page.lineEditors[0].get())->box();
    EXPECT_EQ(first->text(), QString::fromUtf8("繁體中文"));
    first->insert(QString::fromUtf8("書"));
    two.turnTo(c + 2);
    ASSERT_FALSE(page.lines.empty());
    EXPECT_EQ(page.lines[0], kBig5 + "\xAE\xD1");
}

}  // namespace
