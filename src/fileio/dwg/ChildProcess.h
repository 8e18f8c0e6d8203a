// Runs a program as a child process with a wall-clock limit and collects what it writes: all of
// its standard output (up to a bound) and the end of its standard error. Both pipes are read as
// the child writes, so a child that writes much can never block on a full pipe.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

struct ChildProcessRequest {
    std::string program;  // looked up in PATH when it has no slash
    std::vector<std::string> arguments;
    std::chrono::milliseconds timeLimit{60000};
    // More standard output than this stops the child (OutputTooLarge).
    std::size_t outputLimit = std::size_t{1} << 30;
};

enum class ChildOutcome {
    Exited,          // exitStatus holds its status
    Signalled,       // killed by signalNumber
    TimedOut,        // killed at the time limit
    OutputTooLarge,  // killed at the output limit
    NotFound,        // the program does not exist (or is not in PATH)
    NotStarted,      // it could not be started for another reason (startError)
};

struct ChildProcessResult {
    ChildOutcome outcome = ChildOutcome::NotStarted;
    int exitStatus = -1;
    int signalNumber = 0;
    int startError = 0;  // errno of the failed start
    std::string output;
    std::string errorTail;  // the last kErrorTailBytes of standard error
};

inline constexpr std::size_t kErrorTailBytes = 16384;

// Standard input is /dev/null. The child runs in a process group of its own, which is killed
// as a whole at either limit; the child is always waited for.
ChildProcessResult RunChildProcess(const ChildProcessRequest& request);
