#include "hook/hot_key_block.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <utility>

namespace keysnare {
namespace {

// A holder that loses every race against closing holders gives up after this many tries.
constexpr int kOpenAttempts = 16;

bool LockShared(int fd) {
    while (flock(fd, LOCK_SH) != 0) {
        if (errno != EINTR) return false;
    }
    return true;
}

// True when "name" still refers to the object open on "fd": the last holder of an object
// removes its name, and a process that opened the object just before that must start over.
bool StillNamed(const std::string& name, int fd) {
    const int probe = shm_open(name.c_str(), O_RDONLY | O_CLOEXEC, 0);
    if (probe < 0) return false;
    struct stat held {};
    struct stat named {};
    const bool same = fstat(fd, &held) == 0 && fstat(probe, &named) == 0 &&
                      held.st_dev == named.st_dev && held.st_ino == named.st_ino;
    close(probe);
    return same;
}

// Drops this holder's lock; the holder that can then lock the object exclusively is the last
// one and removes the name.
void Release(const std::string& name, int fd) {
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) shm_unlink(name.c_str());
    close(fd);
}

}  // namespace

std::string BlockNameFor(unsigned uid, const char* display) {
    std::string name = "/dllmemfilemap." + std::to_string(uid);
    if (display == nullptr || *display == '\0') return name;
    // ":0" and ":0.0" are one display: the screen number goes.
    std::string shown = display;
    const std::size_t colon = shown.rfind(':');
    const std::size_t dot = shown.find('.', colon == std::string::npos ? 0 : colon);
    if (colon != std::string::npos && dot != std::string::npos) shown.erase(dot);
    name += '.';
    for (const char c : shown) {
        const bool plain = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') ||
                           (c >= 'A' && c <= 'Z') || c == ':' || c == '-';
        name += plain ? c : '_';
    }
    return name;
}

std::string DefaultBlockName() { return BlockNameFor(geteuid(), std::getenv("DISPLAY")); }

std::unique_ptr<SharedBlock> SharedBlock::Open(const std::string& name) {
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        bool created = true;
        int fd = shm_open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno != EEXIST) return nullptr;
            created = false;
            fd = shm_open(name.c_str(), O_RDWR | O_CLOEXEC, 0);
            if (fd < 0 && errno == ENOENT) continue;  // removed by its last holder meanwhile
            if (fd < 0) return nullptr;
        }
        // An object that nobody holds was left by a process that ended without closing it
        // (killed, or its session ended): its window and keys belong to a program that is
        // gone, perhaps on an earlier X server with the same display number. Holding it
        // exclusively keeps newcomers waiting while its fields are cleared below.
        const bool left_behind = !created && flock(fd, LOCK_EX | LOCK_NB) == 0;
        if (!left_behind && !LockShared(fd)) {
            close(fd);
            return nullptr;
        }
        if (!StillNamed(name, fd)) {
            close(fd);
            continue;
        }
        struct stat info {};
        // A block of another user could aim our hot key at any window: refuse it.
        if (fstat(fd, &info) != 0 || info.st_uid != geteuid()) {
            Release(name, fd);
            return nullptr;
        }
        // A new object has size 0 until its creator sizes it, and a second process may get
        // here first. Growing to 24 bytes fills with zeros and never touches data already
        // there, so whoever comes first sizes it and nobody clears anybody's fields.
        if (info.st_size < static_cast<off_t>(sizeof(HotKeyBlock)) &&
            ftruncate(fd, sizeof(HotKeyBlock)) != 0) {
            Release(name, fd);
            return nullptr;
        }
        void* view = mmap(nullptr, sizeof(HotKeyBlock), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        if (view == MAP_FAILED) {
            Release(name, fd);
            return nullptr;
        }
        if (left_behind) {
            auto& fields = *static_cast<HotKeyBlock*>(view);
            for (std::uint32_t* field :
                 {&fields.target_window, &fields.first_key, &fields.second_key, &fields.third_key,
                  &fields.armed, &fields.message}) {
                Store(*field, 0);
            }
            // Shared again, as every holder; the name is checked once more, for the lock is
            // let go for a moment on the way.
            if (!LockShared(fd) || !StillNamed(name, fd)) {
                munmap(view, sizeof(HotKeyBlock));
                close(fd);
                continue;
            }
        }
        return std::unique_ptr<SharedBlock>(
            new SharedBlock(name, fd, static_cast<HotKeyBlock*>(view), created));
    }
    return nullptr;
}

SharedBlock::SharedBlock(std::string name, int fd, HotKeyBlock* fields, bool created)
    : name_(std::move(name)), fd_(fd), fields_(fields), created_(created), owner_pid_(getpid()) {}

SharedBlock::~SharedBlock() {
    munmap(fields_, sizeof(HotKeyBlock));
    if (getpid() != owner_pid_) {
        // The lock belongs to the open file that the parent shares: closing our descriptor
        // keeps it, locking here would change the parent's.
        close(fd_);
        return;
    }
    Release(name_, fd_);
}

}  // namespace keysnare
