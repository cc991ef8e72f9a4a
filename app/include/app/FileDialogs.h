// The Open and Save As dialogs: Qt's own, so they look and behave the same
// on every desktop and speak the interface language, configured here where
// tests can look at them.
#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <string>
#include <vector>

class QFileDialog;
class QWidget;

// The Open dialog's filters: first every extension the importers take, then
// the six kinds of file one by one.
QStringList openFilters(const std::vector<std::string>& extensions);
std::unique_ptr<QFileDialog> makeOpenDialog(QWidget* parent, const QString& folder,
                                            const std::vector<std::string>& extensions);

// Save As: one filter, and ".vl" added to a name typed without it before the
// dialog asks whether to replace an existing file.
std::unique_ptr<QFileDialog> makeSaveAsDialog(QWidget* parent, const QString& folder);
// The name a book is saved under: the name itself when it ends in ".vl"
// (any case), else the name with ".vl" added.
QString withBookSuffix(const QString& name);

// Where Save As starts before anything was saved: the user's documents.
QString defaultSaveFolder();

// The dialog that picks a picture to add to the picture folder: one JPEG
// file, starting in `folder`.
std::unique_ptr<QFileDialog> makeOpenPictureDialog(QWidget* parent, const QString& folder);
// Where it starts before a picture was picked: the user's pictures.
QString defaultPictureFolder();
