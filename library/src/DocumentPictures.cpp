#include "library/DocumentPictures.h"

#include "library/Artwork.h"
#include "library/Settings.h"

#include "pixmill/Pixmill.h"

#include <memory>

QImage loadPicture(const std::string& path)
{
    HDIB dib = LoadDIBFromFile(path.c_str());
    if (!dib)
        return {};
    std::unique_ptr<QImage> image(GetHBITMAPFromDIB(dib));
    DibFree(dib);
    return image ? *image : QImage();
}

DocumentPictures::DocumentPictures(std::string folder)
    : m_folder(std::move(folder)), m_background(artwork::fallback()), m_outer(m_background), m_inner(m_background)
{
}

std::string DocumentPictures::picturePath(const char* family, int number) const
{
    return m_folder + "/" + family + std::to_string(number) + ".jpg";
}

bool DocumentPictures::load(const char* family, int number, QImage& picture, int& current)
{
    QImage loaded = loadPicture(picturePath(family, number));
    if (loaded.isNull()) {
        picture = artwork::fallback();
        return false;
    }
    picture = std::move(loaded);
    current = number;
    return true;
}

bool DocumentPictures::loadBackground(int number)
{
    return load("BackGround", number, m_background, m_backgroundNumber);
}

bool DocumentPictures::chooseBackground(int number)
{
    m_backgroundNumber = number;
    return loadBackground(number);
}

bool DocumentPictures::loadOuterCover(int number)
{
    return load("CoverOuter", number, m_outer, m_outerNumber);
}

bool DocumentPictures::loadInnerCover(int number)
{
    return load("CoverInner", number, m_inner, m_innerNumber);
}

void DocumentPictures::loadFromSettings(const AppSettings& settings)
{
    // What the settings name is the document's choice, shown or not: the
    // Background Picture dialog selects by it.
    m_backgroundNumber = settings.backPictureIndex;
    m_outerNumber = settings.coverPictureOuterIndex;
    m_innerNumber = settings.coverPictureInnerIndex;
    loadBackground(settings.backPictureIndex);
    loadOuterCover(settings.coverPictureOuterIndex);
    loadInnerCover(settings.coverPictureInnerIndex);
}

QImage DocumentPictures::pagePicture(int number)
{
    if (number <= 0)
        return {};
    const auto found = m_pagePictures.find(number);
    if (found != m_pagePictures.end())
        return found->second;
    QImage picture = loadPicture(picturePath("BookPage", number));
    m_pagePictures[number] = picture;
    return picture;
}
