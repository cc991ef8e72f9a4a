#include "app/Commands.h"

#include "book/CVersaleoDoc.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using namespace cmd;

DocState withBook(int window = 1)
{
    DocState d;
    d.activeWindow = window;
    d.pageCount = 10;
    d.currentPage = 4;
    d.hasContent = true;
    d.hasTextSources = true;
    d.currentKind = PageKind::BookPage;
    return d;
}

TEST(CommandTable, EveryIdOnce)
{
    std::set<int> ids;
    for (const Command& command : commandTable()) {
        EXPECT_TRUE(ids.insert(command.id).second) << command.id;
    }
    EXPECT_EQ(findCommand(279)->label, std::string("Open..."));
    EXPECT_EQ(findCommand(9999), nullptr);
    EXPECT_FALSE(updateRule(9999, {}, withBook()).enabled);
}

TEST(Windows, TheCurrentWindowIsCheckedAndDisabled)
{
    const CommandUi three = updateRule(Window3, {}, withBook(3));
    EXPECT_TRUE(three.checked);
    EXPECT_FALSE(three.enabled);
    const CommandUi one = updateRule(Window1, {}, withBook(3));
    EXPECT_FALSE(one.checked);
    EXPECT_TRUE(one.enabled);
}

TEST(Windows, AllWindowItemsAreDisabledDuringContinuousFlip)
{
    FrameState flipping;
    flipping.continuousFlip = true;
    flipping.helpWindowOpen = true;
    for (int id : {Window1, Window2, Window3, Window4, Window5, HelpWindow, CloseWindow})
        EXPECT_FALSE(updateRule(id, flipping, withBook(2)).enabled) << id;
    EXPECT_FALSE(updateRule(Exit, flipping, withBook()).enabled);
}

TEST(Files, OpenAndSaveFollowTheBookAndTheModes)
{
    EXPECT_TRUE(updateRule(Open, {}, withBook()).enabled);
    EXPECT_FALSE(updateRule(Open, {}, withBook(CVersaleoDoc::kHelpWindow)).enabled);
    DocState empty = withBook();
    empty.pageCount = 4;
    EXPECT_FALSE(updateRule(SaveAs, {}, empty).enabled);
    EXPECT_TRUE(updateRule(SaveAs, {}, withBook()).enabled);
    FrameState marking;
    marking.markMode = true;
    EXPECT_FALSE(updateRule(Open, marking, withBook()).enabled);
    EXPECT_FALSE(updateRule(CloseWindow, {}, empty).enabled);
    EXPECT_TRUE(updateRule(CloseWindow, {}, withBook()).enabled);
}

TEST(Encodings, NeedTextSourcesAndNoBlockingMode)
{
    EXPECT_EQ(encodingCode(ReadAsGb2312), 0);
    EXPECT_EQ(encodingCode(ReadAsShiftJis), 4);
    EXPECT_EQ(encodingCode(ConvertBig5ToGb2312), 100);
    EXPECT_EQ(encodingCode(ConvertGb2312ToGbk), 105);
    EXPECT_EQ(encodingCode(Open), -1);
    EXPECT_TRUE(updateRule(ConvertGbkToBig5, {}, withBook()).enabled);
    DocState opened = withBook();
    opened.hasTextSources = false;
    EXPECT_FALSE(updateRule(ConvertGbkToBig5, {}, opened).enabled);
    FrameState browsing;
    browsing.browserShown = true;
    EXPECT_FALSE(updateRule(ReadAsUtf8, browsing, withBook()).enabled);
}

TEST(Help, OnlyWhileTheHelpWindowIsClosed)
{
    FrameState open;
    open.helpWindowOpen = true;
    EXPECT_FALSE(updateRule(Help, open, withBook()).enabled);
    EXPECT_TRUE(updateRule(Help, {}, withBook()).enabled);
    EXPECT_TRUE(updateRule(HelpWindow, open, withBook(1)).enabled);
    EXPECT_TRUE(updateRule(HelpWindow, open, withBook(6)).checked);
}

TEST(Tools, SearchEnvironmentAndHelpFollowTheirRules)
{
    DocState noContent = withBook();
    noContent.hasContent = false;
    FrameState helpOpen;
    helpOpen.helpWindowOpen = true;
    FrameState full;
    full.fullWindow = true;
    struct Case {
        const char* name;
        FrameState frame;
        DocState doc;
        bool search, environment, help;
    };
    const auto with = [](bool FrameState::*mode) {
        FrameState f;
        f.*mode = true;
        return f;
    };
    const Case cases[] = {
        {"a book", {}, withBook(), true, true, true},
        {"no content", {}, noContent, false, true, true},
        {"the help window open", helpOpen, withBook(), true, true, false},
        {"the help window on show", helpOpen, withBook(CVersaleoDoc::kHelpWindow), true, true, false},
        {"full window", full, withBook(), true, true, true},
        {"continuous flip", with(&FrameState::continuousFlip), withBook(), false, false, false},
        {"mark mode", with(&FrameState::markMode), withBook(), false, false, false},
        {"text selection", with(&FrameState::textSelection), withBook(), false, false, false},
        {"bitmap selection", with(&FrameState::bitmapSelection), withBook(), false, false, false},
        {"browser shown", with(&FrameState::browserShown), withBook(), false, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(updateRule(Search, c.frame, c.doc).enabled, c.search) << c.name;
        EXPECT_EQ(updateRule(Environment, c.frame, c.doc).enabled, c.environment) << c.name;
        EXPECT_EQ(updateRule(Help, c.frame, c.doc).enabled, c.help) << c.name;
    }
}

TEST(Library, TheCabinetWaitsForNoBlockingModeOutsideTheHelpWindow)
{
    EXPECT_TRUE(updateRule(Cabinet, {}, withBook()).enabled);
    EXPECT_TRUE(updateRule(Cabinet, {}, DocState{}).enabled);  // an empty window too
    EXPECT_FALSE(updateRule(Cabinet, {}, withBook(CVersaleoDoc::kHelpWindow)).enabled);
    for (bool FrameState::*mode : {&FrameState::continuousFlip, &FrameState::markMode, &FrameState::textSelection,
                                   &FrameState::bitmapSelection, &FrameState::browserShown}) {
        FrameState f;
        f.*mode = true;
        EXPECT_FALSE(updateRule(Cabinet, f, withBook()).enabled);
    }
    FrameState full;
    full.fullWindow = true;
    EXPECT_TRUE(updateRule(Cabinet, full, withBook()).enabled);
}

TEST(Modes, FullClipAndStyleWindowKeepEachOtherApart)
{
    FrameState full;
    full.fullWindow = true;
    EXPECT_TRUE(updateRule(FullWindow, full, withBook()).checked);
    EXPECT_FALSE(updateRule(ClipWindow, full, withBook()).enabled);
    EXPECT_FALSE(updateRule(StyleWindow, full, withBook()).enabled);
    FrameState clip;
    clip.clipWindow = true;
    EXPECT_FALSE(updateRule(FullWindow, clip, withBook()).enabled);
    EXPECT_FALSE(updateRule(OnePage, clip, withBook()).enabled);
    FrameState one;
    one.twoPageMode = false;
    EXPECT_FALSE(updateRule(ClipWindow, one, withBook()).enabled);
    EXPECT_FALSE(updateRule(OnePage, one, withBook()).enabled);
    EXPECT_TRUE(updateRule(TwoPage, one, withBook()).enabled);
}

TEST(Flipping, ContinuousFlipCommands)
{
    DocState first = withBook();
    first.currentPage = 0;
    EXPECT_FALSE(updateRule(ContinueRight, {}, first).enabled);
    EXPECT_TRUE(updateRule(ContinueLeft, {}, first).enabled);
    DocState last = withBook();
    last.currentPage = last.pageCount - 1;
    EXPECT_FALSE(updateRule(ContinueLeft, {}, last).enabled);
    FrameState flipping;
    flipping.continuousFlip = true;
    EXPECT_TRUE(updateRule(StopFlip, flipping, withBook()).enabled);
    EXPECT_FALSE(updateRule(StopFlip, {}, withBook()).enabled);
    EXPECT_FALSE(updateRule(ContinueLeft, flipping, withBook()).enabled);
    // The system menu waits for the flipping to stop, and only for that.
    EXPECT_FALSE(updateRule(SystemMenu, flipping, withBook()).enabled);
    FrameState marking;
    marking.markMode = true;
    EXPECT_TRUE(updateRule(SystemMenu, marking, DocState{}).enabled);
}

TEST(Modes, TagsMarksAndSelectionsExcludeEachOther)
{
    EXPECT_TRUE(updateRule(AddTag, {}, withBook()).enabled);
    EXPECT_TRUE(updateRule(AddMark, {}, withBook()).enabled);
    EXPECT_TRUE(updateRule(SelectText, {}, withBook()).enabled);
    EXPECT_FALSE(updateRule(CancelSelect, {}, withBook()).enabled);
    // Tags and marks go on book pages only, never in the help window.
    DocState cover = withBook();
    cover.currentKind = PageKind::CoverPage;
    EXPECT_FALSE(updateRule(AddTag, {}, cover).enabled);
    EXPECT_FALSE(updateRule(AddMark, {}, cover).enabled);
    EXPECT_FALSE(updateRule(AddTag, {}, withBook(CVersaleoDoc::kHelpWindow)).enabled);
    FrameState marking;
    marking.markMode = true;
    EXPECT_TRUE(updateRule(AddMark, marking, withBook()).checked);
    EXPECT_TRUE(updateRule(AddMark, marking, withBook()).enabled);  // to leave it
    EXPECT_FALSE(updateRule(AddTag, marking, withBook()).enabled);
    EXPECT_FALSE(updateRule(SelectText, marking, withBook()).enabled);
    marking.traditionalStyle = true;
    EXPECT_FALSE(updateRule(AddMark, marking, withBook()).enabled);
    FrameState selecting;
    selecting.textSelection = true;
    EXPECT_TRUE(updateRule(SelectText, selecting, cover).enabled);  // it can always be left
    EXPECT_FALSE(updateRule(SelectBitmap, selecting, withBook()).enabled);
    EXPECT_TRUE(updateRule(CancelSelect, selecting, withBook()).enabled);
    EXPECT_FALSE(updateRule(ContinueLeft, selecting, withBook()).enabled);
}

TEST(Pictures, TheBackgroundAndBookPageDialogsWaitForEveryBlockingMode)
{
    // Even a book of covers alone may be decorated.
    DocState empty;
    empty.pageCount = 4;
    empty.currentKind = PageKind::CoverPage;
    for (const int id : {BackPicture, EditBookPage}) {
        EXPECT_TRUE(updateRule(id, {}, withBook()).enabled) << id;
        EXPECT_TRUE(updateRule(id, {}, empty).enabled) << id;
        for (bool FrameState::*mode : {&FrameState::continuousFlip, &FrameState::markMode, &FrameState::textSelection,
                                       &FrameState::bitmapSelection, &FrameState::browserShown}) {
            FrameState blocked;
            blocked.*mode = true;
            EXPECT_FALSE(updateRule(id, blocked, withBook()).enabled) << id;
        }
        // modes that block nothing
        FrameState free;
        free.fullWindow = free.clipWindow = free.traditionalStyle = free.tagPending = true;
        free.twoPageMode = false;
        EXPECT_TRUE(updateRule(id, free, withBook()).enabled) << id;
    }
    // The help book's pages are not the reader's to restyle; its desk is.
    EXPECT_FALSE(updateRule(EditBookPage, {}, withBook(CVersaleoDoc::kHelpWindow)).enabled);
    EXPECT_TRUE(updateRule(BackPicture, {}, withBook(CVersaleoDoc::kHelpWindow)).enabled);
}

TEST(LanternSlide, StartsOnlyOnABookWithContentAndNoOtherWindowMode)
{
    EXPECT_TRUE(updateRule(LanternSlide, {}, withBook()).enabled);
    FrameState onePage;
    onePage.twoPageMode = false;
    EXPECT_TRUE(updateRule(LanternSlide, onePage, withBook()).enabled);
    DocState empty = withBook();
    empty.hasContent = false;
    EXPECT_FALSE(updateRule(LanternSlide, {}, empty).enabled);
    const auto with = [](bool FrameState::*flag) {
        FrameState f;
        f.*flag = true;
        return f;
    };
    for (bool FrameState::*mode : {&FrameState::fullWindow, &FrameState::clipWindow, &FrameState::printView,
                                   &FrameState::continuousFlip, &FrameState::markMode, &FrameState::textSelection,
                                   &FrameState::bitmapSelection, &FrameState::browserShown})
        EXPECT_FALSE(updateRule(LanternSlide, with(mode), withBook()).enabled);
    // The slide's own items wait for the slide.
    for (const int id : {SlidePrevious, SlideNext, SlideFrame})
        EXPECT_FALSE(updateRule(id, {}, withBook()).enabled) << id;
}

TEST(LanternSlide, WhileItRunsItCanEndAndTheWindowModesWait)
{
    FrameState running;
    running.lanternSlide = true;
    EXPECT_TRUE(updateRule(LanternSlide, running, withBook()).checked);
    // Even when the book was closed under it.
    DocState empty = withBook();
    empty.hasContent = false;
    empty.pageCount = 4;
    EXPECT_TRUE(updateRule(LanternSlide, running, empty).enabled);
    for (const int id : {SlidePrevious, SlideNext, SlideFrame})
        EXPECT_TRUE(updateRule(id, running, empty).enabled) << id;
    EXPECT_TRUE(updateRule(SlideFrame, running, withBook()).checked);
    running.slideFrameShown = false;
    EXPECT_FALSE(updateRule(SlideFrame, running, withBook()).checked);
    for (const int id : {OnePage, FullWindow, ClipWindow, StyleWindow})
        EXPECT_FALSE(updateRule(id, running, withBook()).enabled) << id;
    running.twoPageMode = false;
    EXPECT_FALSE(updateRule(TwoPage, running, withBook()).enabled);
}

TEST(DocumentState, ReadFromTheDocument)
{
    CVersaleoDoc doc;
    DocState state = docState(doc);
    EXPECT_EQ(state.pageCount, 4);
    EXPECT_FALSE(state.hasContent);
    EXPECT_EQ(state.currentKind, PageKind::CoverPage);
    doc.switchWindow(4);
    EXPECT_EQ(docState(doc).activeWindow, 4);
}

}  // namespace

namespace {

TEST(InternetCommand, ShowsTheBrowserOnlyWithoutABlockingModeAndOutsideTheHelpWindow)
{
    EXPECT_TRUE(updateRule(Internet, {}, withBook()).enabled);
    EXPECT_TRUE(updateRule(Internet, {}, DocState{}).enabled);  // an empty window may take a page
    EXPECT_FALSE(updateRule(Internet, {}, withBook(CVersaleoDoc::kHelpWindow)).enabled);
    const std::vector<bool FrameState::*> blockers = {&FrameState::continuousFlip, &FrameState::markMode,
                                                      &FrameState::textSelection, &FrameState::bitmapSelection,
                                                      &FrameState::browserShown, &FrameState::printView};
    for (bool FrameState::*blocker : blockers) {
        FrameState frame;
        frame.*blocker = true;
        EXPECT_FALSE(updateRule(Internet, frame, withBook()).enabled);
    }
}

TEST(InternetCommand, WhileTheBrowserShowsTheBookCommandsWait)
{
    FrameState frame;
    frame.browserShown = true;
    for (const int id : {Open, SaveAs, Print, Cabinet, BackPicture, BackMusic, RestTime, Help, AddTag, AddMark,
                         SelectText, SelectBitmap, OnePage, FullWindow, ClipWindow, StyleWindow, LanternSlide,
                         ContinueLeft, ContinueRight, ReadAsUtf8, ConvertGbkToBig5, EditBookPage})
        EXPECT_FALSE(updateRule(id, frame, withBook()).enabled) << id;
    // The windows stay reachable from the menu: the browser's book goes to the window on show.
    EXPECT_TRUE(updateRule(Window2, frame, withBook()).enabled);
    EXPECT_TRUE(updateRule(Exit, frame, withBook()).enabled);
}

}  // namespace
