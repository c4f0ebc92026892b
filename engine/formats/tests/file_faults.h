// Test helper for the writers' fault hook: turns every injected file fault
// off, so that no test leaves one behind for the next.
#pragma once

#include "platform/file_writer.h"

namespace lexbase::test {

inline void ClearFileFaults() {
    for (const platform::FileOp op :
         {platform::FileOp::kWrite, platform::FileOp::kFlush, platform::FileOp::kReplace}) {
        platform::FailFileOpForTesting(op, 0);
    }
}

}  // namespace lexbase::test
