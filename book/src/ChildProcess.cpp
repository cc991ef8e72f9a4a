#include "book/ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

std::vector<std::string> childEnvironment(const ChildOptions& options)
{
    std::vector<std::string> env;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('='));
        bool replaced = false;
        for (const auto& [key, value] : options.environment)
            replaced = replaced || key == name;
        if (!replaced)
            env.push_back(text);
    }
    for (const auto& [key, value] : options.environment)
        env.push_back(key + "=" + value);
    return env;
}

std::vector<char*> pointers(std::vector<std::string>& strings)
{
    std::vector<char*> result;
    for (std::string& s : strings)
        result.push_back(s.data());
    result.push_back(nullptr);
    return result;
}

}  // namespace

std::string findOnPath(const std::string& program)
{
    if (program.find('/') != std::string::npos)
        return ::access(program.c_str(), X_OK) == 0 ? program : std::string();
    const char* path = std::getenv("PATH");
    std::string list = path ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    while (start <= list.size()) {
        const size_t end = std::min(list.find(':', start), list.size());
        const std::string folder = list.substr(start, end - start);
        const std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + program;
        struct stat st;
        if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return {};
}

ChildResult runChild(const std::vector<std::string>& argv, const ChildOptions& options)
{
    ChildResult result;
    if (argv.empty())
        return result;
    const std::string program = findOnPath(argv[0]);
    if (program.empty())
        return result;

    int pipeFds[2] = {-1, -1};
    if (options.captureOutput && ::pipe2(pipeFds, O_CLOEXEC) != 0)
        return result;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (options.captureOutput)
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    // Its own process group, so the time limit ends whatever it started too.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);

    std::vector<std::string> args = argv;
    std::vector<std::string> env = childEnvironment(options);
    auto argPointers = pointers(args);
    auto envPointers = pointers(env);
    pid_t child = 0;
    const int spawned = ::posix_spawn(&child, program.c_str(), &actions, &attributes, argPointers.data(), envPointers.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (options.captureOutput)
        ::close(pipeFds[1]);
    if (spawned != 0) {
        if (options.captureOutput)
            ::close(pipeFds[0]);
        return result;
    }
    result.started = true;

    using clock = std::chrono::steady_clock;
    const auto deadline = clock::now() + options.timeLimit;
    bool reading = options.captureOutput;
    int status = 0;
    bool reaped = false;
    while (!reaped) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - clock::now()).count();
        const bool stop = options.keepGoing && !options.keepGoing();
        if (left <= 0 || stop) {
            ::kill(-child, SIGKILL);
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            result.timedOut = !stop;
            result.stopped = stop;
            break;
        }
        if (reading) {
            pollfd fd{pipeFds[0], POLLIN, 0};
            if (::poll(&fd, 1, static_cast<int>(std::min<long long>(left, 50))) > 0) {
                char buffer[65536];
                const ssize_t got = ::read(pipeFds[0], buffer, sizeof buffer);
                if (got > 0 && result.output.size() < options.outputLimit)
                    result.output.append(buffer, static_cast<size_t>(got));
                else if (got == 0 || (got < 0 && errno != EINTR))
                    reading = false;
            }
        } else {
            ::usleep(10000);
        }
        if (!reading && ::waitpid(child, &status, WNOHANG) == child)
            reaped = true;
    }
    if (options.captureOutput)
        ::close(pipeFds[0]);
    if (!result.timedOut && WIFEXITED(status)) {
        result.exited = true;
        result.exitCode = WEXITSTATUS(status);
    }
    return result;
}

std::string helperPath(const std::string& name)
{
    char self[4096];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0)
        return name;
    self[length] = '\0';
    std::string folder = self;
    folder.erase(folder.rfind('/') == std::string::npos ? 0 : folder.rfind('/'));
    const std::string beside = folder + "/" + name;
    const std::string installed = folder + "/../lib/versaleo/" + name;
    return ::access(beside.c_str(), X_OK) != 0 && ::access(installed.c_str(), X_OK) == 0 ? installed : beside;
}
