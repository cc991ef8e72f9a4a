// Where the entries of a zip archive lie in its file, read from the archive's
// own central directory: a zip bomb can list many entries over one run of
// compressed bytes, and libzip neither refuses that nor tells where an entry
// starts. Reads only the directory and the local headers; never inflates.
#pragma once

#include <zip.h>

#include <string>

namespace ziplayout {

// Whether every entry `archive` (opened by libzip from `path`) lists occupies
// bytes of its own: its local header, name, extra field and compressed data
// overlap no other entry's. False as well when the directory libzip read
// cannot be found and matched entry for entry, so nothing unchecked passes.
bool entriesAreDisjoint(const std::string& path, zip_t* archive);

}  // namespace ziplayout
