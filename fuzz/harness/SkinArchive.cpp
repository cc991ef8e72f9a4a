// A skin archive unpacked as the program does at start-up, into a private
// folder, and every picture of the skin loaded from it by name.
#include "FuzzSupport.h"

#include "style/CStyle.h"

#include <QString>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = fuzz::writeScratch("style.data", data, size);
    const std::string folder = fuzz::scratchFolder() + "/style";
    if (PackageUnpack(path.c_str(), folder.c_str(), 0)) {
        CStyle style;
        style.forEachPicture([&folder](const char* name, QImage& picture) {
            picture.load(QString::fromStdString(folder + "/" + name + ".bmp"), "BMP");
        });
    }
    fuzz::removeScratch(folder);
    return 0;
}
