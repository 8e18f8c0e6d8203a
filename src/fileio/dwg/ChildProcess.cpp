// The child process: posix_spawn with two pipes, a poll loop against the deadline, and the kill
// of the child's process group when a limit is passed.
#include "fileio/dwg/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

class Pipe {
public:
    Pipe() {
        if (pipe2(fds_, O_CLOEXEC) != 0) fds_[0] = fds_[1] = -1;
    }
    ~Pipe() {
        closeRead();
        closeWrite();
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
    bool ok() const { return fds_[0] >= 0; }
    int readEnd() const { return fds_[0]; }
    int writeEnd() const { return fds_[1]; }
    void closeRead() { closeFd(fds_[0]); }
    void closeWrite() { closeFd(fds_[1]); }

private:
    static void closeFd(int& fd) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
    int fds_[2] = {-1, -1};
};

class SpawnSetup {
public:
    SpawnSetup() {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attributes);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
};

void keepTail(std::string& tail, const char* data, std::size_t size) {
    tail.append(data, size);
    if (tail.size() > kErrorTailBytes) tail.erase(0, tail.size() - kErrorTailBytes);
}

// Milliseconds left until the deadline, at least 0.
int remainingMs(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(std::min<long long>(left.count(), 60000)) : 0;
}

// Reads what is there; false at end of file or on an error other than an interruption.
bool drain(int fd, std::string& into, bool tailOnly) {
    char buffer[65536];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) return errno == EINTR || errno == EAGAIN;
    if (n == 0) return false;
    if (tailOnly)
        keepTail(into, buffer, static_cast<std::size_t>(n));
    else
        into.append(buffer, static_cast<std::size_t>(n));
    return true;
}

void killGroup(pid_t pid) {
    ::kill(-pid, SIGKILL);
    ::kill(pid, SIGKILL);
}

// Waits for the child until the deadline (killing it then) and records how it ended.
void reap(pid_t pid, Clock::time_point deadline, ChildProcessResult& result) {
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) break;
        if (done < 0 && errno != EINTR) return;
        if (Clock::now() >= deadline && result.outcome == ChildOutcome::Exited) {
            result.outcome = ChildOutcome::TimedOut;
            killGroup(pid);
        }
        ::usleep(2000);
    }
    if (result.outcome != ChildOutcome::Exited) return;
    if (WIFEXITED(status)) {
        result.exitStatus = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.outcome = ChildOutcome::Signalled;
        result.signalNumber = WTERMSIG(status);
    }
}

}  // namespace

ChildProcessResult RunChildProcess(const ChildProcessRequest& request) {
    ChildProcessResult result;
    Pipe out, err;
    if (!out.ok() || !err.ok()) {
        result.startError = errno;
        return result;
    }
    SpawnSetup setup;
    posix_spawn_file_actions_addopen(&setup.actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&setup.actions, out.writeEnd(), 1);
    posix_spawn_file_actions_adddup2(&setup.actions, err.writeEnd(), 2);
    posix_spawnattr_setpgroup(&setup.attributes, 0);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&setup.attributes, &defaults);
    posix_spawnattr_setflags(&setup.attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF);

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(request.program.c_str()));
    for (const std::string& a : request.arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    const Clock::time_point deadline = Clock::now() + request.timeLimit;
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, request.program.c_str(), &setup.actions,
                                     &setup.attributes, argv.data(), environ);
    if (spawned != 0) {
        result.startError = spawned;
        result.outcome = (spawned == ENOENT || spawned == ENOTDIR || spawned == EACCES)
                             ? ChildOutcome::NotFound
                             : ChildOutcome::NotStarted;
        return result;
    }
    out.closeWrite();
    err.closeWrite();
    result.outcome = ChildOutcome::Exited;

    bool outOpen = true, errOpen = true;
    while (outOpen || errOpen) {
        const int wait = remainingMs(deadline);
        if (wait == 0) {
            result.outcome = ChildOutcome::TimedOut;
            killGroup(pid);
            break;
        }
        pollfd fds[2];
        nfds_t count = 0;
        if (outOpen) fds[count++] = {out.readEnd(), POLLIN, 0};
        if (errOpen) fds[count++] = {err.readEnd(), POLLIN, 0};
        const int ready = ::poll(fds, count, wait);
        if (ready < 0 && errno != EINTR) break;
        for (nfds_t i = 0; ready > 0 && i < count; ++i) {
            if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            if (fds[i].fd == out.readEnd()) {
                outOpen = drain(out.readEnd(), result.output, false);
            } else {
                errOpen = drain(err.readEnd(), result.errorTail, true);
            }
        }
        if (result.output.size() > request.outputLimit) {
            result.outcome = ChildOutcome::OutputTooLarge;
            killGroup(pid);
            break;
        }
    }
    out.closeRead();
    err.closeRead();
    reap(pid, deadline, result);
    return result;
}
