// The user's folders as the freedesktop conventions define them. Internal.
#pragma once

#include <optional>
#include <string>

namespace aidkern {

std::optional<std::string> homeFolder();
// $XDG_DATA_HOME, else ~/.local/share.
std::optional<std::string> dataHome();
// $XDG_CONFIG_HOME, else ~/.config.
std::optional<std::string> configHome();
// The first folder of $XDG_DATA_DIRS, else /usr/local/share.
std::string firstSystemDataFolder();
// $XDG_RUNTIME_DIR when it is a folder, else the temporary folder.
std::string runtimeFolder();
// $TMPDIR when set, else /tmp; always ending with a separator.
std::string tempFolder();
// A user folder from user-dirs.dirs ("DESKTOP", "DOCUMENTS"); when it is not
// configured, ~/`fallback` (the home folder itself for an empty fallback).
std::optional<std::string> userFolder(const std::string& key, const std::string& fallback);

}  // namespace aidkern
