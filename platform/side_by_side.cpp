#include "platform/side_by_side.h"

#include <exception>
#include <system_error>
#include <thread>

namespace platform {

void SideBySide(const std::function<void()>& here, const std::function<void()>& there) {
    std::exception_ptr failure;
    std::thread helper;
    try {
        helper = std::thread([&] {
            try {
                there();
            } catch (...) {
                failure = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        // no thread to be had: `there` runs after `here`
    }
    try {
        here();
        if (!helper.joinable()) there();
    } catch (...) {
        if (helper.joinable()) helper.join();
        throw;
    }
    if (helper.joinable()) helper.join();
    if (failure) std::rethrow_exception(failure);
}

}  // namespace platform
