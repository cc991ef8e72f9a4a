#include "app/Commands.h"

#include "book/CVersaleoDoc.h"

#include <gtest/gtest.h>

namespace {

using namespace cmd;

constexpr PageKind B = PageKind::BookPage, N = PageKind::NotePage, I = PageKind::IndexPage,
                   M = PageKind::BookmarkPage, C = PageKind::CoverPage;

// A book of 14 pages: covers 0-1, index pages 2-3, content 4-11, covers 12-13.
DocState onPage(int current, PageKind kind, PageKind partner)
{
    DocState d;
    d.pageCount = 14;
    d.hasContent = true;
    d.firstContentPage = 4;
    d.currentPage = current;
    d.currentKind = kind;
    d.partnerKind = partner;
    return d;
}

struct Row {
    int current;
    PageKind kind;
    PageKind partner;
    bool index, bookmark, note;
};

TEST(AnnotationRules, IndexBookmarkAndNotePageFollowThePageAndItsPartner)
{
    const Row rows[] = {
        {0, C, PageKind::None, false, false, false},  // the first page
        {1, C, I, false, false, false},               // a cover facing an index page
        {2, I, C, false, false, false},
        {3, I, B, false, true, false},                // the last index page facing a book page
        {3, I, N, false, true, false},
        {3, I, M, false, false, false},               // ... or facing a bookmark
        {4, B, I, true, true, true},
        {5, B, M, true, false, true},                 // a book page facing a bookmark
        {6, M, B, false, true, true},                 // a bookmark always
        {7, M, M, false, true, true},
        {7, N, B, false, true, true},
        {8, N, M, false, false, true},                // a note page facing a bookmark
        {12, C, B, false, true, true},                // the back cover's front facing a book page
        {12, C, N, false, true, true},
        {12, C, M, false, false, true},
        {13, C, C, false, false, false},              // the last page
    };
    for (const Row& row : rows) {
        const DocState d = onPage(row.current, row.kind, row.partner);
        EXPECT_EQ(updateRule(EditIndex, {}, d).enabled, row.index) << row.current;
        EXPECT_EQ(updateRule(EditBookmark, {}, d).enabled, row.bookmark) << row.current;
        EXPECT_EQ(updateRule(EditNotePage, {}, d).enabled, row.note) << row.current;
        // the index follows "Add Tag"
        EXPECT_EQ(updateRule(EditIndex, {}, d).enabled, updateRule(AddTag, {}, d).enabled) << row.current;
    }
}

TEST(AnnotationRules, BlockingModesTheHelpWindowAndAnEmptyBookDisableAll)
{
    const DocState book = onPage(6, M, B);
    FrameState modes[5];
    modes[0].continuousFlip = true;
    modes[1].markMode = true;
    modes[2].textSelection = true;
    modes[3].bitmapSelection = true;
    modes[4].browserShown = true;
    DocState help = book;
    help.activeWindow = CVersaleoDoc::kHelpWindow;
    DocState empty;
    for (const int id : {EditIndex, EditBookmark, EditNotePage}) {
        const DocState onBookPage = onPage(4, B, I);
        EXPECT_TRUE(updateRule(id, {}, onBookPage).enabled) << id;
        for (const FrameState& mode : modes)
            EXPECT_FALSE(updateRule(id, mode, onBookPage).enabled) << id;
        EXPECT_FALSE(updateRule(id, {}, help).enabled) << id;
        EXPECT_FALSE(updateRule(id, {}, empty).enabled) << id;
        FrameState printing;
        printing.printView = true;
        EXPECT_FALSE(updateRule(id, printing, onBookPage).enabled) << id;
    }
}

TEST(AnnotationRules, ThePopupColoursFollowTheirDeleteItems)
{
    FrameState flipping, marking;
    flipping.continuousFlip = true;
    marking.markMode = true;
    DocState help = onPage(4, B, I);
    help.activeWindow = CVersaleoDoc::kHelpWindow;
    for (const auto& [colour, remove] : {std::pair{MarkColour, DeleteMark}, std::pair{TagColour, DeleteTag}}) {
        for (const FrameState& frame : {FrameState{}, flipping, marking}) {
            for (const DocState& doc : {onPage(4, B, I), help})
                EXPECT_EQ(updateRule(colour, frame, doc).enabled, updateRule(remove, frame, doc).enabled) << colour;
        }
        EXPECT_TRUE(updateRule(colour, {}, onPage(4, B, I)).enabled);
        EXPECT_FALSE(updateRule(colour, marking, onPage(4, B, I)).enabled);
    }
}

TEST(AnnotationRules, ThePartnerIsTheFacingPageOfTheSpread)
{
    CVersaleoDoc doc;  // four covers
    doc.currentPage = 2;
    EXPECT_EQ(docState(doc).partnerKind, PageKind::CoverPage);
    doc.currentPage = 0;
    EXPECT_EQ(docState(doc).partnerKind, PageKind::None);
    doc.currentPage = 3;
    EXPECT_EQ(docState(doc).partnerKind, PageKind::None);
    doc.pages[1]->setKind(PageKind::NotePage);
    doc.currentPage = 2;
    EXPECT_EQ(docState(doc).partnerKind, PageKind::NotePage);
    EXPECT_EQ(docState(doc).firstContentPage, 2);
}

}  // namespace
