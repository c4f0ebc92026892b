#include "app/shared_settings.h"

namespace wordbay {
namespace {

// A search option and the program setting that keeps it. Dual mode is kept
// but not taken at start: it comes on once the dual dictionary has loaded.
struct OptionKey {
    bool ProgramSettings::*setting;
    bool SearchOptions::*option;
    bool taken_at_start;
};

constexpr OptionKey kOptionKeys[] = {
    {&ProgramSettings::case_sensitive, &SearchOptions::case_sensitive, true},
    {&ProgramSettings::ignore_accents, &SearchOptions::ignore_accents, true},
    {&ProgramSettings::use_wildcards, &SearchOptions::wildcards, true},
    {&ProgramSettings::use_regex, &SearchOptions::regex, true},
    {&ProgramSettings::use_clipboard, &SearchOptions::use_clipboard, true},
    {&ProgramSettings::auto_translate, &SearchOptions::auto_translate, true},
    {&ProgramSettings::link, &SearchOptions::link, true},
    {&ProgramSettings::multiple, &SearchOptions::link_all, true},
    {&ProgramSettings::dual, &SearchOptions::dual_mode, false},
};

}  // namespace

SearchOptions SharedSettings::options() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return options_;
}

void SharedSettings::SetOptions(const SearchOptions& options) {
    std::lock_guard<std::mutex> lock(mutex_);
    options_ = options;
}

DictionaryState SharedSettings::dictionary_state() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return state_;
}

void SharedSettings::SetDictionaryState(const DictionaryState& state) {
    std::lock_guard<std::mutex> lock(mutex_);
    state_ = state;
}

void SharedSettings::Change(const std::function<void(SearchOptions&, DictionaryState&)>& change) {
    std::lock_guard<std::mutex> lock(mutex_);
    change(options_, state_);
}

void SharedSettings::TakeFrom(const ProgramSettings& program) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const OptionKey& key : kOptionKeys) {
        if (key.taken_at_start) options_.*key.option = program.*key.setting;
    }
    state_.show_splash = program.show_splash;
    state_.convert_v2 = program.convert_v2;
    state_.current = program.current;
    state_.dual = program.dual;
    state_.dual_name = program.dual_name;
}

void SharedSettings::KeepIn(ProgramSettings* program) const {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const OptionKey& key : kOptionKeys) program->*key.setting = options_.*key.option;
    program->show_splash = state_.show_splash;
    program->convert_v2 = state_.convert_v2;
    program->current = state_.current;
    program->dual_name = state_.dual_name;
}

}  // namespace wordbay
