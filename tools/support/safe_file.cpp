// Whole-or-nothing files: a temporary beside the final name, synced, then renamed. Temporaries
// still open when the process exits (a tool failing half-way) are removed at exit.
#include "support/safe_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>

namespace {
std::set<std::string>& Pending() {
    static auto* pending = new std::set<std::string>;  // outlives every static destructor
    return *pending;
}

void RemovePending() {
    for (const std::string& temp : Pending())
        ::unlink(temp.c_str());
}

void Track(const std::string& temp) {
    static std::once_flag once;
    std::call_once(once, [] { std::atexit(RemovePending); });
    Pending().insert(temp);
}

// True when `path` names something other than a regular file (a device, a pipe).
bool IsSpecial(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
}

// The permissions a plain fopen would create a file with under the current umask.
mode_t CreateMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}
}  // namespace

bool TSafeFile::Fail(const std::string& reason) {
    if (!failed_) error_ = path_ + ": " + reason;
    failed_ = true;
    return false;
}

bool TSafeFile::Open(const std::string& path) {
    Abandon();
    path_ = path, temp_.clear(), error_.clear(), failed_ = false;
    if (IsSpecial(path)) {
        file_ = std::fopen(path.c_str(), "wb");
        return file_ ? true : Fail(std::strerror(errno));
    }
    std::string name = path + ".tmp-XXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd < 0) return Fail(std::strerror(errno));
    ::fchmod(fd, CreateMode());  // what a plain create would give, not mkstemp's 0600
    temp_ = name;
    Track(temp_);
    file_ = ::fdopen(fd, "wb");
    if (!file_) {
        ::close(fd);
        return Fail(std::strerror(errno));
    }
    return true;
}

bool TSafeFile::Write(const void* data, size_t size) {
    if (!file_ || failed_) return Fail("not open");
    if (size != 0 && std::fwrite(data, 1, size, file_) != size) return Fail(std::strerror(errno));
    return true;
}

bool TSafeFile::Commit() {
    if (!file_) return Fail("not open");
    if (!failed_ && std::fflush(file_) != 0) Fail(std::strerror(errno));
    if (!failed_ && !temp_.empty() && ::fsync(::fileno(file_)) != 0) Fail(std::strerror(errno));
    const int closed = std::fclose(file_);
    file_ = nullptr;
    if (!failed_ && closed != 0) Fail(std::strerror(errno));
    if (!failed_ && !temp_.empty() && ::rename(temp_.c_str(), path_.c_str()) != 0)
        Fail(std::strerror(errno));
    if (failed_) {
        Abandon();
        return false;
    }
    Pending().erase(temp_);
    temp_.clear();
    return true;
}

void TSafeFile::Abandon() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    if (temp_.empty()) return;
    ::unlink(temp_.c_str());
    Pending().erase(temp_);
    temp_.clear();
}

bool WriteWholeFile(const std::string& path, const void* data, size_t size, std::string* error) {
    TSafeFile file;
    const bool ok = file.Open(path) && file.Write(data, size) && file.Commit();
    if (!ok) *error = file.Error();
    return ok;
}
