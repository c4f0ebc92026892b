// Import of text files and Freelang installations, and the one-time
// conversion at start-up.
#include <gtest/gtest.h>

#include <cstring>

#include "app/freelang_directory.h"
#include "app/tests/controller_fixture.h"
#include "exchange/book_writers.h"
#include "exchange/import_export.h"

namespace wordbay {
namespace {

using testing::ControllerTest;
using testing::StoredInfo;

int CountMessages(testing::FakeWindow& view, const std::string& start) {
    int n = 0;
    for (const testing::ShownMessage& m : view.Messages()) {
        if (m.text.compare(0, start.size(), start) == 0) ++n;
    }
    return n;
}

class ImportTest : public ControllerTest {};

TEST_F(ImportTest, EmptyDatabaseAsksForAnImport) {
    Start("");
    EXPECT_EQ(CountMessages(view_, "There is no dictionaries in database!"), 1);
    EXPECT_EQ(view_.window.import_dialogs(), 1);
    EXPECT_EQ(view_.status.beeps(), 1);
}

TEST_F(ImportTest, TextFileBecomesADictionaryNamedAfterItsLists) {
    Start("");
    Spill(PathOf("English_Croatian.txt"), "cat\tmačka\r\ndog\tpas\r\n");
    ImportRequest request;
    request.format = DB_FORMAT_TXT_LOAD;
    request.path = PathOf("English_Croatian.txt");
    controller_->dictionaries().Import(request);
    WaitIdle();
    const std::string target = DatabasePath("English_Croatian.v03");
    ASSERT_TRUE(std::filesystem::exists(target));
    EXPECT_EQ(StoredInfo(target).primary_word_count, 2u);
    EXPECT_TRUE(catalogue_.IsInCatalogue(target));
    EXPECT_EQ(CountMessages(view_, "Dictionary successfully imported."), 1);
    EXPECT_EQ(view_.window.choosers(), 1);  // no main dictionary yet

    // The second import of the same lists asks before it overwrites.
    Spill(PathOf("English_Croatian.txt"), "cat\tmačka\r\n");
    view_.Answer(kIdCancel);
    controller_->dictionaries().Import(request);
    WaitIdle();
    EXPECT_EQ(CountMessages(view_, "A dictionary with this file name already exists:\n\n" + target +
                                       "\n\nDo you want to overwrite"),
              1);
    EXPECT_EQ(StoredInfo(target).primary_word_count, 2u);

    view_.Answer(kIdYes);
    controller_->dictionaries().Import(request);
    WaitIdle();
    EXPECT_EQ(StoredInfo(target).primary_word_count, 1u);
    EXPECT_EQ(CountMessages(view_, "Dictionary successfully imported."), 2);

    // "No" offers another name; cancelling that ends the import.
    view_.Answer(kIdNo);
    controller_->dictionaries().Import(request);
    WaitIdle();
    EXPECT_EQ(CountMessages(view_, "Dictionary successfully imported."), 2);
}

TEST_F(ImportTest, ListNamesCannotLeaveTheDatabaseFolder) {
    Start("");
    Spill(PathOf("a.txt"), "cat\tmačka\r\n");
    ImportRequest request;
    request.path = PathOf("a.txt");
    DICTIONARY_INFO info{};
    std::strcpy(info.primary_list_name, "../../evil");
    std::strcpy(info.secondary_list_name, "x");
    info.primary_locale = info.secondary_locale = 1033;
    request.info = info;
    controller_->dictionaries().Import(request);
    WaitIdle();
    EXPECT_TRUE(std::filesystem::exists(DatabasePath(".._.._evil_x.v03")));
}

// A StarDict or dictd dictionary becomes a dictionary of the database folder
// with the description and languages the dialog took; a damaged one says
// what is wrong with it.
TEST_F(ImportTest, StarDictAndDictdDictionariesAreImported) {
    Start("");
    exchange::Book book;
    book.entries = {{"house", {"kuća", "dom"}}, {"cat", {"mačka"}}, {"thing", {"stvar, predmet"}}};
    book.name = "Words at home";
    book.author = "Ana";
    exchange::WriteReport report;
    std::string error;
    ASSERT_TRUE(exchange::WriteStarDict(book, PathOf("s.ifo"), &report, &error)) << error;
    ASSERT_TRUE(exchange::WriteDictd(book, PathOf("d.index"), &report, &error)) << error;
    DICTIONARY_INFO info{};
    info.primary_locale = 1033;
    info.secondary_locale = 1050;
    info.secondary_charset = 238;
    ImportRequest request;
    request.info = info;
    request.primary_locale = 1033;
    request.secondary_locale = 1050;
    for (const auto& [format, file, lists] :
         {std::tuple{exchange::kStarDictLoad, "s.ifo", "English_Croatian"},
          std::tuple{exchange::kDictdLoad, "d.index", "Eng_Cro"}}) {
        SCOPED_TRACE(file);
        request.format = format;
        request.path = PathOf(file);
        const std::string names = lists;
        const std::string primary = names.substr(0, names.find('_'));
        const std::string secondary = names.substr(names.find('_') + 1);
        // The StarDict dictionary's own name, author and description stand
        // where none was typed; dictd's database names itself "EC" here.
        const bool own = format == exchange::kStarDictLoad;
        request.texts = DescriptionTexts{own ? "" : "EC", "", "", primary, secondary};
        controller_->dictionaries().Import(request);
        WaitIdle();
        const std::string target = DatabasePath(names + ".v03");
        ASSERT_TRUE(std::filesystem::exists(target));
        const DICTIONARY_INFO stored = StoredInfo(target);
        EXPECT_EQ(stored.primary_word_count, 3u);
        EXPECT_EQ(stored.secondary_word_count, 5u);  // "stvar, predmet" is two
        EXPECT_EQ(stored.secondary_locale, 1050u);
        EXPECT_EQ(stored.secondary_charset, 238u);  // "kuća" fits code page 1250
        if (own) {
            EXPECT_STREQ(stored.name, "Words at home");
            EXPECT_STREQ(stored.author, "Ana");
        } else {
            EXPECT_STREQ(stored.name, "EC");
        }
    }
    EXPECT_EQ(CountMessages(view_, "Dictionary successfully imported."), 2);

    Spill(PathOf("s.idx"), "damaged");
    request.format = exchange::kStarDictLoad;
    request.path = PathOf("s.ifo");
    controller_->dictionaries().Import(request);
    WaitIdle();
    EXPECT_EQ(CountMessages(view_, "Dictionary loading error !\n\n" + PathOf("s.ifo") +
                                       "\n\nThe .idx file is not of the size the .ifo file "
                                       "gives: " +
                                       PathOf("s.idx")),
              1);
}

TEST_F(ImportTest, AFileOutsideTheCatalogueIsNotReplacedWithoutAsking) {
    Start("");
    // Not a dictionary, so the catalogue does not list it.
    const std::string target = DatabasePath("English_Croatian.v03");
    Spill(target, "my notes");
    Spill(PathOf("English_Croatian.txt"), "cat\tmačka\r\n");
    ImportRequest request;
    request.path = PathOf("English_Croatian.txt");
    view_.Answer(kIdCancel);
    controller_->dictionaries().Import(request);
    WaitIdle();
    EXPECT_EQ(CountMessages(view_, "A dictionary with this file name already exists:"), 1);
    EXPECT_EQ(Slurp(target), "my notes");
    EXPECT_EQ(CountMessages(view_, "Dictionary successfully imported."), 0);
}

TEST_F(ImportTest, TypedTextsAreEncodedAsTheListsTurnOut) {
    // Both lists are Croatian (code page 1250), but the second column holds
    // an Esperanto letter that 1250 lacks: that list becomes UTF-8 on loading,
    // after the dialog had encoded its name for 1250.
    Start("");
    Spill(PathOf("a.txt"), "ku\u0107a\t\u015Dipo\n");
    ImportRequest request;
    request.path = PathOf("a.txt");
    DICTIONARY_INFO info{};
    info.primary_locale = info.secondary_locale = 1050;
    info.primary_charset = info.secondary_charset = 238;
    std::strcpy(info.primary_list_name, "garbled");
    request.info = info;
    request.primary_locale = request.secondary_locale = 1050;
    request.texts = DescriptionTexts{"Ku\u0107a", "", "", "Hrvatski \u010Dist", "Esperanto \u015D"};
    controller_->dictionaries().Import(request);
    WaitIdle();
    const std::string target = DatabasePath("Hrvatski \xC4\x8Dist_Esperanto \xC5\x9D.v03");
    ASSERT_TRUE(std::filesystem::exists(target));
    const DICTIONARY_INFO stored = StoredInfo(target);
    EXPECT_EQ(stored.primary_charset, 238u);
    EXPECT_STREQ(stored.primary_list_name, "Hrvatski \xE8ist");  // windows-1250
    EXPECT_EQ(std::string(stored.name), std::string("Ku\xE6") + "a");
    EXPECT_EQ(stored.secondary_charset, static_cast<std::uint32_t>(DB_CHARSET_UTF8));
    EXPECT_STREQ(stored.secondary_list_name, "Esperanto \xC5\x9D");

    // A list the user made UTF-8 is UTF-8 although all its words fit 1250,
    // and a long name is cut at a whole character.
    info.primary_charset = DB_CHARSET_UTF8;
    request.info = info;
    const std::string long_name = std::string(37, 'x') + "\xC4\x87\xC4\x87";
    request.texts = DescriptionTexts{"d", "", "", long_name, "e"};
    controller_->dictionaries().Import(request);
    WaitIdle();
    const DICTIONARY_INFO utf8 = StoredInfo(DatabasePath(std::string(37, 'x') + "\xC4\x87_e.v03"));
    EXPECT_EQ(utf8.primary_charset, static_cast<std::uint32_t>(DB_CHARSET_UTF8));
    EXPECT_EQ(std::string(utf8.primary_list_name), std::string(37, 'x') + "\xC4\x87");
}

TEST_F(ImportTest, UnreadableFileReportsALoadingError) {
    Start("");
    ImportRequest request;
    request.path = PathOf("missing.txt");
    controller_->dictionaries().Import(request);
    WaitIdle();
    EXPECT_EQ(CountMessages(view_, "Dictionary loading error !"), 1);
    EXPECT_EQ(CountMessages(view_, "Dictionary successfully imported."), 0);
}

TEST(FreelangIniTest, ReadsTheLanguageSection) {
    const std::string ini =
        "[general]\r\nlongname,ignored,1,Ignored\r\n[language]\r\n"
        "longname,croatian,238,Croatian\r\nshortname,x\r\nlongname,esperanto,0,Esperanto\n"
        "longname,broken\n[other]\nlongname,french,0,French\n";
    const auto entries = ParseFreelangIni(ini, "/opt/fl");
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), 2u);
    const FreelangEntry& croatian = (*entries)[0];
    EXPECT_EQ(croatian.short_name, "Croatian");
    EXPECT_EQ(croatian.language_name, "croatian");
    EXPECT_EQ(croatian.charset, 238u);
    EXPECT_FALSE(croatian.chosen);
    EXPECT_EQ(croatian.source_path, "/opt/fl/language/Croatian_English.wb");
    EXPECT_EQ(FreelangLocale(croatian.language_name), 1050u);
    EXPECT_EQ(FreelangLocale((*entries)[1].language_name), 1033u);  // esperanto
    EXPECT_EQ(FreelangLocale("Croatian"), 1033u);                   // case counts
}

TEST(FreelangIniTest, OtherFilesAreNoInstallation) {
    EXPECT_FALSE(ParseFreelangIni("[Language]\nlongname,croatian,238,Croatian\n", "/x"));
    EXPECT_FALSE(ParseFreelangIni("[language]\n[next]\nlongname,croatian,238,Croatian\n", "/x"));
    EXPECT_FALSE(ParseFreelangIni("[language]\nlongname,croatian,abc,Croatian\n", "/x"));
    EXPECT_FALSE(ParseFreelangIni("[language]\nlongname,croatian,1,../../x\n", "/x"));
    EXPECT_FALSE(ParseFreelangIni("", "/x"));
    EXPECT_FALSE(ReadFreelangDirectory("/no/such/folder"));
}

// One Freelang record: the word in bytes 0..30, translations in 31..83.
std::string FreelangRecord(const std::string& word, const std::string& translations) {
    std::string record(84, '\0');
    record.replace(0, word.size(), word);
    record.replace(31, translations.size(), translations);
    return record;
}

TEST_F(ImportTest, FreelangInstallationImportsTheChosenLanguages) {
    Start("");
    std::filesystem::create_directories(folder() / "fl" / "language");
    Spill(PathOf("fl/dict.ini"),
          "[language]\r\nlongname,croatian,238,Croatian\r\nlongname,esperanto,0,Esperanto\r\n");
    Spill(PathOf("fl/language/Croatian_English.wb"),
          FreelangRecord("kuća", "house, home") + FreelangRecord("pas", "dog"));
    auto entries = ReadFreelangDirectory(PathOf("fl"));
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), 2u);
    (*entries)[0].chosen = true;

    ImportRequest request;
    request.format = DB_FORMAT_FREELANG_DIR_LOAD;
    request.path = PathOf("fl");
    request.freelang = *entries;
    controller_->dictionaries().Import(request);
    WaitIdle();
    const std::string target = DatabasePath("Croatian_English.v03");
    ASSERT_TRUE(std::filesystem::exists(target));
    const DICTIONARY_INFO info = StoredInfo(target);
    EXPECT_STREQ(info.primary_list_name, "Croatian");
    EXPECT_STREQ(info.secondary_list_name, "English");
    EXPECT_STREQ(info.name, "Croatian - English");
    EXPECT_STREQ(info.author, "Freelang");
    EXPECT_EQ(info.primary_locale, 1050u);
    EXPECT_EQ(info.secondary_locale, 1033u);
    EXPECT_EQ(info.primary_charset, 238u);
    EXPECT_EQ(info.primary_word_count, 2u);
    EXPECT_FALSE(std::filesystem::exists(DatabasePath("Esperanto_English.v03")));
    EXPECT_EQ(CountMessages(view_, "Dictionary successfully imported."), 1);

    // Both chosen: the missing Esperanto file is reported, Croatian is asked
    // about and kept.
    (*entries)[1].chosen = true;
    request.freelang = *entries;
    view_.Answer(kIdYes);
    controller_->dictionaries().Import(request);
    WaitIdle();
    EXPECT_EQ(CountMessages(view_, "A dictionary with this file name already exists:"), 1);
    EXPECT_EQ(CountMessages(view_, "Dictionary loading error !"), 1);
    EXPECT_EQ(CountMessages(view_, "Dictionary successfully imported."), 2);
}

TEST_F(ImportTest, StartupConvertsThePreviousVersionOnce) {
    Spill(PathOf("KX.txt"), "house\tkuća\r\ndog\tpas\r\n");
    Start("", {}, /*convert_v2=*/true);
    const std::string target = DatabasePath("Engleski_Hrvatski.v03");
    ASSERT_TRUE(std::filesystem::exists(target));
    const DICTIONARY_INFO info = StoredInfo(target);
    EXPECT_STREQ(info.primary_list_name, "Engleski");
    EXPECT_STREQ(info.secondary_list_name, "Hrvatski");
    EXPECT_EQ(info.primary_locale, 1050u);
    EXPECT_EQ(info.primary_charset, 238u);
    EXPECT_EQ(info.secondary_charset, 238u);
    EXPECT_GT(std::strlen(info.author), 0u);
    EXPECT_FALSE(controller_->settings().dictionary_state().convert_v2);
    EXPECT_EQ(controller_->settings().dictionary_state().current, "Engleski_Hrvatski.v03");
    EXPECT_TRUE(controller_->slot(SlotId::kMain).loaded());
    EXPECT_EQ(view_.status.titles().main_window, "KX Dictionary : Engleski - Hrvatski");
}

TEST_F(ImportTest, ConversionLeavesADictionaryOfAnInterruptedFirstStart) {
    // The first start converted and the user added a word, but the program
    // ended without writing its settings: the flag is still set.
    Spill(PathOf("KX.txt"), "house\tkuća\r\n");
    testing::WriteDictionary(DatabasePath("Engleski_Hrvatski.v03"),
                             {{"house", "kuća"}, {"zebra", "zebra"}});
    Start("", {}, /*convert_v2=*/true);
    EXPECT_FALSE(controller_->settings().dictionary_state().convert_v2);
    EXPECT_EQ(controller_->settings().dictionary_state().current, "Engleski_Hrvatski.v03");
    ASSERT_TRUE(controller_->slot(SlotId::kMain).loaded());
    EXPECT_EQ(StoredInfo(DatabasePath("Engleski_Hrvatski.v03")).primary_word_count, 2u);
}

// Another first start that built the dictionary while this one converted
// keeps its file: the conversion opens it, and never writes over it.
TEST_F(ImportTest, ADictionaryBuiltMeanwhileIsNotReplaced) {
    Spill(PathOf("KX.txt"), "house\tkuća\r\n");
    const std::string target = DatabasePath("Engleski_Hrvatski.v03");
    view_.status.set_on_progress([&](int begun) {
        if (begun == 1) testing::WriteDictionary(target, {{"house", "kuća"}, {"zebra", "zebra"}});
    });
    Start("", {}, /*convert_v2=*/true);
    EXPECT_EQ(StoredInfo(target).primary_word_count, 2u);
    EXPECT_EQ(controller_->settings().dictionary_state().current, "Engleski_Hrvatski.v03");
    EXPECT_TRUE(controller_->slot(SlotId::kMain).loaded());
}

TEST_F(ImportTest, FailedConversionIsReportedInCroatian) {
    Start("", {}, /*convert_v2=*/true);
    bool reported = false;
    for (const testing::ShownMessage& m : view_.Messages()) {
        if (m.caption == "Greška !") reported = true;
    }
    EXPECT_TRUE(reported);
    EXPECT_FALSE(controller_->settings().dictionary_state().convert_v2);
    EXPECT_EQ(view_.window.import_dialogs(), 1);
}

}  // namespace
}  // namespace wordbay
