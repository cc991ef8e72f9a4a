#include "views/PageInput.h"

#include "ViewFixture.h"
#include "ReaderCursors.h"
#include "TagEditor.h"

#include "book/CodePage.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>

namespace {

using namespace pageinput;

// Three lines of five 10-pixel characters from x = 100, rows 20 apart.
std::unique_ptr<CBookPage> gridPage()
{
    auto owned = std::make_unique<CBookPage>(PageKind::BookPage);
    CBookPage& page = *owned;
    page.lines = {"abcde\r\n", "fghij\r\n", "klmno\r\n"};
    page.rebuildCells();
    return owned;
}

// Where a painter put that page: 16-pixel rows.
PageGeometry gridGeometry()
{
    PageGeometry geometry;
    geometry.lineHeight = 16;
    for (int line = 0; line < 3; ++line) {
        geometry.lineTops[static_cast<size_t>(line)] = 50 + 20 * line;
        for (int k = 0; k < 5; ++k)
            geometry.cells.push_back({line, {100 + 10 * k, 50 + 20 * line, 110 + 10 * k, 66 + 20 * line}});
    }
    return geometry;
}

std::string selectedLetters(const CBookPage& page)
{
    std::string letters;
    for (size_t i = 0; i < page.cells().size(); ++i) {
        if (page.cells()[i].selected)
            letters += static_cast<char>('a' + i);
    }
    return letters;
}

TEST(TagPlacement, TheAnchorKeepsTheTagOnThePage)
{
    const Rect page{40, 30, 480, 620};
    EXPECT_EQ(tagAnchor(page, {479, 619}), (Point{360, 580}));
    EXPECT_EQ(tagAnchor(page, {40, 30}), (Point{60, 60}));
    EXPECT_EQ(tagAnchor(page, {200, 300}), (Point{200, 300}));
    // A new tag remembers its place as fractions that come back to the pixel.
    const auto tag = newTag(page, {479, 619}, rgb(255, 255, 0));
    EXPECT_TRUE(tag->open);
    EXPECT_EQ(tag->colour, rgb(255, 255, 0));
    EXPECT_EQ(tagPoint(*tag, page), (Point{360, 580}));
    // On a wider page the same fractions scale with it.
    EXPECT_EQ(tagPoint(*tag, Rect{0, 0, 880, 1180}).x, 640);
}

TEST(TagPlacement, TheEditorGrowsWithItsLines)
{
    EXPECT_EQ(tagEditorHeight(16, 1), 21);  // 16 x 1.3 + 1
    EXPECT_EQ(tagEditorHeight(16, 2), 41);  // 16 x 2.5 + 1
    EXPECT_EQ(tagEditorHeight(15, 10), 158);
}

TEST(TextSelection, CornersSelectRunsOfLines)
{
    auto owned = gridPage();
    CBookPage& page = *owned;
    const PageGeometry grid = gridGeometry();
    // From the middle of the first line to the middle of the last.
    auto changed = applyTextSelection(page, grid, {125, 45}, {125, 100}, 16, 3);
    EXPECT_EQ(selectedLetters(page), "cdefghijklm");
    EXPECT_EQ(changed.size(), 11u);
    // Dragging upwards swaps the corners: the same cells, nothing changes.
    changed = applyTextSelection(page, grid, {125, 100}, {125, 45}, 16, 3);
    EXPECT_EQ(selectedLetters(page), "cdefghijklm");
    EXPECT_TRUE(changed.empty());
    // Within one line right-to-left is ordered; only what changed is reported.
    changed = applyTextSelection(page, grid, {134, 55}, {112, 60}, 16, 3);
    EXPECT_EQ(selectedLetters(page), "bc");
    EXPECT_EQ(changed.size(), 11u);
    // A line counts only when the drag crosses its middle.
    applyTextSelection(page, grid, {100, 51}, {150, 57}, 16, 3);
    EXPECT_EQ(selectedLetters(page), "");
    // A rectangle covering no line's middle selects nothing.
    applyTextSelection(page, grid, {100, 120}, {150, 130}, 16, 3);
    EXPECT_EQ(selectedLetters(page), "");
}

TEST(MarkDrag, TenPixelsMakeAMarkNineDoNot)
{
    auto owned = gridPage();
    CBookPage& page = *owned;
    PageGeometry grid = gridGeometry();
    EXPECT_EQ(startMarkDrag(grid, {95, 75}, 3).line, -1);  // left of the first character
    EXPECT_EQ(startMarkDrag(grid, {120, 68}, 3).line, -1);  // between the rows
    EXPECT_EQ(startMarkDrag(grid, {120, 71}, 3).line, 1);
    MarkDrag drag = startMarkDrag(grid, {101, 75}, 3);
    ASSERT_EQ(drag.line, 1);
    drag.end = 110;
    EXPECT_FALSE(finishMarkDrag(page, grid, drag, rgb(255, 255, 0)));
    EXPECT_TRUE(page.marks.empty());
    drag.end = 131;  // from the first character over the middles of three
    const auto mark = finishMarkDrag(page, grid, drag, rgb(255, 255, 0));
    ASSERT_TRUE(mark);
    EXPECT_EQ(page.marks[*mark].firstCell, 5);
    EXPECT_EQ(page.marks[*mark].lastCell, 7);
    // Hit where the painter drew its run.
    grid.marks = {{Rect{100, 70, 130, 86}}};
    EXPECT_EQ(markAt(grid, {120, 80}), 0);
    EXPECT_EQ(markAt(grid, {135, 80}), -1);
    EXPECT_EQ(clampToLine(grid, 1, 400), 150);
}

// Saves what the view shows when screenshots are asked for.
void look(QWidget& view, const char* name)
{
    if (const char* out = std::getenv("VERSALEO_SCREENSHOTS"))
        view.grab().save(QString(out) + "/" + name + ".png");
}

void moveWithButton(QWidget* widget, QPoint to)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(to), widget->mapToGlobal(QPointF(to)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
}

void drag(QWidget* widget, QPoint from, QPoint to)
{
    QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, from);
    moveWithButton(widget, (from + to) / 2);
    moveWithButton(widget, to);
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, to);
}

class PageInput : public Views {
protected:
    // An even book page, current in the two-page view, laid out.
    CBookPage& currentBookPage()
    {
        int c = doc.firstContentPage();
        while (c % 2 == 1 || doc.pages[static_cast<size_t>(c)]->kind() != PageKind::BookPage)
            ++c;
        doc.currentPage = c;
        two.refresh();
        two.ensureComposed();
        return *doc.pages[static_cast<size_t>(c)];
    }
    // Where a view last painted the page.
    static const PageGeometry& geo(CBookView& view, const CBookPage& page)
    {
        view.ensureComposed();
        return view.painter().geometryOf(page);
    }
    static std::pair<int, int> lineSpan(CBookView& view, const CBookPage& page, int line)
    {
        const PageGeometry& geometry = geo(view, page);
        const auto [first, last] = lineCells(geometry, line);
        return {geometry.cells[static_cast<size_t>(first)].rect.left, geometry.cells[static_cast<size_t>(last)].rect.right};
    }
};

TEST_F(PageInput, ATagAtTheBottomRightCornerStaysOnThePage)
{
    CBookPage& page = currentBookPage();
    const Rect right = two.painter().pageRects().right;
    two.modes().tagPending = true;
    int changes = 0;
    two.modesChanged = [&] { ++changes; };
    QTest::mouseClick(&two, Qt::LeftButton, Qt::NoModifier, QPoint(right.right - 2, right.bottom - 2));
    ASSERT_EQ(page.tags.size(), 1u);
    EXPECT_EQ(tagPoint(*page.tags[0], right), (Point{right.right - 120, right.bottom - 40}));
    EXPECT_FALSE(two.modes().tagPending);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(doc.modified, 1);
    // The editor opens on the new tag; what is typed there becomes its text.
    auto* editor = two.findChild<TagEditorBox*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->geometry().topLeft(), QPoint(right.right - 120, right.bottom - 40));
    QTest::keyClicks(editor, "milk");
    QTest::keyClick(editor, Qt::Key_Tab);  // ignored
    const int oneLine = editor->height();
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::keyClicks(editor, "eggs");
    EXPECT_GT(editor->height(), oneLine);
    look(two, "tag-editor");
    page.tags[0]->commitEditor();
    EXPECT_EQ(page.tags[0]->line(0), "milk");
    EXPECT_EQ(page.tags[0]->line(1), "eggs");
    EXPECT_FALSE(page.tags[0]->editor);
}

TEST_F(PageInput, TheOnePageViewPlacesTagsOnTheShownPage)
{
    CBookPage& page = currentBookPage();
    one.refresh();
    one.ensureComposed();
    const QPoint shift = one.scrollOffset();
    const Rect right = one.painter().pageRects().right;
    one.modes().tagPending = true;
    QTest::mouseClick(&one, Qt::LeftButton, Qt::NoModifier, QPoint(right.right - 2, right.bottom - 2) - shift);
    ASSERT_EQ(page.tags.size(), 1u);
    EXPECT_EQ(tagPoint(*page.tags[0], right), (Point{right.right - 120, right.bottom - 40}));
    auto* editor = one.findChild<TagEditorBox*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->geometry().topLeft(), QPoint(right.right - 120, right.bottom - 40) - shift);
    // A selection on the shown page lands on its characters.
    one.modes().tagPending = false;
    page.tags[0]->commitEditor();
    one.modes().textSelection = true;
    const auto [left, end] = lineSpan(one, page, 2);
    const PageGeometry wide = geo(one, page);
    drag(&one, QPoint(left, wide.lineTops[2] + 1) - shift, QPoint(end, wide.lineTops[3] + wide.lineHeight - 1) - shift);
    for (size_t i = 0; i < page.cells().size(); ++i)
        EXPECT_EQ(page.cells()[i].selected != 0, wide.cells[i].line == 2 || wide.cells[i].line == 3);
    look(one, "one-page-selection");
}

TEST_F(PageInput, ATagHoldsTenLinesAtMost)
{
    CBookPage& page = currentBookPage();
    const Rect right = two.painter().pageRects().right;
    two.modes().tagPending = true;
    QTest::mouseClick(&two, Qt::LeftButton, Qt::NoModifier, QPoint(right.left + 100, right.top + 100));
    auto* editor = two.findChild<TagEditorBox*>();
    ASSERT_NE(editor, nullptr);
    for (int i = 0; i < 12; ++i) {
        QTest::keyClicks(editor, "x");
        QTest::keyClick(editor, Qt::Key_Return);
    }
    // Each Return past the tenth line is taken back, so the last x's gather.
    EXPECT_EQ(editor->document()->blockCount(), 10);
    page.tags[0]->commitEditor();
    EXPECT_EQ(page.tags[0]->line(8), "x");
    EXPECT_EQ(page.tags[0]->line(9), "xxx");
}

TEST_F(PageInput, TagTextIsNeverCutSilently)
{
    CBookPage& page = currentBookPage();
    const Rect right = two.painter().pageRects().right;
    // What the box shows, line by line, in page bytes.
    const auto shown = [](const TagEditorBox& box) {
        std::vector<std::string> lines;
        for (const QString& line : box.shownLines())
            lines.push_back(codepage::fromUtf8(line.toStdString()));
        return lines;
    };
    const auto stored = [](const PageTag& tag, size_t count) {
        std::vector<std::string> lines;
        for (size_t k = 0; k < count; ++k)
            lines.push_back(tag.line(k));
        return lines;
    };
    const auto placeTag = [&](int y) -> TagEditorBox* {
        two.modes().tagPending = true;
        QTest::mouseClick(&two, Qt::LeftButton, Qt::NoModifier, QPoint(right.left + 100, y));
        auto* box = static_cast<TagEditor*>(page.tags.back()->editor.get())->box();
        EXPECT_NE(box, nullptr);
        return box;
    };

    // A sentence wraps at the box's width; each shown line is a stored line.
    TagEditorBox* box = placeTag(right.top + 100);
    QTest::keyClicks(box, "Remember the garden party on Sunday with cake");
    const std::vector<std::string> wrapped = shown(*box);
    ASSERT_GT(wrapped.size(), 1u);
    look(two, "tag-wrapping");
    page.tags.back()->commitEditor();
    EXPECT_EQ(stored(*page.tags.back(), wrapped.size()), wrapped);
    two.refresh();
    look(two, "tag-wrapped");

    // Thirty narrow letters fit the box but fill the line: the next is refused.
    box = placeTag(right.top + 250);
    QTest::keyClicks(box, QString(40, QChar('i')));
    std::vector<std::string> lines = shown(*box);
    for (const std::string& line : lines)
        EXPECT_LE(line.size(), PageTag::kSlot);
    page.tags.back()->commitEditor();
    EXPECT_EQ(stored(*page.tags.back(), lines.size()), lines);
    EXPECT_EQ(page.tags.back()->line(0), std::string(30, 'i'));

    // Two-byte characters count as two; a paste keeps only what the tag holds.
    box = placeTag(right.top + 400);
    QString pasted;
    for (int i = 0; i < 400; ++i)
        pasted += i % 3 == 2 ? QChar(' ') : QChar(0x6C34);  // "水水 " over and over
    QGuiApplication::clipboard()->setText(pasted);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    lines = shown(*box);
    EXPECT_FALSE(lines.empty());
    EXPECT_LE(lines.size(), PageTag::kLines);
    size_t total = 0;
    for (const std::string& line : lines) {
        EXPECT_LE(line.size(), PageTag::kSlot);
        total += line.size() + 2;
    }
    EXPECT_LE(total - 2, static_cast<size_t>(TagEditorBox::kByteLimit));
    EXPECT_TRUE(box->toPlainText().size() > 20);  // not refused whole
    page.tags.back()->commitEditor();
    EXPECT_EQ(stored(*page.tags.back(), lines.size()), lines);
    // Opened again, it shows the same lines.
    two.ensureComposed();
    const Rect tagBox = two.painter().geometryOf(page).tagBoxes.back();
    QTest::mouseClick(&two, Qt::LeftButton, Qt::NoModifier, QPoint(tagBox.left + 50, tagBox.top + 5));
    ASSERT_TRUE(page.tags.back()->editor);
    EXPECT_EQ(shown(*static_cast<TagEditor*>(page.tags.back()->editor.get())->box()), lines);
}

TEST_F(PageInput, ATagEditedThenCommittedByTheFrameMarksTheBookModified)
{
    CBookPage& page = currentBookPage();
    const Rect right = two.painter().pageRects().right;
    two.modes().tagPending = true;
    QTest::mouseClick(&two, Qt::LeftButton, Qt::NoModifier, QPoint(right.left + 100, right.top + 100));
    ASSERT_EQ(page.tags.size(), 1u);
    page.tags[0]->commitEditor();
    const auto openBox = [&] {
        two.ensureComposed();
        const Rect box = two.painter().geometryOf(page).tagBoxes.at(0);
        QTest::mouseClick(&two, Qt::LeftButton, Qt::NoModifier, QPoint(box.left + 50, box.top + 5));
        EXPECT_TRUE(page.tags[0]->editor);
        return static_cast<TagEditor*>(page.tags[0]->editor.get())->box();
    };
    // Opened and committed unchanged: nothing to save.
    doc.modified = 0;
    openBox();
    doc.commitSpreadEditors();
    EXPECT_EQ(doc.modified, 0);
    // Typed into, then committed by a close or a command (the box keeps the
    // focus): the book has changes to save.
    QTest::keyClicks(openBox(), "bread");
    doc.commitSpreadEditors();
    EXPECT_EQ(page.tags[0]->line(0), "bread");
    EXPECT_EQ(doc.modified, 1);
}

TEST_F(PageInput, TextFromAnInputMethodIsHeldToTheTagsLimits)
{
    CBookPage& page = currentBookPage();
    const Rect right = two.painter().pageRects().right;
    two.modes().tagPending = true;
    QTest::mouseClick(&two, Qt::LeftButton, Qt::NoModifier, QPoint(right.left + 100, right.top + 100));
    ASSERT_EQ(page.tags.size(), 1u);
    auto* box = static_cast<TagEditor*>(page.tags[0]->editor.get())->box();
    const auto commitText = [&](const QString& text) {
        QInputMethodEvent event;
        event.setCommitString(text);
        QCoreApplication::sendEvent(box, &event);
    };
    commitText(QString(2, QChar(0x6C34)));  // two characters fit
    EXPECT_EQ(box->toPlainText(), QString(2, QChar(0x6C34)));
    // A phrase past ten lines of 30 bytes is taken back, as a keystroke is.
    commitText(QString(400, QChar(0x6C34)));
    EXPECT_TRUE(TagEditorBox::fitsTag(box->shownLines()));
    EXPECT_EQ(box->toPlainText(), QString(2, QChar(0x6C34)));
}

TEST_F(PageInput, AClickOutsideThePageGivesUpThePendingTag)
{
    CBookPage& page = currentBookPage();
    two.modes().tagPending = true;
    QTest::mouseClick(&two, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_FALSE(two.modes().tagPending);
    EXPECT_TRUE(page.tags.empty());
}

TEST_F(PageInput, MarkDragsOfNineAndTenPixels)
{
    CBookPage& page = currentBookPage();
    doc.modified = 0;
    two.modes().markMode = true;
    const int y = geo(two, page).lineTops[2] + geo(two, page).lineHeight / 2;
    const int left = lineSpan(two, page, 2).first + 2;
    drag(&two, QPoint(left, y), QPoint(left + 9, y));
    EXPECT_TRUE(page.marks.empty());
    EXPECT_EQ(doc.modified, 0);
    drag(&two, QPoint(left, y), QPoint(left + 10, y));
    ASSERT_EQ(page.marks.size(), 1u);
    EXPECT_EQ(geo(two, page).cells[static_cast<size_t>(page.marks[0].firstCell)].line, 2);
    EXPECT_EQ(page.marks[0].colour, doc.styles.markColour);
    EXPECT_EQ(doc.modified, 1);
    // Repainted, the mark is drawn where its characters are.
    two.ensureComposed();
    const PageGeometry painted = geo(two, page);
    ASSERT_EQ(painted.marks.size(), 1u);
    ASSERT_FALSE(painted.marks[0].empty());
    EXPECT_EQ(painted.marks[0][0].top, painted.cells[static_cast<size_t>(page.marks[0].firstCell)].rect.top);
}

TEST_F(PageInput, ASelectedLineGoesToTheClipboard)
{
    CBookPage& page = currentBookPage();
    two.modes().textSelection = true;
    const auto [left, right] = lineSpan(two, page, 1);
    // From above the line's middle to below it, start to end.
    const PageGeometry& painted = geo(two, page);
    const int top = painted.lineTops[1], height = painted.lineHeight;
    drag(&two, QPoint(left, top + 1), QPoint(right, top + height - 1));
    std::string expected = page.lines[1];
    expected.erase(expected.find_last_not_of(" \r\n") + 1);
    expected.erase(0, expected.find_first_not_of(' '));
    QTest::keyClick(&two, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), expected + "\r\n");
    look(two, "text-selection");
    // Only line 1's cells are selected, and the selection shows inverted.
    for (const CharCell& cell : page.cells())
        EXPECT_EQ(cell.selected != 0, cell.line == 1);
    // Select all takes every line; Esc leaves nothing selected.
    QTest::keyClick(&two, Qt::Key_A, Qt::ControlModifier);
    const PageGeometry shown = geo(two, page);
    for (size_t i = 0; i < page.cells().size(); ++i)
        EXPECT_TRUE(shown.cells[i].rect.width() <= 0 || page.cells()[i].selected) << i;
    QTest::keyClick(&two, Qt::Key_Escape);
    EXPECT_TRUE(std::none_of(page.cells().begin(), page.cells().end(), [](const CharCell& c) { return c.selected; }));
}

TEST_F(PageInput, ABitmapSelectionCopiesWhatTheWindowShows)
{
    currentBookPage();
    two.modes().bitmapSelection = true;
    const Rect right = two.painter().pageRects().right;
    drag(&two, QPoint(right.left + 10, right.top + 10), QPoint(right.left + 60, right.top + 40));
    ASSERT_TRUE(two.bitmapSelection());
    QTest::keyClick(&two, Qt::Key_C, Qt::ControlModifier);
    const QImage copied = QGuiApplication::clipboard()->image();
    EXPECT_EQ(copied.size(), QSize(49, 29));  // shrunk by a pixel on every side
    // Dragged up and to the left it is the same selection, framed in the page.
    drag(&two, QPoint(right.left + 60, right.top + 40), QPoint(right.left + 10, right.top + 10));
    QTest::keyClick(&two, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(49, 29));
    QImage spread(two.size(), QImage::Format_RGB32);
    two.painter().compose(spread, two.options());
    EXPECT_EQ(spread.pixelColor(right.left + 10, right.top + 10), QColor(Qt::black));
    EXPECT_EQ(spread.pixelColor(right.left + 13, right.top + 10), QColor(Qt::white));
    // A selection under 5 by 5 copies nothing.
    QGuiApplication::clipboard()->clear();
    drag(&two, QPoint(right.left + 10, right.top + 10), QPoint(right.left + 14, right.top + 14));
    QTest::keyClick(&two, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(QGuiApplication::clipboard()->image().isNull());
}

TEST_F(PageInput, AClickOnAMarkSelectsItAndDeleteRemovesIt)
{
    CBookPage& page = currentBookPage();
    two.modes().markMode = true;
    const int y = geo(two, page).lineTops[3] + geo(two, page).lineHeight / 2;
    const int left = lineSpan(two, page, 3).first + 2;
    drag(&two, QPoint(left, y), QPoint(left + 40, y));
    ASSERT_EQ(page.marks.size(), 1u);
    two.modes().markMode = false;
    two.ensureComposed();
    QTest::mouseClick(&two, Qt::LeftButton, Qt::NoModifier, QPoint(left + 20, y));
    EXPECT_EQ(two.selectedMark(), 0);
    look(two, "selected-mark");
    QTest::keyClick(&two, Qt::Key_Delete);
    EXPECT_TRUE(page.marks.empty());
    EXPECT_EQ(two.selectedMark(), -1);
}

TEST_F(PageInput, TurningThePageLetsGoOfTheSelectedMark)
{
    CBookPage& page = currentBookPage();
    const int c = doc.currentPage;
    CBookPage& next = *doc.pages[static_cast<size_t>(c) + 2];
    ASSERT_EQ(next.kind(), PageKind::BookPage);
    next.marks.push_back(PageMark{doc.styles.markColour, 0, 3});
    two.modes().markMode = true;
    const int y = geo(two, page).lineTops[3] + geo(two, page).lineHeight / 2;
    const int left = lineSpan(two, page, 3).first + 2;
    drag(&two, QPoint(left, y), QPoint(left + 40, y));
    two.modes().markMode = false;
    QTest::mouseClick(&two, Qt::LeftButton, Qt::NoModifier, QPoint(left + 20, y));
    ASSERT_EQ(two.selectedMark(), 0);
    // Turned with a key, the next page's first mark is not the one selected.
    QTest::keyClick(&two, Qt::Key_Left);
    ASSERT_EQ(doc.currentPage, c + 2);
    EXPECT_EQ(two.selectedMark(), -1);
    QTest::keyClick(&two, Qt::Key_Delete);
    EXPECT_EQ(next.marks.size(), 1u);
    EXPECT_EQ(page.marks.size(), 1u);
}

TEST_F(PageInput, ASelectedMarkIsForgottenWhenAnotherBookComesIntoTheWindow)
{
    CBookPage& page = currentBookPage();
    two.modes().markMode = true;
    const int y = geo(two, page).lineTops[3] + geo(two, page).lineHeight / 2;
    const int left = lineSpan(two, page, 3).first + 2;
    drag(&two, QPoint(left, y), QPoint(left + 40, y));
    two.modes().markMode = false;
    QTest::mouseClick(&two, Qt::LeftButton, Qt::NoModifier, QPoint(left + 20, y));
    ASSERT_EQ(two.selectedMark(), 0);

    // Another window shows a page of the same number with a mark of its own,
    // as a window switch, Close Window or an open would leave it.
    const int c = doc.currentPage;
    doc.switchWindow(2);
    for (int i = 0; i <= c + 1; ++i)
        doc.pages.push_back(doc.createPage(PageKind::BookPage));
    doc.currentPage = c;
    CBookPage& other = *doc.pages[static_cast<size_t>(c)];
    other.lines = {"words of the other book"};
    other.rebuildCells();
    other.marks.push_back(PageMark{doc.styles.markColour, 0, 3});
    two.refresh();
    EXPECT_EQ(two.selectedMark(), -1);
    QTest::keyClick(&two, Qt::Key_Delete);
    two.deleteSelectedItem();
    EXPECT_EQ(other.marks.size(), 1u) << "a mark of another book was deleted";

    doc.switchWindow(1);
    two.refresh();
    EXPECT_EQ(page.marks.size(), 1u);
}

TEST_F(PageInput, RightClicksPickThePopupAndSelectWhatIsUnderThePointer)
{
    CBookPage& page = currentBookPage();
    const Rect right = two.painter().pageRects().right;
    two.modes().markMode = true;
    const int y = geo(two, page).lineTops[4] + geo(two, page).lineHeight / 2;
    const int left = lineSpan(two, page, 4).first + 2;
    drag(&two, QPoint(left, y), QPoint(left + 40, y));
    EXPECT_EQ(two.contextMenuAt({left + 20, y}), 0);  // nothing in mark mode
    two.modes().markMode = false;
    two.modes().tagPending = true;
    QTest::mouseClick(&two, Qt::LeftButton, Qt::NoModifier, QPoint(right.left + 150, right.top + 300));
    page.tags[0]->commitEditor();
    two.ensureComposed();

    std::vector<int> popups;
    two.popupMenu = [&](int menu, QPoint) { popups.push_back(menu); };
    QTest::mouseClick(&two, Qt::RightButton, Qt::NoModifier, QPoint(left + 20, y));
    QContextMenuEvent onMark(QContextMenuEvent::Mouse, QPoint(left + 20, y), two.mapToGlobal(QPoint(left + 20, y)));
    QCoreApplication::sendEvent(&two, &onMark);
    EXPECT_EQ(popups, std::vector<int>{36});
    EXPECT_EQ(two.selectedMark(), 0);
    EXPECT_EQ(two.contextMenuAt({right.left + 160, right.top + 295}), 37);  // the tag's rod
    EXPECT_EQ(two.selectedMark(), 0);  // asking selects nothing
    two.rightClickAt({right.left + 160, right.top + 295}, {});
    EXPECT_EQ(two.selectedTag(), 0);
    EXPECT_EQ(two.selectedMark(), -1);
    EXPECT_EQ(two.contextMenuAt({right.left + 200, right.top + 200}), -1);  // the window's own menu
    EXPECT_EQ(two.contextMenuAt({3, 3}), -1);
    two.modes().textSelection = true;
    EXPECT_EQ(two.contextMenuAt({right.left + 200, right.top + 200}), 38);
    two.modes().textSelection = false;
    // The help window's pages keep their marks.
    two.modes().helpWindowActive = true;
    EXPECT_EQ(two.contextMenuAt({left + 20, y}), -1);
    two.rightClickAt({left + 20, y}, {});
    EXPECT_EQ(two.selectedMark(), -1);
    EXPECT_EQ(popups, std::vector<int>({36, 37}));
}

TEST_F(PageInput, ARightClickOnTheFacingPageMakesItCurrent)
{
    currentBookPage();
    const int c = doc.currentPage;
    const Rect left = two.painter().pageRects().left;
    EXPECT_EQ(two.contextMenuAt({left.left + 100, left.top + 100}), -1);
    EXPECT_EQ(doc.currentPage, c);  // asking turns nothing
    const QPoint on(left.left + 100, left.top + 100);
    QContextMenuEvent click(QContextMenuEvent::Mouse, on, two.mapToGlobal(on));
    QCoreApplication::sendEvent(&two, &click);
    EXPECT_EQ(doc.currentPage, c - 1);
    EXPECT_FALSE(click.isAccepted());  // the window's own menu follows
}

TEST_F(PageInput, ThePointerShowsWhatAClickWouldDo)
{
    currentBookPage();
    const int c = doc.currentPage;
    one.refresh();
    one.ensureComposed();
    // One-page view, a right page shown from W - 80.
    const int shift = one.scrollOffset().x();
    const Rect right = one.painter().pageRects().right;
    const Rect left = one.painter().pageRects().left;
    EXPECT_EQ(one.cursorIdAt({right.right - 5, 300}), 150);
    EXPECT_EQ(one.cursorIdAt({right.left + 100, 300}), 0);
    EXPECT_EQ(one.cursorIdAt({left.right - 10, 300}), 158);  // the spine strip
    EXPECT_GT(left.right - 10, shift);                     // which the window shows
    one.modes().markMode = true;
    EXPECT_EQ(one.cursorIdAt({right.left + 100, 300}), 155);
    one.modes().markMode = false;
    one.modes().textSelection = true;
    EXPECT_EQ(one.cursorIdAt({right.left + 100, 300}), 163);
    one.modes().textSelection = false;
    // Two-page view: the left page's flip zone turns back.
    doc.currentPage = c + 2;  // a spread of two book pages
    two.refresh();
    two.ensureComposed();
    const Rect twoLeft = two.painter().pageRects().left;
    EXPECT_EQ(two.cursorIdAt({twoLeft.left + 5, 300}), 151);
    EXPECT_EQ(two.cursorIdAt({twoLeft.right - 10, 300}), 0);  // no spine strips here
}

TEST_F(PageInput, PassingOverAnIndexPageKeepsMarkMode)
{
    doc.currentPage = 2;  // an index page, on the right
    two.refresh();
    two.ensureComposed();
    int changes = 0;
    two.modesChanged = [&] { ++changes; };
    const Rect right = two.painter().pageRects().right;
    for (const bool tag : {false, true}) {
        two.modes().markMode = !tag;
        two.modes().tagPending = tag;
        // Over the index the pointer shows what a click does there: the flip
        // zone turns, an empty row does nothing.
        EXPECT_EQ(two.cursorIdAt({right.right - 5, 300}), 150) << tag;
        EXPECT_EQ(two.cursorIdAt({right.left + 100, 300}), 0) << tag;
        QMouseEvent move(QEvent::MouseMove, QPointF(right.left + 100, 300), two.mapToGlobal(QPointF(right.left + 100, 300)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&two, &move);
        EXPECT_EQ(two.modes().markMode, !tag);
        EXPECT_EQ(two.modes().tagPending, tag);
        EXPECT_EQ(changes, 0);
    }
    // A click there places no tag on the index page; it gives the tag up.
    QTest::mouseClick(&two, Qt::LeftButton, Qt::NoModifier, QPoint(right.left + 100, 300));
    EXPECT_TRUE(doc.pages[2]->tags.empty());
    EXPECT_FALSE(two.modes().tagPending);
    // Mark mode waits for a book page; the flip zone still turns.
    two.modes().tagPending = false;
    two.modes().markMode = true;
    QTest::mouseClick(&two, Qt::LeftButton, Qt::NoModifier, QPoint(right.right - 5, 300));
    EXPECT_EQ(doc.currentPage, 4);
    EXPECT_TRUE(two.modes().markMode);
    ASSERT_EQ(doc.pages[4]->kind(), PageKind::BookPage);
    two.ensureComposed();
    const Rect now = two.painter().pageRects().right;
    EXPECT_EQ(two.cursorIdAt({now.left + 100, 300}), 155);
}

TEST(ReaderCursors, EveryShapeIsDrawnAndUnknownIdsAreTheArrow)
{
    for (const int id : {150, 151, 152, 153, 154, 155, 156, 157, 158, 160, 163, 164}) {
        const QImage picture = readerCursorPicture(id).toImage();
        ASSERT_EQ(picture.size(), QSize(32, 32)) << id;
        int inked = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                inked += qAlpha(picture.pixel(x, y)) > 0;
        EXPECT_GT(inked, 20) << id;
        EXPECT_EQ(readerCursor(id).shape(), Qt::BitmapCursor);
    }
    EXPECT_EQ(readerCursor(0).shape(), Qt::ArrowCursor);
    EXPECT_EQ(readerCursor(159).shape(), Qt::ArrowCursor);
    if (const char* out = std::getenv("VERSALEO_SCREENSHOTS")) {
        QImage sheet(12 * 72, 72, QImage::Format_RGB32);
        sheet.fill(QColor(255, 176, 255));
        QPainter painter(&sheet);
        int k = 0;
        for (const int id : {150, 151, 152, 153, 154, 155, 156, 157, 158, 160, 163, 164})
            painter.drawPixmap(QRect(k++ * 72 + 4, 4, 64, 64), readerCursorPicture(id));
        painter.end();
        sheet.save(QString(out) + "/cursors.png");
    }
    // Mirror shapes differ.
    EXPECT_NE(readerCursorPicture(150).toImage(), readerCursorPicture(151).toImage());
    EXPECT_NE(readerCursorPicture(157).toImage(), readerCursorPicture(158).toImage());
}

TEST_F(PageInput, TheBookOutlineHoldsPagesEdgesAndSpineButNotTheBackground)
{
    currentBookPage();
    int outlines = 0;
    two.outlineChanged = [&] { ++outlines; };
    two.grab();
    const QRegion book = two.bookRegion();
    const Rect right = two.painter().pageRects().right;
    const Rect left = two.painter().pageRects().left;
    EXPECT_TRUE(book.contains(QPoint(right.left + 100, right.top + 100)));
    EXPECT_TRUE(book.contains(QPoint(left.left + 100, left.top + 100)));
    EXPECT_TRUE(book.contains(QPoint(right.right + 3, right.top + 100)));  // an edge layer
    EXPECT_TRUE(book.contains(QPoint(two.width() / 2, right.top - 6)));    // the spine's head
    EXPECT_FALSE(book.contains(QPoint(3, 3)));
    EXPECT_FALSE(book.contains(QPoint(two.width() - 3, two.height() - 3)));
    // Turning to where the book is thinner on one side changes the shape.
    const int before = outlines;
    two.turnTo(doc.pageCount() - 1);
    two.grab();
    EXPECT_GT(outlines, before);
}

TEST_F(PageInput, AnIndexEntryTurnsToThePageItNames)
{
    // An entry on the fourth book page; index pages are records 2 and 3.
    const int target = doc.pageOfBookPage(4);
    ASSERT_GT(target, 0);
    auto entry = std::make_unique<IndexEntry>();
    entry->setTitle("Garden");
    doc.pages[static_cast<size_t>(target)]->indexEntries.push_back(std::move(entry));
    doc.rebuildIndexPages();
    const int turned = doc.pageOfBookPage(4);
    doc.currentPage = 2;  // the first index page, on the right
    two.refresh();
    two.ensureComposed();
    const CBookPage& index = *doc.pages[2];
    const Rect right = two.painter().pageRects().right;
    // Within 30 pixels of the side nothing happens; in the first row it turns.
    QTest::mouseClick(&two, Qt::LeftButton, Qt::NoModifier, QPoint(right.left + 29, geo(two, index).lineTops[1] + 3));
    EXPECT_EQ(doc.currentPage, 2);
    QTest::mouseClick(&two, Qt::LeftButton, Qt::NoModifier, QPoint(right.left + 100, geo(two, index).lineTops[2] + 3));
    EXPECT_EQ(doc.currentPage, 2);  // the second row is empty
    QTest::mouseClick(&two, Qt::LeftButton, Qt::NoModifier, QPoint(right.left + 100, geo(two, index).lineTops[1] + 3));
    EXPECT_EQ(doc.currentPage, turned);
}

TEST_F(PageInput, ANotePageIsEditedLineByLine)
{
    int c = doc.firstContentPage();
    c += c % 2;  // a right page
    auto note = doc.createPage(PageKind::NotePage);
    note->lines = {"first thought", "second thought"};
    CBookPage& page = *note;
    doc.pages.insert(doc.pages.begin() + c, std::move(note));
    doc.currentPage = c;
    two.refresh();
    two.ensureComposed();
    const Rect right = two.painter().pageRects().right;
    two.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&two));
    QTest::mouseClick(&two, Qt::LeftButton, Qt::NoModifier, QPoint(right.left + 100, geo(two, page).lineTops[1] + 4));
    ASSERT_EQ(page.lineEditors.size(), 24u);
    auto* second = static_cast<NoteLineEditor*>(page.lineEditors[1].get())->box();
    EXPECT_TRUE(second->hasFocus());
    EXPECT_EQ(second->text(), "second thought");
    EXPECT_EQ(second->cursorPosition(), second->text().size());
    QTest::keyClick(second, Qt::Key_Tab);  // ignored
    QTest::keyClicks(second, "!");
    QTest::keyClick(second, Qt::Key_Return);
    auto* third = static_cast<NoteLineEditor*>(page.lineEditors[2].get())->box();
    EXPECT_TRUE(third->hasFocus());
    QTest::keyClicks(third, "a third");
    QTest::keyClick(third, Qt::Key_Up);
    EXPECT_TRUE(second->hasFocus());
    // The first line's Up only edits; turning the page reads the lines back.
    auto* first = static_cast<NoteLineEditor*>(page.lineEditors[0].get())->box();
    first->setFocus();
    QTest::keyClick(first, Qt::Key_Up);
    EXPECT_TRUE(first->hasFocus());
    two.turnTo(c + 2);
    EXPECT_TRUE(page.lineEditors.empty());
    ASSERT_GE(page.lines.size(), 3u);
    EXPECT_EQ(page.lines[0], "first thought");
    EXPECT_EQ(page.lines[1], "second thought!");
    EXPECT_EQ(page.lines[2], "a third");
}

}  // namespace
