// Standard output as both wordbay-cli processes write it (the lean one that
// answers from a look-up image and the one with the engine): through a buffer
// that keeps the reason of the first write that failed.
#pragma once

#include <streambuf>

namespace cli {

// Standard output through a buffer of our own that keeps the reason of the
// first write that failed, whatever ran between that write and the check.
class StdoutBuffer : public std::streambuf {
public:
    StdoutBuffer() { setp(buffer_, buffer_ + sizeof buffer_); }
    int error() const { return error_; }

protected:
    int_type overflow(int_type c) override;
    int sync() override { return Drain() ? 0 : -1; }

private:
    bool Drain();

    char buffer_[1 << 16];
    int error_ = 0;
};

// Makes std::cout write through a buffer of ours, never destroyed: the
// standard streams flush once more after every static object of main is
// gone, and must not find a destroyed buffer then.
StdoutBuffer& TakeStandardOutput();

// Flushes standard output and returns `status`; output that could not be
// written (a full disk, a closed pipe) is a failure of the whole run, and
// says so.
int Finish(StdoutBuffer* out, int status);

// What --version prints.
extern const char kVersionText[];

}  // namespace cli
