// wordbay-cli's lean process against the tool with the engine: every answer
// it gives from a look-up image (translations under each case and accent
// setting, prefix and wildcard lists, the forms of a word with the speller's
// stems kept) is the engine's tool's, output, messages and status alike;
// what it can't answer reaches the engine's tool untouched, standard input
// included.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "forms/speller_files.h"
#include "testing/test_support.h"

namespace {

struct Outcome {
    std::string out;
    std::string err;
    int status = -1;
    bool operator==(const Outcome&) const = default;
};

std::ostream& operator<<(std::ostream& s, const Outcome& o) {
    return s << "status " << o.status << ", out [" << o.out << "], err [" << o.err << "]";
}

std::string Quoted(const std::string& text) {
    std::string out = "'";
    for (const char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

class LeanAnswersTest : public test_support::ScratchDirTest {
protected:
    void SetUp() override {
        ScratchDirTest::SetUp();
        cache_ = Path("cache");
        // The lean process alone, with no engine's tool beside it or where
        // it is installed: it answers, or fails to hand over.
        std::filesystem::create_directories(Path("lean/bin"));
        std::filesystem::copy_file(WORDBAY_CLI, Path("lean/bin/wordbay-cli"));
        std::filesystem::permissions(Path("lean/bin/wordbay-cli"),
                                     std::filesystem::perms::owner_all);
    }

    // Runs `program` with `args` (and `input` on standard input), its image
    // cache in `cache` ("" for none: the dictionary is loaded every time).
    Outcome Run(const std::string& program, const std::vector<std::string>& args,
                const std::string& cache, const std::string& input = "") const {
        std::string command = cache.empty() ? "env -u HOME XDG_CACHE_HOME=none "
                                            : "env XDG_CACHE_HOME=" + Quoted(cache) + " ";
        command += Quoted(program);
        for (const std::string& arg : args) command += " " + Quoted(arg);
        test_support::WriteFile(Path("in"), input);
        command +=
            " <" + Quoted(Path("in")) + " >" + Quoted(Path("out")) + " 2>" + Quoted(Path("err"));
        const int status = std::system(command.c_str());
        Outcome o;
        o.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        o.out = test_support::ReadFile(Path("out"));
        o.err = test_support::ReadFile(Path("err"));
        return o;
    }
    Outcome Loaded(const std::vector<std::string>& args, const std::string& input = "") const {
        return Run(WORDBAY_CLI_ENGINE, args, "", input);
    }
    Outcome Lean(const std::vector<std::string>& args) const {
        return Run(Path("lean/bin/wordbay-cli"), args, cache_);
    }
    Outcome Front(const std::vector<std::string>& args, const std::string& input = "") const {
        return Run(WORDBAY_CLI, args, cache_, input);
    }
    // The engine's tool with the same image and kept stems as the lean process.
    Outcome Engine(const std::vector<std::string>& args, const std::string& input = "") const {
        return Run(WORDBAY_CLI_ENGINE, args, cache_, input);
    }

    // A dictionary of `pairs` in `encoding` ("utf-8", or "" for the lists'
    // code pages) and its look-up image, which the first look-up writes.
    std::string MakeDictionary(const std::string& name, const std::string& pairs,
                               const std::string& encoding) {
        test_support::WriteFile(Path(name + ".txt"), pairs);
        std::vector<std::string> args = {
            "import",    "--format", "txt", Path(name + ".txt"), Path(name + ".v03"),
            "--locales", "1033,1031"};
        if (!encoding.empty()) args.insert(args.end(), {"--encoding", encoding});
        const Outcome import = Run(WORDBAY_CLI_ENGINE, args, cache_);
        EXPECT_EQ(import.status, 0) << import;
        EXPECT_EQ(
            Run(WORDBAY_CLI_ENGINE, {"translate", Path(name + ".v03"), "house"}, cache_).status, 0);
        return Path(name + ".v03");
    }

    std::string cache_;
};

constexpr char kPairs[] =
    "house\tHaus\r\nHouse\tHaus-Musik\r\nhouse\tGeb\xC3\xA4ude\r\nhouses\tH\xC3\xA4user\r\n"
    "\xC3\x89mile\tEmil\r\n\xC3\xA9mile\temil\r\nEMILE\tEMIL\r\nstra\xC3\x9F"
    "e\tStra\xC3\x9F"
    "e\r\n"
    "\xCE\xA3\xCE\xBF\xCF\x86\xCE\xAF\xCE\xB1\tSophia\r\nhorse\tPferd\r\nhorsefly\tBremse\r\n"
    "r\xC3\xA9sum\xC3\xA9\tLebenslauf\r\nresume\tfortsetzen\r\n";

TEST_F(LeanAnswersTest, AnswersFromTheImageAsTheLoadedDictionary) {
    const std::string d = MakeDictionary("utf8", kPairs, "utf-8");
    // Each word under the settings where its case, accents or script tell.
    const std::vector<std::vector<std::string>> translations = {
        {"House"},
        {"House", "--case"},
        {"HOUSE", "--accents"},
        {"\xC3\x89MILE"},
        {"emile", "--accents"},
        {"\xC3\xA9mile", "--case", "--accents"},
        {"STRA\xC3\x9F"
         "E"},
        {"\xCF\x83\xCE\xBF\xCF\x86\xCE\xB9\xCE\xB1", "--accents"},
        {"R\xC3\x89SUM\xC3\x89"},
        {"resume", "--accents"},
        {"GEB\xC3\x84UDE", "--reverse"},
        {"gebaude", "--reverse", "--accents"},
        {"nothing"}};
    for (const auto& t : translations) {
        std::vector<std::string> args = {"translate", d};
        args.insert(args.end(), t.begin(), t.end());
        EXPECT_EQ(Lean(args), Loaded(args)) << t[0] << " " << t.size();
    }
    const std::vector<std::vector<std::string>> lists = {
        {"Ho"},
        {"Ho", "--case"},
        {"\xC3\x89", "--accents"},
        {"hous", "--limit", "1"},
        {"h", "--secondary"},
        {"zz"},
        {"h?use", "--mode", "wildcards", "--case"},
        {"\xC3\xA9*", "--mode", "wildcards", "--accents"}};
    for (const auto& list : lists) {
        std::vector<std::string> args = {"list", d};
        args.insert(args.end(), list.begin(), list.end());
        EXPECT_EQ(Lean(args), Loaded(args)) << list[0];
    }
}

TEST_F(LeanAnswersTest, HandsOverWhatTheImageCantAnswer) {
    const std::string utf8 = MakeDictionary("utf8", kPairs, "utf-8");
    const std::string cp = MakeDictionary("cp",
                                          "house\tHaus\r\nstreet\tStra\xDF"
                                          "e\r\n",
                                          "");
    const std::vector<std::vector<std::string>> cases = {
        {"translate", cp, "street"},
        {"list", cp, "s"},
        {"list", utf8, "*se", "--mode", "wildcards"},
        {"list", utf8, "h", "--mode", "regex"},
        {"translate", utf8, "\xC3"},
        {"lookup", utf8, "-"},
        {"info", utf8},
        {"translate", utf8},
        {"translate", Path("none.v03"), "house"}};
    for (const auto& args : cases) {
        EXPECT_EQ(Front(args), Loaded(args)) << args[0] << " " << args.back();
        const Outcome lean = Lean(args);
        EXPECT_EQ(lean.status, 1) << args.back();
        EXPECT_NE(lean.err.find("wordbay-cli: Can't run "), std::string::npos) << lean;
    }
    // Standard input reaches the engine's tool untouched.
    const std::string words = "house\nnothing\nHOUSE\n";
    EXPECT_EQ(Front({"translate", utf8, "-"}, words), Loaded({"translate", utf8, "-"}, words));
}

TEST_F(LeanAnswersTest, DamagedImageIsLeftToTheDictionary) {
    const std::string d = MakeDictionary("utf8", kPairs, "utf-8");
    const auto images = test_support::FilesIn(cache_ + "/wordbay");
    ASSERT_EQ(images.size(), 1u);
    const std::string image = cache_ + "/wordbay/" + *images.begin();
    std::string bytes = test_support::ReadFile(image);
    // Every page of the data, past the header (its start at byte 108).
    ASSERT_GT(bytes.size(), 112u);
    const std::size_t data = static_cast<unsigned char>(bytes[108]) |
                             static_cast<unsigned char>(bytes[109]) << 8 |
                             static_cast<std::size_t>(static_cast<unsigned char>(bytes[110])) << 16;
    ASSERT_LT(data, bytes.size());
    for (std::size_t i = data; i < bytes.size(); ++i) bytes[i] ^= 0x5A;
    test_support::WriteFile(image, bytes);
    for (const char* word : {"house", "horse", "zz"}) {
        EXPECT_EQ(Front({"translate", d, word}), Loaded({"translate", d, word})) << word;
        EXPECT_EQ(Front({"list", d, word}), Loaded({"list", d, word})) << word;
    }
}

TEST_F(LeanAnswersTest, LooksUpFormsFromTheImageAndTheKeptStems) {
    if (!forms::FindSpeller("en_US")) GTEST_SKIP() << "no English Hunspell dictionary";
    // The word-form evaluation's English forms; the dictionary holds their
    // base words, and every fourth form as a headword of its own.
    std::ifstream in(std::string(WORDBAY_FORMS_SAMPLES) + "/en.txt");
    std::vector<std::string> forms;
    std::string pairs, line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string form, base;
        if (line.empty() || line[0] == '#' || !(fields >> form >> base)) continue;
        forms.push_back(form);
        pairs += base + "\tt-" + base + "\r\n";
        if (forms.size() % 4 == 0) pairs += form + "\tf-" + form + "\r\n";
    }
    ASSERT_GT(forms.size(), 50u);
    const std::string d = MakeDictionary("forms", pairs, "utf-8");

    // Without kept stems the engine's tool answers, and keeps them (a child
    // process of its own writes them once the answer is out).
    EXPECT_NE(Lean({"lookup", d, "houses"}).err.find("Can't run"), std::string::npos);
    EXPECT_EQ(Front({"lookup", d, "houses"}).status, 0);
    const auto kept = [&] {
        for (const std::string& name : test_support::FilesIn(cache_ + "/wordbay")) {
            if (name.size() > 7 && name.compare(name.size() - 7, 7, ".stems0") == 0) return true;
        }
        return false;
    };
    for (int i = 0; i < 1200 && !kept(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ASSERT_TRUE(kept());

    // Every other form, and every sixth in JSON too (each is two processes
    // or three, which the sanitizer's build makes slow).
    std::size_t tried = 0;
    std::size_t answered = 0;
    for (std::size_t i = 0; i < forms.size(); i += 2) {
        for (const bool json : {false, true}) {
            if (json && i % 6 != 0) continue;
            std::vector<std::string> args = {"lookup", d, forms[i]};
            if (json) args.push_back("--json");
            const Outcome lean = Lean(args);
            const Outcome engine = Engine(args);
            ++tried;
            if (lean.err.find("wordbay-cli: Can't run ") == std::string::npos) {
                ++answered;
                EXPECT_EQ(lean, engine) << forms[i];
            } else {
                EXPECT_EQ(Front(args), engine) << forms[i];
            }
        }
    }
    // Most forms are answered without the engine.
    EXPECT_GT(answered * 2, tried) << answered << " of " << tried;
    // Suggestions and batches are the engine's tool's.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"lookup", d, "hosues"}, {"lookup", d, "-"}}) {
        EXPECT_NE(Lean(args).err.find("wordbay-cli: Can't run "), std::string::npos) << args[2];
        EXPECT_EQ(Front(args, "houses\nwent\n"), Engine(args, "houses\nwent\n")) << args[2];
    }
}

}  // namespace
