// The version-2 set: building the five files from bytes, the checks of every
// offset and index, the envelope, the fixed description and the progress.
#include "engine/formats/legacy_format.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "engine/context.h"
#include "engine/lexbase.h"
#include "engine/tests/api_test_support.h"
#include "engine/tests/dictionary_checker.h"
#include "testing/test_support.h"

namespace lexbase {
namespace {

using Pairs = PairList;

std::string Le32(std::uint32_t value) {
    std::string out(4, '\0');
    for (int i = 0; i < 4; ++i) out[i] = static_cast<char>(value >> (8 * i));
    return out;
}

// The envelope: stored size, then the zlib stream of `content`.
std::string Envelope(const std::string& content, std::uint32_t stored) {
    uLongf size = compressBound(content.size());
    std::string packed(size, '\0');
    compress(reinterpret_cast<Bytef*>(packed.data()), &size,
             reinterpret_cast<const Bytef*>(content.data()), content.size());
    packed.resize(size);
    return Le32(stored) + packed;
}
std::string Envelope(const std::string& content) {
    return Envelope(content, static_cast<std::uint32_t>(content.size()));
}

std::string Entry(std::uint32_t word, std::uint32_t first, std::uint32_t count) {
    return Le32(word) + Le32(first) + Le32(count);
}

// The decompressed contents of a small sound set:
//   eng: "house" at 0, "home" at 6, "dog" at 11
//   hrv: "kuca" at 0, "dom" at 5, "pas" at 9
struct Set {
    std::string eng{"house\0home\0dog\0", 15};
    std::string hrv{"kuca\0dom\0pas\0", 13};
    std::string ehr = Entry(0, 0, 1) + Entry(11, 2, 0) + Entry(6, 1, 1) + Entry(0, 1, 1);
    std::string ehp = Le32(0) + Le32(5) + Le32(9);
    std::string her = Entry(0, 0, 1);

    std::vector<std::string> Files() const {
        return {Envelope(eng), Envelope(hrv), Envelope(ehr), Envelope(ehp), Envelope(her)};
    }
};

class LegacyFormatTest : public ScratchHandleTest {
protected:
    // Writes the set into the test's folder, under the names the load asks for.
    void WriteSet(const std::vector<std::string>& files) const {
        for (int i = 0; i < kLegacyFileCount; ++i) {
            test_support::WriteFile(Path(kLegacyFileNames[i]), files[i]);
        }
    }
    bool Import(const std::vector<std::string>& files) {
        const std::string_view views[kLegacyFileCount] = {files[0], files[1], files[2], files[3],
                                                          files[4]};
        DB_Close(db_);
        return ImportLegacyBytes(db_, views);
    }
    bool Import(const Set& set) { return Import(set.Files()); }
};

TEST_F(LegacyFormatTest, BuildsTheDictionaryWithItsFixedDescription) {
    ASSERT_TRUE(Import(Set()));
    // Count 0 gives no pair, so "dog" stays out; the two "house" entries
    // make one word whose translations follow the entries' order.
    EXPECT_EQ(PrimaryPairs(db_), (Pairs{{"home", "dom"}, {"house", "kuca"}, {"house", "dom"}}));
    EXPECT_EQ(db_->lists[0].word_count, 2u);
    EXPECT_STREQ(db_->name, "Reriraro-voduzuza tallis");
    EXPECT_STREQ(db_->description, "Reriraro-voduzuza tallis");
    EXPECT_STREQ(db_->primary_list_name, "Engleski");
    EXPECT_STREQ(db_->secondary_list_name, "Hrvatski");
    EXPECT_GT(std::string(db_->author).size(), 0u);
    EXPECT_EQ(db_->lists[0].locale, 1033u);
    EXPECT_EQ(db_->lists[1].locale, 1050u);
    EXPECT_EQ(db_->lists[0].charset, 0u);
    EXPECT_EQ(db_->lists[1].charset, 238u);
    EXPECT_EQ(db_->progress_current.load(), 90u);
}

std::vector<std::uint32_t> g_progress;

// The user sees the import move: each of the five files announces itself,
// then the pairs, the build and the description follow in order.
TEST_F(LegacyFormatTest, ProgressPassesEveryStepInOrder) {
    g_progress.clear();
    SetProgressHookForTesting([](std::uint32_t percent) { g_progress.push_back(percent); });
    const bool imported = Import(Set());
    SetProgressHookForTesting(nullptr);
    ASSERT_TRUE(imported);
    ASSERT_GE(g_progress.size(), 8u);
    EXPECT_EQ(std::vector<std::uint32_t>(g_progress.begin(), g_progress.begin() + 7),
              (std::vector<std::uint32_t>{10, 5, 20, 25, 30, 35, 50}));
    EXPECT_EQ(g_progress.back(), 90u);
    // The build's own steps lie between the pairs and the description.
    for (std::size_t i = 7; i + 1 < g_progress.size(); ++i) {
        EXPECT_GE(g_progress[i], 28u) << i;
        EXPECT_LE(g_progress[i], 97u) << i;
    }

    // A failure on the third file stops the steps there.
    g_progress.clear();
    Set broken;
    std::vector<std::string> files = broken.Files();
    files[2] = "short";
    SetProgressHookForTesting([](std::uint32_t percent) { g_progress.push_back(percent); });
    EXPECT_FALSE(Import(files));
    SetProgressHookForTesting(nullptr);
    EXPECT_EQ(g_progress, (std::vector<std::uint32_t>{10, 5, 20}));
}

// A text block without a NUL until its end, named by many entries, is found
// by each of them without a scan of the block.
TEST_F(LegacyFormatTest, OverlongTextsNamedByManyEntriesAreSkipped) {
    Set set;
    set.eng = std::string(100000, 'a') + '\0' + set.eng;
    set.ehr.clear();
    set.ehp = Le32(0);
    for (int i = 0; i < 1000; ++i) set.ehr += Entry(static_cast<std::uint32_t>(i), 0, 1);
    set.ehr += Entry(100001, 0, 1);  // "house"
    set.ehp = Le32(0);
    // Each entry takes one target: make room for them all.
    std::string targets;
    for (int i = 0; i < 1001; ++i) targets += Le32(0);
    set.ehp = targets;
    ASSERT_TRUE(Import(set));
    // The over-long words are skipped, the one word of proper length stays.
    EXPECT_EQ(PrimaryPairs(db_), (Pairs{{"house", "kuca"}}));
}

TEST_F(LegacyFormatTest, BadOffsetsAndIndexesFail) {
    const struct {
        const char* what;
        void (*spoil)(Set*);
    } cases[] = {
        {"word offset past eng", [](Set* s) { s->ehr += Entry(15, 0, 1); }},
        {"word without NUL",
         [](Set* s) {
             s->eng += "cat";
             s->ehr += Entry(15, 0, 1);
         }},
        {"index past ehp", [](Set* s) { s->ehr += Entry(0, 3, 1); }},
        {"index run past ehp", [](Set* s) { s->ehr += Entry(0, 2, 2); }},
        {"index that wraps", [](Set* s) { s->ehr += Entry(0, 0xFFFFFFFF, 2); }},
        {"huge count", [](Set* s) { s->ehr = Entry(0, 0, 0xFFFFFFFF); }},
        {"translation offset past hrv",
         [](Set* s) {
             s->ehp += Le32(13);
             s->ehr += Entry(0, 3, 1);
         }},
        {"translation without NUL",
         [](Set* s) {
             s->hrv += "mac";
             s->ehp += Le32(13);
             s->ehr += Entry(0, 3, 1);
         }},
        {"more pairs than ehp entries", [](Set* s) { s->ehr += Entry(0, 0, 1); }},
        {"ehr shorter than an entry", [](Set* s) { s->ehr = s->ehr.substr(0, 11); }},
        {"her shorter than an entry", [](Set* s) { s->her = s->her.substr(0, 11); }},
        {"ehp shorter than an entry", [](Set* s) { s->ehp = "abc"; }},
        {"only empty words",
         [](Set* s) {
             s->eng = std::string(1, '\0');
             s->ehr = Entry(0, 0, 1);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Set set;
        c.spoil(&set);
        EXPECT_FALSE(Import(set));
        EXPECT_EQ(db_->lists[0].word_count, 0u);
    }
}

TEST_F(LegacyFormatTest, DamagedEnvelopesFail) {
    for (int file = 0; file < kLegacyFileCount; ++file) {
        SCOPED_TRACE(file);
        const Set set;
        const std::string contents[] = {set.eng, set.hrv, set.ehr, set.ehp, set.her};
        const std::string& content = contents[file];
        const std::string bad[] = {
            Envelope(content).substr(0, 13),                                    // below 14 bytes
            Envelope(content, static_cast<std::uint32_t>(content.size() + 1)),  // stream too short
            Envelope(content, static_cast<std::uint32_t>(content.size() - 1)),  // stream too long
            Envelope(content, 0),
            Envelope(content, 0xFFFFFFF0),  // absurd size: refused before allocating
            Le32(static_cast<std::uint32_t>(content.size())) + std::string(20, 'x'),
        };
        for (const std::string& damaged : bad) {
            std::vector<std::string> files = set.Files();
            files[file] = damaged;
            EXPECT_FALSE(Import(files));
        }
    }
}

TEST_F(LegacyFormatTest, LoadReadsTheFolder) {
    const std::string dir = dir_.substr(0, dir_.size() - 1);
    WriteSet(Set().Files());
    EXPECT_TRUE(LoadV02(db_, dir.c_str()));
    EXPECT_EQ(db_->lists[0].word_count, 2u);
    // her.v02 is never used, yet its absence fails the load.
    DB_Close(db_);
    ::unlink((dir + "/her.v02").c_str());
    EXPECT_FALSE(LoadV02(db_, dir.c_str()));
    EXPECT_EQ(db_->lists[0].word_count, 0u);
}

// The set has no length of its own: each file's stream must yield exactly
// its stored size, so a cut anywhere in any file fails the load.
TEST_F(LegacyFormatTest, EveryCutOfEveryFileFails) {
    const std::string dir = dir_.substr(0, dir_.size() - 1);
    const std::vector<std::string> good = Set().Files();
    for (int file = 0; file < kLegacyFileCount; ++file) {
        for (std::size_t size = 0; size < good[file].size(); ++size) {
            SCOPED_TRACE(std::string(kLegacyFileNames[file]) + " cut to " + std::to_string(size));
            std::vector<std::string> files = good;
            files[file].resize(size);
            WriteSet(files);
            DB_Close(db_);
            EXPECT_FALSE(LoadV02(db_, dir.c_str()));
            EXPECT_TRUE(IsEmptyHandle(db_));
        }
    }
    WriteSet(good);
    EXPECT_TRUE(LoadV02(db_, dir.c_str()));
}

}  // namespace
}  // namespace lexbase
