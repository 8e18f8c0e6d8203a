// Temporary file, flush and rename for saves that never destroy the previous file.
#include "fileio/SafeFileWriter.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a path names, following symbolic links one by one (a dangling link names where its
// file would be), so that a link is written through and not replaced by a plain file.
std::string resolveTarget(std::string path) {
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        std::vector<char> link(PATH_MAX + 1);
        const ssize_t n = ::readlink(path.c_str(), link.data(), PATH_MAX);
        if (n <= 0) return path;
        const std::string to(link.data(), static_cast<std::size_t>(n));
        path = to.front() == '/' ? to : folderOf(path) + "/" + to;
    }
    return path;
}

unsigned creationMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666u & ~static_cast<unsigned>(mask);
}

// A file size limit must make the write fail, not kill the program with the unsaved drawing.
void ignoreFileSizeSignal() {
    static const bool done = [] {
        struct sigaction current {};
        if (::sigaction(SIGXFSZ, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
            ::signal(SIGXFSZ, SIG_IGN);
        return true;
    }();
    (void)done;
}

std::string randomSuffix() {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static std::mt19937 random{std::random_device{}()};
    std::string s(6, 'x');
    for (char& c : s)
        c = kLetters[random() % (sizeof kLetters - 1)];
    return s;
}

// Named temporaries of the target that no save holds locked: left by a killed save.
void removeStaleTemporaries(const std::string& folder, const std::string& name) {
    const std::string prefix = SafeFileWriter::TemporaryPrefix(name);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string file = entry->d_name;
        if (file.size() != prefix.size() + 6 || file.compare(0, prefix.size(), prefix) != 0)
            continue;
        const int fd =
            ::openat(::dirfd(dir), file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(::dirfd(dir), file.c_str(), 0);
        ::close(fd);
    }
    ::closedir(dir);
}

}  // namespace

std::string SafeFileWriter::TemporaryPrefix(const std::string& name) {
    return "." + name + ".kestrel-";
}

SafeFileWriter::~SafeFileWriter() {
    discard();
}

bool SafeFileWriter::open(const std::string& target) {
    discard();
    failed_ = false;
    ignoreFileSizeSignal();
    target_ = resolveTarget(target);
    const std::string name = nameOf(target_);
    if (name.empty()) return false;
    struct stat st {};
    keepOwner_ = false;
    if (::stat(target_.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode) || ::access(target_.c_str(), W_OK) != 0) return false;
        mode_ = st.st_mode & 07777;
        keepOwner_ = true;
        owner_ = st.st_uid;
        group_ = st.st_gid;
    } else {
        mode_ = creationMode();
    }
    const std::string folder = folderOf(target_);
    removeStaleTemporaries(folder, name);
    return createTemporary(folder, name);
}

// An unnamed file in the folder, or a named one locked for as long as it is written, so that no
// other save takes it for a stale one.
bool SafeFileWriter::createTemporary(const std::string& folder, const std::string& name) {
    if (unnamedTemporary_) {
        const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
        if (fd >= 0) {
            fd_ = fd;
            unnamed_ = true;
            ::flock(fd_, LOCK_EX);
            return true;
        }
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return false;
    }
    std::string pattern = folder + "/" + TemporaryPrefix(name) + "XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int fd = ::mkostemp(buffer.data(), O_CLOEXEC);
    if (fd < 0) return false;
    fd_ = fd;
    unnamed_ = false;
    temp_ = buffer.data();
    ::flock(fd_, LOCK_EX);
    return true;
}

bool SafeFileWriter::write(const char* data, std::size_t size) {
    if (fd_ < 0 || failed_) return false;
    while (size > 0) {
        const ssize_t n = ::write(fd_, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            failed_ = true;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// The complete unnamed file gets a temporary name beside the target (rename cannot replace a
// file from an unnamed one).
bool SafeFileWriter::linkIntoPlace() {
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    const std::string prefix = folderOf(target_) + "/" + TemporaryPrefix(nameOf(target_));
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = prefix + randomSuffix();
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            temp_ = name;
            unnamed_ = false;
            return true;
        }
        if (errno != EEXIST) return false;
    }
    return false;
}

bool SafeFileWriter::commit() {
    if (fd_ < 0) return false;
    bool ok = !failed_;
    // The owner first: changing it may clear the mode's set-id bits.
    if (ok && keepOwner_ && ::fchown(fd_, owner_, group_) != 0)
        (void)::fchown(fd_, static_cast<uid_t>(-1), group_);
    ok = ok && ::fchmod(fd_, static_cast<mode_t>(mode_)) == 0;
    ok = ok && ::fsync(fd_) == 0;
    ok = ok && (!unnamed_ || linkIntoPlace());
    ok = ok && ::rename(temp_.c_str(), target_.c_str()) == 0;
    // Closed only now: the lock keeps the named file from other saves until it is in place.
    // What was written is on the disk already.
    ::close(fd_);
    fd_ = -1;
    if (!ok) {
        if (!temp_.empty()) ::unlink(temp_.c_str());
        temp_.clear();
        return false;
    }
    temp_.clear();
    // The rename itself reaches the disk with the folder.
    const int dir = ::open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

void SafeFileWriter::discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    unnamed_ = false;
    if (!temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
}
