// Whether chmlib may open and list a file at all, found from the file's own
// directory. Its opening computes the LZX reset block count from the
// compressed section's control data even when that data is short or fails
// its own checks, and divides by zero on it; its listing follows the chain
// of directory blocks, and its lookup the index, without noticing a cycle,
// and never ends.
#pragma once

// True when every directory entry naming the control data is one chmlib reads
// and accepts (or there is none), and both the chain of listing blocks and
// every way down the index end.
bool chmOpeningIsSafe(int fd, unsigned long long fileSize);
