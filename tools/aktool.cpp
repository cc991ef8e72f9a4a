// aktool: the Aidkern toolkit from the command line. Until the reader
// exists, it is what `make run` starts.
//
//   aktool info           what the toolkit knows about this machine
//   aktool path PATH...   how each path splits into its parts
#include "aidkern/Aidkern.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

void printPart(const char* label, long status, const std::string& value)
{
    if (status == S_OK)
        std::printf("  %-10s %s\n", label, value.c_str());
    else
        std::printf("  %-10s (none)\n", label);
}

int info()
{
    std::string folder;
    int admin = 0;
    CAKCommonTools::AKCheckAdmin(&admin);
    std::printf("system:     %s\n",
                CAKCommonTools::AKGetWindowVersion() == AKNotWindows ? "not Windows" : "Windows");
    std::printf("admin:      %s\n", admin ? "yes" : "no");
    if (CAKCommonTools::AKGetDesktopFolderPath(&folder) == S_OK)
        std::printf("desktop:    %s\n", folder.c_str());
    if (CAKCommonTools::AKGetMyDocumentFolderPath(&folder) == S_OK)
        std::printf("documents:  %s\n", folder.c_str());
    if (CAKCommonTools::AKGetStartProgramFolderPath(&folder) == S_OK)
        std::printf("programs:   %s\n", folder.c_str());
    std::string temp;
    if (CAKFileManager::AKGetTempPath("", 0, &temp) == S_OK)
        std::printf("temp name:  %s\n", temp.c_str());
    return 0;
}

int splitPaths(int count, char** paths)
{
    for (int i = 0; i < count; ++i) {
        const std::string path = paths[i];
        std::string part;
        std::printf("%s\n", path.c_str());
        printPart("folder", CAKPathManager::AKGetFileFolder(path, &part), part);
        printPart("name", CAKPathManager::AKGetFileName(path, &part), part);
        printPart("title", CAKPathManager::AKGetFileTitle(path, &part), part);
        printPart("extension", CAKPathManager::AKGetFileExtern(path, &part), part);
        int exists = 0;
        CAKFileManager::AKIsExist(path, &exists);
        std::printf("  %-10s %s\n", "exists", exists ? "yes" : "no");
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && std::strcmp(argv[1], "info") == 0)
        return info();
    if (argc >= 3 && std::strcmp(argv[1], "path") == 0)
        return splitPaths(argc - 2, argv + 2);
    std::fprintf(stderr, "usage: aktool info\n       aktool path PATH...\n");
    return 2;
}
