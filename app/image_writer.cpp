#include "app/image_writer.h"

#include <malloc.h>

#include <cstdlib>
#include <utility>

#include "app/thread_priority.h"
#include "lookup/lookup_image_writer.h"

namespace wordbay {
namespace {

// Added to the nice value of the writer's thread.
constexpr int kImageWriterGivingWay = 10;

}  // namespace

bool ResolveImageSource(const std::string& path, std::string* source, lookup::SourceKey* key,
                        std::string* image) {
    char* real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr) return false;
    *source = real;
    std::free(real);
    if (!lookup::ReadSourceKey(*source, key)) return false;
    *image = lookup::ImagePathOf(*source);
    return !image->empty();
}

void ImageWriter::Request(const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_ || path.empty()) return;
    pending_ = path;
    if (!thread_.joinable()) thread_ = std::thread(&ImageWriter::Run, this);
    changed_.notify_all();
}

void ImageWriter::WaitIdle() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return stopping_ || (pending_.empty() && !busy_); });
}

void ImageWriter::Stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
        pending_.clear();
        changed_.notify_all();
    }
    if (thread_.joinable()) thread_.join();
}

void ImageWriter::SetLoadedHookForTesting(std::function<void()> hook) {
    std::lock_guard<std::mutex> lock(mutex_);
    loaded_hook_ = std::move(hook);
}

void ImageWriter::Run() {
    // The image is a cache: its load and its sorts wait for whatever else
    // the program does, the first search after the start above all.
    LowerThisThreadsPriority(kImageWriterGivingWay);
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || !pending_.empty(); });
        if (stopping_) return;
        const std::string path = std::exchange(pending_, std::string());
        busy_ = true;
        lock.unlock();
        Refresh(path);
        lock.lock();
        busy_ = false;
        changed_.notify_all();
    }
}

void ImageWriter::Refresh(const std::string& path) {
    std::string source;
    std::string image_path;
    lookup::SourceKey key;
    if (!ResolveImageSource(path, &source, &key, &image_path)) return;
    {
        lookup::LookupImage current;
        if (current.Open(image_path, source, key)) return;
    }
    const DB_RESULT* created = DB_CreateHandle();
    if (created->status == 0) return;
    DB_HANDLE db = created->handle;
    const bool loaded = DB_Load(db, DB_FORMAT_V03_LOAD, source.c_str(), 0, 0)->status != 0;
    if (loaded_hook_) loaded_hook_();
    bool stopping = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping = stopping_;
    }
    // The image is keyed by the state read before the load: a file saved
    // again meanwhile gets no image of this one.
    lookup::SourceKey now;
    if (loaded && !stopping && lookup::ReadSourceKey(source, &now) && now == key) {
        lookup::WriteLookupImage(db, image_path, source, key);
    }
    DB_DestroyHandle(db);
    // A second copy of the dictionary and the image's buffers were freed in
    // this thread's arena: its pages go back to the system.
    ::malloc_trim(0);
}

}  // namespace wordbay
