#include "engine/formats/format_list.h"

#include <cstring>

#include "engine/result.h"

namespace lexbase {
namespace {

constexpr char kMaker[] = "Ivana Kovacevic";

struct FormatRow {
    int direction;
    int format;
    const char* extension;
    int folder;
    int asks_for_description;
    const char* name;
    const char* description;
};

// Load records first, then save records, in the order they are handed out.
constexpr FormatRow kRows[] = {
    {1, DB_FORMAT_V03_LOAD, "v03", 0, 0, "KX_VER3 database", "Input plugin for KX_VER3 database"},
    {1, DB_FORMAT_V02_LOAD, "v02", 1, 0, "KX_VER2 database", "Input plugin for KX_VER2 database"},
    {1, DB_FORMAT_FREELANG_LOAD, "wb", 0, 0, "Freelang single database",
     "Input plugin for Freelang database"},
    {1, DB_FORMAT_FREELANG_DIR_LOAD, "", 1, 0, "Freelang database directory",
     "Input plugin for Freelang database directory"},
    {1, DB_FORMAT_TXT_LOAD, "txt", 0, 1, "TXT database", "Input plugin for TXT database"},
    {2, DB_FORMAT_V03_SAVE, "v03", 0, 0, "KX_VER3 database", "Output plugin for KX_VER3 database"},
    {2, DB_FORMAT_TXT_SAVE, "txt", 0, 0, "TXT database", "Output plugin for TXT database"},
    {2, DB_FORMAT_FREELANG_SAVE, "wb", 0, 0, "Freelang single database",
     "Output plugin for Freelang database"},
};
constexpr std::size_t kLoadRows = 5;
constexpr std::size_t kSaveRows = 3;

}  // namespace

std::size_t FillFormatList(DB_CONTEXT* db, int which) {
    const std::size_t first = which == 1 ? 0 : kLoadRows;
    const std::size_t count = which == 1 ? kLoadRows : kSaveRows;
    for (std::size_t i = 0; i < count; ++i) {
        const FormatRow& row = kRows[first + i];
        DB_FORMAT_RECORD& record = db->formats[i];
        std::memset(&record, 0, sizeof record);
        record.direction = row.direction;
        record.format = row.format;
        CopyField(record.extension, sizeof record.extension, row.extension);
        record.folder = row.folder;
        record.asks_for_description = row.asks_for_description;
        CopyField(record.name, sizeof record.name, row.name);
        CopyField(record.description, sizeof record.description, row.description);
        CopyField(record.author, sizeof record.author, kMaker);
        record.version_major = 1;
        record.version_minor = 0;
    }
    return count;
}

}  // namespace lexbase
