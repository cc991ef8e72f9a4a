#include "app/CPrintBar.h"

#include "app/CSkinDialog.h"
#include "app/Commands.h"
#include "app/UiText.h"

#include "style/CStyle.h"
#include "style/CStyleButton.h"

#include "CPrintView.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

#include <algorithm>

namespace {

// The print-mode commands: id, caption, tooltip.
struct CommandRow {
    int id;
    const char* caption;
    int tip;
};
constexpr CommandRow kCommands[] = {
    {cmd::PreviousSheet, "Previous", 3374},
    {cmd::NextSheet, "Next", 3375},
    {cmd::PrintSheets, "Print", 3372},
    {cmd::ClosePrint, "Close", 3373},
};

}  // namespace

CPrintBar::CPrintBar(CPrintView& view, QWidget* parent) : QWidget(parent), m_view(view)
{
    // Two rows, so the bar fits the narrowest window: the choices and the
    // range above, the check boxes and the commands below.
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(8, 3, 8, 3);
    rows->setSpacing(3);
    auto* choices = new QHBoxLayout;
    auto* checks = new QHBoxLayout;
    for (QHBoxLayout* row : {choices, checks}) {
        row->setSpacing(4);
        rows->addLayout(row);
    }
    for (const auto& [id, caption] : {std::pair{kOnePage, "One Page"}, {kTwoPage, "Two Page"}})
        choices->addWidget(addButton(id, caption));
    choices->addSpacing(10);
    for (const auto& [id, caption] : {std::pair{kColour, "Color"}, {kBlackWhite, "Black White"}})
        choices->addWidget(addButton(id, caption));
    choices->addSpacing(10);
    for (const auto& [id, caption] : {std::pair{kAllPages, "All Pages"}, {kSelectedPages, "Selected Pages"}})
        choices->addWidget(addButton(id, caption));
    const auto box = [this, choices](int id, const char* label) {
        choices->addSpacing(6);
        m_labels[id] = new QLabel(ui::textOr(ui::kControlLabel + id, label), this);
        m_english[ui::kControlLabel + id] = label;
        choices->addWidget(m_labels[id]);
        auto* edit = new QLineEdit(this);
        edit->setFixedWidth(48);
        edit->setAlignment(Qt::AlignRight);
        choices->addWidget(edit);
        return edit;
    };
    m_from = box(kFrom, "From:");
    m_to = box(kTo, "To:");
    choices->addStretch(1);
    for (const auto& [id, caption] : {std::pair{kAddNumber, "Add Number"}, {kPrintTag, "Print Tag"},
                                      {kPrintNote, "Print Note"}, {kPrintIndex, "Print Index"}})
        checks->addWidget(addCheckBox(id, caption));
    checks->addStretch(1);

    const CStyle* style = applicationStyle();
    for (const CommandRow& row : kCommands) {
        auto* button = new CStyleButton(this);
        button->setCommandId(row.id);
        button->setText(ui::textOr(ui::kButtonCaption + row.id, row.caption));
        button->setToolTip(ui::text(row.tip));
        if (style)
            button->SetPicture(STYLE_PICTURES(*style, middle_btn));
        button->setFixedSize(std::max(60, button->fontMetrics().horizontalAdvance(button->text()) + 16), 22);
        // The keys stay with the preview.
        button->setFocusPolicy(Qt::NoFocus);
        checks->addWidget(button);
        m_commands.push_back(button);
    }

    connect(control(kOnePage), &QAbstractButton::clicked, this, [this] { m_view.setPagesPerSheet(0); });
    connect(control(kTwoPage), &QAbstractButton::clicked, this, [this] { m_view.setPagesPerSheet(1); });
    connect(control(kColour), &QAbstractButton::clicked, this, [this] { m_view.setColour(1); });
    connect(control(kBlackWhite), &QAbstractButton::clicked, this, [this] { m_view.setColour(0); });
    connect(control(kAllPages), &QAbstractButton::clicked, this, [this] { m_view.setAllPages(1); });
    connect(control(kSelectedPages), &QAbstractButton::clicked, this, [this] { m_view.setAllPages(0); });
    connect(control(kAddNumber), &QAbstractButton::clicked, this, [this](bool on) { m_view.setAddNumber(on); });
    connect(control(kPrintTag), &QAbstractButton::clicked, this, [this](bool on) { m_view.setPrintTag(on); });
    connect(control(kPrintNote), &QAbstractButton::clicked, this, [this](bool on) { m_view.setPrintNote(on); });
    connect(control(kPrintIndex), &QAbstractButton::clicked, this, [this](bool on) { m_view.setPrintIndex(on); });
    showOptions();
}

CStyleButton* CPrintBar::addButton(int id, const char* caption)
{
    auto* button = new CStyleButton(this);
    button->setCommandId(id);
    button->setText(ui::textOr(ui::kControlText + id, caption));
    m_english[id] = caption;
    if (const CStyle* style = applicationStyle())
        button->SetPicture(STYLE_PICTURES(*style, middle_btn));
    button->setFixedSize(std::max(60, button->fontMetrics().horizontalAdvance(button->text()) + 16), 22);
    button->setFocusPolicy(Qt::NoFocus);
    m_controls[id] = button;
    return button;
}

QCheckBox* CPrintBar::addCheckBox(int id, const char* caption)
{
    auto* box = new QCheckBox(ui::textOr(ui::kControlText + id, caption), this);
    m_english[id] = caption;
    box->setFocusPolicy(Qt::NoFocus);
    m_controls[id] = box;
    return box;
}

void CPrintBar::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        for (const auto& [id, control] : m_controls)
            control->setText(ui::textOr(ui::kControlText + id, m_english[id]));
        for (const auto& [id, label] : m_labels)
            label->setText(ui::textOr(ui::kControlLabel + id, m_english[ui::kControlLabel + id]));
        for (CStyleButton* button : m_commands) {
            for (const CommandRow& row : kCommands) {
                if (row.id == button->commandId()) {
                    button->setText(ui::textOr(ui::kButtonCaption + row.id, row.caption));
                    button->setToolTip(ui::text(row.tip));
                }
            }
        }
    }
    QWidget::changeEvent(event);
}

QAbstractButton* CPrintBar::control(int id) const
{
    const auto found = m_controls.find(id);
    return found == m_controls.end() ? nullptr : found->second;
}

void CPrintBar::showOptions()
{
    const printsheet::PrintOptions& o = m_view.options();
    // The choice in force stays pressed.
    const std::pair<int, bool> chosen[] = {{kOnePage, o.pagesPerSheet == 0}, {kTwoPage, o.pagesPerSheet == 1},
                                           {kColour, o.colour == 1},         {kBlackWhite, o.colour == 0},
                                           {kAllPages, o.allPages == 1},     {kSelectedPages, o.allPages == 0}};
    for (const auto& [id, down] : chosen)
        control(id)->setDown(down);
    const std::pair<int, bool> checked[] = {{kAddNumber, o.addNumber == 1},
                                            {kPrintTag, o.printTag == 1},
                                            {kPrintNote, o.printNote == 1},
                                            {kPrintIndex, o.printIndex == 1}};
    for (const auto& [id, on] : checked) {
        const QSignalBlocker quiet(control(id));
        control(id)->setChecked(on);
    }
}
