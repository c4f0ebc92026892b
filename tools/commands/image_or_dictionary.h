// One dictionary file as the look-up commands see it: answered from its
// look-up image while that holds up, loaded only when needed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "engine/lexbase.h"
#include "lookup/lookup_image.h"
#include "tools/commands/command_support.h"

namespace cli {

class ImageOrDictionary {
public:
    ImageOrDictionary(const Context& c, std::string path) : c_(c), path_(std::move(path)) {}

    // Finds the file, its state and where its image lives; false when the
    // file can't be read or there is no cache folder.
    bool Locate();
    // Maps the file's image when it is current; false when there is none.
    bool OpenImage();

    // Loads the dictionary; false after a failed load (reported).
    bool Load();

    bool loaded() const { return loaded_; }
    DB_HANDLE db() const { return db_->get(); }
    lookup::LookupImage& image() { return image_; }
    // What Locate() found: the file's full path, its state, its image's path.
    const std::string& source() const { return source_; }
    const lookup::SourceKey& key() const { return key_; }
    const std::string& image_path() const { return image_path_; }

    // The code page of the primary (0) or the secondary list (1).
    std::uint32_t code_page(int list) const;
    std::uint32_t word_count(int list) const {
        return list == 0 ? info_.primary_word_count : info_.secondary_word_count;
    }

    // Writes the look-up image when the dictionary had to be loaded for
    // want of a good one (none, a stale one or a damaged one), and the file
    // is still the one loaded.
    void WriteImage();

private:
    const Context& c_;
    const std::string path_;
    std::unique_ptr<Handle> db_;
    DICTIONARY_INFO info_{};
    bool loaded_ = false;
    std::string source_;
    lookup::SourceKey key_;
    std::string image_path_;
    lookup::LookupImage image_;
};

}  // namespace cli
