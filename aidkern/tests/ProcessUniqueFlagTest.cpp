#include "aidkern/CAKProcessUniqueFlag.h"

#include "TestFolder.h"

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

struct ProbeResult {
    int exitCode = -1;
    std::string output;
};

// Runs the probe with the flag name and returns its exit code and output.
ProbeResult runProbe(const std::string& name)
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    std::string probe = UNIQUE_FLAG_PROBE;
    std::vector<char*> argv{probe.data(), const_cast<char*>(name.c_str()), nullptr};
    pid_t child = 0;
    const int spawned = ::posix_spawn(&child, probe.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    ProbeResult result;
    if (spawned == 0) {
        char buffer[64];
        ssize_t got;
        while ((got = ::read(pipeFds[0], buffer, sizeof buffer)) > 0)
            result.output.append(buffer, static_cast<size_t>(got));
        int status = 0;
        ::waitpid(child, &status, 0);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    ::close(pipeFds[0]);
    return result;
}

class ProcessUniqueFlag : public testing::Test {
protected:
    TestFolder dir;
    ScopedEnv runtime{"XDG_RUNTIME_DIR", dir.path()};
    std::string name = "Versaleo Test " + std::to_string(::getpid());
};

TEST_F(ProcessUniqueFlag, AFreeNameLetsTheProcessRun)
{
    const ProbeResult result = runProbe(name);
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.output, "held\n");
}

TEST_F(ProcessUniqueFlag, ASecondFlagOfTheSameNameEndsThatProcessWithZero)
{
    CAKProcessUniqueFlag first(name);
    const ProbeResult result = runProbe(name);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, "");  // ended inside the constructor

    // another name is unaffected
    EXPECT_EQ(runProbe(name + " other").exitCode, 3);
}

TEST_F(ProcessUniqueFlag, ReleasedWhenDestroyed)
{
    {
        CAKProcessUniqueFlag first(name);
        EXPECT_EQ(runProbe(name).exitCode, 0);
    }
    EXPECT_EQ(runProbe(name).exitCode, 3);
}

TEST_F(ProcessUniqueFlag, NamesWithSeparatorsStayInTheRuntimeFolder)
{
    CAKProcessUniqueFlag first("Global/../x");
    EXPECT_EQ(runProbe("Global/../x").exitCode, 0);
    EXPECT_FALSE(pathExists(dir / "x.lock"));
}

}  // namespace
