// The catalogue of the database folder: every readable ".v03" dictionary in
// it, with its description, sorted by list names.
//
// The worker thread rebuilds the catalogue after imports and conversions; the
// dialogs read it on the user-interface thread. A scan builds the new list
// aside and swaps it in under a lock, and readers get a copy, so neither
// thread ever sees a half-built list.
#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

#include "engine/lexbase.h"

namespace wordbay {

class StatusUpdates;

struct CatalogueEntry {
    DICTIONARY_INFO info{};  // as DB_GetDictionaryInfoA reads it from the file
    std::string path;        // full path of the file
};

class Catalogue {
public:
    // Rebuilds the catalogue from the ".v03" files (extension in any case) of
    // `database_dir`. Files whose description cannot be read are left out.
    // With no such file at all, the old catalogue stays. The entries are
    // ordered by primary list name, then secondary list name, under the
    // system's default collation. Reports a missing engine handle to
    // `status` (may be null). Returns the number of entries found (0 when the folder
    // holds no ".v03" file).
    std::size_t Scan(const std::string& database_dir, StatusUpdates* status);

    // Whether an entry has exactly this full path (byte for byte).
    bool IsInCatalogue(const std::string& path) const;

    // A copy of the entries, in their order.
    std::vector<CatalogueEntry> entries() const;
    std::size_t size() const;

    // Removes the entry at `index` (the chooser deleted its file); an index
    // out of range changes nothing.
    void remove(std::size_t index);

private:
    mutable std::mutex mutex_;
    std::vector<CatalogueEntry> entries_;
};

// Orders catalogue entries: primary list name, then secondary list name, by
// the collation of the system default locale. Exposed for the tests.
bool CatalogueLess(const CatalogueEntry& a, const CatalogueEntry& b);

}  // namespace wordbay
