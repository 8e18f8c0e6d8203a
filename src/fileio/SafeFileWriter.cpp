// Temporary file, flush and rename for saves that never destroy the previous file.
#include "fileio/SafeFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

namespace {

// The file a path names, following symbolic links, so that a link is written through and
// not replaced by a plain file.
std::string resolveTarget(const std::string& target) {
    struct stat st {};
    if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return target;
    char resolved[PATH_MAX];
    if (::realpath(target.c_str(), resolved)) return resolved;
    return target;
}

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

unsigned creationMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666u & ~static_cast<unsigned>(mask);
}

}  // namespace

SafeFileWriter::~SafeFileWriter() {
    discard();
}

bool SafeFileWriter::open(const std::string& target) {
    discard();
    failed_ = false;
    target_ = resolveTarget(target);
    const std::string name = nameOf(target_);
    if (name.empty()) return false;
    struct stat st {};
    if (::stat(target_.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode) || ::access(target_.c_str(), W_OK) != 0) return false;
        mode_ = st.st_mode & 07777;
    } else {
        mode_ = creationMode();
    }
    std::string pattern = folderOf(target_) + "/." + name + ".XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int fd = ::mkstemp(buffer.data());
    if (fd < 0) return false;
    fd_ = fd;
    temp_ = buffer.data();
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

bool SafeFileWriter::commit() {
    if (fd_ < 0) return false;
    bool ok = !failed_;
    ok = ok && ::fchmod(fd_, static_cast<mode_t>(mode_)) == 0;
    ok = ok && ::fsync(fd_) == 0;
    ok = (::close(fd_) == 0) && ok;
    fd_ = -1;
    ok = ok && ::rename(temp_.c_str(), target_.c_str()) == 0;
    if (!ok) {
        ::unlink(temp_.c_str());
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
    if (!temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
}
