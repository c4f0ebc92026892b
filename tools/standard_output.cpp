#include "tools/standard_output.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>

#include "tools/cli_commands.h"

namespace cli {

StdoutBuffer::int_type StdoutBuffer::overflow(int_type c) {
    if (!Drain()) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

bool StdoutBuffer::Drain() {
    const char* at = pbase();
    while (error_ == 0 && at < pptr()) {
        const ssize_t n = ::write(1, at, static_cast<std::size_t>(pptr() - at));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error_ = n < 0 ? errno : EIO;
            break;
        }
        at += n;
    }
    setp(buffer_, buffer_ + sizeof buffer_);
    return error_ == 0;
}

StdoutBuffer& TakeStandardOutput() {
    std::ios::sync_with_stdio(false);
    StdoutBuffer& out = *new StdoutBuffer;
    std::cout.rdbuf(&out);
    return out;
}

int Finish(StdoutBuffer* out, int status) {
    std::cout.flush();
    if (out->error() == 0 && !std::cout.fail()) return status;
    std::cerr << "wordbay-cli: Can't write to standard output"
              << (out->error() != 0 ? std::string(": ") + std::strerror(out->error())
                                    : std::string())
              << '\n';
    return kExitFailed;
}

const char kVersionText[] = "wordbay-cli " WORDBAY_VERSION
                            "\n"
                            "License GPL-3.0-or-later: GNU GPL version 3 or later.\n"
                            "This is free software: you are free to change and redistribute it.\n"
                            "There is NO WARRANTY, to the extent permitted by law.\n";

}  // namespace cli
