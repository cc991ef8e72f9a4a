// Registration with the desktop.
#pragma once

#include "aidkern/AKTypes.h"

class AIDKERN_API CAKRegister {
public:
    CAKRegister() = default;
    ~CAKRegister() = default;
    CAKRegister& operator=(const CAKRegister&) = default;

    // COM servers do not exist on this platform: both fail with a description
    // saying so ("Inner Error." for an empty path).
    static long AKRegisterServer(const std::string& libraryPath);
    static long AKUnRegisterServer(const std::string& libraryPath);

    // Makes `command` the opener of files with `extensionKey` (".vl"): writes
    // a shared-mime-info package naming the type, a desktop entry that runs
    // the command on the file, and the default-application association, all
    // under the user's data and config folders, then refreshes the desktop's
    // caches when their tools exist. The icon index has no meaning here.
    static long AKRegisterFileRelation(const std::string& extensionKey, const std::string& typeName,
                                       const std::string& iconFile, int iconIndex,
                                       const std::string& command);
};
