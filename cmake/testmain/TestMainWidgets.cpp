// The main() of the widget tests: one application object for the whole run,
// destroyed before the process's exit handlers, as Qt expects.
#include "TestEnvironment.h"

#include <QApplication>

#include <gtest/gtest.h>

VERSALEO_LEAK_SUPPRESSIONS()

int main(int argc, char** argv)
{
    prepareTestEnvironment();
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
