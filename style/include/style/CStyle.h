// Style: every picture of the program's skin, unpacked at start-up from
// "style.data" beside the program. The members, their names and their order
// are the interface the program reads the pictures by.
#pragma once

#include <QImage>

#include <functional>
#include <string>

#define STYLE_API __attribute__((visibility("default")))

// Button sets of four pictures: normal "_u", focused "_f", pressed "_d" and
// disabled "_x". doctype is a single picture between add/subtract and the rest.
#define STYLE_FIRST_BUTTON_SETS(X) X(add) X(subtract)
#define STYLE_BUTTON_SETS(X)                                                                                      \
    X(big_btn) X(middle_btn) X(small_btn) X(exit) X(max) X(normal) X(min) X(prev) X(stop) X(next) X(one) X(two)   \
    X(full) X(tag) X(mark) X(index) X(bookmark) X(note) X(book) X(file) X(save) X(print) X(cabinet) X(ground)     \
    X(music) X(time) X(search) X(web) X(envset) X(help)
// Menu pictures: plain, and "_s" for the item under the mouse.
#define STYLE_MENU_PAIRS(X)                                                                                        \
    X(prevpage_menu) X(nextpage_menu) X(menu_check) X(onepage_menu) X(twopage_menu) X(full_menu) X(clip_menu)      \
    X(window_menu) X(flipleft_menu) X(flipright_menu) X(jump_menu) X(tag_menu) X(mark_menu) X(index_menu)          \
    X(bookmark_menu) X(note_menu) X(book_menu) X(copy_menu) X(cut_menu) X(paste_menu) X(delete_menu) X(file_menu)  \
    X(save_menu) X(print_menu) X(exit_menu) X(select_text_menu)

class STYLE_API CStyle {
public:
    CStyle();
    virtual ~CStyle();
    CStyle(const CStyle&) = delete;
    CStyle& operator=(const CStyle&) = delete;

    // Unpacks "style.data" of the program's folder into a fresh private
    // temporary folder, loads every picture and deletes each file after
    // loading it, leaving no file behind. A missing or damaged data file reports "Fail to read style
    // config file. ..." and ends the process with exit code 0.
    void InitBitmap();
    // The same with the program's folder given.
    void InitBitmap(const std::string& programFolder);

    // How the failure is reported before the process ends: a message box
    // when the program has a screen, else standard error.
    static void setFailureReporter(std::function<void(const char* caption, const char* text)> reporter);

#define STYLE_SET_MEMBERS(name) QImage name##_u, name##_f, name##_d, name##_x;
#define STYLE_PAIR_MEMBERS(name) QImage name, name##_s;
    STYLE_FIRST_BUTTON_SETS(STYLE_SET_MEMBERS)
    QImage doctype;
    STYLE_BUTTON_SETS(STYLE_SET_MEMBERS)
    STYLE_MENU_PAIRS(STYLE_PAIR_MEMBERS)
#undef STYLE_SET_MEMBERS
#undef STYLE_PAIR_MEMBERS

    // The members by file name, in declaration order.
    template <typename F>
    void forEachPicture(F f)
    {
#define STYLE_VISIT_SET(name) f(#name "_u", name##_u); f(#name "_f", name##_f); f(#name "_d", name##_d); f(#name "_x", name##_x);
#define STYLE_VISIT_PAIR(name) f(#name, name); f(#name "_s", name##_s);
        STYLE_FIRST_BUTTON_SETS(STYLE_VISIT_SET)
        f("doctype", doctype);
        STYLE_BUTTON_SETS(STYLE_VISIT_SET)
        STYLE_MENU_PAIRS(STYLE_VISIT_PAIR)
#undef STYLE_VISIT_SET
#undef STYLE_VISIT_PAIR
    }

private:
    void DeleteBitmap();
    // Unpacks and loads; false when the data cannot be unpacked.
    bool loadPictures(const std::string& data);
};

// The unpacking of "style.data", a zip archive of flat file names. Refuses an
// archive with an entry that would land outside the folder, is absurdly large
// or shares its bytes with another entry, or whose entries add up to more
// than a skin could need, writing nothing for it. Non-zero on success.
STYLE_API int PackageUnpack(const char* dataPath, const char* folder, int flags);

inline constexpr const char* kStyleFailureText =
    "Fail to read style config file. This file maybe lost or its content has been destroyed.";
