#include "wordlists/favourites_store.h"

#include "testing/test_support.h"
#include "wordlists/card_export.h"

namespace wordlists {
namespace {

class FavouritesStoreTest : public test_support::ScratchDirTest {};

Favourite Card(const std::string& word, std::vector<std::string> translations,
               std::int64_t time = 0) {
    return {{word, "Engleski_Hrvatski.v03", 1}, time, std::move(translations)};
}

TEST_F(FavouritesStoreTest, StarringAgainReplacesAndEverythingPersists) {
    FavouritesStore store(Path("f"));
    store.Open();
    store.Add(Card("house", {"kuća"}));
    store.Add(Card("dog", {"pas", "pseto"}));
    store.Add(Card("house", {"kuća", "dom"}));
    store.Add(Card("cat", {}));
    store.Remove(Card("cat", {}).key);
    ASSERT_TRUE(store.Flush());

    FavouritesStore again(Path("f"));
    again.Open();
    ASSERT_EQ(again.entries().size(), 2u);
    EXPECT_EQ(again.entries()[0].key.word, "house");
    EXPECT_EQ(again.entries()[0].translations, (std::vector<std::string>{"kuća", "dom"}));
    EXPECT_TRUE(again.Contains(Card("dog", {}).key));
    EXPECT_FALSE(again.Contains(Card("cat", {}).key));
    again.Clear();
    ASSERT_TRUE(again.Flush());
    FavouritesStore third(Path("f"));
    third.Open();
    EXPECT_TRUE(third.entries().empty());
}

TEST(CardExportTest, TabTextAndCsvHoldWordTranslationsDictionaryAndDate) {
    const std::int64_t noon = 1765281600;  // 2025-12-09 12:00 UTC
    const std::vector<Favourite> newest_first = {
        Card("say \"hi\", then", {"reći", "", "kazati"}, noon),
        Card("tab\there", {"line\nbreak"}, noon),
    };
    const std::string date = LocalDate(noon);
    ASSERT_EQ(date.size(), 10u);
    EXPECT_EQ(ExportCards(newest_first, CardFormat::kTabText),
              "tab here\tline break\tEngleski_Hrvatski.v03\t" + date +
                  "\n"
                  "say \"hi\", then\treći; kazati\tEngleski_Hrvatski.v03\t" +
                  date + "\n");
    EXPECT_EQ(ExportCards(newest_first, CardFormat::kCsv),
              "word,translations,dictionary,date\r\n"
              "tab\there,\"line\nbreak\",Engleski_Hrvatski.v03," +
                  date +
                  "\r\n"
                  "\"say \"\"hi\"\", then\",reći; kazati,Engleski_Hrvatski.v03," +
                  date + "\r\n");
    EXPECT_EQ(CardFormatForName("deck.CSV"), CardFormat::kCsv);
    EXPECT_EQ(CardFormatForName("deck.txt"), CardFormat::kTabText);
    EXPECT_EQ(CardFormatForName("csv"), CardFormat::kTabText);
}

}  // namespace
}  // namespace wordlists
