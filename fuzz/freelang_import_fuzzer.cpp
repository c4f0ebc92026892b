// Feeds arbitrary bytes to the Freelang record import as if they were a
// database file; a successful import is written back out as records.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/formats/freelang_format.h"
#include "engine/lexbase.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    DB_HANDLE db = DB_CreateHandle()->handle;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (lexbase::ImportFreelangBytes(db, bytes, "english_croatian.wb", 0, 0)) {
        (void)lexbase::SaveFreelang(db, "/dev/null");
    }
    DB_DestroyHandle(db);
    return 0;
}
