#include "AKStatus.h"

#include <cstring>
#include <mutex>

namespace aidkern {
namespace {

std::mutex& descriptionMutex()
{
    static std::mutex m;
    return m;
}

std::string& descriptionText()
{
    static std::string text;
    return text;
}

}  // namespace

void setDescription(std::string text)
{
    std::lock_guard lock(descriptionMutex());
    descriptionText() = std::move(text);
}

long succeed(long status)
{
    setDescription({});
    return status;
}

long fail(const char* text)
{
    setDescription(text);
    return E_FAIL;
}

long systemError(int err)
{
    char buffer[256];
    // The GNU strerror_r returns the message, which may not be in buffer.
    const char* message = strerror_r(err, buffer, sizeof buffer);
    setDescription(message ? message : "Unknown error.");
    return E_FAIL;
}

}  // namespace aidkern

void gAKGetErrorDescriton(std::string* description)
{
    if (!description)
        return;
    std::lock_guard lock(aidkern::descriptionMutex());
    *description = aidkern::descriptionText();
}
