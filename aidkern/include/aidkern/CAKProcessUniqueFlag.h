// One instance per name: a process that creates a flag whose name another
// process (or this one) already holds ends at once with exit code 0.
#pragma once

#include "aidkern/AKTypes.h"

class AIDKERN_API CAKProcessUniqueFlag {
public:
    // Holds a lock on a file named after `name` in the user's runtime folder.
    // When it is held elsewhere, calls exit(0) and does not return.
    explicit CAKProcessUniqueFlag(const std::string& name);
    ~CAKProcessUniqueFlag();
    CAKProcessUniqueFlag(const CAKProcessUniqueFlag&) = delete;
    CAKProcessUniqueFlag& operator=(const CAKProcessUniqueFlag&) = delete;

private:
    int m_lockFd = -1;
};
