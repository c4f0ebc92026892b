#include "tools/commands/image_or_dictionary.h"

#include <cstdlib>

#include "lookup/lookup_image_writer.h"

namespace cli {

bool ImageOrDictionary::Locate() {
    char* real = ::realpath(path_.c_str(), nullptr);
    if (real == nullptr) return false;
    source_ = real;
    std::free(real);
    if (!lookup::ReadSourceKey(source_, &key_)) return false;
    image_path_ = lookup::ImagePathOf(source_);
    return !image_path_.empty();
}

bool ImageOrDictionary::OpenImage() { return Locate() && image_.Open(image_path_, source_, key_); }

bool ImageOrDictionary::Load() {
    // A handle takes megabytes of index; the image needs none.
    db_ = std::make_unique<Handle>();
    if (!LoadDictionary(c_, db_->get(), path_, &info_)) return false;
    loaded_ = true;
    return true;
}

std::uint32_t ImageOrDictionary::code_page(int list) const {
    if (!loaded_) return image_.code_page(list);
    return list == 0 ? PrimaryCodePage(info_) : SecondaryCodePage(info_);
}

void ImageOrDictionary::WriteImage() {
    lookup::SourceKey now;
    // A good image that could not answer this question is the one a load
    // would write again.
    const bool good_image = image_.is_open() && !image_.damaged();
    if (!loaded_ || good_image || image_path_.empty() || !lookup::ReadSourceKey(source_, &now) ||
        !(now == key_)) {
        return;
    }
    lookup::WriteLookupImage(db_->get(), image_path_, source_, key_);
}

}  // namespace cli
