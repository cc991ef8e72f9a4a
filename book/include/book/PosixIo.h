// Writing a whole buffer to a file descriptor, through short writes and
// interruptions. Header-only, so the small helper programs can use it too.
#pragma once

#include <cerrno>
#include <cstddef>
#include <unistd.h>

inline bool writeAll(int fd, const void* data, size_t size)
{
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t put = ::write(fd, bytes, size);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes += put;
        size -= static_cast<size_t>(put);
    }
    return true;
}
