#include "app/dictionary_slot.h"

#include <cstring>
#include <utility>

#include "platform/code_page.h"
#include "platform/locale.h"

namespace wordbay {

// Room beyond the list's index size in every result array.
constexpr std::size_t kSpareEntries = 40;

DictionarySlot::DictionarySlot(SlotId id) : id_(id), handle_(std::make_shared<EngineHandle>()) {}

DictionarySlot::~DictionarySlot() = default;

void DictionarySlot::EndLoop() {
    if (loop_protected_.load()) return;
    std::lock_guard<std::mutex> lock(handle_mutex_);
    if (handle_ != nullptr && handle_->get() != nullptr) DB_EndLoop(handle_->get(), 1);
}

DB_HANDLE DictionarySlot::handle() const {
    std::lock_guard<std::mutex> lock(handle_mutex_);
    return handle_ != nullptr ? handle_->get() : nullptr;
}

void DictionarySlot::ReplaceHandle(std::shared_ptr<EngineHandle> fresh) {
    const bool ready = fresh != nullptr && fresh->get() != nullptr && DB_IsReady(fresh->get()) != 0;
    std::shared_ptr<EngineHandle> old;
    {
        std::lock_guard<std::mutex> lock(handle_mutex_);
        old = std::move(handle_);
        handle_ = std::move(fresh);
    }
    loaded_.store(ready);
    for (ResultArrays& arrays : results_) arrays.Clear();
}

void DictionarySlot::Close() {
    loaded_.store(false);
    // A fresh empty handle: the lists that still show words of the old
    // dictionary keep it until they let go.
    ReplaceHandle(std::make_shared<EngineHandle>());
}

bool DictionarySlot::RefreshInfo() {
    DICTIONARY_INFO info{};
    if (DB_GetDictionaryInfo(handle(), &info)->status == 0) return false;
    SetInfo(info);
    return true;
}

void DictionarySlot::SetInfo(const DICTIONARY_INFO& info) {
    std::lock_guard<std::mutex> lock(mutex_);
    info_ = info;
}

DICTIONARY_INFO DictionarySlot::info_snapshot() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return info_;
}

void DictionarySlot::SetPath(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    std::lock_guard<std::mutex> lock(mutex_);
    path_ = path;
    file_name_ = slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string DictionarySlot::path() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return path_;
}

std::string DictionarySlot::file_name() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return file_name_;
}

DictionarySettings DictionarySlot::settings() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return settings_;
}

void DictionarySlot::ChangeSettings(const std::function<void(DictionarySettings&)>& change) {
    std::lock_guard<std::mutex> lock(mutex_);
    change(settings_);
}

std::size_t DictionarySlot::ResultRoom(ListSide side) const {
    const DICTIONARY_INFO info = info_snapshot();
    return (side == ListSide::kPrimary ? info.primary_index_size : info.secondary_index_size) +
           kSpareEntries;
}

std::shared_ptr<PointerArray> DictionarySlot::ResultArray(ListSide side, std::size_t entries) {
    return results_[static_cast<int>(side)].Free(entries);
}

WordList DictionarySlot::Words(std::shared_ptr<const PointerArray> array, int count,
                               unsigned epoch) const {
    std::shared_ptr<const void> owner;
    {
        std::lock_guard<std::mutex> lock(handle_mutex_);
        owner = handle_;
    }
    return WordList(std::move(array), count, std::move(owner), epoch);
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
    const std::string path = this->path();
    const DICTIONARY_INFO info = info_snapshot();
    const SettingsFile file(DictionarySettingsPath(path));
    const ListCharsets charsets{info.primary_charset, info.secondary_charset};
    DictionarySettings read = ReadDictionarySettings(file, DictionarySettingsSection(path),
                                                     charsets, fonts, dual(), font_warning);
    direction_.store(read.primary_to_secondary);
    std::lock_guard<std::mutex> lock(mutex_);
    settings_ = std::move(read);
}

void DictionarySlot::WriteSettings() {
    const std::string path = this->path();
    if (!loaded() || path.empty()) return;
    DictionarySettings settings = this->settings();
    settings.primary_to_secondary = direction_.load();
    const SettingsFile file(DictionarySettingsPath(path));
    WriteDictionarySettings(file, DictionarySettingsSection(path), settings, dual());
}

}  // namespace wordbay
