// The splash window shown while the program starts: "splash_en.jpg" or
// "splash_ch.jpg" of the program's folder, 400 by 300, centred; nothing when
// the picture is missing.
#pragma once

#include <QImage>
#include <QWidget>

#include <string>

class CSplashDlg : public QWidget {
public:
    CSplashDlg(const std::string& programFolder, int language);
    // Shows itself and paints at once; false when there is no picture.
    bool showNow();
    bool hasPicture() const { return !m_picture.isNull(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
};
