// The command table of the main frame: every command id with its label and
// its update rule. The rules are pure functions of the frame's modes and the
// document's state, so menus, bars and tests agree on what is available.
#pragma once

#include "book/CBookPage.h"

#include <string>
#include <vector>

class CVersaleoDoc;

namespace cmd {

enum Id : int {
    SystemMenu = 200, Exit = 201, Maximise = 202, Minimise = 203, Restore = 204,
    HelpWindow = 205, Window1 = 206, Window2 = 207, Window3 = 208, Window4 = 209, Window5 = 210, CloseWindow = 211,
    Cabinet = 230, BackPicture = 231, BackMusic = 232, RestTime = 233, Search = 234, Internet = 235,
    Environment = 236, Help = 237,
    CopyPage = 250, CutPage = 251, PastePage = 252, DeletePage = 253, JumpBox = 254,
    ContinueLeft = 256, StopFlip = 257, ContinueRight = 258, EditContent = 259, SelectText = 260, SelectBitmap = 261,
    OnePage = 270, TwoPage = 271, FullWindow = 272, AddTag = 273, AddMark = 274, EditIndex = 275,
    EditBookmark = 276, EditNotePage = 277, Print = 278, Open = 279, SaveAs = 280, EditBookPage = 281,
    PrintSheets = 290, ClosePrint = 291, PreviousSheet = 292, NextSheet = 293,
    DeleteMark = 1000, MarkColour = 1001, DeleteTag = 1002, TagColour = 1003, CopySelection = 1008,
    SelectAllSelection = 1009,
    Jump = 1004, ClipWindow = 1010, LanternSlide = 1011, StyleWindow = 1015, CancelSelect = 1016,
    SlidePrevious = 1012, SlideNext = 1013, SlideFrame = 1014,
    ConvertBig5ToGb2312 = 1020, ConvertBig5ToGbk = 1021, ConvertGbkToGb2312 = 1022, ConvertGbkToBig5 = 1023,
    ConvertGb2312ToBig5 = 1024, ConvertGb2312ToGbk = 1025,
    ReadAsGb2312 = 1050, ReadAsBig5 = 1051, ReadAsUtf8 = 1052, ReadAsAnsi = 1053, ReadAsShiftJis = 1054,
};

// The frame's modes.
struct FrameState {
    bool twoPageMode = true;
    bool continuousFlip = false;
    bool traditionalStyle = false;
    bool fullWindow = false;
    bool clipWindow = false;
    bool printView = false;
    bool browserShown = false;
    bool lanternSlide = false;
    bool slideFrameShown = true;  // the lantern slide keeps the window's frame
    bool markMode = false;
    bool tagPending = false;
    bool textSelection = false;
    bool bitmapSelection = false;
    bool helpWindowOpen = false;
    bool pageBoxEmpty = true;
    // The print view: it has sheets to print, and sheets before and after the one on show.
    bool sheetsToPrint = false, sheetBefore = false, sheetAfter = false;
};

// What the rules need to know of the document.
struct DocState {
    int activeWindow = 1;
    int pageCount = 0;
    int currentPage = 0;
    bool hasContent = false;  // pages between the index and the back cover
    bool hasTextSources = false;
    PageKind currentKind = PageKind::None;
    // The page clipboard holds leaves, and the current page is one the
    // book model pastes at.
    bool clipboardFilled = false;
    bool pasteAllowed = false;
    // The other page of the open spread: the one before an even current
    // page, the one after an odd one (None past either end).
    PageKind partnerKind = PageKind::None;
    int firstContentPage = 0;  // after the front cover and the index pages
};
DocState docState(const CVersaleoDoc& doc);

struct CommandUi {
    bool enabled = false;
    bool checked = false;
};

struct Command {
    int id;
    const char* label;   // the menu text (English)
    const char* menu;    // the popup of the main menu it sits in, or "" for bars only
};

const std::vector<Command>& commandTable();
const Command* findCommand(int id);

// Whether the command is available (and checked) now.
CommandUi updateRule(int id, const FrameState& frame, const DocState& doc);

// The encoding code of an Encoding command (0-4, 100-105), or -1.
int encodingCode(int id);

}  // namespace cmd
