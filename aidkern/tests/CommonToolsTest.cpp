#include "aidkern/CAKCommonTools.h"

#include "TestFolder.h"

#include <gtest/gtest.h>
#include <ostream>
#include <unistd.h>

namespace {

TEST(RgbValue, SplitsOffsetsAndClamps)
{
    int r = 0, g = 0, b = 0;
    // COLORREF keeps red in the low byte
    EXPECT_EQ(CAKCommonTools::AKGetRGBValueFromColor(0x00336699, r, g, b, 0, 0, 255), S_OK);
    EXPECT_EQ(r, 0x99);
    EXPECT_EQ(g, 0x66);
    EXPECT_EQ(b, 0x33);
    // the shades the painter derives: offset, never below 5
    CAKCommonTools::AKGetRGBValueFromColor(0x00FF0A03, r, g, b, 20, 5, 255);
    EXPECT_EQ(r, 5);
    EXPECT_EQ(g, 5);
    EXPECT_EQ(b, 235);
    // a negative offset brightens, clamped at high
    CAKCommonTools::AKGetRGBValueFromColor(0x00FFFFF0, r, g, b, -40, 5, 255);
    EXPECT_EQ(r, 255);
    EXPECT_EQ(b, 255);
}

struct VersionCase {
    AKWindowsVersionInfo info;
    tagAKWindowsVersion expected;
};

std::ostream& operator<<(std::ostream& out, const VersionCase& c)
{
    return out << c.info.platformId << '.' << c.info.majorVersion << '.' << c.info.minorVersion << " \""
               << c.info.servicePack << "\" product " << c.info.productType << " arch "
               << c.info.processorArchitecture << " r2 " << c.info.serverR2Metric;
}

class WindowsReleases : public testing::TestWithParam<VersionCase> {};

TEST_P(WindowsReleases, ClassifiedInReleaseOrder)
{
    EXPECT_EQ(CAKCommonTools::AKClassifyWindowsVersion(GetParam().info), GetParam().expected);
}

AKWindowsVersionInfo v(unsigned long platform, unsigned long major, unsigned long minor,
                       std::string csd = "", int product = 1, int arch = 0, int r2 = 0)
{
    return {platform, major, minor, std::move(csd), product, arch, r2};
}

INSTANTIATE_TEST_SUITE_P(
    Table, WindowsReleases,
    testing::Values(VersionCase{v(0, 3, 10), AKWin32s}, VersionCase{v(1, 4, 0), AKWin95},
                    VersionCase{v(1, 4, 10), AKWin98}, VersionCase{v(1, 4, 10, " A "), AKWin98SE},
                    VersionCase{v(1, 4, 10, " B"), AKWin98SE}, VersionCase{v(1, 4, 10, "A"), AKWin98},
                    VersionCase{v(1, 4, 90), AKWinME}, VersionCase{v(1, 5, 0), AKWinUnknown},
                    VersionCase{v(1, 4, 20), AKWinUnknown}, VersionCase{v(2, 3, 51), AKWinNT4},
                    VersionCase{v(2, 4, 0), AKWinNT4}, VersionCase{v(2, 5, 0), AKWin2000},
                    VersionCase{v(2, 5, 1), AKWinXP}, VersionCase{v(2, 5, 2, "", 1, 9), AKWinXPx64},
                    VersionCase{v(2, 5, 2, "", 1, 0), AKWinServer2003},
                    VersionCase{v(2, 5, 2, "", 3, 9), AKWinServer2003},
                    VersionCase{v(2, 5, 2, "", 1, 9, 1), AKWinServer2003R2},
                    VersionCase{v(2, 5, 3), AKWinUnknown}, VersionCase{v(2, 6, 0, "", 1), AKWinVista},
                    VersionCase{v(2, 6, 0, "", 3), AKWinServer2008}, VersionCase{v(2, 6, 1), AKWinUnknown},
                    VersionCase{v(3, 6, 0), AKWinUnknown}));

TEST(WindowVersion, ThisSystemIsNotWindowsButTakesTheModernBranch)
{
    const tagAKWindowsVersion version = CAKCommonTools::AKGetWindowVersion();
    EXPECT_EQ(version, AKNotWindows);
    EXPECT_GE(version, AKWinVista);
    EXPECT_FALSE(version < AKWin2000);
}

TEST(Admin, AnswersFromTheEffectiveUser)
{
    int admin = -1;
    EXPECT_EQ(CAKCommonTools::AKCheckAdmin(&admin), S_OK);
    EXPECT_EQ(admin, ::geteuid() == 0 ? 1 : 0);
}

TEST(UserFolders, FromUserDirsOrTheirDefaults)
{
    TestFolder dir;
    ScopedEnv home("HOME", dir / "home");
    ScopedEnv config("XDG_CONFIG_HOME", dir / "config");
    std::string folder;

    EXPECT_EQ(CAKCommonTools::AKGetDesktopFolderPath(&folder), S_OK);
    EXPECT_EQ(folder, dir / "home/Desktop");
    EXPECT_EQ(CAKCommonTools::AKGetMyDocumentFolderPath(&folder), S_OK);
    EXPECT_EQ(folder, dir / "home");

    writeFile(dir / "config/user-dirs.dirs",
              "# written by xdg-user-dirs-update\n"
              "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
              "XDG_DOCUMENTS_DIR=\"/data/docs\"\n"
              "XDG_MUSIC_DIR=\"$HOME/Music\"\n");
    EXPECT_EQ(CAKCommonTools::AKGetDesktopFolderPath(&folder), S_OK);
    EXPECT_EQ(folder, dir / "home/Schreibtisch");
    EXPECT_EQ(CAKCommonTools::AKGetMyDocumentFolderPath(&folder), S_OK);
    EXPECT_EQ(folder, "/data/docs");

    EXPECT_EQ(CAKCommonTools::AKGetDesktopFolderPath(nullptr), E_FAIL);
}

TEST(UserFolders, StartProgramsIsTheSystemApplicationsFolder)
{
    ScopedEnv dirs("XDG_DATA_DIRS", "/opt/share:/usr/share");
    std::string folder;
    EXPECT_EQ(CAKCommonTools::AKGetStartProgramFolderPath(&folder), S_OK);
    EXPECT_EQ(folder, "/opt/share/applications");
}

TEST(ComClasses, FailWithADescriptionInsteadOfPretending)
{
    const AKGUID id{0x12345678, 0x1234, 0x5678, {1, 2, 3, 4, 5, 6, 7, 8}};
    std::string path = "stale";
    EXPECT_EQ(CAKCommonTools::AKGetDllFilePath(id, &path), E_FAIL);
    EXPECT_EQ(path, "");
    EXPECT_NE(lastError(), "");
    EXPECT_EQ(CAKCommonTools::AKGetDLLFolderPath(id, &path), E_FAIL);
    EXPECT_EQ(CAKCommonTools::AKGetDllFilePath(id, nullptr), E_FAIL);
    EXPECT_EQ(lastError(), "Inner Error.");
}

}  // namespace
