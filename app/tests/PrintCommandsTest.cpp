#include "app/Commands.h"

#include <gtest/gtest.h>

namespace {

using namespace cmd;

DocState withBook()
{
    DocState d;
    d.pageCount = 10;
    d.currentPage = 4;
    d.hasContent = true;
    d.hasTextSources = true;
    d.currentKind = PageKind::BookPage;
    return d;
}

FrameState printing()
{
    FrameState f;
    f.printView = true;
    return f;
}

TEST(PrintCommand, NeedsPagesNoBlockingModeAndNoFullWindow)
{
    EXPECT_TRUE(updateRule(Print, {}, withBook()).enabled);
    EXPECT_FALSE(updateRule(Print, {}, withBook()).checked);
    DocState empty;
    EXPECT_FALSE(updateRule(Print, {}, empty).enabled);
    empty.pageCount = 4;  // the covers of an empty window: printing shows nothing to print
    EXPECT_TRUE(updateRule(Print, {}, empty).enabled);
    for (bool FrameState::*mode : {&FrameState::continuousFlip, &FrameState::markMode, &FrameState::textSelection,
                                   &FrameState::bitmapSelection, &FrameState::browserShown, &FrameState::fullWindow,
                                   &FrameState::lanternSlide}) {
        FrameState f;
        f.*mode = true;
        EXPECT_FALSE(updateRule(Print, f, withBook()).enabled);
    }
    // Checked while the print view shows, and then it closes it.
    EXPECT_TRUE(updateRule(Print, printing(), withBook()).enabled);
    EXPECT_TRUE(updateRule(Print, printing(), withBook()).checked);
}

TEST(PrintCommand, TheBarsCommandsFollowTheSheets)
{
    for (const int id : {PrintSheets, ClosePrint, PreviousSheet, NextSheet}) {
        FrameState all;
        all.sheetsToPrint = all.sheetBefore = all.sheetAfter = true;
        EXPECT_FALSE(updateRule(id, all, withBook()).enabled) << id << " outside the print view";
        all.printView = true;
        EXPECT_TRUE(updateRule(id, all, withBook()).enabled) << id;
    }
    FrameState f = printing();
    EXPECT_TRUE(updateRule(ClosePrint, f, withBook()).enabled);
    EXPECT_FALSE(updateRule(PrintSheets, f, withBook()).enabled);  // nothing to print
    EXPECT_FALSE(updateRule(PreviousSheet, f, withBook()).enabled);
    EXPECT_FALSE(updateRule(NextSheet, f, withBook()).enabled);
    f.sheetsToPrint = true;
    f.sheetAfter = true;
    EXPECT_TRUE(updateRule(PrintSheets, f, withBook()).enabled);
    EXPECT_FALSE(updateRule(PreviousSheet, f, withBook()).enabled);  // the first sheet
    EXPECT_TRUE(updateRule(NextSheet, f, withBook()).enabled);
}

TEST(PrintCommand, WhileThePrintViewShowsTheBookWaits)
{
    // Commands on the reading view, the book or another window wait.
    for (const int id : {Open, SaveAs, Exit, AddTag, AddMark, SelectText, ContinueLeft, OnePage, FullWindow,
                         StyleWindow, Cabinet, Window2, CloseWindow, Help, EditBookPage, ReadAsUtf8}) {
        EXPECT_TRUE(updateRule(id, {}, withBook()).enabled) << id << " without the print view";
        EXPECT_FALSE(updateRule(id, printing(), withBook()).enabled) << id;
    }
    // The window and the desk stay the reader's.
    for (const int id : {BackPicture, Maximise, Minimise, SystemMenu})
        EXPECT_TRUE(updateRule(id, printing(), withBook()).enabled) << id;
    // What is checked stays checked.
    EXPECT_TRUE(updateRule(Window1, printing(), withBook()).checked);
}

}  // namespace
