// `lookup` answers the same with the speller's stems kept beside the look-up
// image as with the speller loaded: over the word-form evaluation's samples,
// on 8-bit and UTF-8 dictionaries, with the Hunspell data this machine has.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "forms/speller.h"
#include "forms/stored_stems.h"
#include "lookup/lookup_image.h"
#include "platform/code_page.h"
#include "testing/test_support.h"
#include "tools/cli_args.h"
#include "tools/cli_commands.h"

namespace cli {
namespace {

struct CliRun {
    int status;
    std::string out;
    std::string err;
    bool operator==(const CliRun&) const = default;
};

// One sample: its forms, and the dictionary made from its base words.
struct Sample {
    std::vector<std::string> forms;
    std::string pairs;  // UTF-8 TXT lines: base words, and every fourth form
};

Sample ReadSample(const std::string& language) {
    Sample sample;
    std::ifstream in(std::string(WORDBAY_FORMS_SAMPLES) + "/" + language + ".txt");
    std::string line;
    int n = 0;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string form, base;
        if (line.empty() || line[0] == '#' || !(fields >> form >> base)) continue;
        sample.forms.push_back(form);
        sample.pairs += base + "\tt-" + base + "\r\n";
        // A form that is a headword too takes the path beside an exact hit.
        if (++n % 4 == 0) sample.pairs += form + "\tf-" + form + "\r\n";
    }
    return sample;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) out += line + "\n";
    return out;
}

class LookupStemsTest : public test_support::ScratchDirTest {
protected:
    void SetUp() override {
        ScratchDirTest::SetUp();
        ::setenv("XDG_CACHE_HOME", Path("cache").c_str(), 1);
    }

    CliRun Cli(const std::vector<std::string>& argv, const std::string& input = {}) const {
        Arguments args;
        std::string error;
        if (!ParseArguments(argv, &args, &error)) return {kExitUsage, "", error};
        std::istringstream in(input);
        std::ostringstream out, err;
        const int status = RunCommand(args, in, out, err, false, dir_);
        return {status, out.str(), err.str()};
    }

    // The sample's pairs imported in `code_page` (65001: a UTF-8 list).
    std::string Import(const Sample& sample, const std::string& locales, std::uint32_t code_page) {
        std::string bytes = sample.pairs;
        std::vector<std::string> encoding;
        if (code_page == 65001) {
            encoding = {"--encoding", "utf-8"};
        } else {
            bool lossy = false;
            bytes = platform::EncodeFromUtf8(code_page, sample.pairs, &lossy);
            EXPECT_FALSE(lossy);
        }
        test_support::WriteFile(Path("pairs.txt"), bytes);
        std::vector<std::string> argv = {"import",      "--format",  "txt",  Path("pairs.txt"),
                                         Path("d.v03"), "--locales", locales};
        argv.insert(argv.end(), encoding.begin(), encoding.end());
        const CliRun r = Cli(argv);
        EXPECT_EQ(r.status, kExitOk) << r.err;
        return Path("d.v03");
    }

    // Looks every form up with the speller loaded (no stems kept yet), then
    // with the stems kept by that run, and compares: the batch (JSON) and a
    // few words one at a time, output, messages and exit status.
    void CompareAnswers(const std::string& file, const Sample& sample, const std::string& locale) {
        if (!forms::FindSpeller(locale)) GTEST_SKIP() << "no Hunspell dictionary for " << locale;
        const std::string stems = lookup::ImagePathOf(file) + ".stems0";
        const std::string words = Joined(sample.forms);
        const CliRun loaded = Cli({"lookup", file, "-", "--json"}, words);
        ASSERT_EQ(loaded.status, kExitOk) << loaded.err;
        ASSERT_TRUE(std::filesystem::exists(stems));

        // The kept stems hold most of the sample's forms.
        forms::StoredStems kept;
        std::ifstream in(stems, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), {});
        // The owner text the command wrote, as the file gives it.
        ASSERT_GT(bytes.size(), 20u);
        std::uint32_t owner_length = 0;
        std::memcpy(&owner_length, bytes.data() + 16, 4);
        ASSERT_TRUE(kept.Parse(bytes, bytes.substr(20, owner_length)));
        std::size_t held = 0;
        std::vector<std::string> found;
        for (const std::string& form : sample.forms) held += kept.Find(form, &found) ? 1 : 0;
        EXPECT_GT(held * 2, sample.forms.size()) << held << " of " << sample.forms.size();

        EXPECT_EQ(Cli({"lookup", file, "-", "--json"}, words), loaded);
        for (std::size_t i = 0; i < sample.forms.size(); i += 7) {
            SCOPED_TRACE(sample.forms[i]);
            const CliRun with_stems = Cli({"lookup", file, sample.forms[i]});
            std::filesystem::remove(stems);
            EXPECT_EQ(Cli({"lookup", file, sample.forms[i]}), with_stems);
            ASSERT_TRUE(std::filesystem::exists(stems));
        }
    }
};

TEST_F(LookupStemsTest, EnglishInAnEightBitList) {
    const Sample sample = ReadSample("en");
    ASSERT_GT(sample.forms.size(), 50u);
    CompareAnswers(Import(sample, "1033,1050", 1252), sample, "en_US");
}

TEST_F(LookupStemsTest, CroatianInAnEightBitList) {
    const Sample sample = ReadSample("hr");
    ASSERT_GT(sample.forms.size(), 50u);
    CompareAnswers(Import(sample, "1050,1033", 1250), sample, "hr_HR");
}

TEST_F(LookupStemsTest, GermanInAUtf8List) {
    const Sample sample = ReadSample("de");
    ASSERT_GT(sample.forms.size(), 50u);
    CompareAnswers(Import(sample, "deu,eng", 65001), sample, "de_DE");
}

}  // namespace
}  // namespace cli
