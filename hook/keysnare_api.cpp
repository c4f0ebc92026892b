// The exported functions of keysnare: thin C entry points over the process's HotKey.
#include "hook/hot_key.h"
#include "hook/keysnare.h"

namespace {

// Made when the library is loaded, so that the first process creates the shared block and
// every later one maps it; destroyed when the library is unloaded or the process ends.
keysnare::HotKey g_hot_key(keysnare::DefaultBlockName());

}  // namespace

extern "C" int32_t KillKeysnare(void) { return g_hot_key.KillKeysnare(); }

extern "C" int32_t SendKeys(const uint32_t* keys, int32_t count) {
    return g_hot_key.SendKeys(keys, count);
}

extern "C" int32_t SetKeysnare(uint32_t target_window, uint32_t message) {
    return g_hot_key.SetKeysnare(target_window, message);
}

extern "C" int32_t SetKeySchortcut(uint32_t first_key, uint32_t second_key, uint32_t third_key) {
    return g_hot_key.SetKeySchortcut(first_key, second_key, third_key);
}

extern "C" int32_t WEP(int32_t /*ignored*/) { return g_hot_key.Wep(); }
