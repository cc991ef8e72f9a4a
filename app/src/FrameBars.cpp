// The frame's bars as data: the top bar's tabs and caption buttons, the left,
// right and bottom tool bars; each row is one skinned button.
#include "FrameChrome.h"

#include "app/CMainFrame.h"
#include "app/CSkinDialog.h"
#include "app/UiText.h"

#include "style/CStyle.h"
#include "style/CStyleButton.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QStackedWidget>

#include <vector>

using namespace chrome;

// The four pictures of a skin set: normal, focused, pressed, disabled.
struct SkinSet {
    QImage CStyle::*normal = nullptr;
    QImage CStyle::*focused = nullptr;
    QImage CStyle::*pressed = nullptr;
    QImage CStyle::*disabled = nullptr;
};

struct BarButton {
    int id;
    int captionId;        // a string of the table, or 0: the command's own caption below
    const char* caption;  // English, translated through ui::kButtonCaption + id; null for none
    int tip;              // a string of the table, 0 for none
    SkinSet pictures;
    QSize size;
};

namespace {

constexpr QSize kTab{60, 20}, kCaptionButton{16, 16}, kPictureButton{60, 48}, kTextButton{60, 20}, kFlipButton{24, 24};

constexpr SkinSet kMiddle{&CStyle::middle_btn_u, &CStyle::middle_btn_f, &CStyle::middle_btn_d, &CStyle::middle_btn_x};

const std::vector<BarButton> kSystemButton = {
    {cmd::SystemMenu, 0, nullptr, 3301, {&CStyle::doctype, &CStyle::doctype, &CStyle::doctype, &CStyle::doctype}, {20, 20}},
};

const std::vector<BarButton> kWindowTabs = {
    {cmd::HelpWindow, 3005, nullptr, 3307, kMiddle, kTab},
    {cmd::Window1, 3000, nullptr, 3302, kMiddle, kTab},
    {cmd::Window2, 3001, nullptr, 3303, kMiddle, kTab},
    {cmd::Window3, 3002, nullptr, 3304, kMiddle, kTab},
    {cmd::Window4, 3003, nullptr, 3305, kMiddle, kTab},
    {cmd::Window5, 3004, nullptr, 3306, kMiddle, kTab},
    {cmd::CloseWindow, 3006, nullptr, 3300, kMiddle, kTab},
};

const std::vector<BarButton> kCaptionButtons = {
    {cmd::Minimise, 0, nullptr, 3308, {&CStyle::min_u, &CStyle::min_f, &CStyle::min_d, &CStyle::min_x}, kCaptionButton},
    {cmd::Restore, 0, nullptr, 3309, {&CStyle::normal_u, &CStyle::normal_f, &CStyle::normal_d, &CStyle::normal_x}, kCaptionButton},
    {cmd::Maximise, 0, nullptr, 3310, {&CStyle::max_u, &CStyle::max_f, &CStyle::max_d, &CStyle::max_x}, kCaptionButton},
    {cmd::Exit, 0, nullptr, 3311, {&CStyle::exit_u, &CStyle::exit_f, &CStyle::exit_d, &CStyle::exit_x}, kCaptionButton},
};

const std::vector<BarButton> kLeftBar = {
    {cmd::OnePage, 0, "One", 3360, {&CStyle::one_u, &CStyle::one_f, &CStyle::one_d, &CStyle::one_x}, kPictureButton},
    {cmd::TwoPage, 0, "Two", 3361, {&CStyle::two_u, &CStyle::two_f, &CStyle::two_d, &CStyle::two_x}, kPictureButton},
    {cmd::FullWindow, 0, "Full", 3362, {&CStyle::full_u, &CStyle::full_f, &CStyle::full_d, &CStyle::full_x}, kPictureButton},
    {cmd::AddTag, 0, "Tag", 3363, {&CStyle::tag_u, &CStyle::tag_f, &CStyle::tag_d, &CStyle::tag_x}, kPictureButton},
    {cmd::AddMark, 0, "Mark", 3364, {&CStyle::mark_u, &CStyle::mark_f, &CStyle::mark_d, &CStyle::mark_x}, kPictureButton},
    {cmd::EditIndex, 0, "Index", 3365, {&CStyle::index_u, &CStyle::index_f, &CStyle::index_d, &CStyle::index_x}, kPictureButton},
    {cmd::EditBookmark, 0, "Book-mark", 3366,
     {&CStyle::bookmark_u, &CStyle::bookmark_f, &CStyle::bookmark_d, &CStyle::bookmark_x}, kPictureButton},
    {cmd::EditNotePage, 0, "Note", 3367, {&CStyle::note_u, &CStyle::note_f, &CStyle::note_d, &CStyle::note_x}, kPictureButton},
    {cmd::Print, 0, "Print", 3368, {&CStyle::print_u, &CStyle::print_f, &CStyle::print_d, &CStyle::print_x}, kPictureButton},
    {cmd::Open, 0, "File", 3369, {&CStyle::file_u, &CStyle::file_f, &CStyle::file_d, &CStyle::file_x}, kPictureButton},
    {cmd::SaveAs, 0, "Save", 3370, {&CStyle::save_u, &CStyle::save_f, &CStyle::save_d, &CStyle::save_x}, kPictureButton},
    {cmd::EditBookPage, 0, "Book", 3371, {&CStyle::book_u, &CStyle::book_f, &CStyle::book_d, &CStyle::book_x}, kPictureButton},
};

const std::vector<BarButton> kRightBar = {
    {cmd::Cabinet, 0, "Cabinet", 3320, {&CStyle::cabinet_u, &CStyle::cabinet_f, &CStyle::cabinet_d, &CStyle::cabinet_x}, kPictureButton},
    {cmd::BackPicture, 0, "Picture", 3322, {&CStyle::ground_u, &CStyle::ground_f, &CStyle::ground_d, &CStyle::ground_x}, kPictureButton},
    {cmd::BackMusic, 0, "Music", 3323, {&CStyle::music_u, &CStyle::music_f, &CStyle::music_d, &CStyle::music_x}, kPictureButton},
    {cmd::RestTime, 0, "Time", 3324, {&CStyle::time_u, &CStyle::time_f, &CStyle::time_d, &CStyle::time_x}, kPictureButton},
    {cmd::Search, 0, "Search", 3325, {&CStyle::search_u, &CStyle::search_f, &CStyle::search_d, &CStyle::search_x}, kPictureButton},
    {cmd::Internet, 0, "Web", 3326, {&CStyle::web_u, &CStyle::web_f, &CStyle::web_d, &CStyle::web_x}, kPictureButton},
    {cmd::Environment, 0, "Envset", 3327, {&CStyle::envset_u, &CStyle::envset_f, &CStyle::envset_d, &CStyle::envset_x}, kPictureButton},
    {cmd::Help, 0, "Help", 3328, {&CStyle::help_u, &CStyle::help_f, &CStyle::help_d, &CStyle::help_x}, kPictureButton},
};

// The bottom bar: the leaf commands, then the page box with the jump and
// flip buttons, then the page's own commands.
const std::vector<BarButton> kBottomLeaves = {
    {cmd::CopyPage, 0, "Copy", 3340, kMiddle, kTextButton},
    {cmd::CutPage, 0, "Cut", 3341, kMiddle, kTextButton},
    {cmd::PastePage, 0, "Paste", 3342, kMiddle, kTextButton},
    {cmd::DeletePage, 0, "Delete", 3343, kMiddle, kTextButton},
};

const std::vector<BarButton> kBottomFlips = {
    {cmd::JumpBox, 0, "Jump", 3344, kMiddle, kTextButton},
    {cmd::ContinueRight, 0, nullptr, 3345, {&CStyle::prev_u, &CStyle::prev_f, &CStyle::prev_d, &CStyle::prev_x}, kFlipButton},
    {cmd::StopFlip, 0, nullptr, 3346, {&CStyle::stop_u, &CStyle::stop_f, &CStyle::stop_d, &CStyle::stop_x}, kFlipButton},
    {cmd::ContinueLeft, 0, nullptr, 3347, {&CStyle::next_u, &CStyle::next_f, &CStyle::next_d, &CStyle::next_x}, kFlipButton},
};

const std::vector<BarButton> kBottomPage = {
    {cmd::EditContent, 0, "Edit", 3348, kMiddle, kTextButton},
    {cmd::SelectText, 0, "Text", 3349, kMiddle, kTextButton},
    {cmd::SelectBitmap, 0, "Bitmap", 3350, kMiddle, kTextButton},
};

}  // namespace

namespace {

void applyTexts(CStyleButton* button, const BarButton& row)
{
    const QString caption = row.captionId ? ui::text(row.captionId)
                            : row.caption ? ui::textOr(ui::kButtonCaption + row.id, row.caption)
                                          : QString();
    button->setText(caption);
    const QString tip = row.tip ? ui::text(row.tip) : QString();
    button->setToolTip(tip.isEmpty() ? caption : tip);
}

}  // namespace

void CMainFrame::retranslateBars()
{
    for (const auto& [id, row] : m_barRows) {
        if (CStyleButton* b = button(id))
            applyTexts(b, *row);
    }
}

CStyleButton* CMainFrame::addButton(QWidget* bar, QBoxLayout* layout, const BarButton& row, Qt::Alignment alignment)
{
    auto* button = new CStyleButton(bar);
    button->setCommandId(row.id);
    applyTexts(button, row);
    m_barRows[row.id] = &row;
    if (const CStyle* style = applicationStyle(); style && row.pictures.normal) {
        button->SetPicture(&(style->*row.pictures.normal), &(style->*row.pictures.focused), &(style->*row.pictures.pressed),
                           &(style->*row.pictures.disabled));
    }
    button->setFixedSize(row.size);
    // The keys stay with the book: a button is clicked, never focused.
    button->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(button, 0, alignment);
    connect(button, &CStyleButton::command, this, &CMainFrame::runCommand);
    m_buttons[row.id] = button;
    return button;
}

void CMainFrame::buildBars()
{
    const auto addRows = [this](QWidget* bar, QBoxLayout* layout, const std::vector<BarButton>& rows, Qt::Alignment alignment = {}) {
        for (const BarButton& row : rows)
            addButton(bar, layout, row, alignment);
    };

    m_topBar = new CTopBar(*this);
    auto* top = new QHBoxLayout(m_topBar);
    top->setContentsMargins(6, 5, 6, 5);
    top->setSpacing(3);
    addRows(m_topBar, top, kSystemButton);
    top->addStretch(1);
    addRows(m_topBar, top, kWindowTabs);
    top->addSpacing(10);
    addRows(m_topBar, top, kCaptionButtons);

    const auto sideBar = [&](const std::vector<BarButton>& rows) {
        auto* bar = new QWidget(this);
        auto* layout = new QVBoxLayout(bar);
        layout->setContentsMargins(4, 4, 4, 4);
        layout->setSpacing(2);
        addRows(bar, layout, rows, Qt::AlignHCenter);
        layout->addStretch(1);
        return bar;
    };
    m_leftBar = sideBar(kLeftBar);
    m_rightBar = sideBar(kRightBar);

    m_bottomBar = new QWidget(this);
    auto* bottom = new QHBoxLayout(m_bottomBar);
    bottom->setContentsMargins(6, 3, 6, 3);
    bottom->setSpacing(4);
    addRows(m_bottomBar, bottom, kBottomLeaves);
    bottom->addStretch(1);
    m_pageBox = new QLineEdit(m_bottomBar);
    m_pageBox->setFixedWidth(50);
    // Enter in the box jumps as the button does; the button follows the text.
    connect(m_pageBox, &QLineEdit::returnPressed, this, [this] { runCommand(cmd::JumpBox); });
    connect(m_pageBox, &QLineEdit::textChanged, this, &CMainFrame::updateCommands);
    bottom->addWidget(m_pageBox);
    addRows(m_bottomBar, bottom, kBottomFlips);
    bottom->addStretch(1);
    addRows(m_bottomBar, bottom, kBottomPage);

    m_statusBar = new QLabel(this);
    m_statusBar->setContentsMargins(8, 2, 8, 2);

    auto* middle = new QHBoxLayout;
    middle->setContentsMargins(0, 0, 0, 0);
    middle->setSpacing(0);
    middle->addWidget(m_leftBar);
    middle->addWidget(m_views, 1);
    middle->addWidget(m_rightBar);
    m_menuBar = new QMenuBar(this);
    m_menuBar->hide();
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(kBorderLeft, kBorderTop, kBorderRight, kBorderBottom);
    outer->setSpacing(0);
    outer->setMenuBar(m_menuBar);
    outer->addWidget(m_topBar);
    outer->addLayout(middle, 1);
    outer->addWidget(m_bottomBar);
    outer->addWidget(m_statusBar);
}
