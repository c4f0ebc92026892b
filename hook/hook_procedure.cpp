#include "hook/hook_procedure.h"

namespace keysnare {

bool RunHookProcedure(HotKeyBlock& block, const KeyState& keys) {
    bool post = false;
    if (Load(block.armed) == 1 && !keys.IsDown(Load(block.first_key)) &&
        !keys.IsDown(Load(block.second_key))) {
        const std::uint32_t third = Load(block.third_key);
        if (third == 0 || !keys.IsDown(third)) {
            Store(block.armed, 0);
            post = true;
        }
    }
    if (keys.IsDown(Load(block.first_key)) && keys.IsDown(Load(block.second_key))) {
        const std::uint32_t third = Load(block.third_key);
        if (third == 0 || keys.IsDown(third)) Store(block.armed, 1);
    }
    return post;
}

}  // namespace keysnare
