// Test helper: loads the skin of the folder argv[1] and reports it loaded.
#include "style/CStyle.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    CStyle style;
    style.InitBitmap(argv[1]);
    std::printf("loaded\n");
    return 3;
}
