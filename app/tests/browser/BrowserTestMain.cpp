// The main() of the browser tests: the widget tests' environment, plus what
// Qt WebEngine needs. Its Chromium runs without its sandbox here (tests may
// run as root, where the sandbox refuses to start), and two faults inside
// Qt WebEngine's own library are set aside so that our code stays under the
// sanitizers: a delete of a mismatched size and the objects it keeps until
// the process ends.
#include "TestEnvironment.h"

#include <QApplication>

#include <gtest/gtest.h>

extern "C" const char* __asan_default_options()
{
    return "new_delete_type_mismatch=0";
}

extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\nleak:libQt6WebEngineCore.so\n";
}

int main(int argc, char** argv)
{
    prepareTestEnvironment();
    ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    // The engine's report of its graphics set-up is noise in a test log.
    ::setenv("QT_LOGGING_RULES", "qt.webenginecontext.info=false", 0);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
