#include "app/UiText.h"

#include <QLibrary>

#include <map>

namespace {

// The English string table.
const std::map<int, const char*>& english()
{
    static const std::map<int, const char*> table = {
        {3000, "Window1"}, {3001, "Window2"}, {3002, "Window3"}, {3003, "Window4"}, {3004, "Window5"},
        {3005, "Help"}, {3006, "Close"},
        {3048, "Cancel"}, {3049, "Cancel"}, {3064, "Mark"}, {3072, "Cancel"},
        {3290, "Ok"}, {3291, "Cancel"}, {3294, "Exit"}, {3295, "Next Tip"}, {3296, "Yes"}, {3297, "No"},
        {3300, "Close the showing window"}, {3301, "Show system menu"}, {3302, "Turn to window 1"},
        {3303, "Turn to window 2"}, {3304, "Turn to window 3"}, {3305, "Turn to window 4"}, {3306, "Turn to window 5"},
        {3307, "Show the help window"}, {3308, "Minimize"}, {3309, "Restore"}, {3310, "Maximize"}, {3311, "Exit"},
        {3320, "Manage books"}, {3322, "Choose the background picture"}, {3323, "Choose the background music"},
        {3324, "Set the rest time"}, {3325, "Search the book"}, {3326, "Browse the web"},
        {3327, "Set the environment"}, {3328, "Show help book in the help window"},
        {3340, "Copy the leaf"}, {3341, "Cut the leaf"}, {3342, "Paste the leaves"}, {3343, "Delete the leaf"},
        {3344, "Turn to some one book page"}, {3345, "Continuly flip right page"}, {3346, "Stop flipping page"},
        {3347, "Continuly flip left page"}, {3348, "Edit the page's text"}, {3349, "Select text"},
        {3350, "Select a picture of the page"},
        {3360, "Read book under one page mode"}, {3361, "Read book under two page mode"},
        {3362, "Read book in the full window"}, {3363, "Add a tag to the page"}, {3364, "Mark text of the page"},
        {3365, "Edit the index"}, {3366, "Edit the bookmarks"}, {3367, "Edit the note pages"},
        {3368, "Print the book"}, {3369, "Open files as a book"}, {3370, "Save the book as a Versaleo file"},
        {3371, "Set book page color and font"},
        {3372, "Print the sheets"}, {3373, "Close the print view"}, {3374, "Show the previous sheet"},
        {3375, "Show the next sheet"},
        {4000, "Background Picture"}, {4001, "Open Picture File"},
        {4002, "Background Music"}, {4003, "Open Music File"}, {4004, "Rest Time"},
        {4206, "It is benefit to your health if you take a rest!"},
        {4208, "Music has been changed. So you need to restart this program!"},
        {4209, "The rest interval must be at least one minute."},
        {4504, "Mp3 File (*.mp3)"}, {4505, "Wave File (*.wav;*.wave)"}, {4506, "Midi File (*.mid;*.midi)"},
        {4006, "Open File"}, {4007, "Save File"}, {4025, "Book Page"},
        {4018, "Window1"}, {4019, "Window2"}, {4020, "Window3"}, {4021, "Window4"}, {4022, "Window5"},
        {4100, "Notice"}, {4101, "Sure"}, {4102, "Error"},
        {4201, "Please save window1's content before you quit the program!"},
        {4202, "Please save window2's content before you quit the program!"},
        {4203, "Please save window3's content before you quit the program!"},
        {4204, "Please save window4's content before you quit the program!"},
        {4205, "Please save window5's content before you quit the program!"},
        {4401, "Sorry! This isn't supported file type."}, {4402, "There isn't file to open."},
        {4404, "The Office Word isn't installed or it has been removed."}, {4405, "There is an inner error."},
        {4406, "Fail to open %s file. The file maybe lost"},
        {4430, "Fail to save %s."}, {4431, "Discard the changes of window %d?"},
        {4432, "Fail to open %s: the file is damaged."}, {4433, "Fail to print the sheets."},
        {4434, "%s is locked by DRM: only the program of its seller can open it."},
        {4450, "Opening"}, {4451, "Opening %s ..."},
        {4500, "Versaleo File (*.vl)"}, {4501, "Text File (*.txt)"}, {4502, "Web File (*.htm *.html)"},
        {4503, "Microsoft Word File (*.doc)"}, {4508, "Windows Help File (*.chm)"}, {4509, "Pdf File (*.pdf)"},
        {4531, "EPUB Book (*.epub)"}, {4532, "Office Document (*.docx *.odt *.rtf *.wps *.wpd)"},
        {4530, "All supported files"},
        {4510, "Jpg File (*.jpg)"},
        {4720, "Sorry! %s isn't a JPEG picture that can be shown."},
        {4721, "Fail to copy %s into the picture folder."}, {4722, "Fail to create the picture folder %s."},
        {4723, "Fail to delete %s."},
        {4611, "Statistic:  [Index page: %d]  [Book page: %d]  [Note page: %d]  [Bookmark: %d]  [Index: %d]  "
               "[Tag: %d]  [Mark: %d]"},
        // the Background Picture and Book Page dialogs
        {30351, "Add songs"}, {30352, "Delete the selected songs"}, {30353, "Play all songs"},
        {30354, "Play selected songs"}, {30355, "Stop playing"}, {31350, "Playing List:"}, {31353, "Option"},
        {30360, "Notice if reach to rest time."}, {30361, "Inteval:"}, {30363, "Hours"}, {30365, "Minutes"},
        {30366, "Don't notice."},
        {30341, "Add a picture"}, {30342, "Delete the selected picture"}, {30343, "Preview"},
        {30580, "Choose the page color"}, {30581, "Choose the text color"}, {30582, "Choose the font"},
        {30583, "Apply to all pages"}, {30588, "(No picture)"}, {30589, "Add a picture"},
        {30590, "Delete the selected picture"}, {30591, "Preview"},
        {31580, "Page Color:"}, {31582, "Font:"}, {31583, "The Range of Applying"}, {31584, "Start Page:"},
        {31585, "End Page:"}, {31588, "Page Picture:"},
        // the library of cabinets: titles, messages, and its dialogs' items
        // (30000 + control id, 31000 + control id for its label)
        {4013, "Cabinet"}, {4014, "Create Cabinet"}, {4015, "Update Cabinet"}, {4016, "Add Book"},
        {4017, "Update Book"}, {4403, "Fail to open this file. The file maybe lost."},
        {4410, "The cabinet name can't be empty."},
        {4411, "The cabinet of the name already exists. Please rename again."},
        {4440, "The library file is damaged; it was kept as %s. The books folder is not cleaned while it is there."},
        {4441, "Fail to copy %s into the library."}, {4442, "Fail to save the library file %s."},
        {4443, "The library file %s is damaged and could not be kept aside; the library will not be saved."},
        {4608, "%d/%d/%d"},
        {30521, "Create"}, {30522, "Update"}, {30523, "Delete"}, {30524, "Add"}, {30525, "Update"},
        {30526, "Delete"}, {30527, "Read"}, {30560, "File"},
        {31520, "Cabinet List:"}, {31524, "Manage Book:"}, {31540, "Name:"}, {31541, "Creator:"},
        {31542, "Frame Color:"}, {31543, "Create Time:"}, {31562, "Name:"}, {31563, "Author:"}, {31564, "Color:"},
        // the print bar (dialog 54): 30000 + control id, 31000 + control id for its label
        {30294, "One Page"}, {30295, "Two Page"}, {30296, "Color"}, {30297, "Black White"},
        {30298, "All Pages"}, {30299, "Selected Pages"}, {31300, "From:"}, {31301, "To:"},
        {30302, "Add Number"}, {30303, "Print Tag"}, {30304, "Print Note"}, {30305, "Print Index"},
        // the environment sheet: tabs, title, its pages' items (30000 + control
        // id, 31000 + control id for a group or label)
        {3090, "Start"}, {3092, "Flip"}, {3093, "Toolbar"}, {3094, "Lang."}, {4012, "Environment Parameters"},
        {31510, "File"}, {30510, "Add index when opening file"}, {30511, "Add bookmark when opening file"},
        {30514, "Find chapters when opening text"},
        {31512, "Music"}, {30512, "Play music after starting program"},
        {31513, "OneTip"}, {30513, "Show OneTip when starting this program."},
        {31500, "Page Flip Speed"}, {31501, "Slowly"}, {31502, "Fast"},
        {31490, "Toolbar"}, {30490, "Show the left toolbar"}, {30491, "Show the bottom toolbar"},
        {30492, "Show the right toolbar"}, {30493, "Show status bar"},
        {31480, "Interactive Language"}, {30480, "English (U.S.)"}, {30481, "Chinese (R.P.C.)"},
        // the search dialog and the tip of the day
        {4024, "Search"}, {4207, "Sorry! Don't find your searching content."},
        {30370, "Content:"}, {30372, "Match Case"}, {30373, "Previous"}, {30374, "Next"}, {30375, "Close"},
        {4027, "One Tip"}, {31660, "Did you know?"}, {30661, "Show OneTip when starting this program."},
        // the Index, Bookmark and Note Page dialogs: 30000 + control id, 31000 + control id for its label
        {4005, "Index"}, {4008, "Bookmark"}, {4009, "Note Page"}, {4602, "Page %d"},
        {31421, "Edit Index"}, {30421, "Delete the current index"}, {30422, "Update the current index"},
        {30423, "Add a new index"}, {30424, "Index Title"}, {31420, "Index list on the current book page"},
        {31401, "Edit Bookmark"}, {30401, "Update the current bookmark"}, {30402, "Add a new bookmark"},
        {30403, "Bookmark Title:"}, {30405, "Bookmark Color:"}, {30406, "Choose the bookmark color"},
        {31441, "Edit Note Page"}, {30441, "Update the current note page"}, {30442, "Add a new note page"},
        {30443, "Page Color:"}, {30444, "Choose the page color"}, {30445, "Font:"}, {30446, "AaBbYyZz 0123"},
        {30447, "Choose the font and its color"}, {31448, "Text Color:"},
        // the web browser (dialog 77)
        {3100, "Go"}, {3101, "Stop"}, {3102, "Refresh"}, {3103, "<<="}, {3104, "=>>"}, {3105, "Read"},
        {3106, "Close"}, {3380, "Convert the current web page to Versaleo document"}, {31622, "Address:"},
        // the popups of the main menu
        {9001, "File"}, {9002, "Edit"}, {9003, "Encoding"}, {9004, "Select"}, {9005, "Flip"}, {9006, "View"},
        {9007, "Window-Style"}, {9008, "Tool"}, {9009, "Window"}, {9010, "Help"},
        // the lantern slide's popup ends the slide under its own name
        {9039, "End Demo"},
        // the page commands: the leaf questions, Turn To, Delete Bookmark, Book Page Content
        {4010, "Delete Bookmark"}, {4011, "Turn To"}, {4026, "Book Page Content"},
        {4300, "Are you sure to delete this book page?"}, {4301, "Are you sure to cut this book page?"},
        {4302, "Are you sure to delete this note page?"}, {4303, "Are you sure to cut this note page?"},
        {4304, "Are you sure to delete this bookmark?"}, {4305, "Are you sure to cut this bookmark?"},
        {4400, "Please input English half-angle numbers: 0 - 9."},
        {31390, "Turn to"}, {31391, "page"},
        {30459, "Select Bookmark"}, {30460, "Delete the left bookmark"}, {30461, "Delete the right bookmark"},
    };
    return table;
}

struct Module {
    QLibrary library;
    std::map<int, QString> texts;
};

Module*& chineseModule()
{
    static Module* module = nullptr;
    return module;
}

int& currentLanguage()
{
    static int language = 0;
    return language;
}

}  // namespace

namespace ui {

const char* moduleFileName()
{
    return "Idiomres.so";
}

int setLanguage(int language, const std::string& programFolder)
{
    currentLanguage() = 0;
    if (language != 1)
        return 0;
    if (!chineseModule()) {
        auto module = std::make_unique<Module>();
        module->library.setFileName(QString::fromStdString(programFolder + "/" + moduleFileName()));
        const auto strings = reinterpret_cast<IdiomresStringsFunction>(module->library.resolve("IdiomresStrings"));
        if (!strings)
            return 0;
        int count = 0;
        const IdiomresString* table = strings(&count);
        for (int i = 0; table && i < count && i < 100000; ++i) {
            if (table[i].text)
                module->texts[table[i].id] = QString::fromUtf8(table[i].text);
        }
        // Loaded once, kept until the program ends.
        chineseModule() = module.release();
    }
    currentLanguage() = 1;
    return 1;
}

int language()
{
    return currentLanguage();
}

QString text(int id)
{
    if (currentLanguage() == 1 && chineseModule()) {
        const auto found = chineseModule()->texts.find(id);
        if (found != chineseModule()->texts.end())
            return found->second;
    }
    const auto found = english().find(id);
    return found == english().end() ? QString() : QString::fromUtf8(found->second);
}

QString textOr(int id, const char* english)
{
    const QString found = text(id);
    return found.isEmpty() ? QString::fromUtf8(english) : found;
}

QString text(int id, const QString& argument)
{
    QString result = text(id);
    const qsizetype at = result.indexOf(QLatin1Char('%'));
    if (at >= 0 && at + 1 < result.size())
        result.replace(at, 2, argument);
    return result;
}

}  // namespace ui
