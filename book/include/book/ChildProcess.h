// Runs a helper program with an argument vector (never a shell string) and a
// time limit, so a helper that hangs or crashes cannot take the reader down.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <utility>
#include <vector>

struct ChildResult {
    bool started = false;
    bool timedOut = false;
    bool stopped = false;  // ended because keepGoing said so
    bool exited = false;  // ended by itself (not by a signal or the time limit)
    int exitCode = -1;
    std::string output;  // standard output, when captured
};

struct ChildOptions {
    std::chrono::milliseconds timeLimit{60000};
    bool captureOutput = false;
    size_t outputLimit = size_t{256} << 20;
    // Variables set (or replaced) in the child's environment.
    std::vector<std::pair<std::string, std::string>> environment;
    // Asked every few tens of milliseconds while the child runs; false ends
    // it as the time limit would.
    std::function<bool()> keepGoing;
};

// argv[0] is searched on PATH when it has no separator.
ChildResult runChild(const std::vector<std::string>& argv, const ChildOptions& options);

// The full path of a program on PATH, or empty.
std::string findOnPath(const std::string& program);

// A helper program of ours: beside the running program in the build tree,
// with the libraries when installed.
std::string helperPath(const std::string& name);
