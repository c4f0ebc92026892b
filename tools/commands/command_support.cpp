#include "tools/commands/command_support.h"

#include <malloc.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <ostream>

#include "engine/lexbase_messages.h"
#include "platform/code_page.h"
#include "platform/locale.h"
#include "tools/cli_commands.h"
#include "tools/progress_bar.h"

namespace cli {

std::uint32_t PrimaryCodePage(const DICTIONARY_INFO& info) {
    return platform::ListCodePage(info.primary_locale, info.primary_charset);
}

std::uint32_t SecondaryCodePage(const DICTIONARY_INFO& info) {
    return platform::ListCodePage(info.secondary_locale, info.secondary_charset);
}

std::string FieldText(const char* field, std::size_t size) {
    return std::string(field, strnlen(field, size));
}

void SetField(char* field, std::size_t size, std::uint32_t cp, const std::string& text) {
    const std::string encoded = platform::EncodeFromUtf8(cp, text);
    std::size_t n = std::min(encoded.size(), size - 1);
    // A cut UTF-8 text ends before the character that does not fit whole.
    if (cp == platform::kUtf8CodePage && n < encoded.size()) {
        while (n > 0 && (static_cast<unsigned char>(encoded[n]) & 0xC0) == 0x80) --n;
    }
    std::memcpy(field, encoded.data(), n);
    std::memset(field + n, 0, size - n);
}

int Fail(const Context& c, const DB_RESULT* result, int error) {
    std::string message = result->message;
    const lexbase::MessageEntry* entry = lexbase::FindMessage(message);
    if (error != 0 && entry != nullptr && entry->kind == lexbase::MessageKind::kSystemFailure) {
        std::replace(message.begin(), message.end(), '\n', ' ');
        if (message.back() == '!') message.pop_back();
        message += std::string(": ") + std::strerror(error);
    }
    c.err << "wordbay-cli: " << message << '\n';
    return kExitFailed;
}

int UsageError(const Context& c, const std::string& message) {
    c.err << "wordbay-cli: " << message << '\n';
    return kExitUsage;
}

int LockBusy(const Context& c, const std::string& path) {
    c.err << "wordbay-cli: Can't lock file for writing:\n"
          << path << "\nAnother program is saving it; try again later.\n";
    return kExitFailed;
}

bool TargetFile::LockUnchanged(const Context& c) {
    if (lock_.Acquire(path_.c_str()) == platform::OpenResult::kBusy) {
        LockBusy(c, path_);
        return false;
    }
    if (platform::StampOf(path_.c_str()) == stamp_) return true;
    lock_.Release();
    c.err << "wordbay-cli: " << path_
          << " was changed by another program while this command ran; it was not replaced.\n";
    return false;
}

bool LoadDictionary(const Context& c, DB_HANDLE db, const std::string& path,
                    DICTIONARY_INFO* info) {
    const DB_RESULT* result = nullptr;
    int error = 0;
    {
        ProgressBar bar(db, c.err, c.progress, "Loading");
        result =
            OnFiles(&error, [&] { return DB_Load(db, DB_FORMAT_V03_LOAD, path.c_str(), 0, 0); });
    }
    if (result->status == 0) {
        Fail(c, result, error);
        return false;
    }
    result = DB_GetDictionaryInfo(db, info);
    if (result->status == 0) {
        Fail(c, result);
        return false;
    }
    return true;
}

bool SaveDictionary(const Context& c, DB_HANDLE db, int32_t format, const std::string& path) {
    const DB_RESULT* result = nullptr;
    int error = 0;
    {
        ProgressBar bar(db, c.err, c.progress, "Saving");
        result = OnFiles(&error, [&] { return DB_Save(db, format, path.c_str()); });
    }
    if (result->status == 0) {
        Fail(c, result, error);
        return false;
    }
    return true;
}

int32_t LoadFormat(const std::string& name, const std::string& source, bool allow_v03) {
    if (name == "txt") return DB_FORMAT_TXT_LOAD;
    if (name == "freelang") {
        struct stat st {};
        const bool folder = stat(source.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        return folder ? DB_FORMAT_FREELANG_DIR_LOAD : DB_FORMAT_FREELANG_LOAD;
    }
    if (name == "v02") return DB_FORMAT_V02_LOAD;
    if (name == "v03" && allow_v03) return DB_FORMAT_V03_LOAD;
    return 0;
}

// Freed blocks kept by the allocator serve the next ones without the system
// clearing their pages again; the process gives everything back when it ends.
void KeepFreedMemoryForReuse() {
    mallopt(M_MMAP_THRESHOLD, 32 << 20);  // the largest that glibc takes
    mallopt(M_TRIM_THRESHOLD, INT32_MAX);
    mallopt(M_TOP_PAD, 64 << 20);
}

}  // namespace cli
