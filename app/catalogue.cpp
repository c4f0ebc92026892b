#include "app/catalogue.h"

#include <dirent.h>
#include <strings.h>

#include <algorithm>
#include <cstring>

#include "app/engine_handle.h"
#include "app/message_box_style.h"
#include "app/message_table.h"
#include "app/window_updates.h"
#include "platform/collation.h"

namespace wordbay {
namespace {

// LCID of the system default locale.
constexpr std::uint32_t kSystemDefaultLocale = 2048;

bool HasV03Extension(const char* name) {
    const std::size_t n = std::strlen(name);
    return n > 4 && strcasecmp(name + n - 4, ".v03") == 0;
}

// The ".v03" files of `dir` (full paths), in directory order.
std::vector<std::string> ListV03Files(const std::string& dir) {
    std::vector<std::string> files;
    DIR* d = opendir(dir.c_str());
    if (d == nullptr) return files;
    while (const dirent* e = readdir(d)) {
        if (HasV03Extension(e->d_name)) files.push_back(dir + "/" + e->d_name);
    }
    closedir(d);
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

bool CatalogueLess(const CatalogueEntry& a, const CatalogueEntry& b) {
    const int primary = platform::CompareText(kSystemDefaultLocale, 0, a.info.primary_list_name,
                                              b.info.primary_list_name);
    if (primary != 0) return primary < 0;
    return platform::CompareText(kSystemDefaultLocale, 0, a.info.secondary_list_name,
                                 b.info.secondary_list_name) < 0;
}

std::size_t Catalogue::Scan(const std::string& database_dir, StatusUpdates* status) {
    const EngineHandle handle;
    const DB_HANDLE db = handle.get();
    if (db == nullptr) {
        if (status != nullptr) {
            status->ShowMessage({UiText(TextId::MSG_CANTGETHANDLE_ERROR),
                                 UiText(TextId::MSG_FATAL_ERROR), kMbOk | kMbIconStop});
        }
        return 0;
    }
    const std::vector<std::string> files = ListV03Files(database_dir);
    if (files.empty()) return 0;
    std::vector<CatalogueEntry> found;
    found.reserve(files.size());
    for (const std::string& path : files) {
        CatalogueEntry entry;
        if (DB_GetDictionaryInfoA(db, path.c_str(), &entry.info)->status == 0) continue;
        entry.path = path;
        found.push_back(std::move(entry));
    }
    std::stable_sort(found.begin(), found.end(), CatalogueLess);

    const std::size_t count = found.size();
    std::lock_guard<std::mutex> lock(mutex_);
    entries_ = std::move(found);
    return count;
}

bool Catalogue::IsInCatalogue(const std::string& path) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return std::any_of(entries_.begin(), entries_.end(),
                       [&](const CatalogueEntry& e) { return e.path == path; });
}

std::vector<CatalogueEntry> Catalogue::entries() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return entries_;
}

std::size_t Catalogue::size() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return entries_.size();
}

void Catalogue::remove(std::size_t index) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (index < entries_.size())
        entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
}

}  // namespace wordbay
