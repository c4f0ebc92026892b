// wordbay-cli: looks up, lists, converts and merges dictionaries from a
// terminal or a script, over the lexbase C interface.
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <streambuf>
#include <string>
#include <vector>

#include "tools/cli_args.h"
#include "tools/cli_commands.h"

namespace {

// Standard output through a buffer of our own that keeps the reason of the
// first write that failed, whatever ran between that write and the check.
class StdoutBuffer : public std::streambuf {
public:
    StdoutBuffer() { setp(buffer_, buffer_ + sizeof buffer_); }
    int error() const { return error_; }

protected:
    int_type overflow(int_type c) override {
        if (!Drain()) return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override { return Drain() ? 0 : -1; }

private:
    bool Drain() {
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

    char buffer_[1 << 16];
    int error_ = 0;
};

// Output that could not be written (a full disk, a closed pipe) is a failure
// of the whole run, and says so.
int Finish(StdoutBuffer* out, int status) {
    std::cout.flush();
    if (out->error() == 0 && !std::cout.fail()) return status;
    std::cerr << "wordbay-cli: Can't write to standard output"
              << (out->error() != 0 ? std::string(": ") + std::strerror(out->error())
                                    : std::string())
              << '\n';
    return cli::kExitFailed;
}

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    // Never destroyed: the standard streams flush once more after every static
    // object of main is gone, and must not find a destroyed buffer then.
    StdoutBuffer& out = *new StdoutBuffer;
    std::cout.rdbuf(&out);
    const std::vector<std::string> args(argv + 1, argv + argc);
    cli::Arguments parsed;
    std::string error;
    if (!cli::ParseArguments(args, &parsed, &error)) {
        std::cerr << "wordbay-cli: " << error << '\n';
        return cli::kExitUsage;
    }
    if (parsed.version) {
        std::cout << "wordbay-cli " WORDBAY_VERSION
                     "\n"
                     "License GPL-3.0-or-later: GNU GPL version 3 or later.\n"
                     "This is free software: you are free to change and redistribute it.\n"
                     "There is NO WARRANTY, to the extent permitted by law.\n";
        return Finish(&out, cli::kExitOk);
    }
    if (parsed.help) {
        std::cout << cli::UsageText(parsed.command);
        return Finish(&out, cli::kExitOk);
    }
    return Finish(&out, cli::RunCommand(parsed, std::cin, std::cout, std::cerr, isatty(2) != 0));
}
