// ImageWriter: writes the look-up image (lookup/) of a dictionary file in
// the background, so that the next start answers from it at once. A load or
// a save asks for it; a thread of its own then checks whether the user's
// cache already holds a current image of the file and, when not, loads the
// file into a handle of its own and writes the image from that. It never
// touches the handles of the slots, so it needs no engine lock, and the file
// on disk is what the image is keyed by. One image is written at a time; a
// failure is silent (the program works without the image).
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "engine/lexbase.h"
#include "lookup/lookup_image.h"

namespace wordbay {

class ImageWriter {
public:
    ImageWriter() = default;
    ImageWriter(const ImageWriter&) = delete;
    ImageWriter& operator=(const ImageWriter&) = delete;
    ~ImageWriter() { Stop(); }

    // Asks for the image of the dictionary file `path` to be brought up to
    // date. Any thread; returns at once. While one is written, the newest
    // request waits and those before it are dropped.
    void Request(const std::string& path);
    // Waits until no request is pending or under way (tests).
    void WaitIdle();
    // Ends the thread: an image under way is finished unless its file is
    // still loading, what is pending is dropped, later requests are ignored.
    void Stop();

    // Runs `hook` on the writer's thread each time it has loaded a file and
    // before it writes that file's image (tests: a file changed meanwhile).
    void SetLoadedHookForTesting(std::function<void()> hook);

private:
    void Run();
    // Writes the image of `path` when the cache has none current for the
    // file's state and the file stays unchanged while it is read.
    void Refresh(const std::string& path);

    std::mutex mutex_;
    std::condition_variable changed_;
    std::string pending_;
    bool busy_ = false;
    bool stopping_ = false;
    std::function<void()> loaded_hook_;  // set before the first request
    std::thread thread_;
};

// The real path of the dictionary file `path`, its state now and where its
// image lives; false when the file can't be read or there is no cache folder.
bool ResolveImageSource(const std::string& path, std::string* source, lookup::SourceKey* key,
                        std::string* image);

}  // namespace wordbay
