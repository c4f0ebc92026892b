#include "platform/mapped_file.h"

#include <setjmp.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <mutex>

#include "platform/file_reader.h"

namespace platform {
namespace {

// One guarded call of a thread: the mapping it covers and where to resume.
struct Guard {
    sigjmp_buf resume;
    const std::uint8_t* begin;
    std::uint64_t size;
    Guard* outer;  // the guarded call this one runs inside, if any
};

thread_local Guard* tls_guard = nullptr;
thread_local void (*tls_map_hook)() = nullptr;

struct sigaction g_previous_action;  // SIGBUS action of the process before ours
std::once_flag g_handler_once;

// A SIGBUS that is not ours: what the process would have done without us.
void PassOn(int signal_number, siginfo_t* info, void* context) {
    if (g_previous_action.sa_flags & SA_SIGINFO) {
        if (g_previous_action.sa_sigaction != nullptr) {
            g_previous_action.sa_sigaction(signal_number, info, context);
        }
        return;
    }
    if (g_previous_action.sa_handler == SIG_DFL || g_previous_action.sa_handler == SIG_IGN) {
        // The signal stays blocked until this handler returns; then the default
        // action ends the process as it would have without us.
        struct sigaction fallback {};
        fallback.sa_handler = SIG_DFL;
        sigemptyset(&fallback.sa_mask);
        sigaction(signal_number, &fallback, nullptr);
        raise(signal_number);
        return;
    }
    g_previous_action.sa_handler(signal_number);
}

void OnSigbus(int signal_number, siginfo_t* info, void* context) {
    Guard* const guard = tls_guard;
    if (guard != nullptr && info != nullptr) {
        const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
        const auto begin = reinterpret_cast<std::uintptr_t>(guard->begin);
        if (address >= begin && address - begin < guard->size) {
            tls_guard = guard->outer;
            siglongjmp(guard->resume, 1);
        }
    }
    PassOn(signal_number, info, context);
}

void InstallHandler() {
    std::call_once(g_handler_once, [] {
        struct sigaction action {};
        action.sa_sigaction = OnSigbus;
        action.sa_flags = SA_SIGINFO | SA_ONSTACK;
        sigemptyset(&action.sa_mask);
        sigaction(SIGBUS, &action, &g_previous_action);
    });
}

struct CopyJob {
    const std::uint8_t* from;
    void* to;
    std::size_t count;
};

void RunCopy(void* argument) {
    const auto* job = static_cast<const CopyJob*>(argument);
    std::memcpy(job->to, job->from, job->count);
}

}  // namespace

MappedFile::~MappedFile() { Close(); }

void MappedFile::Close() {
    if (data_ != nullptr) {
        munmap(const_cast<std::uint8_t*>(data_), static_cast<std::size_t>(size_));
    }
    if (fd_ >= 0) ::close(fd_);
    data_ = nullptr;
    size_ = 0;
    fd_ = -1;
}

bool MappedFile::Open(const char* path, Access access) {
    Close();
    int fd = -1;
    std::uint64_t size = 0;
    if (OpenRegularFile(path, &fd, &size, access == Access::kReadWrite) != ReadOutcome::kRead) {
        return false;
    }
    fd_ = fd;
    return true;
}

bool MappedFile::QuerySize(std::uint64_t* size) const {
    struct stat status {};
    if (fd_ < 0 || fstat(fd_, &status) != 0 || status.st_size < 0) return false;
    *size = static_cast<std::uint64_t>(status.st_size);
    return true;
}

bool MappedFile::Map(std::uint64_t size) {
    if (fd_ < 0 || data_ != nullptr || size == 0 || size > SIZE_MAX) return false;
    void* view = mmap(nullptr, static_cast<std::size_t>(size), PROT_READ, MAP_SHARED, fd_, 0);
    if (view == MAP_FAILED) return false;
    data_ = static_cast<const std::uint8_t*>(view);
    size_ = size;
    if (tls_map_hook != nullptr) tls_map_hook();
    return true;
}

bool MappedFile::Read(std::uint64_t offset, void* out, std::size_t count) const {
    if (data_ == nullptr || offset > size_ || count > size_ - offset) return false;
    if (count == 0) return true;
    CopyJob job{data_ + offset, out, count};
    return Guarded(RunCopy, &job);
}

bool MappedFile::Guarded(void (*work)(void* argument), void* argument) const {
    InstallHandler();
    Guard guard;
    guard.begin = data_;
    guard.size = data_ != nullptr ? size_ : 0;
    guard.outer = tls_guard;
    // The handler has restored tls_guard before it jumps back here.
    if (sigsetjmp(guard.resume, 1) != 0) return false;
    tls_guard = &guard;
    work(argument);
    tls_guard = guard.outer;
    return true;
}

bool MappedFile::SizeUnchanged() const {
    std::uint64_t now = 0;
    return QuerySize(&now) && now == size_;
}

void SetMapHookForTesting(void (*hook)()) { tls_map_hook = hook; }

}  // namespace platform
