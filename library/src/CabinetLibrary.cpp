#include "library/CabinetLibrary.h"

#include "library/LibraryFile.h"

#include "aidkern/CAKFileManager.h"

#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The whole file, or nullopt when it cannot be read or is far too large to
// be a library.
std::optional<std::string> readFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::string bytes;
    char buffer[65536];
    bool ok = true;
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got == 0)
            break;
        if (got < 0 || bytes.size() + static_cast<size_t>(got) > libraryfile::kMaxFileSize) {
            ok = false;
            break;
        }
        bytes.append(buffer, static_cast<size_t>(got));
    }
    ::close(fd);
    return ok ? std::optional<std::string>(std::move(bytes)) : std::nullopt;
}

}  // namespace

CabinetButtons cabinetButtonStates(int currentCabinet, size_t booksInCurrent, int selectedBook)
{
    CabinetButtons buttons;
    if (currentCabinet < 0)
        return buttons;
    buttons.updateCabinet = buttons.deleteCabinet = true;
    buttons.addBook = booksInCurrent < CCabinet::kMaxBooks;
    buttons.updateBook = buttons.deleteBook = buttons.readBook = selectedBook >= 0;
    return buttons;
}

CabinetLibrary::CabinetLibrary(std::string booksFolder) : m_folder(std::move(booksFolder)) {}

CabinetLibrary::LoadStatus CabinetLibrary::load()
{
    m_cabinets.clear();
    m_current = m_selected = -1;
    const std::string path = books::libraryFilePath(m_folder);
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0)
        return LoadStatus::Missing;
    const std::optional<std::string> bytes = readFile(path);
    std::optional<std::vector<CCabinet>> cabinets = bytes ? libraryfile::parse(*bytes) : std::nullopt;
    if (!cabinets) {
        // Saving an empty library over it, and cleaning the folder after,
        // would lose every book: the file goes aside for the reader instead.
        m_damagedName = books::keepDamagedLibrary(m_folder, m_clock());
        m_saveRefused = m_damagedName.empty();
        return LoadStatus::Damaged;
    }
    for (CCabinet& cabinet : *cabinets) {
        // An entry naming its copy in another letter case keeps it; an
        // entry without a copy goes.
        for (CCabinetBook& book : cabinet.books)
            book.fileName = books::copyOnDisk(m_folder, book.fileName);
        std::erase_if(cabinet.books, [](const CCabinetBook& book) { return book.fileName.empty(); });
        m_cabinets.push_back(std::move(cabinet));
    }
    if (!m_cabinets.empty())
        m_current = 0;
    return LoadStatus::Loaded;
}

bool CabinetLibrary::save()
{
    if (m_saveRefused)
        return false;
    const std::string bytes = libraryfile::serialize(m_cabinets);
    if (bytes.empty())
        return false;
    CAKFileManager::AKCascadeCreateDirectory(m_folder);
    const std::string path = books::libraryFilePath(m_folder);
    CAKFileManager::AKBackupFile(path);
    if (!books::replaceFileAtomically(path, bytes, m_writer))
        return false;
    if (!books::holdsDamagedLibrary(m_folder)) {
        std::vector<std::string> keep{books::kLibraryFileName};
        for (const CCabinet& cabinet : m_cabinets) {
            for (const CCabinetBook& book : cabinet.books)
                keep.push_back(book.fileName);
        }
        books::cleanFolder(m_folder, keep);
    }
    return true;
}

const CCabinet* CabinetLibrary::current() const
{
    return m_current >= 0 ? &m_cabinets[static_cast<size_t>(m_current)] : nullptr;
}

const CCabinetBook* CabinetLibrary::selected() const
{
    const CCabinet* cabinet = current();
    return cabinet && m_selected >= 0 ? &cabinet->books[static_cast<size_t>(m_selected)] : nullptr;
}

CabinetButtons CabinetLibrary::buttonStates() const
{
    const CCabinet* cabinet = current();
    return cabinetButtonStates(m_current, cabinet ? cabinet->books.size() : 0, m_selected);
}

void CabinetLibrary::selectCabinet(int index)
{
    m_current = index >= 0 && index < static_cast<int>(m_cabinets.size()) ? index : -1;
    m_selected = -1;
}

void CabinetLibrary::selectBook(int index)
{
    const CCabinet* cabinet = current();
    m_selected = cabinet && index >= 0 && index < static_cast<int>(cabinet->books.size()) ? index : -1;
}

void CabinetLibrary::createCabinet(CCabinet cabinet)
{
    m_cabinets.push_back(std::move(cabinet));
    m_current = static_cast<int>(m_cabinets.size()) - 1;
    m_selected = -1;
}

void CabinetLibrary::updateCabinet(const std::string& name, const std::string& creator, COLORREF borderColor)
{
    if (m_current < 0)
        return;
    CCabinet& cabinet = m_cabinets[static_cast<size_t>(m_current)];
    cabinet.name = name;
    cabinet.creator = creator;
    cabinet.borderColor = borderColor;
    m_selected = -1;
}

void CabinetLibrary::deleteCabinet()
{
    if (m_current < 0)
        return;
    m_cabinets.erase(m_cabinets.begin() + m_current);
    m_selected = -1;
    if (m_cabinets.empty())
        m_current = -1;
    else if (m_current >= static_cast<int>(m_cabinets.size()))
        m_current = static_cast<int>(m_cabinets.size()) - 1;
}

bool CabinetLibrary::addBook(const std::string& sourcePath, const std::string& bookName, const std::string& author,
                             COLORREF frameColor)
{
    if (m_current < 0 || m_cabinets[static_cast<size_t>(m_current)].books.size() >= CCabinet::kMaxBooks)
        return false;
    CAKFileManager::AKCascadeCreateDirectory(m_folder);
    std::string fileName = books::makeBookCopy(sourcePath, m_folder);
    if (fileName.empty())
        return false;
    m_cabinets[static_cast<size_t>(m_current)].books.push_back({frameColor, std::move(fileName), bookName, author});
    m_selected = -1;
    return true;
}

void CabinetLibrary::updateBook(const std::string& bookName, const std::string& author, COLORREF frameColor)
{
    if (!selected())
        return;
    CCabinetBook& book = m_cabinets[static_cast<size_t>(m_current)].books[static_cast<size_t>(m_selected)];
    book.bookName = bookName;
    book.author = author;
    book.frameColor = frameColor;
}

void CabinetLibrary::deleteBook()
{
    if (!selected())
        return;
    auto& shelf = m_cabinets[static_cast<size_t>(m_current)].books;
    shelf.erase(shelf.begin() + m_selected);
    m_selected = -1;
}

std::string CabinetLibrary::selectedCopyPath() const
{
    const CCabinetBook* book = selected();
    return book ? m_folder + "/" + book->fileName : std::string();
}
