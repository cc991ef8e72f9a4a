// Colour splitting, system queries and the folders the desktop knows about.
#pragma once

#include "aidkern/AKTypes.h"

// The facts a Windows version query yields; classified without the system so
// the release table can be checked anywhere.
struct AKWindowsVersionInfo {
    unsigned long platformId = 0;   // 0 Win32s, 1 Windows 9x, 2 NT
    unsigned long majorVersion = 0;
    unsigned long minorVersion = 0;
    std::string servicePack;        // the service-pack text ("A" for 98 SE...)
    int productType = 0;            // 1 workstation
    int processorArchitecture = 0;  // 9 x64
    int serverR2Metric = 0;         // the system metric of the R2 release
};

class AIDKERN_API CAKCommonTools {
public:
    CAKCommonTools() = default;
    ~CAKCommonTools() = default;
    CAKCommonTools& operator=(const CAKCommonTools&) = default;

    // Where the in-process server of a COM class lives. There is no COM class
    // registry on this platform: both fail with a description saying so.
    static long AKGetDllFilePath(const AKGUID& classId, std::string* path);
    static long AKGetDLLFolderPath(const AKGUID& classId, std::string* folder);

    // The user's desktop and documents folders (the XDG user folders), and the
    // folder of the system-wide application menu entries.
    static long AKGetDesktopFolderPath(std::string* folder);
    static long AKGetStartProgramFolderPath(std::string* folder);
    static long AKGetMyDocumentFolderPath(std::string* folder);

    // Splits a COLORREF (0x00BBGGRR) and stores each component minus offset,
    // clamped into [low, high]. Always S_OK.
    static long AKGetRGBValueFromColor(unsigned long color, int& red, int& green, int& blue,
                                       int offset, int low, int high);

    // 1 when the process runs with administrator rights (effective user 0).
    static long AKCheckAdmin(int* isAdmin);

    // AKNotWindows on any system that is not Windows.
    static tagAKWindowsVersion AKGetWindowVersion();

    // The release table behind AKGetWindowVersion.
    static tagAKWindowsVersion AKClassifyWindowsVersion(const AKWindowsVersionInfo& info);
};
