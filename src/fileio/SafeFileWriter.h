// SafeFileWriter: writes a file through a temporary file in the target's folder that replaces
// the target only when everything was written and flushed to disk, so a failed save (a full
// disk, a file size limit, an error half-way) leaves the previous file as it was. The temporary
// file has no name until it is complete (O_TMPFILE), so even a killed process leaves nothing
// behind; where the filesystem cannot do that, a named temporary file is used and stale ones
// of a killed save are removed by the next save to the same target.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

class SafeFileWriter {
public:
    SafeFileWriter() = default;
    // unnamedTemporary false: always a named temporary file, as on filesystems without
    // O_TMPFILE.
    explicit SafeFileWriter(bool unnamedTemporary) : unnamedTemporary_(unnamedTemporary) {}
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // Creates the temporary file. False when it cannot be created, or when the target exists
    // and may not be written. A symbolic link is written through, a dangling one included.
    bool open(const std::string& target);
    bool isOpen() const { return fd_ >= 0; }

    // Appends bytes; false (and from then on nothing more is written) when writing fails.
    bool write(const char* data, std::size_t size);
    bool failed() const { return failed_; }

    // Flushes to disk and puts the file in the target's place, with the target's mode and, where
    // the process may keep it, its owner. False, with the target untouched and the temporary
    // file gone, when anything failed.
    bool commit();
    // Removes the temporary file; the target stays as it was.
    void discard();

    // The prefix of the named temporary files for a target name: "." + name + ".kestrel-".
    static std::string TemporaryPrefix(const std::string& name);

private:
    bool createTemporary(const std::string& folder, const std::string& name);
    bool linkIntoPlace();

    bool unnamedTemporary_ = true;
    int fd_ = -1;
    bool failed_ = false;
    bool unnamed_ = false;  // the open file has no name yet
    std::string target_;
    std::string temp_;  // the named temporary file, when there is one
    unsigned mode_ = 0;
    bool keepOwner_ = false;
    uid_t owner_ = 0;
    gid_t group_ = 0;
};
