#include "app/dictionary_slot.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/code_page.h"
#include "platform/locale.h"

namespace wordbay {

// Room beyond the list's index size in every result array.
constexpr std::size_t kSpareEntries = 40;

PointerArray::PointerArray(std::size_t entries) {
    if (entries == 0) return;
    // calloc hands out fresh pages of the system untouched, as zeroed as they come.
    entries_.reset(static_cast<const char**>(std::calloc(entries, sizeof(const char*))));
    if (entries_ == nullptr) throw std::bad_alloc();
    size_ = entries;
}

void PointerArray::Free::operator()(const char** entries) const {
    std::free(static_cast<void*>(entries));
}

void ResultBuffers::Reserve(std::size_t entries) {
    PointerArray& b = buffers_[1 - front_];
    if (b.size() < entries) b = PointerArray(entries);
}

void ResultBuffers::Resize(std::size_t entries) {
    for (auto& b : buffers_) b = PointerArray(entries);
    front_ = 0;
}

void ResultBuffers::Grow(std::size_t entries) {
    std::array<PointerArray, 2> grown;
    for (int i = 0; i < 2; ++i) {
        if (buffers_[i].size() >= entries) continue;
        grown[i] = PointerArray(entries);
        std::copy(buffers_[i].data(), buffers_[i].data() + buffers_[i].size(), grown[i].data());
    }
    // Nothing is replaced before both allocations have succeeded.
    for (int i = 0; i < 2; ++i) {
        if (grown[i].size() != 0) buffers_[i].swap(grown[i]);
    }
}

void ResultBuffers::Show(MainView* view, SlotId slot, ListSide side, int count) {
    count = std::clamp(count, 0, capacity());
    const char* const* items = Flip();
    view->ShowList(slot, side, count > 0 ? items : nullptr, count);
}

const char* const* ResultBuffers::Flip() {
    front_ = 1 - front_;
    return buffers_[front_].data();
}

DictionarySlot::DictionarySlot(SlotId id) : id_(id) {
    const DB_RESULT* r = DB_CreateHandle();
    handle_ = r->status != 0 ? r->handle : nullptr;
}

DictionarySlot::~DictionarySlot() {
    if (handle_ != nullptr) DB_DestroyHandle(handle_);
}

void DictionarySlot::EndLoop() {
    if (loop_protected_.load()) return;
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
    SetInfo(info);
    return true;
}

void DictionarySlot::SetInfo(const DICTIONARY_INFO& info) {
    std::lock_guard<std::mutex> lock(info_mutex_);
    info_ = info;
}

DICTIONARY_INFO DictionarySlot::info_snapshot() const {
    std::lock_guard<std::mutex> lock(info_mutex_);
    return info_;
}

void DictionarySlot::SizeResultArrays() {
    results_[0].Resize(info_.primary_index_size + kSpareEntries);
    results_[1].Resize(info_.secondary_index_size + kSpareEntries);
}

void DictionarySlot::GrowResultArrays() {
    results_[0].Grow(info_.primary_index_size + kSpareEntries);
    results_[1].Grow(info_.secondary_index_size + kSpareEntries);
}

void DictionarySlot::SetPath(const std::string& path) {
    path_ = path;
    const std::size_t slash = path.find_last_of('/');
    file_name_ = slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string DictionarySlot::ListName(const DICTIONARY_INFO& info, ListSide side) {
    const char* name =
        side == ListSide::kPrimary ? info.primary_list_name : info.secondary_list_name;
    return std::string(name, strnlen(name, sizeof(info.primary_list_name)));
}

std::string DictionarySlot::ListNameUtf8(const DICTIONARY_INFO& info, ListSide side) {
    return platform::DecodeToUtf8(CodePage(info, side), ListName(info, side));
}

std::uint32_t DictionarySlot::CodePage(const DICTIONARY_INFO& info, ListSide side) {
    return platform::ListCodePage(Locale(info, side), side == ListSide::kPrimary
                                                          ? info.primary_charset
                                                          : info.secondary_charset);
}

std::uint32_t DictionarySlot::Locale(const DICTIONARY_INFO& info, ListSide side) {
    return side == ListSide::kPrimary ? info.primary_locale : info.secondary_locale;
}

std::uint32_t DictionarySlot::WordCount(const DICTIONARY_INFO& info, ListSide side) {
    return side == ListSide::kPrimary ? info.primary_word_count : info.secondary_word_count;
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
