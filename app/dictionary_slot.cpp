#include "app/dictionary_slot.h"

#include <algorithm>
#include <cstring>

#include "platform/code_page.h"
#include "platform/locale.h"

namespace wordbay {

// Room beyond the list's index size in every result array.
constexpr std::size_t kSpareEntries = 40;

void ResultBuffers::Reserve(std::size_t entries) {
    std::vector<const char*>& b = buffers_[1 - front_];
    if (b.size() < entries) b.assign(entries, nullptr);
}

void ResultBuffers::Resize(std::size_t entries) {
    for (auto& b : buffers_) b.assign(entries, nullptr);
    front_ = 0;
}

void ResultBuffers::Show(MainView* view, SlotId slot, ListSide side, int count) {
    const int back = 1 - front_;
    count = std::clamp(count, 0, static_cast<int>(buffers_[back].size()));
    view->ShowList(slot, side, count > 0 ? buffers_[back].data() : nullptr, count);
    front_ = back;
}

DictionarySlot::DictionarySlot(SlotId id) : id_(id) {
    const DB_RESULT* r = DB_CreateHandle();
    handle_ = r->status != 0 ? r->handle : nullptr;
}

DictionarySlot::~DictionarySlot() {
    if (handle_ != nullptr) DB_DestroyHandle(handle_);
}

void DictionarySlot::EndLoop() {
    std::lock_guard<std::mutex> lock(handle_mutex_);
    if (handle_ != nullptr) DB_EndLoop(handle_, 1);
}

void DictionarySlot::ReplaceHandle(DB_HANDLE fresh) {
    DB_HANDLE old;
    {
        std::lock_guard<std::mutex> lock(handle_mutex_);
        old = handle_;
        handle_ = fresh;
    }
    loaded_.store(DB_IsReady(fresh) != 0);
    if (old != nullptr) DB_DestroyHandle(old);
}

void DictionarySlot::Close() {
    loaded_.store(false);
    if (handle_ != nullptr) DB_Close(handle_);
}

bool DictionarySlot::RefreshInfo() {
    DICTIONARY_INFO info{};
    if (DB_GetDictionaryInfo(handle_, &info)->status == 0) return false;
    info_ = info;
    return true;
}

void DictionarySlot::SizeResultArrays() {
    results_[0].Resize(info_.primary_index_size + kSpareEntries);
    results_[1].Resize(info_.secondary_index_size + kSpareEntries);
}

void DictionarySlot::SetPath(const std::string& path) {
    path_ = path;
    const std::size_t slash = path.find_last_of('/');
    file_name_ = slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string DictionarySlot::ListName(ListSide side) const {
    const char* name =
        side == ListSide::kPrimary ? info_.primary_list_name : info_.secondary_list_name;
    return std::string(name, strnlen(name, sizeof(info_.primary_list_name)));
}

std::string DictionarySlot::ListNameUtf8(ListSide side) const {
    return platform::DecodeToUtf8(platform::CodePageOf(Locale(side)), ListName(side));
}

std::uint32_t DictionarySlot::Locale(ListSide side) const {
    return side == ListSide::kPrimary ? info_.primary_locale : info_.secondary_locale;
}

std::uint32_t DictionarySlot::WordCount(ListSide side) const {
    return side == ListSide::kPrimary ? info_.primary_word_count : info_.secondary_word_count;
}

void DictionarySlot::ReadSettings(const FontCatalog& fonts, bool* font_warning) {
    const SettingsFile file(DictionarySettingsPath(path_));
    const ListCharsets charsets{info_.primary_charset, info_.secondary_charset};
    settings_ = ReadDictionarySettings(file, DictionarySettingsSection(path_), charsets, fonts,
                                       dual(), font_warning);
    direction_.store(settings_.primary_to_secondary);
}

void DictionarySlot::WriteSettings() {
    if (!loaded() || path_.empty()) return;
    settings_.primary_to_secondary = direction_.load();
    const SettingsFile file(DictionarySettingsPath(path_));
    WriteDictionarySettings(file, DictionarySettingsSection(path_), settings_, dual());
}

}  // namespace wordbay
