#include "exchange/file_input.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/file_reader.h"

namespace exchange {

bool ReadInput(const std::string& path, std::size_t max_size, std::string* bytes,
               std::string* error) {
    errno = 0;
    switch (platform::ReadRegularFile(path.c_str(), max_size, bytes)) {
        case platform::ReadOutcome::kRead:
            return true;
        case platform::ReadOutcome::kMissing:
            *error = "No such file: " + path;
            return false;
        case platform::ReadOutcome::kNotRegular:
            *error = "Not a regular file: " + path;
            return false;
        case platform::ReadOutcome::kTooLarge:
            *error = "File is too large: " + path;
            return false;
        case platform::ReadOutcome::kFailed:
            break;
    }
    const int reason = errno;
    *error = "Can't read file: " + path +
             (reason != 0 ? std::string(": ") + std::strerror(reason) : std::string());
    return false;
}

bool IsRegularFile(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace exchange
