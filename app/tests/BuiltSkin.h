// The skin the build made, loaded once for the whole test program and made
// the application's.
#pragma once

#include "app/CSkinDialog.h"

#include "style/CStyle.h"

#include "TestSupport.h"

#include <filesystem>

inline void useBuiltSkin()
{
    static CStyle style;
    static bool loaded = false;
    if (!loaded) {
        TestFolder dir;
        std::filesystem::copy_file(std::string(PROGRAM_FOLDER) + "/style.data", dir / "style.data");
        style.InitBitmap(dir.path());
        loaded = true;
    }
    setApplicationStyle(&style);
}
