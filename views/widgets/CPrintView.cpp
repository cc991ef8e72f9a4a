#include "CPrintView.h"

#include "views/Canvas.h"
#include "views/SpreadPainter.h"

#include "book/CVersaleoDoc.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>

#include <algorithm>

using printsheet::Sheet;

namespace {

double screenDpi()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen && screen->logicalDotsPerInchX() > 0 ? screen->logicalDotsPerInchX() : 96.0;
}

QSize paintSize(const QPrinter& printer)
{
    return printer.pageLayout().paintRectPixels(printer.resolution()).size();
}

}  // namespace

CPrintView::CPrintView(CVersaleoDoc& doc, PictureSource& pictures, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_pictures(pictures), m_sheetPainter(doc),
      m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    runDialog = [](QDialog& dialog) { return dialog.exec(); };
    auto* from = new QLineEdit(this);
    auto* to = new QLineEdit(this);
    from->hide();
    to->hide();
    setRangeBoxes(from, to);
    m_printer->setPageSize(QPageSize(QPageSize::A4));
    m_printer->setPageOrientation(QPageLayout::Landscape);
    takeSheetSizes();
}

CPrintView::~CPrintView() = default;

void CPrintView::setRangeBoxes(QLineEdit* from, QLineEdit* to)
{
    // The view's own stand-ins go when the bar's boxes come.
    for (QLineEdit* old : {m_from, m_to}) {
        if (old && old->parent() == this && old != from && old != to)
            old->deleteLater();
    }
    m_from = from;
    m_to = to;
    for (QLineEdit* box : {m_from, m_to})
        connect(box, &QLineEdit::editingFinished, this, &CPrintView::readTypedRange);
    writeRange({m_options.from, m_options.to});
    const bool typed = !m_options.allPages && m_doc.bookPageCount() > 0;
    m_from->setEnabled(typed);
    m_to->setEnabled(typed);
}

void CPrintView::takeSheetSizes()
{
    const QSize size = paintSize(*m_printer);
    const bool landscape = m_printer->pageLayout().orientation() == QPageLayout::Landscape;
    m_landscape = landscape ? size : size.transposed();
    m_portrait = landscape ? size.transposed() : size;
}

void CPrintView::enter()
{
    m_printer->setPageSize(QPageSize(QPageSize::A4));
    m_printer->setPageOrientation(QPageLayout::Landscape);
    {
        // Cancelled, the defaults stay: the reader kept A4 landscape.
        QPageSetupDialog setup(m_printer.get(), this);
        runDialog(setup);
    }
    const bool landscape = m_printer->pageLayout().orientation() == QPageLayout::Landscape;
    m_options.pagesPerSheet = landscape ? 1 : 0;
    takeSheetSizes();
    m_background = QImage();
    // The book may have changed since the last time: all pages are all of them now.
    const int bookPages = m_doc.bookPageCount();
    const printsheet::PageRange range = m_options.allPages ? printsheet::PageRange{std::min(1, bookPages), bookPages}
                                                           : readRange();
    m_options.from = range.from;
    m_options.to = range.to;
    writeRange(range);
    m_from->setEnabled(!m_options.allPages && bookPages > 0);
    m_to->setEnabled(!m_options.allPages && bookPages > 0);
    resetSheet();
    update();
    if (stateChanged)
        stateChanged();
}

void CPrintView::refresh()
{
    m_background = QImage();
    const int bookPages = m_doc.bookPageCount();
    if (m_options.allPages)
        writeRange({std::min(1, bookPages), bookPages});
    change({});
    // A book that changed under the preview may have lost the sheet on show.
    if (!m_nothingToPrint && sheetOnShow().first < 0)
        resetSheet();
    update();
}

printsheet::PageRange CPrintView::readRange()
{
    const printsheet::PageRange range = printsheet::readRange(m_from->text().toStdString(), m_to->text().toStdString(),
                                                              m_doc.bookPageCount());
    writeRange(range);
    return range;
}

void CPrintView::writeRange(const printsheet::PageRange& range)
{
    m_from->setText(QString::number(range.from));
    m_to->setText(QString::number(range.to));
}

void CPrintView::change(const std::function<void(printsheet::PrintOptions&)>& edit)
{
    const printsheet::PrintOptions before = m_options;
    printsheet::PrintOptions after = before;
    const printsheet::PageRange range = readRange();
    after.from = range.from;
    after.to = range.to;
    if (edit)
        edit(after);
    const printsheet::Change effect = printsheet::changeEffect(
        before, after, m_nothingToPrint, printsheet::sheetShows(printsheet::recordsOf(m_doc), sheetOnShow()));
    m_options = after;
    switch (effect) {
    case printsheet::Change::ResetSheet:
        resetSheet();
        update();
        break;
    case printsheet::Change::Repaint: update(); break;
    case printsheet::Change::Nothing: break;
    }
    if (stateChanged)
        stateChanged();
}

void CPrintView::setPagesPerSheet(int pagesPerSheet)
{
    change([pagesPerSheet](printsheet::PrintOptions& o) { o.pagesPerSheet = pagesPerSheet ? 1 : 0; });
}

void CPrintView::setColour(int colour)
{
    change([colour](printsheet::PrintOptions& o) { o.colour = colour ? 1 : 0; });
}

void CPrintView::setAllPages(int all)
{
    const int bookPages = m_doc.bookPageCount();
    change([all, bookPages](printsheet::PrintOptions& o) {
        o.allPages = all ? 1 : 0;
        if (all) {
            o.from = std::min(1, bookPages);
            o.to = bookPages;
        }
    });
    if (all)
        writeRange({m_options.from, m_options.to});
    m_from->setEnabled(!all && bookPages > 0);
    m_to->setEnabled(!all && bookPages > 0);
}

void CPrintView::setAddNumber(int on)
{
    change([on](printsheet::PrintOptions& o) { o.addNumber = on ? 1 : 0; });
}

void CPrintView::setPrintTag(int on)
{
    change([on](printsheet::PrintOptions& o) { o.printTag = on ? 1 : 0; });
}

void CPrintView::setPrintNote(int on)
{
    change([on](printsheet::PrintOptions& o) { o.printNote = on ? 1 : 0; });
}

void CPrintView::setPrintIndex(int on)
{
    change([on](printsheet::PrintOptions& o) { o.printIndex = on ? 1 : 0; });
}

void CPrintView::readTypedRange()
{
    change({});
}

std::vector<Sheet> CPrintView::sheets() const
{
    return printsheet::sheetList(printsheet::recordsOf(m_doc), m_options);
}

Sheet CPrintView::sheetOnShow() const
{
    if (m_nothingToPrint)
        return {};
    return printsheet::sheetAt(sheets(), m_current);
}

void CPrintView::resetSheet()
{
    const printsheet::SheetStart start = printsheet::resetSheet(sheets(), m_current);
    m_current = start.current;
    m_nothingToPrint = start.nothingToPrint;
}

bool CPrintView::hasPreviousSheet() const
{
    return !m_nothingToPrint && printsheet::previousSheet(sheets(), m_current) != m_current;
}

bool CPrintView::hasNextSheet() const
{
    return !m_nothingToPrint && printsheet::nextSheet(sheets(), m_current) != m_current;
}

void CPrintView::moveTo(int sheet)
{
    if (sheet != m_current) {
        m_current = sheet;
        update();
    }
    if (stateChanged)
        stateChanged();
}

void CPrintView::previousSheet()
{
    change({});
    if (!m_nothingToPrint)
        moveTo(printsheet::previousSheet(sheets(), m_current));
}

void CPrintView::nextSheet()
{
    change({});
    if (!m_nothingToPrint)
        moveTo(printsheet::nextSheet(sheets(), m_current));
}

CPrintView::PrintResult CPrintView::print()
{
    change({});
    const std::vector<Sheet> list = sheets();
    if (m_nothingToPrint || list.empty())
        return PrintResult::NothingToPrint;
    const bool two = m_options.pagesPerSheet == 1;
    m_printer->setPageOrientation(two ? QPageLayout::Landscape : QPageLayout::Portrait);
    const int count = static_cast<int>(list.size());
    m_printer->setPrintRange(QPrinter::AllPages);
    m_printer->setFromTo(0, 0);
    {
        QPrintDialog dialog(m_printer.get(), this);
        dialog.setMinMax(1, count);
        dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange |
                          QAbstractPrintDialog::PrintCollateCopies | QAbstractPrintDialog::PrintShowPageSize);
        if (runDialog(dialog) != QDialog::Accepted)
            return PrintResult::Cancelled;
    }
    int first = 1, last = count;
    if (m_printer->printRange() == QPrinter::PageRange && m_printer->fromPage() > 0) {
        first = std::clamp(m_printer->fromPage(), 1, count);
        last = std::clamp(std::max(m_printer->toPage(), first), first, count);
    }

    const int remembered = m_current;
    QPainter painter;
    if (!painter.begin(m_printer.get()))
        return PrintResult::Failed;
    const QSize size = paintSize(*m_printer);
    SheetStyle style;
    style.printMode = true;
    style.metrics = printsheet::sheetMetrics(true, m_printer->logicalDpiX(), screenDpi());
    style.twoPages = two;
    style.colour = m_options.colour == 1;
    style.addNumber = m_options.addNumber == 1;
    style.printTag = m_options.printTag == 1;
    bool written = true;
    for (int n = first; n <= last && written; ++n) {
        if (n > first)
            written = m_printer->newPage();
        if (!written)
            break;
        const Sheet& sheet = list[static_cast<size_t>(n - 1)];
        m_current = sheet.first;
        m_sheetPainter.draw(painter, {0, 0, size.width(), size.height()}, sheet, style);
    }
    written = painter.end() && written;
    m_current = remembered;
    return written ? PrintResult::Printed : PrintResult::Failed;
}

const QImage& CPrintView::background()
{
    return cachedBackground(m_background, m_pictures.background(), width(), height());
}

QImage CPrintView::preview()
{
    QImage image(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    QPainter painter(&image);
    painter.drawImage(0, 0, background());
    if (m_nothingToPrint)
        return image;
    const bool two = m_options.pagesPerSheet == 1;
    const QSize sheetSize = two ? m_landscape : m_portrait;
    const Rect sheet = printsheet::previewRect(sheetSize.width(), sheetSize.height(), width(), height());
    if (sheet.width() <= 0 || sheet.height() <= 0)
        return image;
    const QRect paper(sheet.left, sheet.top, sheet.width(), sheet.height());
    // The sheet lies on the desk: a shadow, the paper, its pages, its edge.
    painter.fillRect(paper.translated(4, 4), QColor(0, 0, 0, 90));
    SheetStyle style;
    style.twoPages = two;
    style.colour = m_options.colour == 1;
    style.addNumber = m_options.addNumber == 1;
    style.printTag = m_options.printTag == 1;
    m_sheetPainter.draw(painter, sheet, sheetOnShow(), style);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(paper.adjusted(0, 0, -1, -1));
    return image;
}

void CPrintView::paintEvent(QPaintEvent*)
{
    if (width() <= 0 || height() <= 0)
        return;
    const QImage image = preview();
    QPainter(this).drawImage(0, 0, image);
}

void CPrintView::resizeEvent(QResizeEvent* event)
{
    m_background = QImage();
    QWidget::resizeEvent(event);
}

void CPrintView::mousePressEvent(QMouseEvent* event)
{
    setFocus();
    readTypedRange();
    QWidget::mousePressEvent(event);
}

void CPrintView::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_PageUp:
    case Qt::Key_Left:
    case Qt::Key_Up: previousSheet(); break;
    case Qt::Key_PageDown:
    case Qt::Key_Right:
    case Qt::Key_Down:
    case Qt::Key_Space: nextSheet(); break;
    case Qt::Key_Home:
        if (!m_nothingToPrint && !sheets().empty())
            moveTo(sheets().front().first);
        break;
    case Qt::Key_End:
        if (!m_nothingToPrint && !sheets().empty())
            moveTo(sheets().back().first);
        break;
    default: QWidget::keyPressEvent(event); break;
    }
}
