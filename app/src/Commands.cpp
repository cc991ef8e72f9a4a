#include "app/Commands.h"

#include "book/CVersaleoDoc.h"

namespace cmd {
namespace {

bool blocking(const FrameState& f)
{
    return f.continuousFlip || f.markMode || f.textSelection || f.bitmapSelection || f.browserShown;
}

bool selecting(const FrameState& f)
{
    return f.markMode || f.textSelection || f.bitmapSelection;
}

bool helpShown(const DocState& d)
{
    return d.activeWindow == CVersaleoDoc::kHelpWindow;
}

// The print view shows sheets, not the book: what acts on the reading view,
// changes the book or switches to another one waits until it closes, and so
// does leaving the program (closing does nothing meanwhile).
bool availableWhilePrinting(int id)
{
    switch (id) {
    case Print: case PrintSheets: case ClosePrint: case PreviousSheet: case NextSheet:
    case SystemMenu: case Maximise: case Minimise: case Restore:
    case BackPicture: case BackMusic: case RestTime: case Environment:
        return true;
    default:
        return false;
    }
}

}  // namespace

DocState docState(const CVersaleoDoc& doc)
{
    DocState state;
    state.activeWindow = doc.activeWindow();
    state.pageCount = doc.pageCount();
    state.currentPage = doc.currentPage;
    state.hasContent = doc.lastContentPage() >= doc.firstContentPage();
    state.hasTextSources = !doc.textSources.empty();
    if (doc.currentPage >= 0 && doc.currentPage < doc.pageCount())
        state.currentKind = doc.pages[static_cast<size_t>(doc.currentPage)]->kind();
    return state;
}

const std::vector<Command>& commandTable()
{
    static const std::vector<Command> table = {
        {Open, "Open...", "File", true},
        {SaveAs, "Save As...", "File", true},
        {Print, "Print", "File", true},
        {Exit, "Exit", "File", true},
        {AddTag, "Add Tag", "Edit", true},
        {AddMark, "Add Mark", "Edit", true},
        {EditIndex, "Edit Index...", "Edit", false},
        {EditBookmark, "Edit Bookmark...", "Edit", false},
        {EditNotePage, "Edit Note Page...", "Edit", false},
        {EditBookPage, "Edit Book Page...", "Edit", true},
        {CopyPage, "Copy Page", "Edit", false},
        {CutPage, "Cut Page", "Edit", false},
        {PastePage, "Paste Page", "Edit", false},
        {DeletePage, "Delete Page", "Edit", false},
        {EditContent, "Edit Content", "Edit", false},
        {ReadAsGb2312, "Simple Chinese (GB2312)", "Encoding", true},
        {ReadAsBig5, "Traditional Chinese (Big5)", "Encoding", true},
        {ReadAsUtf8, "Unicode (UTF-8)", "Encoding", true},
        {ReadAsAnsi, "Window (ANSI)", "Encoding", true},
        {ReadAsShiftJis, "Japanese (Shift_JIS)", "Encoding", true},
        {ConvertBig5ToGb2312, "BIG5 --> GB2312", "Encoding", true},
        {ConvertBig5ToGbk, "BIG5 --> GBK", "Encoding", true},
        {ConvertGbkToGb2312, "GBK --> GB2312", "Encoding", true},
        {ConvertGbkToBig5, "GBK --> BIG5", "Encoding", true},
        {ConvertGb2312ToBig5, "GB2312 --> BIG5", "Encoding", true},
        {ConvertGb2312ToGbk, "GB2312 --> GBK", "Encoding", true},
        {SelectText, "Select Text", "Select", true},
        {SelectBitmap, "Select Bitmap", "Select", true},
        {CancelSelect, "Cancel Select", "Select", true},
        // The popups over a mark, a tag and a selection.
        {DeleteMark, "Delete Mark", "", true},
        {MarkColour, "Color...", "", false},
        {DeleteTag, "Delete Tag", "", true},
        {TagColour, "Color...", "", false},
        {CopySelection, "Copoy", "", true},
        {SelectAllSelection, "Select All", "", true},
        {ContinueLeft, "Continue Left", "Flip", true},
        {ContinueRight, "Continue Right", "Flip", true},
        {StopFlip, "Stop", "", true},
        {Jump, "Jump...", "Flip", false},
        {JumpBox, "Jump", "", false},
        {OnePage, "One Page", "View", true},
        {TwoPage, "Two Page", "View", true},
        {LanternSlide, "Lantern Slide", "View", true},
        // The lantern slide's popup.
        {SlidePrevious, "Previous", "", true},
        {SlideNext, "Next", "", true},
        {SlideFrame, "Show/Hide Frame", "", true},
        {FullWindow, "Full Window", "Window-Style", true},
        {ClipWindow, "Clip Window", "Window-Style", true},
        {StyleWindow, "Style Window", "Window-Style", true},
        {Cabinet, "Cabinet...", "Tool", true},
        {BackPicture, "Back Picture...", "Tool", true},
        {BackMusic, "Back Music...", "Tool", true},
        {RestTime, "Rest Time...", "Tool", true},
        {Search, "Search...", "Tool", false},
        {Internet, "Internet", "Tool", true},
        {Environment, "Environment...", "Tool", false},
        {Window1, "Window 1", "Window", true},
        {Window2, "Window 2", "Window", true},
        {Window3, "Window 3", "Window", true},
        {Window4, "Window 4", "Window", true},
        {Window5, "Window 5", "Window", true},
        {HelpWindow, "Help Window", "Window", true},
        {CloseWindow, "Close Window", "Window", true},
        {Help, "Help", "Help", true},
        {SystemMenu, "", "", true},
        {Maximise, "", "", true},
        {Minimise, "", "", true},
        {Restore, "", "", true},
        // The print bar's commands.
        {PrintSheets, "Print", "", true},
        {ClosePrint, "Close", "", true},
        {PreviousSheet, "Previous", "", true},
        {NextSheet, "Next", "", true},
    };
    return table;
}

const Command* findCommand(int id)
{
    for (const Command& command : commandTable()) {
        if (command.id == id)
            return &command;
    }
    return nullptr;
}

int encodingCode(int id)
{
    if (id >= ReadAsGb2312 && id <= ReadAsShiftJis)
        return id - ReadAsGb2312;
    if (id >= ConvertBig5ToGb2312 && id <= ConvertGb2312ToGbk)
        return 100 + (id - ConvertBig5ToGb2312);
    return -1;
}

namespace {

CommandUi ruleOf(int id, const FrameState& f, const DocState& d)
{
    const Command* command = findCommand(id);
    if (!command || !command->built)
        return {};
    CommandUi ui;
    if (encodingCode(id) >= 0) {
        ui.enabled = !blocking(f) && d.hasTextSources;
        return ui;
    }
    if (id >= Window1 && id <= Window5) {
        const int window = id - Window1 + 1;
        ui.checked = d.activeWindow == window;
        ui.enabled = !selecting(f) && !f.continuousFlip && !ui.checked;
        return ui;
    }
    switch (id) {
    case Open:
        ui.enabled = !blocking(f) && !helpShown(d);
        break;
    case SaveAs:
        ui.enabled = !blocking(f) && !helpShown(d) && d.pageCount > 4;
        break;
    case Exit:
        ui.enabled = !f.continuousFlip;
        break;
    case HelpWindow:
        ui.checked = helpShown(d);
        ui.enabled = !selecting(f) && !f.continuousFlip && !ui.checked && f.helpWindowOpen;
        break;
    case CloseWindow:
        ui.enabled = !selecting(f) && !f.continuousFlip && (helpShown(d) || d.pageCount > 4);
        break;
    case Help:
        ui.enabled = !blocking(f) && !f.helpWindowOpen;
        break;
    case Cabinet:
    case Internet:
        ui.enabled = !blocking(f) && !helpShown(d);
        break;
    case AddTag:
        ui.checked = f.tagPending;
        ui.enabled = !blocking(f) && !helpShown(d) && d.pageCount > 0 && d.currentKind == PageKind::BookPage;
        break;
    case AddMark:
        ui.checked = f.markMode;
        ui.enabled = !f.textSelection && !f.bitmapSelection && !f.browserShown && !helpShown(d) && !f.continuousFlip &&
                     d.pageCount > 0 && d.currentKind == PageKind::BookPage && !(f.traditionalStyle && f.markMode);
        break;
    // A selection mode stays switchable while it is on; the other blocking
    // modes keep it off.
    case SelectText:
        ui.checked = f.textSelection;
        ui.enabled = !f.continuousFlip && !f.markMode && !f.bitmapSelection && !f.browserShown && d.pageCount > 0 &&
                     (f.textSelection || d.currentKind == PageKind::BookPage);
        break;
    case SelectBitmap:
        ui.checked = f.bitmapSelection;
        ui.enabled = !f.continuousFlip && !f.markMode && !f.textSelection && !f.browserShown && d.pageCount > 0;
        break;
    case CancelSelect:
    case CopySelection:
    case SelectAllSelection:
        ui.enabled = f.textSelection || f.bitmapSelection;
        break;
    case DeleteMark:
    case DeleteTag:
        ui.enabled = !helpShown(d) && !f.continuousFlip && !f.markMode;
        break;
    case ContinueLeft:
        ui.enabled = !blocking(f) && d.pageCount > 0 && d.currentPage < d.pageCount - 1;
        break;
    case ContinueRight:
        ui.enabled = !blocking(f) && d.pageCount > 0 && d.currentPage != 0;
        break;
    case StopFlip:
        ui.enabled = f.continuousFlip && !f.markMode && !f.textSelection && !f.bitmapSelection && !f.browserShown &&
                     d.pageCount > 0;
        break;
    // The slide keeps the view and the window it started from until it ends.
    case OnePage:
        ui.enabled = !blocking(f) && !f.clipWindow && f.twoPageMode && !f.lanternSlide;
        break;
    case TwoPage:
        ui.enabled = !blocking(f) && !f.clipWindow && !f.twoPageMode && !f.lanternSlide;
        break;
    case FullWindow:
        ui.checked = f.fullWindow;
        ui.enabled = !blocking(f) && !f.clipWindow && !f.lanternSlide;
        break;
    case ClipWindow:
        ui.checked = f.clipWindow;
        ui.enabled = !blocking(f) && !f.fullWindow && f.twoPageMode && !f.lanternSlide;
        break;
    case StyleWindow:
        ui.checked = !f.traditionalStyle;
        ui.enabled = !blocking(f) && !f.fullWindow && !f.clipWindow && !f.lanternSlide;
        break;
    // A slide that runs can always be ended, whatever became of the book.
    case LanternSlide:
        ui.checked = f.lanternSlide;
        ui.enabled = f.lanternSlide || (!blocking(f) && !f.fullWindow && !f.clipWindow && !f.printView && d.hasContent);
        break;
    case SlidePrevious:
    case SlideNext:
        ui.enabled = f.lanternSlide;
        break;
    case SlideFrame:
        ui.checked = f.slideFrameShown;
        ui.enabled = f.lanternSlide;
        break;
    case BackPicture:
    case BackMusic:
    case RestTime:
        ui.enabled = !blocking(f);
        break;
    case EditBookPage:
        ui.enabled = !blocking(f) && !helpShown(d);
        break;
    case SystemMenu:
        ui.enabled = !f.continuousFlip;
        break;
    case Maximise:
    case Minimise:
    case Restore:
        ui.enabled = !f.continuousFlip && !f.markMode && !f.textSelection && !f.bitmapSelection;
        break;
    // "Print" opens the print view and, checked while it shows, closes it.
    case Print:
        ui.checked = f.printView;
        ui.enabled = f.printView || (!blocking(f) && !f.fullWindow && !f.lanternSlide && d.pageCount > 0);
        break;
    case PrintSheets:
        ui.enabled = f.printView && f.sheetsToPrint;
        break;
    case ClosePrint:
        ui.enabled = f.printView;
        break;
    case PreviousSheet:
        ui.enabled = f.printView && f.sheetBefore;
        break;
    case NextSheet:
        ui.enabled = f.printView && f.sheetAfter;
        break;
    default:
        break;
    }
    return ui;
}

}  // namespace

CommandUi updateRule(int id, const FrameState& f, const DocState& d)
{
    CommandUi ui = ruleOf(id, f, d);
    if (f.printView && !availableWhilePrinting(id))
        ui.enabled = false;
    return ui;
}

}  // namespace cmd
