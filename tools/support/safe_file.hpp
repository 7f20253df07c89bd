// Files the tools write whole or not at all: the bytes go to a temporary name in the same
// folder, are flushed to disk and renamed over the final name only when every write and the
// close succeeded; on failure (or an exit before the commit) the temporary is removed. A final
// name that is not a regular file (a device such as /dev/full, a pipe) is written in place,
// since renaming over it would replace the device. Depends on POSIX file calls.
#pragma once

#include <cstdio>
#include <string>

class TSafeFile {
  public:
    TSafeFile() = default;
    TSafeFile(const TSafeFile&) = delete;
    TSafeFile& operator=(const TSafeFile&) = delete;
    // Drops the temporary when Commit was not reached.
    ~TSafeFile() { Abandon(); }
    // Creates the temporary for `path`; false with the reason in Error() when it cannot.
    bool Open(const std::string& path);
    // The stream to write to (null until Open succeeded).
    std::FILE* Stream() const { return file_; }
    // Writes `size` bytes; false once any write has failed.
    bool Write(const void* data, size_t size);
    // Flushes, syncs, closes and renames to the final name; false with the reason in Error()
    // when any step (or an earlier write) failed, and then no file is left under either name.
    bool Commit();
    // Closes and removes the temporary without touching the final name.
    void Abandon();
    // Why the last step failed: "PATH: reason".
    const std::string& Error() const { return error_; }

  private:
    bool Fail(const std::string& reason);

    std::FILE* file_ = nullptr;
    std::string path_, temp_;  // temp_ is empty when writing in place
    std::string error_;
    bool failed_ = false;
};

// Writes `size` bytes to `path` whole or not at all; false with "PATH: reason" in
// `error`.
bool WriteWholeFile(const std::string& path, const void* data, size_t size, std::string* error);
