#include "library/PictureFamily.h"

#include "library/DocumentPictures.h"

#include "aidkern/CAKFileManager.h"
#include "aidkern/CAKPathManager.h"

#include <utility>

PictureFileOps PictureFileOps::disk()
{
    PictureFileOps ops;
    ops.exists = [](const std::string& path) {
        int file = 0;
        return CAKFileManager::AKIsFile(path, &file) == S_OK && file == 1;
    };
    ops.makeFolder = [](const std::string& folder) {
        int isFolder = 0;
        return CAKFileManager::AKCascadeCreateDirectory(folder) == S_OK &&
               CAKFileManager::AKIsDirectory(folder, &isFolder) == S_OK && isFolder == 1;
    };
    ops.copy = [](const std::string& from, const std::string& to) {
        return CAKFileManager::AKCoverFile(from, to) == S_OK;
    };
    ops.rename = [](const std::string& from, const std::string& to) {
        return CAKFileManager::AKRenameFile(from, to) == S_OK;
    };
    ops.remove = [](const std::string& path) { return CAKFileManager::AKDeleteFile(path) == S_OK; };
    ops.decodes = [](const std::string& path) { return !loadPicture(path).isNull(); };
    return ops;
}

PictureFamily::PictureFamily(std::string folder, std::string family, PictureFileOps ops)
    : m_folder(std::move(folder)), m_family(std::move(family)), m_ops(std::move(ops))
{
}

std::string PictureFamily::path(int number) const
{
    return m_folder + "/" + m_family + std::to_string(number) + ".jpg";
}

int PictureFamily::count() const
{
    int n = 0;
    while (m_ops.exists(path(n + 1)))
        ++n;
    return n;
}

std::vector<std::string> PictureFamily::titles() const
{
    std::vector<std::string> titles;
    for (int n = 1; m_ops.exists(path(n)); ++n) {
        std::string title;
        CAKPathManager::AKGetFileTitle(path(n), &title);
        titles.push_back(std::move(title));
    }
    return titles;
}

PictureFamily::Added PictureFamily::add(const std::string& source)
{
    if (!m_ops.makeFolder(m_folder))
        return {AddResult::NoFolder, 0};
    const int number = count() + 1;
    const std::string target = path(number);
    if (!m_ops.copy(source, target)) {
        // A copy that broke off half-way is no picture of the family.
        m_ops.remove(target);
        return {AddResult::CopyFailed, 0};
    }
    // Checked on the copy: it has the extension the pictures are read by,
    // whatever the chosen file's name says.
    if (!m_ops.decodes(target)) {
        m_ops.remove(target);
        return {AddResult::NotAPicture, 0};
    }
    return {AddResult::Added, number};
}

bool PictureFamily::remove(int number)
{
    if (number < 1 || !m_ops.exists(path(number)))
        return false;
    // The picture steps aside first, so a failure later can put it back.
    const std::string aside = m_folder + "/." + m_family + "-removed.jpg";
    m_ops.remove(aside);
    if (!m_ops.rename(path(number), aside))
        return false;
    int next = number + 1;
    for (; m_ops.exists(path(next)); ++next) {
        if (!m_ops.rename(path(next), path(next - 1))) {
            for (int moved = next - 1; moved > number; --moved)
                m_ops.rename(path(moved - 1), path(moved));
            m_ops.rename(aside, path(number));
            return false;
        }
    }
    m_ops.remove(aside);
    return true;
}
