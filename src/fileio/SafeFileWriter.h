// SafeFileWriter: writes a file through a temporary file in the target's folder that replaces
// the target only when everything was written and flushed to disk, so a failed save (a full
// disk, an error half-way) leaves the previous file as it was.
#pragma once

#include <cstddef>
#include <string>

class SafeFileWriter {
public:
    SafeFileWriter() = default;
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // Creates the temporary file. False when it cannot be created, or when the target exists
    // and may not be written.
    bool open(const std::string& target);
    bool isOpen() const { return fd_ >= 0; }

    // Appends bytes; false (and from then on nothing more is written) when writing fails.
    bool write(const char* data, std::size_t size);
    bool failed() const { return failed_; }

    // Flushes to disk and renames the temporary file over the target. False, with the target
    // untouched and the temporary file removed, when anything failed.
    bool commit();
    // Removes the temporary file; the target stays as it was.
    void discard();

private:
    int fd_ = -1;
    bool failed_ = false;
    std::string target_;
    std::string temp_;
    unsigned mode_ = 0;
};
