#include "app/file_watch.h"

namespace wordbay {

FileWatch::Finding FileWatch::Look(const platform::FileStamp& loaded,
                                   const platform::FileStamp& now) {
    const platform::FileStamp previous = seen_;
    seen_ = now;
    if (now == loaded || !(now == previous) || !now.exists) return Finding::kNothing;
    std::lock_guard<std::mutex> lock(mutex_);
    return now == failed_ ? Finding::kNothing : Finding::kChanged;
}

void FileWatch::LoadFailed(const platform::FileStamp& stamp) {
    std::lock_guard<std::mutex> lock(mutex_);
    failed_ = stamp;
}

}  // namespace wordbay
