// Test helper: takes the flag named by argv[1] and reports that it holds it.
// With a second argument, it keeps holding the flag until stdin closes.
#include "aidkern/CAKProcessUniqueFlag.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    CAKProcessUniqueFlag flag(argv[1]);
    std::puts("held");
    std::fflush(stdout);
    if (argc > 2) {
        while (std::getchar() != EOF) {
        }
    }
    return 3;
}
