// The document's three pictures (background, outer cover, inner cover) and
// its page pictures, loaded from the picture folder through Pixmill.
#pragma once

#include "views/SpreadPainter.h"

#include <QImage>

#include <map>
#include <string>

struct AppSettings;

class DocumentPictures : public PictureSource {
public:
    explicit DocumentPictures(std::string folder);

    // The numbers the settings name: "BackPictureIndex",
    // "CoverPictureOuterIndex" and "CoverPictureInnerIndex". The numbers are
    // taken even when their pictures fail to load.
    void loadFromSettings(const AppSettings& settings);

    // The picture folder the pictures are read from.
    const std::string& folder() const { return m_folder; }

    // On failure the fallback picture shows and the number stays.
    bool loadBackground(int number);
    // The reader's choice: the number is the document's even when its
    // picture fails to load (the fallback shows then).
    bool chooseBackground(int number);
    bool loadOuterCover(int number);
    bool loadInnerCover(int number);
    int backgroundNumber() const { return m_backgroundNumber; }
    int outerCoverNumber() const { return m_outerNumber; }
    int innerCoverNumber() const { return m_innerNumber; }

    // Page pictures are read once and kept; forget them when files change.
    void forgetPagePictures() { m_pagePictures.clear(); }

    const QImage& background() override { return m_background; }
    const QImage& outerCover() override { return m_outer; }
    const QImage& innerCover() override { return m_inner; }
    QImage pagePicture(int number) override;

    // "BackGround3.jpg" and the like, in the picture folder.
    std::string picturePath(const char* family, int number) const;

private:
    bool load(const char* family, int number, QImage& picture, int& current);

    std::string m_folder;
    QImage m_background, m_outer, m_inner;
    int m_backgroundNumber = 1, m_outerNumber = 1, m_innerNumber = 1;
    std::map<int, QImage> m_pagePictures;
};

// A picture file through Pixmill as an image; null when it cannot be read.
QImage loadPicture(const std::string& path);
