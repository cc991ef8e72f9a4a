#include "aidkern/CAKCommonTools.h"

#include "AKPathRules.h"
#include "AKStatus.h"
#include "AKXdg.h"

#include <algorithm>
#include <unistd.h>

using namespace aidkern;

namespace {

constexpr const char* kNoComRegistry = "COM class registrations do not exist on this system.";

long folderAnswer(const std::optional<std::string>& folder, std::string* out)
{
    if (!out)
        return innerError();
    out->clear();
    if (!folder)
        return fail("The user's home folder is not known.");
    *out = *folder;
    return succeed();
}

}  // namespace

long CAKCommonTools::AKGetDllFilePath(const AKGUID&, std::string* path)
{
    if (!path)
        return innerError();
    path->clear();
    return fail(kNoComRegistry);
}

long CAKCommonTools::AKGetDLLFolderPath(const AKGUID& classId, std::string* folder)
{
    return AKGetDllFilePath(classId, folder);
}

long CAKCommonTools::AKGetDesktopFolderPath(std::string* folder)
{
    return folderAnswer(userFolder("DESKTOP", "Desktop"), folder);
}

long CAKCommonTools::AKGetStartProgramFolderPath(std::string* folder)
{
    return folderAnswer(joinPath(firstSystemDataFolder(), "applications"), folder);
}

long CAKCommonTools::AKGetMyDocumentFolderPath(std::string* folder)
{
    return folderAnswer(userFolder("DOCUMENTS", ""), folder);
}

long CAKCommonTools::AKGetRGBValueFromColor(unsigned long color, int& red, int& green, int& blue,
                                            int offset, int low, int high)
{
    const auto component = [&](int shift) {
        const int value = static_cast<int>((color >> shift) & 0xFF) - offset;
        // Not std::clamp: a caller's low above high must not be undefined.
        return std::min(std::max(value, low), high);
    };
    red = component(0);
    green = component(8);
    blue = component(16);
    return succeed();
}

long CAKCommonTools::AKCheckAdmin(int* isAdmin)
{
    if (isAdmin)
        *isAdmin = ::geteuid() == 0 ? 1 : 0;
    return succeed();
}

tagAKWindowsVersion CAKCommonTools::AKGetWindowVersion()
{
    return AKNotWindows;
}

tagAKWindowsVersion CAKCommonTools::AKClassifyWindowsVersion(const AKWindowsVersionInfo& info)
{
    switch (info.platformId) {
    case 0:
        return AKWin32s;
    case 1:
        if (info.majorVersion != 4)
            return AKWinUnknown;
        switch (info.minorVersion) {
        case 0:
            return AKWin95;
        case 10: {
            const bool secondEdition = info.servicePack.size() >= 2 &&
                                       (info.servicePack[1] == 'A' || info.servicePack[1] == 'B');
            return secondEdition ? AKWin98SE : AKWin98;
        }
        case 90:
            return AKWinME;
        default:
            return AKWinUnknown;
        }
    case 2:
        if (info.majorVersion <= 4)
            return AKWinNT4;
        if (info.majorVersion == 5) {
            switch (info.minorVersion) {
            case 0:
                return AKWin2000;
            case 1:
                return AKWinXP;
            case 2:
                if (info.serverR2Metric != 0)
                    return AKWinServer2003R2;
                if (info.productType == 1 && info.processorArchitecture == 9)
                    return AKWinXPx64;
                return AKWinServer2003;
            default:
                return AKWinUnknown;
            }
        }
        if (info.majorVersion == 6 && info.minorVersion == 0)
            return info.productType == 1 ? AKWinVista : AKWinServer2008;
        return AKWinUnknown;
    default:
        return AKWinUnknown;
    }
}
