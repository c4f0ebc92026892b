// The block of shared memory that holds the hot key: its layout, the 32-bit accessors that
// every process uses on it without locking, and the POSIX shared-memory object that carries
// it between the processes of one user.
#ifndef KEYSNARE_HOT_KEY_BLOCK_H
#define KEYSNARE_HOT_KEY_BLOCK_H

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

namespace keysnare {

// 24 bytes, six 32-bit fields in host (little-endian) order.
struct HotKeyBlock {
    std::uint32_t target_window;  // X11 window id that receives the message
    std::uint32_t first_key;      // virtual-key code, required
    std::uint32_t second_key;     // virtual-key code, required
    std::uint32_t third_key;      // virtual-key code; 0 = no third key
    std::uint32_t armed;          // 1 once the whole combination was held down
    std::uint32_t message;        // message number posted to the target window
};
static_assert(sizeof(HotKeyBlock) == 24);

// Every access goes through these: other processes read and write the same words at any
// time, and a 32-bit relaxed atomic is exactly the plain aligned load or store they use.
inline std::uint32_t Load(std::uint32_t& field) {
    return std::atomic_ref<std::uint32_t>(field).load(std::memory_order_relaxed);
}
inline void Store(std::uint32_t& field, std::uint32_t value) {
    std::atomic_ref<std::uint32_t>(field).store(value, std::memory_order_relaxed);
}

// The name of the block of user `uid` on X display `display` (null or empty:
// none): "/dllmemfilemap.<uid>.<display>", the display without its screen
// number and with characters a name cannot hold replaced. A window id in the
// block means something on one display only, so two X servers of one user
// (a desktop and a test server) each have their own block.
std::string BlockNameFor(unsigned uid, const char* display);
// The block of this process's user and display ($DISPLAY).
std::string DefaultBlockName();

// One process's mapping of a named block. The first process to open a name creates the
// object zeroed; later ones map it as they find it, unless no process holds it any more (its
// last holder ended without closing it): then it is cleared as if new. Each holder keeps a shared
// file lock on the object, so the last one to close it can tell and removes the name: the block
// lives as long as some process has it open.
class SharedBlock {
public:
    // Maps the block "name" (a shared-memory name starting with "/"). Returns null when the
    // object cannot be created, opened, sized or mapped, or belongs to another user.
    static std::unique_ptr<SharedBlock> Open(const std::string& name);
    ~SharedBlock();
    SharedBlock(const SharedBlock&) = delete;
    SharedBlock& operator=(const SharedBlock&) = delete;

    HotKeyBlock& fields() { return *fields_; }
    // True when this process created the object.
    bool created() const { return created_; }

private:
    SharedBlock(std::string name, int fd, HotKeyBlock* fields, bool created);

    std::string name_;
    int fd_;
    HotKeyBlock* fields_;
    bool created_;
    int owner_pid_;  // a forked child that inherits this object leaves the name alone
};

}  // namespace keysnare

#endif  // KEYSNARE_HOT_KEY_BLOCK_H
