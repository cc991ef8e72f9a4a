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

// The kinds a leaf command takes: index and cover pages are the book's own.
bool leafKind(PageKind kind)
{
    return kind == PageKind::BookPage || kind == PageKind::NotePage || kind == PageKind::BookmarkPage;
}

bool helpShown(const DocState& d)
{
    return d.activeWindow == CVersaleoDoc::kHelpWindow;
}

// The reader may change the book on show: no blocking mode, a reading
// window, and pages.
bool annotatable(const FrameState& f, const DocState& d)
{
    return !blocking(f) && !helpShown(d) && d.pageCount > 0;
}

// The bookmark dialog edits the bookmark on show or adds one beside the page
// on show; a spread that already shows a bookmark next to a page of text has
// no place for another.
bool bookmarkEditable(PageKind current, PageKind partner)
{
    const bool text = partner == PageKind::BookPage || partner == PageKind::NotePage;
    switch (current) {
    case PageKind::BookmarkPage: return true;
    case PageKind::IndexPage:
    case PageKind::CoverPage: return text;
    case PageKind::BookPage:
    case PageKind::NotePage: return partner != PageKind::BookmarkPage;
    default: return false;
    }
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
    state.currentKind = doc.kindOf(doc.currentPage);
    state.clipboardFilled = !doc.clipboard.empty();
    state.pasteAllowed = doc.canPasteAt(doc.currentPage);
    const int partner = doc.currentPage % 2 == 0 ? doc.currentPage - 1 : doc.currentPage + 1;
    state.partnerKind = doc.kindOf(partner);
    state.firstContentPage = doc.firstContentPage();
    return state;
}

const std::vector<Command>& commandTable()
{
    static const std::vector<Command> table = {
        {Open, "Open...", "File"},
        {SaveAs, "Save As...", "File"},
        {Print, "Print", "File"},
        {Exit, "Exit", "File"},
        {AddTag, "Add Tag", "Edit"},
        {AddMark, "Add Mark", "Edit"},
        {EditIndex, "Edit Index...", "Edit"},
        {EditBookmark, "Edit Bookmark...", "Edit"},
        {EditNotePage, "Edit Note Page...", "Edit"},
        {EditBookPage, "Edit Book Page...", "Edit"},
        {CopyPage, "Copy Page", "Edit"},
        {CutPage, "Cut Page", "Edit"},
        {PastePage, "Paste Page", "Edit"},
        {DeletePage, "Delete Page", "Edit"},
        {EditContent, "Edit Content", "Edit"},
        {ReadAsGb2312, "Simple Chinese (GB2312)", "Encoding"},
        {ReadAsBig5, "Traditional Chinese (Big5)", "Encoding"},
        {ReadAsUtf8, "Unicode (UTF-8)", "Encoding"},
        {ReadAsAnsi, "Window (ANSI)", "Encoding"},
        {ReadAsShiftJis, "Japanese (Shift_JIS)", "Encoding"},
        {ConvertBig5ToGb2312, "BIG5 --> GB2312", "Encoding"},
        {ConvertBig5ToGbk, "BIG5 --> GBK", "Encoding"},
        {ConvertGbkToGb2312, "GBK --> GB2312", "Encoding"},
        {ConvertGbkToBig5, "GBK --> BIG5", "Encoding"},
        {ConvertGb2312ToBig5, "GB2312 --> BIG5", "Encoding"},
        {ConvertGb2312ToGbk, "GB2312 --> GBK", "Encoding"},
        {SelectText, "Select Text", "Select"},
        {SelectBitmap, "Select Bitmap", "Select"},
        {CancelSelect, "Cancel Select", "Select"},
        // The popups over a mark, a tag and a selection.
        {DeleteMark, "Delete Mark", ""},
        {MarkColour, "Color...", ""},
        {DeleteTag, "Delete Tag", ""},
        {TagColour, "Color...", ""},
        {CopySelection, "Copoy", ""},
        {SelectAllSelection, "Select All", ""},
        {ContinueLeft, "Continue Left", "Flip"},
        {ContinueRight, "Continue Right", "Flip"},
        {StopFlip, "Stop", ""},
        {Jump, "Jump...", "Flip"},
        {JumpBox, "Jump", ""},
        {OnePage, "One Page", "View"},
        {TwoPage, "Two Page", "View"},
        {LanternSlide, "Lantern Slide", "View"},
        // The lantern slide's popup.
        {SlidePrevious, "Previous", ""},
        {SlideNext, "Next", ""},
        {SlideFrame, "Show/Hide Frame", ""},
        {FullWindow, "Full Window", "Window-Style"},
        {ClipWindow, "Clip Window", "Window-Style"},
        {StyleWindow, "Style Window", "Window-Style"},
        {Cabinet, "Cabinet...", "Tool"},
        {BackPicture, "Back Picture...", "Tool"},
        {BackMusic, "Back Music...", "Tool"},
        {RestTime, "Rest Time...", "Tool"},
        {Search, "Search...", "Tool"},
        {Internet, "Internet", "Tool"},
        {Environment, "Environment...", "Tool"},
        {Window1, "Window 1", "Window"},
        {Window2, "Window 2", "Window"},
        {Window3, "Window 3", "Window"},
        {Window4, "Window 4", "Window"},
        {Window5, "Window 5", "Window"},
        {HelpWindow, "Help Window", "Window"},
        {CloseWindow, "Close Window", "Window"},
        {Help, "Help", "Help"},
        {SystemMenu, "", ""},
        {Maximise, "", ""},
        {Minimise, "", ""},
        {Restore, "", ""},
        // The print bar's commands.
        {PrintSheets, "Print", ""},
        {ClosePrint, "Close", ""},
        {PreviousSheet, "Previous", ""},
        {NextSheet, "Next", ""},
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
    if (!command)
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
    // Index entries anchor on a book page, as tags do.
    case EditIndex:
        ui.enabled = annotatable(f, d) && d.currentKind == PageKind::BookPage;
        break;
    case EditBookmark:
        ui.enabled = annotatable(f, d) && d.currentPage > 0 && d.currentPage < d.pageCount - 1 &&
                     bookmarkEditable(d.currentKind, d.partnerKind);
        break;
    case EditNotePage:
        ui.enabled = annotatable(f, d) && d.currentPage >= d.firstContentPage && d.currentPage < d.pageCount - 1;
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
    case MarkColour:
    case TagColour:
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
    case Search:
        ui.enabled = !blocking(f) && d.hasContent;
        break;
    // The sheet waits for the marking, selecting, browsing and flipping modes.
    case Environment:
        ui.enabled = !blocking(f);
        break;
    // The leaves: what is copied, cut or deleted is a whole leaf of content.
    case CopyPage:
        ui.enabled = !blocking(f) && d.pageCount > 0 && leafKind(d.currentKind);
        break;
    case CutPage:
    case DeletePage:
        ui.enabled = !blocking(f) && !helpShown(d) && d.pageCount > 0 && leafKind(d.currentKind);
        break;
    case PastePage:
        ui.enabled = !blocking(f) && !helpShown(d) && d.clipboardFilled && d.pasteAllowed;
        break;
    case Jump:
        ui.enabled = !selecting(f) && d.hasContent;
        break;
    case JumpBox:
        ui.enabled = !blocking(f) && d.pageCount > 4 && !f.pageBoxEmpty;
        break;
    case EditContent:
        ui.enabled = !blocking(f) && f.twoPageMode && !helpShown(d) && d.pageCount > 0 &&
                     d.currentKind == PageKind::BookPage;
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
