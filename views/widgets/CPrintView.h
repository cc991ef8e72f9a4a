// The print mode of the main window: a preview of one printed sheet at a
// time, drawn to scale over the background, and the print loop behind it.
// The print bar's options and its two range boxes are read and written here;
// the rules they follow are views/PrintSheets.h, the drawing SheetPainter.
#pragma once

#include "views/PrintSheets.h"
#include "views/SheetPainter.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class CVersaleoDoc;
class PictureSource;
class QDialog;
class QLineEdit;
class QPrinter;

class CPrintView : public QWidget {
    Q_OBJECT

public:
    CPrintView(CVersaleoDoc& doc, PictureSource& pictures, QWidget* parent = nullptr);
    ~CPrintView() override;

    // The bar's "from" and "to" boxes (the view has hidden ones of its own
    // until the bar hands over its boxes).
    void setRangeBoxes(QLineEdit* from, QLineEdit* to);
    QLineEdit* fromBox() const { return m_from; }
    QLineEdit* toBox() const { return m_to; }

    // Entering print mode: the printer's defaults become A4 landscape, the
    // page set-up dialog runs, and what the reader kept there sets pages per
    // sheet (landscape two, portrait one) and the two sheet sizes. The
    // preview starts at the first sheet.
    void enter();
    // After the book or the pictures changed: the range is read anew and the
    // preview repainted.
    void refresh();

    // The bar's controls, each an option changed by the rules of the options.
    void setPagesPerSheet(int pagesPerSheet);  // "One Page" 0, "Two Page" 1
    void setColour(int colour);                // "Color" 1, "Black White" 0
    void setAllPages(int all);                 // "All Pages" 1, "Selected Pages" 0
    void setAddNumber(int on);
    void setPrintTag(int on);
    void setPrintNote(int on);
    void setPrintIndex(int on);
    // The range as typed, read again (a finished edit, a click in the view).
    void readTypedRange();

    // The print-mode commands.
    enum class PrintResult { Printed, Cancelled, NothingToPrint, Failed };
    PrintResult print();
    void previousSheet();
    void nextSheet();
    bool hasPreviousSheet() const;
    bool hasNextSheet() const;

    const printsheet::PrintOptions& options() const { return m_options; }
    int currentSheet() const { return m_current; }
    bool nothingToPrint() const { return m_nothingToPrint; }
    // The sheets the options select, and the one the preview shows.
    std::vector<printsheet::Sheet> sheets() const;
    printsheet::Sheet sheetOnShow() const;
    QSize landscapeSheet() const { return m_landscape; }
    QSize portraitSheet() const { return m_portrait; }
    QPrinter& printer() { return *m_printer; }

    // What the window shows: background, the sheet to scale, its pages.
    QImage preview();

    // Runs the page set-up and print dialogs; tests answer them.
    std::function<int(QDialog& dialog)> runDialog;
    // The options, the sheet on show or the range boxes changed.
    std::function<void()> stateChanged;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Reads the range (as the rules of every action say), applies `edit` to
    // the options and repaints or starts the preview anew as the change asks.
    void change(const std::function<void(printsheet::PrintOptions&)>& edit);
    printsheet::PageRange readRange();
    void writeRange(const printsheet::PageRange& range);
    void resetSheet();
    void moveTo(int sheet);
    void takeSheetSizes();
    const QImage& background();

    CVersaleoDoc& m_doc;
    PictureSource& m_pictures;
    SheetPainter m_sheetPainter;
    std::unique_ptr<QPrinter> m_printer;
    QLineEdit* m_from = nullptr;
    QLineEdit* m_to = nullptr;
    printsheet::PrintOptions m_options;
    int m_current = 2;  // the first record after the front covers
    bool m_nothingToPrint = false;
    QSize m_landscape;
    QSize m_portrait;
    QImage m_background;
};
