// The snapshot's file: atomic replacement with the old file's protections,
// and the temporary file removed when a signal ends the program.
#include "shell/cairo/snapshot_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>
#include <iterator>

namespace {

constexpr int kMaxLinks = 40;             // links followed before ELOOP, as the kernel does
constexpr size_t kMaxLinkLength = 65536;  // longest link target read
constexpr ssize_t kMaxAttribute = 65536;  // largest extended attribute copied (the kernel's limit)
constexpr size_t kChunk = 4096;           // piece written between test pauses
constexpr char kTempPrefix[] = ".tenmado-snapshot-";  // then <pid>-<boot id>-XXXXXX

// ---- the temporary file as the signal handler knows it
//
// The path is written only while the signals are blocked, so the handler
// sees either no file or the whole path of one. The signals are every one
// whose default action ends the program and that can be caught.
constexpr int kFixedSignals[] = {SIGHUP,  SIGINT,  SIGQUIT, SIGILL,    SIGTRAP, SIGABRT,
                                 SIGBUS,  SIGFPE,  SIGUSR1, SIGSEGV,   SIGUSR2, SIGPIPE,
                                 SIGALRM, SIGTERM, SIGSTKFLT, SIGXCPU, SIGXFSZ, SIGVTALRM,
                                 SIGPROF, SIGIO,   SIGPWR,  SIGSYS};
char g_temp[4096];
volatile sig_atomic_t g_temp_live = 0;
struct sigaction g_saved[NSIG];
bool g_installed[NSIG] = {};

// The signals above and the real-time ones (whose default ends the program too).
template <class F>
void ForEachSignal(F f)
{
    for (int s : kFixedSignals) f(s);
    for (int s = SIGRTMIN; s <= SIGRTMAX; ++s) f(s);
}

void OnSignal(int sig)
{
    // async-signal-safe: unlink and _exit only
    if (g_temp_live) unlink(g_temp);
    _exit(128 + sig);
}

// The signals blocked for the life of the object.
class Blocked {
public:
    Blocked()
    {
        sigset_t set;
        sigemptyset(&set);
        ForEachSignal([&](int s) { sigaddset(&set, s); });
        sigprocmask(SIG_BLOCK, &set, &old_);
    }
    ~Blocked() { sigprocmask(SIG_SETMASK, &old_, nullptr); }
    Blocked(const Blocked&) = delete;
    Blocked& operator=(const Blocked&) = delete;

private:
    sigset_t old_;
};

// Our handler for the signals not ignored (nohup's SIGHUP, the program's
// SIGXFSZ stay ignored). Called with the signals blocked.
void InstallHandlers()
{
    ForEachSignal([](int s) {
        struct sigaction now;
        if (sigaction(s, nullptr, &now) != 0 || now.sa_handler == SIG_IGN) return;
        struct sigaction ours;
        std::memset(&ours, 0, sizeof ours);
        ours.sa_handler = OnSignal;
        sigfillset(&ours.sa_mask);
        sigaction(s, &ours, &g_saved[s]);
        g_installed[s] = true;
    });
}

void RestoreHandlers()
{
    ForEachSignal([](int s) {
        if (g_installed[s]) sigaction(s, &g_saved[s], nullptr);
        g_installed[s] = false;
    });
}

// Tests only (ReplaceFile_SetTestPause): the write in pieces of kChunk
// bytes with a pause between them, so that signals sent at random moments
// find the temporary file half written. 0 (no pause) in the program.
useconds_t g_test_pause_us = 0;
useconds_t TestWritePause() { return g_test_pause_us; }

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

// This boot of the machine: the kernel's boot id as 32 hex digits ("0"
// where it cannot be read). A PID names a process only within one boot.
std::string BootId()
{
    static const std::string id = [] {
        std::string out;
        const int fd = open("/proc/sys/kernel/random/boot_id", O_RDONLY | O_CLOEXEC);
        if (fd >= 0) {
            char buf[64];
            const ssize_t n = read(fd, buf, sizeof buf);
            for (ssize_t i = 0; i < n; ++i)
                if (std::isxdigit(static_cast<unsigned char>(buf[i]))) out += buf[i];
            close(fd);
        }
        return out.empty() ? std::string("0") : out;
    }();
    return id;
}

// The name's writer: ".tenmado-snapshot-<pid>-<boot id>-" and six characters
// of mkstemp. Returns false for any other name.
bool TempWriter(const char* name, long* pid, std::string* boot)
{
    const size_t prefix = std::strlen(kTempPrefix);
    if (std::strncmp(name, kTempPrefix, prefix) != 0) return false;
    const char* p = name + prefix;
    char* end = nullptr;
    errno = 0;
    *pid = std::strtol(p, &end, 10);
    if (end == p || *end != '-' || errno || *pid <= 0) return false;
    const char* b = end + 1;
    const char* dash = std::strchr(b, '-');
    if (!dash || dash == b || std::strlen(dash + 1) != 6) return false;
    boot->assign(b, dash);
    return boot->find_first_not_of("0123456789abcdef") == std::string::npos;
}

// The temporary files in a folder left by writers that are gone: of
// another boot, or of this one by a process that no longer exists (a
// SIGKILL, a power cut), and not locked. A live writer holds the lock on
// its file until the rename, so its file stays (also from another PID
// namespace, or under a PID used again).
void RemoveLeftTempFiles(const std::string& folder)
{
    DIR* dir = opendir(folder.c_str());
    if (!dir) return;
    const std::string boot = BootId();
    while (const struct dirent* entry = readdir(dir)) {
        long pid = 0;
        std::string their_boot;
        if (!TempWriter(entry->d_name, &pid, &their_boot)) continue;
        const bool gone = their_boot != boot ||
                          (pid != getpid() && kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH);
        if (!gone) continue;
        const int fd = openat(dirfd(dir), entry->d_name,
                              O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st;
        if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0)
            unlinkat(dirfd(dir), entry->d_name, 0);
        close(fd);
    }
    closedir(dir);
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

// The extended attributes of the old file on the new one (the ACLs are
// two of them), each as far as the user may set it; the others are left.
void KeepAttributes(const std::string& old_path, int fd)
{
    ssize_t n = listxattr(old_path.c_str(), nullptr, 0);
    if (n <= 0) return;
    std::string names(static_cast<size_t>(n), '\0');
    n = listxattr(old_path.c_str(), names.data(), names.size());
    if (n <= 0) return;
    names.resize(static_cast<size_t>(n));
    std::string value;
    for (size_t at = 0; at < names.size(); at += std::strlen(names.c_str() + at) + 1) {
        const char* name = names.c_str() + at;
        const ssize_t size = getxattr(old_path.c_str(), name, nullptr, 0);
        if (size < 0 || size > kMaxAttribute) continue;
        value.resize(static_cast<size_t>(size));
        const ssize_t got = getxattr(old_path.c_str(), name, value.data(), value.size());
        if (got >= 0) fsetxattr(fd, name, value.data(), static_cast<size_t>(got), 0);
    }
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

    // The temporary file lies beside the target so that rename is atomic;
    // its name says who writes it, so that a later run can remove it if
    // this process dies without a chance to (SIGKILL).
    const std::string folder = Folder(target);
    RemoveLeftTempFiles(folder);
    const std::string temp = folder + "/" + kTempPrefix + std::to_string(getpid()) + "-" +
                             BootId() + "-XXXXXX";
    if (temp.size() >= sizeof g_temp) return fail(std::strerror(ENAMETOOLONG));
    int fd;
    int lock;  // the same open file, locked until after the rename
    {
        Blocked blocked;
        InstallHandlers();
        std::string name = temp;
        fd = mkostemp(name.data(), O_CLOEXEC);
        if (fd < 0) {
            const int e = errno;
            RestoreHandlers();
            return fail(std::strerror(e));
        }
        std::memcpy(g_temp, name.c_str(), name.size() + 1);
        g_temp_live = 1;
        flock(fd, LOCK_EX | LOCK_NB);
        lock = fcntl(fd, F_DUPFD_CLOEXEC, 0);
    }

    // the old file's owner and group where the user may keep them, then its
    // mode (after, since a change of owner clears bits), then its extended
    // attributes (the ACLs among them) as far as they may be set
    if (exists) KeepOwner(fd, old);
    int e = fchmod(fd, mode) != 0 ? errno : 0;
    if (!e && exists) KeepAttributes(target, fd);
    if (!e) e = WriteAll(fd, data, size);
    if (!e && fsync(fd) != 0 && errno != EINVAL) e = errno;
    if (close(fd) != 0 && !e) e = errno;

    Blocked blocked;
    if (!e && rename(g_temp, target.c_str()) != 0) e = errno;
    if (e) unlink(g_temp);
    g_temp_live = 0;
    if (lock >= 0) close(lock);
    RestoreHandlers();
    return e ? fail(std::strerror(e)) : true;
}

/*
**  ReplaceFile_SetTestPause
**  The pause between the pieces of a write (tests' binary only).
*/
void ReplaceFile_SetTestPause(long us)
{
    g_test_pause_us = static_cast<useconds_t>(std::clamp(us, 0L, 1000000L));
}
