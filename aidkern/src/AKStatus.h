// The last error description and the helpers that set it while returning a
// status. Internal to the library.
#pragma once

#include "aidkern/AKTypes.h"

#include <string>

namespace aidkern {

inline constexpr const char* kInnerError = "Inner Error.";
inline constexpr const char* kNotExist = "File or folder doesn't exist.";
inline constexpr const char* kTargetExists = "Target file or folder already exists.";

void setDescription(std::string text);

// Empties the description and returns S_OK (or S_FALSE).
long succeed(long status = S_OK);
// Sets a fixed description and returns E_FAIL.
long fail(const char* text);
// Sets the system's message for errno value `err` and returns E_FAIL.
long systemError(int err);
inline long innerError() { return fail(kInnerError); }

}  // namespace aidkern
