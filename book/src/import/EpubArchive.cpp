#include "book/import/EpubArchive.h"

#include "ziplayout/ZipLayout.h"

#include <zip.h>

#include <algorithm>

namespace epub {

bool isSafeEntryName(std::string_view name)
{
    if (name.empty() || name.size() > kMaxNameBytes)
        return false;
    if (name[0] == '/' || name[0] == '\\')
        return false;
    if (name.size() >= 2 && name[1] == ':')
        return false;
    // Both separators count: an archive made on Windows may use either.
    size_t start = 0;
    while (start <= name.size()) {
        const size_t end = std::min(name.find_first_of("/\\", start), name.size());
        if (name.substr(start, end - start) == "..")
            return false;
        start = end + 1;
    }
    return true;
}

struct Archive::Zip {
    ~Zip()
    {
        if (archive)
            zip_discard(archive);
    }
    zip_t* archive = nullptr;
};

Archive::Archive(Limits limits) : m_zip(std::make_unique<Zip>()), m_limits(limits) {}
Archive::~Archive() = default;

Archive::OpenResult Archive::open(const std::string& path)
{
    int error = 0;
    m_zip->archive = zip_open(path.c_str(), ZIP_RDONLY, &error);
    if (!m_zip->archive)
        return error == ZIP_ER_NOZIP || error == ZIP_ER_INCONS ? OpenResult::Refused : OpenResult::Unreadable;
    const zip_int64_t count = zip_get_num_entries(m_zip->archive, 0);
    // Entries sharing compressed bytes multiply them when read.
    if (count < 0 || static_cast<uint64_t>(count) > kMaxEntries || !ziplayout::entriesAreDisjoint(path, m_zip->archive))
        return OpenResult::Refused;
    uint64_t total = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(m_zip->archive, static_cast<zip_uint64_t>(i), 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME))
            return OpenResult::Refused;
        if (!isSafeEntryName(st.name))
            return OpenResult::Refused;
        if (st.valid & ZIP_STAT_SIZE) {
            if (st.size > m_limits.entry)
                return OpenResult::Refused;
            total += st.size;
            if (total > m_limits.total)
                return OpenResult::Refused;
        }
    }
    return OpenResult::Opened;
}

bool Archive::contains(const std::string& name) const
{
    return m_zip->archive && zip_name_locate(m_zip->archive, name.c_str(), 0) >= 0;
}

bool Archive::isEncrypted(const std::string& name) const
{
    if (!m_zip->archive)
        return false;
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat(m_zip->archive, name.c_str(), 0, &st) != 0)
        return false;
    return (st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE;
}

std::optional<std::string> Archive::read(const std::string& name)
{
    if (!m_zip->archive || isEncrypted(name))
        return std::nullopt;
    const zip_int64_t index = zip_name_locate(m_zip->archive, name.c_str(), 0);
    if (index < 0)
        return std::nullopt;
    zip_file_t* file = zip_fopen_index(m_zip->archive, static_cast<zip_uint64_t>(index), 0);
    if (!file)
        return std::nullopt;
    const uint64_t cap = std::min(m_limits.entry, m_limits.total - m_readSoFar);
    std::string bytes;
    char buffer[64 * 1024];
    bool good = true;
    for (;;) {
        const zip_int64_t got = zip_fread(file, buffer, sizeof buffer);
        if (got < 0) {
            good = false;
            break;
        }
        if (got == 0)
            break;
        if (bytes.size() + static_cast<uint64_t>(got) > cap) {
            good = false;
            break;
        }
        bytes.append(buffer, static_cast<size_t>(got));
    }
    zip_fclose(file);
    if (!good)
        return std::nullopt;
    m_readSoFar += bytes.size();
    return bytes;
}

}  // namespace epub
