// The main() of the test programs that need no widgets.
#include "TestEnvironment.h"

#include <gtest/gtest.h>

VERSALEO_LEAK_SUPPRESSIONS()

int main(int argc, char** argv)
{
    prepareTestEnvironment();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
