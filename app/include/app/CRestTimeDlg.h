// The "Rest Time" dialog: whether and after how long the reader is reminded
// to rest. The frame keeps the choice and runs the reminder's timer.
#pragma once

#include "app/CSkinDialog.h"

#include <functional>

class QLabel;
class QLineEdit;
class QRadioButton;

// The reminder's settings; not kept between runs.
struct RestTime {
    int notice = 1;  // 1: remind
    int hours = 1;
    int minutes = 0;
};

namespace resttime {
// The boxes never show more than 2 hours or 59 minutes.
int clampHours(int hours);
int clampMinutes(int minutes);
// The reminder's period in milliseconds; 0 when there is none to run.
long long intervalMs(const RestTime& rest);
}  // namespace resttime

class CRestTimeDlg : public CSkinDialog {
    Q_OBJECT

public:
    static constexpr int kResourceId = 60;
    static constexpr int kNoticeId = 360, kIntervalId = 361, kHoursId = 362, kHoursLabelId = 363,
                         kMinutesId = 364, kMinutesLabelId = 365, kNoNoticeId = 366;

    CRestTimeDlg(const RestTime& current, QWidget* parent = nullptr);
    ~CRestTimeDlg() override;

    // What OK confirmed.
    const RestTime& restTime() const { return m_result; }

    QRadioButton* noticeRadio() const { return m_notice; }
    QRadioButton* noNoticeRadio() const { return m_noNotice; }
    QLineEdit* hoursEdit() const { return m_hours; }
    QLineEdit* minutesEdit() const { return m_minutes; }

    // How the dialog tells of an interval it refuses; tests replace it.
    std::function<void(const QString& caption, const QString& text)> showNotice;

protected:
    void OnOK() override;

private:
    void enableInterval(bool enabled);

    RestTime m_result;
    QRadioButton* m_notice;
    QRadioButton* m_noNotice;
    QLabel* m_intervalLabel;
    QLineEdit* m_hours;
    QLabel* m_hoursLabel;
    QLineEdit* m_minutes;
    QLabel* m_minutesLabel;
};
