// wordbay-cli history and favourites, on files the program's stores wrote.
#include <sys/stat.h>

#include <sstream>

#include "testing/test_support.h"
#include "tools/cli_args.h"
#include "tools/cli_commands.h"
#include "wordlists/card_export.h"
#include "wordlists/favourites_store.h"
#include "wordlists/history_store.h"

namespace cli {
namespace {

class WordListsCommandTest : public test_support::ScratchDirTest {
protected:
    struct Run {
        int status;
        std::string out;
        std::string err;
    };
    Run Cli(std::vector<std::string> argv) const {
        argv.push_back("--data-dir");
        argv.push_back(dir_);
        Arguments args;
        std::string error;
        if (!ParseArguments(argv, &args, &error)) return {kExitUsage, "", error};
        std::istringstream in;
        std::ostringstream out, err;
        const int status = RunCommand(args, in, out, err, false, dir_);
        return {status, out.str(), err.str()};
    }
};

TEST_F(WordListsCommandTest, HistoryNewestFirstWithCountsAsTextAndJson) {
    EXPECT_EQ(Cli({"history", "--json"}).out, "[]\n");
    wordlists::HistoryStore store(Path("history.journal"));
    store.Open();
    store.Add({"house", "Engleski_Hrvatski.v03", 1}, 0);
    store.Add({"say \"ja\"", "English_German.v03", 2}, 60);
    store.Add({"house", "Engleski_Hrvatski.v03", 1}, 3600);
    ASSERT_TRUE(store.Flush());

    const Run text = Cli({"history"});
    EXPECT_EQ(text.status, kExitOk);
    EXPECT_EQ(text.out,
              "house\t2\tEngleski_Hrvatski.v03\t1970-01-01T01:00:00Z\n"
              "say \"ja\"\t1\tEnglish_German.v03\t1970-01-01T00:01:00Z\n");
    EXPECT_EQ(Cli({"history", "--json"}).out,
              "[\n"
              "  {\"word\": \"house\", \"count\": 2, \"dictionary\": \"Engleski_Hrvatski.v03\", "
              "\"direction\": 1, \"time\": \"1970-01-01T01:00:00Z\"},\n"
              "  {\"word\": \"say \\\"ja\\\"\", \"count\": 1, \"dictionary\": "
              "\"English_German.v03\", \"direction\": 2, \"time\": \"1970-01-01T00:01:00Z\"}\n"
              "]\n");
}

TEST_F(WordListsCommandTest, BadHistoryFilesSayWhyAndNeverHang) {
    test_support::WriteFile(
        Path("history.journal"),
        wordlists::EncodeRecord({"L", "5", "1", "1", "d.v03", "kept"}) + "00000000\tL\tdamaged\n");
    Run run = Cli({"history"});
    EXPECT_EQ(run.status, kExitOk);
    EXPECT_EQ(run.out, "kept\t1\td.v03\t1970-01-01T00:00:05Z\n");
    EXPECT_NE(run.err.find("1 damaged record(s) left out"), std::string::npos) << run.err;

    ::unlink(Path("history.journal").c_str());
    ASSERT_EQ(::mkfifo(Path("history.journal").c_str(), 0600), 0);
    run = Cli({"history"});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_NE(run.err.find("is not a regular file"), std::string::npos) << run.err;
}

TEST_F(WordListsCommandTest, FavouritesListAndExport) {
    wordlists::FavouritesStore store(Path("favourites.journal"));
    store.Open();
    store.Add({{"house", "E_H.v03", 1}, 0, {"kuća", "dom"}});
    store.Add({{"dog", "E_H.v03", 1}, 0, {"pas"}});
    ASSERT_TRUE(store.Flush());
    const std::string date = wordlists::LocalDate(0);

    const std::string tab =
        "house\tkuća; dom\tE_H.v03\t" + date + "\ndog\tpas\tE_H.v03\t" + date + "\n";
    EXPECT_EQ(Cli({"favourites"}).out, tab);
    EXPECT_EQ(Cli({"favourites", "export", Path("deck.txt")}).status, kExitOk);
    EXPECT_EQ(test_support::ReadFile(Path("deck.txt")), tab);
    EXPECT_EQ(Cli({"favourites", "export", Path("deck.csv")}).status, kExitOk);
    EXPECT_EQ(test_support::ReadFile(Path("deck.csv")).substr(0, 35),
              "word,translations,dictionary,date\r\n");

    EXPECT_EQ(Cli({"favourites", "export"}).status, kExitUsage);
    EXPECT_EQ(Cli({"favourites", "list", "x"}).status, kExitUsage);
    EXPECT_EQ(Cli({"favourites", "--format", "xml"}).status, kExitUsage);
    const Run unwritable = Cli({"favourites", "export", Path("no/such/deck.txt")});
    EXPECT_EQ(unwritable.status, kExitFailed);
    EXPECT_NE(unwritable.err.find("Can't write"), std::string::npos);
}

}  // namespace
}  // namespace cli
