// The user's trash, as the freedesktop Trash layout defines it. Internal.
#pragma once

#include <string>

namespace aidkern {

// Moves a file or folder into $XDG_DATA_HOME/Trash/files with its
// .trashinfo record, so a file manager can restore it. S_OK or E_FAIL.
long moveToTrash(const std::string& path);

}  // namespace aidkern
