// The dictd base-64 form of a number, for the index lines of test databases.
#pragma once

#include <cstddef>
#include <string>

namespace cli {

inline std::string DictdNumber(std::size_t n) {
    static const char* alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string s;
    do {
        s.insert(s.begin(), alphabet[n % 64]);
        n /= 64;
    } while (n != 0);
    return s;
}

}  // namespace cli
