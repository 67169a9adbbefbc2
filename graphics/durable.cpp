// The durable file writer: a temporary file beside the target, flushed to the disk, renamed, and its folder flushed.
#include "graphics/durable.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace {

std::string folder_of(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A rename is only on the disk once the folder that holds it is. Some file systems cannot flush a folder (EINVAL):
// there is nothing more to do on them.
bool sync_folder_of(const std::string& path) {
    const int fd = ::open(folder_of(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = fsync(fd) == 0 || errno == EINVAL;
    ::close(fd);
    return ok;
}

// A new file beside `target` under a name no other file has, with the permissions of the file it will replace.
int create_beside(const std::string& target, std::string& temp) {
    static unsigned serial = 0;
    struct stat st {};
    const bool replaces = ::stat(target.c_str(), &st) == 0;
    for (int n = 0; n < 100; ++n) {
        temp = target + ".tmp" + std::to_string(getpid()) + "_" + std::to_string(serial++);
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 && replaces) fchmod(fd, st.st_mode & 07777);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// Fills the open temporary file and puts it on the disk; the stream is closed in every case. On failure `reason`
// receives the first error met.
bool fill_and_flush(int fd, const std::function<bool(std::FILE*)>& fill, int& reason) {
    std::FILE* f = fdopen(fd, "wb");
    if (!f) {
        reason = errno;
        ::close(fd);
        return false;
    }
    errno = 0;
    bool ok = fill(f) && std::fflush(f) == 0 && std::ferror(f) == 0;
    if (!ok) reason = errno ? errno : EIO;
    if (ok && fsync(fileno(f)) != 0) ok = false, reason = errno;
    if (std::fclose(f) != 0 && ok) ok = false, reason = errno;
    return ok;
}

}  // namespace

bool durable_write(const std::string& target, const std::function<bool(std::FILE*)>& fill, std::string* error) {
    std::string temp;
    int reason = ENOENT;
    const int fd = target.empty() ? -1 : create_beside(target, temp);
    bool ok = false;
    if (fd < 0) {
        if (!target.empty()) reason = errno;
    } else if (fill_and_flush(fd, fill, reason)) {
        ok = std::rename(temp.c_str(), target.c_str()) == 0;
        if (!ok) reason = errno;
    }
    if (!ok && fd >= 0) std::remove(temp.c_str());
    if (ok) sync_folder_of(target);
    if (!ok && error) *error = std::strerror(reason);
    return ok;
}

bool durable_rename(const std::string& from, const std::string& to) {
    if (std::rename(from.c_str(), to.c_str()) != 0) return false;
    sync_folder_of(to);
    return true;
}

void remove_stale_temporaries(const std::string& target) {
    namespace fs = std::filesystem;
    const std::string prefix = fs::path(target).filename().string() + ".tmp";
    std::error_code ec;
    for (fs::directory_iterator it(folder_of(target), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
        const long pid = std::strtol(name.c_str() + prefix.size(), nullptr, 10);
        if (pid > 0 && pid != getpid() && kill(pid_t(pid), 0) != 0 && errno == ESRCH) fs::remove(it->path(), ec);
    }
}
