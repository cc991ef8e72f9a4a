// Aidkern: small, stateless helpers for files, folders, path strings, file-type
// registration and system queries. The library owns no windows and no files of
// its own, and no exception ever leaves it: every operation answers with a
// status code and keeps a process-wide description of the last failure.
//
// Strings are UTF-8 `std::string` in and `std::string*` out. An out-parameter
// is emptied first and filled only on success; a null out-parameter is the
// failure "Inner Error.".
#pragma once

#include <cstdint>
#include <string>

#if defined(_WIN32)
#  if defined(AIDKERN_BUILD)
#    define AIDKERN_API __declspec(dllexport)
#  else
#    define AIDKERN_API __declspec(dllimport)
#  endif
#else
#  define AIDKERN_API __attribute__((visibility("default")))
#endif

#if !defined(_WIN32)
// The COM status convention: callers treat negative values as failure.
inline constexpr long S_OK = 0;                 // success
inline constexpr long S_FALSE = 1;              // success with nothing to report
inline constexpr long E_FAIL = static_cast<long>(static_cast<int32_t>(0x80004005u));
#endif

// A class identifier in its binary form (the layout of a Windows GUID).
struct AKGUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};

// Ordered by release, so callers compare with < and >=: "before Windows 2000"
// is `< AKWin2000`, "Vista or later" is `>= AKWinVista`.
//
// AKNotWindows is what every other system answers. It sorts after the last
// Windows release on purpose: callers that branch on "modern system" (live
// window dragging, current dialog structures) take the modern branch, while
// nothing mistakes the host for a particular Windows release.
enum tagAKWindowsVersion {
    AKWinUnknown = 0,
    AKWin32s = 1,
    AKWin95 = 2,
    AKWinNT4 = 3,
    AKWin98 = 4,
    AKWin98SE = 5,
    AKWinME = 6,
    AKWin2000 = 7,
    AKWinXP = 8,
    AKWinXPx64 = 9,
    AKWinServer2003 = 10,
    AKWinServer2003R2 = 11,
    AKWinVista = 12,
    AKWinServer2008 = 13,
    AKNotWindows = 14,
};

// Copies the last error description into *description (empty when none is
// held). Does nothing when description is null.
AIDKERN_API void gAKGetErrorDescriton(std::string* description);
