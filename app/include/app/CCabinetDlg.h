// The cabinet dialog: a cabinet's name, creator and frame colour and the date
// it was created. In create mode the date is today's; in update mode the
// dialog shows a cabinet's values. OK refuses an empty name and a name
// another cabinet has, in any letter case.
#pragma once

#include "app/CSkinDialog.h"

#include "library/Cabinet.h"

#include <functional>
#include <optional>
#include <vector>

class ColourBox;
class QLabel;
class QLineEdit;

// "Create Time:" as string 4608 "%d/%d/%d" fills it: month, day, year in
// English, year, month, day in Chinese.
QString createTimeText(int year, int month, int day, int language);

class CCabinetDlg : public CSkinDialog {
    Q_OBJECT

public:
    enum Mode { Create = 1, Update = 2 };
    static constexpr int kNameId = 540;
    static constexpr int kCreatorId = 541;
    static constexpr int kColourId = 542;
    static constexpr int kCreateTimeId = 543;

    // The cabinets are those of the library, for the test of the name.
    CCabinetDlg(Mode mode, const std::vector<CCabinet>& cabinets, QWidget* parent = nullptr);

    // Update mode: shows the cabinet; its name is the one the dialog started with.
    void setCabinet(const CCabinet& cabinet);
    // The name (trimmed), creator, colour and date, without books.
    CCabinet cabinet() const;

    QLineEdit* nameEdit() const { return m_name; }
    QLineEdit* creatorEdit() const { return m_creator; }
    ColourBox* colourBox() const { return m_colour; }
    QLabel* createTime() const { return m_createTime; }

    // How the dialog tells why it stays open and asks for a colour starting
    // at the box's (nothing when cancelled); tests replace them.
    std::function<void(const QString& caption, const QString& text)> showMessage;
    std::function<std::optional<COLORREF>(COLORREF current)> askColour;

protected:
    void OnOK() override;

private:
    void showDate();
    void chooseColour();

    const std::vector<CCabinet>& m_cabinets;
    std::string m_startedWith;
    int32_t m_year = 0, m_month = 0, m_day = 0;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_creator = nullptr;
    ColourBox* m_colour = nullptr;
    QLabel* m_createTime = nullptr;
};
