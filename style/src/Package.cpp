#include "style/CStyle.h"

#include "ziplayout/ZipLayout.h"

#include <zip.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr zip_uint64_t kMaxEntryBytes = zip_uint64_t{32} << 20;
// The whole skin unpacked: about a hundred times what the program's own needs.
constexpr zip_uint64_t kMaxTotalBytes = zip_uint64_t{64} << 20;
constexpr zip_int64_t kMaxEntries = 4096;

// A plain file name: no folders, no way up, nothing hidden.
bool safeName(const char* name)
{
    if (!name || !*name || name[0] == '.')
        return false;
    for (const char* p = name; *p; ++p) {
        if (*p == '/' || *p == '\\' || static_cast<unsigned char>(*p) < 0x20)
            return false;
    }
    return true;
}

}  // namespace

int PackageUnpack(const char* dataPath, const char* folder, int)
{
    if (!dataPath || !folder)
        return 0;
    int error = 0;
    zip_t* archive = zip_open(dataPath, ZIP_RDONLY, &error);
    if (!archive)
        return 0;
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    // Entries sharing compressed bytes would multiply them on disk.
    bool ok = count > 0 && count <= kMaxEntries && ziplayout::entriesAreDisjoint(dataPath, archive);
    // Every entry is checked before anything is written. An entry is read up
    // to its stated size only, so the stated total bounds what is written.
    zip_uint64_t total = 0;
    for (zip_int64_t i = 0; ok && i < count; ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        ok = zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &st) == 0 && (st.valid & ZIP_STAT_SIZE) &&
             safeName(st.name) && st.size <= kMaxEntryBytes;
        total += ok ? st.size : 0;
        ok = ok && total <= kMaxTotalBytes;
    }
    if (ok && ::mkdir(folder, 0700) != 0 && errno != EEXIST)
        ok = false;
    std::vector<char> buffer;
    for (zip_int64_t i = 0; ok && i < count; ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &st);
        zip_file_t* entry = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
        if (!entry) {
            ok = false;
            break;
        }
        buffer.resize(static_cast<size_t>(st.size));
        const zip_int64_t got = zip_fread(entry, buffer.data(), st.size);
        zip_fclose(entry);
        if (got < 0 || static_cast<zip_uint64_t>(got) != st.size) {
            ok = false;
            break;
        }
        const std::string path = std::string(folder) + "/" + st.name;
        FILE* out = std::fopen(path.c_str(), "wbx");
        ok = out && std::fwrite(buffer.data(), 1, buffer.size(), out) == buffer.size();
        if (out)
            ok = std::fclose(out) == 0 && ok;
    }
    zip_discard(archive);
    return ok ? 1 : 0;
}
