// The snapshot's file: atomic replacement with the old file's protections,
// and the temporary file removed when a signal ends the program.
#include "shell/cairo/snapshot_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace {

constexpr int kMaxLinks = 40;             // links followed before ELOOP, as the kernel does
constexpr size_t kMaxLinkLength = 65536;  // longest link target read
constexpr size_t kChunk = 4096;           // piece written between test pauses
constexpr char kTempName[] = "/.tenmado-snapshot-XXXXXX";

// ---- the temporary file as the signal handler knows it
//
// The path is written only while the three signals are blocked, so the
// handler sees either no file or the whole path of one.
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
char g_temp[4096];
volatile sig_atomic_t g_temp_live = 0;
struct sigaction g_saved[std::size(kSignals)];
bool g_installed[std::size(kSignals)] = {};

void OnSignal(int sig)
{
    // async-signal-safe: unlink and _exit only
    if (g_temp_live) unlink(g_temp);
    _exit(128 + sig);
}

// The three signals blocked for the life of the object.
class Blocked {
public:
    Blocked()
    {
        sigset_t set;
        sigemptyset(&set);
        for (int s : kSignals) sigaddset(&set, s);
        sigprocmask(SIG_BLOCK, &set, &old_);
    }
    ~Blocked() { sigprocmask(SIG_SETMASK, &old_, nullptr); }
    Blocked(const Blocked&) = delete;
    Blocked& operator=(const Blocked&) = delete;

private:
    sigset_t old_;
};

// Our handler for the signals not ignored (nohup's SIGHUP stays ignored).
// Called with the signals blocked.
void InstallHandlers()
{
    for (size_t i = 0; i < std::size(kSignals); ++i) {
        struct sigaction now;
        sigaction(kSignals[i], nullptr, &now);
        if (now.sa_handler == SIG_IGN) continue;
        struct sigaction ours;
        std::memset(&ours, 0, sizeof ours);
        ours.sa_handler = OnSignal;
        sigfillset(&ours.sa_mask);
        sigaction(kSignals[i], &ours, &g_saved[i]);
        g_installed[i] = true;
    }
}

void RestoreHandlers()
{
    for (size_t i = 0; i < std::size(kSignals); ++i) {
        if (g_installed[i]) sigaction(kSignals[i], &g_saved[i], nullptr);
        g_installed[i] = false;
    }
}

// Tests only: TENMADO_TEST_WRITE_PAUSE_US stretches the write into pieces of
// kChunk bytes with a pause between them, so that signals sent at random
// moments find the temporary file half written. 0 (no pause) otherwise.
useconds_t TestWritePause()
{
    const char* v = std::getenv("TENMADO_TEST_WRITE_PAUSE_US");
    if (!v) return 0;
    const long us = std::strtol(v, nullptr, 10);
    return static_cast<useconds_t>(std::clamp(us, 0L, 1000000L));
}

std::string Folder(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a path names after its symbolic links, which need not exist yet
// (a link to a missing file names that file). Returns 0 or an errno.
int FollowLinks(const std::string& path, std::string* target)
{
    std::string p = path;
    for (int hops = 0;; ++hops) {
        struct stat st;
        if (lstat(p.c_str(), &st) != 0) {
            if (errno != ENOENT) return errno;
            break;  // a new name
        }
        if (!S_ISLNK(st.st_mode)) break;
        if (hops == kMaxLinks) return ELOOP;
        // st_size is the link's length, or 0 for the links of /proc
        std::string link(std::max<size_t>(static_cast<size_t>(st.st_size), 255) + 1, '\0');
        ssize_t n;
        while ((n = readlink(p.c_str(), link.data(), link.size())) >= static_cast<ssize_t>(link.size())) {
            if (link.size() > kMaxLinkLength) return ENAMETOOLONG;
            link.resize(link.size() * 2);
        }
        if (n < 0) return errno;
        link.resize(static_cast<size_t>(n));
        if (link.empty()) return ENOENT;
        const size_t slash = p.rfind('/');
        p = (link[0] == '/' || slash == std::string::npos) ? link : p.substr(0, slash + 1) + link;
    }
    *target = p;
    return 0;
}

// The owner and group of the old file on the new one, as far as the user
// may set them (a user keeps a group of their own, root keeps both).
// Returns whether both were kept; otherwise the file is the user's own.
bool KeepOwner(int fd, const struct stat& old)
{
    if (old.st_uid == geteuid() && old.st_gid == getegid()) return true;
    if (fchown(fd, old.st_uid, old.st_gid) == 0) return true;
    return fchown(fd, static_cast<uid_t>(-1), old.st_gid) == 0 && old.st_uid == geteuid();
}

}  // namespace

int WriteAll(int fd, const void* data, size_t size)
{
    const char* p = static_cast<const char*>(data);
    const useconds_t pause = TestWritePause();
    while (size > 0) {
        const size_t piece = pause ? std::min(size, kChunk) : size;
        const ssize_t n = write(fd, p, piece);
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        p += n;
        size -= static_cast<size_t>(n);
        if (pause && size > 0) usleep(pause);
    }
    return 0;
}

namespace {

// The file a path will replace, as found now.
struct Target {
    std::string path;   // after the symbolic links
    bool exists = false;
    struct stat old{};  // when it exists
};

// The target of a path, if it may be replaced: a regular file the user may
// write, or a new name in a folder the user may write. Returns "" or why not.
std::string FindTarget(const std::string& path, Target* t)
{
    if (path.empty()) return "empty file name";
    if (const int e = FollowLinks(path, &t->path)) return std::strerror(e);
    const bool linked = t->path != path;
    t->exists = stat(t->path.c_str(), &t->old) == 0;
    if (!t->exists && errno != ENOENT) return std::strerror(errno);
    if (t->exists) {
        if (S_ISDIR(t->old.st_mode)) return linked ? "a link to a folder" : "a folder";
        // rename would replace a device, FIFO or socket (/dev/null as root)
        if (!S_ISREG(t->old.st_mode)) return "not a regular file";
        if (faccessat(AT_FDCWD, t->path.c_str(), W_OK, AT_EACCESS) != 0)
            return errno == EACCES ? "the file is write-protected" : std::strerror(errno);
    }
    // the temporary file is made in the folder
    if (faccessat(AT_FDCWD, Folder(t->path).c_str(), W_OK | X_OK, AT_EACCESS) != 0)
        return std::strerror(errno);
    return "";
}

}  // namespace

bool CanReplaceFile(const std::string& path, std::string* why)
{
    Target t;
    const std::string reason = FindTarget(path, &t);
    if (why) *why = reason;
    return reason.empty();
}

bool ReplaceFile(const std::string& path, const void* data, size_t size, std::string* why)
{
    auto fail = [&](const std::string& reason) {
        if (why) *why = reason;
        return false;
    };
    Target t;
    if (const std::string reason = FindTarget(path, &t); !reason.empty()) return fail(reason);
    const std::string& target = t.path;
    const bool exists = t.exists;
    const struct stat& old = t.old;
    mode_t mode;
    if (exists) {
        mode = old.st_mode & 0777;
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }

    // The temporary file lies beside the target so that rename is atomic.
    const std::string temp = Folder(target) + kTempName;
    if (temp.size() >= sizeof g_temp) return fail(std::strerror(ENAMETOOLONG));
    int fd;
    {
        Blocked blocked;
        InstallHandlers();
        std::string name = temp;
        fd = mkstemp(name.data());
        if (fd < 0) {
            const int e = errno;
            RestoreHandlers();
            return fail(std::strerror(e));
        }
        std::memcpy(g_temp, name.c_str(), name.size() + 1);
        g_temp_live = 1;
    }

    // the old file's owner and group where the user may keep them, then its
    // mode (after, since a change of owner clears bits)
    if (exists) KeepOwner(fd, old);
    int e = fchmod(fd, mode) != 0 ? errno : 0;
    if (!e) e = WriteAll(fd, data, size);
    if (!e && fsync(fd) != 0 && errno != EINVAL) e = errno;
    if (close(fd) != 0 && !e) e = errno;

    Blocked blocked;
    if (!e && rename(g_temp, target.c_str()) != 0) e = errno;
    if (e) unlink(g_temp);
    g_temp_live = 0;
    RestoreHandlers();
    return e ? fail(std::strerror(e)) : true;
}
