// The four pages of the environment sheet: start options, flip speed, bars
// and language. Each shows the values in force when it is made and hands
// back what the reader set; the sheet applies them.
#pragma once

#include <QColor>
#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLabel;
class QRadioButton;
class QSlider;

// Everything the sheet shows and sets (check boxes 0 or 1).
struct EnvironmentValues {
    int needIndex = 1;
    int needBookmark = 1;
    int detectChapters = 1;
    int playMusic = 1;
    int showTip = 1;
    int flipSpeed = 50;
    int leftBar = 1;
    int bottomBar = 1;
    int rightBar = 1;
    int statusBar = 0;
    int language = 0;
    bool operator==(const EnvironmentValues&) const = default;
};

// A page of the sheet, painted in one solid colour behind its controls.
class EnvironmentPage : public QWidget {
    Q_OBJECT

public:
    EnvironmentPage(QColor background, QWidget* parent);
    // Its fields into values.
    virtual void takeData(EnvironmentValues& values) const = 0;
    // Its texts in the language now in force.
    virtual void retranslate() = 0;
};

class CStartPage : public EnvironmentPage {
    Q_OBJECT

public:
    static constexpr int kResourceId = 63;
    static constexpr int kNeedIndexId = 510, kNeedBookmarkId = 511, kPlayMusicId = 512, kShowTipId = 513;
    static constexpr int kDetectChaptersId = 514;

    CStartPage(const EnvironmentValues& values, QWidget* parent);
    void takeData(EnvironmentValues& values) const override;
    void retranslate() override;
    QCheckBox* box(int id) const;

private:
    QGroupBox* m_file;
    QGroupBox* m_music;
    QGroupBox* m_tip;
    QCheckBox* m_needIndex;
    QCheckBox* m_needBookmark;
    QCheckBox* m_detectChapters;
    QCheckBox* m_playMusic;
    QCheckBox* m_showTip;
};

class CFlipSpeedPage : public EnvironmentPage {
    Q_OBJECT

public:
    static constexpr int kResourceId = 65;
    static constexpr int kTrackBarId = 500;
    static constexpr int kSlowest = 10, kFastest = 50;

    CFlipSpeedPage(const EnvironmentValues& values, QWidget* parent);
    void takeData(EnvironmentValues& values) const override;
    void retranslate() override;
    QSlider* trackBar() const { return m_bar; }
    int speed() const { return m_speed; }

private:
    QGroupBox* m_group;
    QSlider* m_bar;
    QLabel* m_slowly;
    QLabel* m_fast;
    int m_speed;
};

class CToolbarPageDlg : public EnvironmentPage {
    Q_OBJECT

public:
    static constexpr int kResourceId = 66;
    static constexpr int kLeftId = 490, kBottomId = 491, kRightId = 492, kStatusId = 493;

    CToolbarPageDlg(const EnvironmentValues& values, QWidget* parent);
    void takeData(EnvironmentValues& values) const override;
    void retranslate() override;
    QCheckBox* box(int id) const;

private:
    QGroupBox* m_group;
    QCheckBox* m_left;
    QCheckBox* m_bottom;
    QCheckBox* m_right;
    QCheckBox* m_status;
};

class CLanguagePage : public EnvironmentPage {
    Q_OBJECT

public:
    static constexpr int kResourceId = 67;
    static constexpr int kEnglishId = 480, kChineseId = 481;
    static constexpr QColor kBackground{220, 140, 220};

    CLanguagePage(const EnvironmentValues& values, QWidget* parent);
    void takeData(EnvironmentValues& values) const override;
    void retranslate() override;
    QRadioButton* radio(int id) const { return id == kChineseId ? m_chinese : m_english; }

private:
    QGroupBox* m_group;
    QRadioButton* m_english;
    QRadioButton* m_chinese;
};
