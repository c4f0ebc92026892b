#include "app/message_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "app/interface_language.h"
#include "app/tests/test_files.h"

namespace wordbay {
namespace {

const std::string kHeader = "LNG_ID_VER = \"KX_5\"\n";

// A table loaded from `text`; the load must succeed.
void Load(MessageTable* table, const std::string& text) {
    ASSERT_TRUE(table->LoadLanguage(LanguageFile::FromBytes(text)));
}

TEST(MessageTableTest, RowsCarryTheirKeysAndEnglish) {
    EXPECT_STREQ(MessageKey(0), "COMMENT_NEW_LINE");
    EXPECT_STREQ(MessageKey(12), "MENU_EXIT");
    EXPECT_STREQ(MessageKey(332), "MSG_CANT_DELETE_FILE");
    EXPECT_STREQ(MessageKey(333), "END_OF_TABLE");
    EXPECT_STREQ(MessageKey(335), "MSG_FORM_OF");
    EXPECT_STREQ(MessageKey(343), "MENU_HISTORY");
    EXPECT_STREQ(MessageKey(365), "MSG_WORDS_LEFT_OUT");
    EXPECT_STREQ(MessageKey(373), "MSG_FILE_CHANGED_ON_DISK");
    EXPECT_EQ(MessageKey(kMessageRowCount), nullptr);
    EXPECT_EQ(MessageKey(-1), nullptr);

    std::set<std::string> keys;
    int comments = 0;
    for (int i = 0; i < kMessageRowCount; ++i) {
        SCOPED_TRACE(MessageKey(i));
        EXPECT_TRUE(keys.insert(MessageKey(i)).second);
        const bool comment = std::strncmp(MessageKey(i), "COMMENT_", 8) == 0;
        comments += comment;
        EXPECT_EQ(CommentText(i) != nullptr, comment);
        EXPECT_EQ(EnglishText(i)[0] == '\0', comment);  // every other row has a text
        // A double quote or a backslash would not survive the exported file.
        EXPECT_EQ(std::strpbrk(EnglishText(i), "\"\\"), nullptr);
    }
    EXPECT_EQ(comments, 23);
    EXPECT_STREQ(CommentText(2), "\n; main menu");
    EXPECT_STREQ(EnglishText(333), "**********");
}

TEST(MessageTableTest, StartsInInternalEnglishAndNeverGivesNull) {
    const MessageTable table;
    EXPECT_STREQ(table.Text(TextId::MENU_EDIT), "&Edit dictionary\tF2");
    EXPECT_STREQ(table.Text(-5), "");
    EXPECT_STREQ(table.Text(kMessageRowCount), "");
    EXPECT_STREQ(UiText(TextId::MSG_SPLASH_CAPTION), "New version");
}

TEST(MessageTableTest, FileGrammarEdgeCases) {
    MessageTable table;
    Load(&table,
         kHeader +
             "   MENU_EXIT = \"Izlaz\"\n"                         // indented with spaces
             "MENU_SAVE\t= \"Spremi\"\n"                          // a tab before "="
             "MENU_IMPORT = \"\"\n"                               // empty value
             "MENU_EXPORT = \"Prvi\"\nMENU_EXPORT = \"Drugi\"\n"  // twice: the first wins
             "MENU_UPDATE = \"\"\nMENU_UPDATE = \"Obnovi\"\n"     // the first parsable line wins
             "; MENU_CHANGE = \"Zakomentirano\"\n"
             "  ;MENU_CUT = \"Izreži\"\n"
             "MSG_SPLASH = \"prvi\\nredak\\tstupac\"\n"
             "MSG_WARNING=\"Upozorenje\" and what follows\n"
             "MSG_ERROR \"Pogreška\"\n"  // no "="
             "MSG_OK = \"otvoreno\n"     // no closing quote
             "MSG_CANCEL = \"\n"         // quote ends the line
             "MSG_SAVEX = \"nepoznato\"\n"
             "MSG_HELP is = here \"Pomoć\"\r"
             "MSG_INFO = \"a\\\\nb\"\r\n");
    EXPECT_STREQ(table.Text(TextId::MENU_EXIT), "Izlaz");
    EXPECT_STREQ(table.Text(TextId::MENU_SAVE), "&Save");
    EXPECT_STREQ(table.Text(TextId::MENU_IMPORT), "&Import...");
    EXPECT_STREQ(table.Text(TextId::MENU_EXPORT), "Prvi");
    EXPECT_STREQ(table.Text(TextId::MENU_UPDATE), "Obnovi");
    EXPECT_STREQ(table.Text(TextId::MENU_CHANGE), "&Change dictionary...");
    EXPECT_STREQ(table.Text(TextId::MENU_CUT), "Cu&t");
    EXPECT_STREQ(table.Text(TextId::MSG_SPLASH), "prvi\nredak\tstupac");
    EXPECT_STREQ(table.Text(TextId::MSG_WARNING), "Upozorenje");
    EXPECT_STREQ(table.Text(TextId::MSG_ERROR), "Error");
    EXPECT_STREQ(table.Text(TextId::MSG_OK), "OK");
    EXPECT_STREQ(table.Text(TextId::MSG_CANCEL), "Cancel");
    EXPECT_STREQ(table.Text(TextId::MSG_HELP), "Pomoć");
    // Backslash-n is replaced first, so a doubled backslash before n still breaks.
    EXPECT_STREQ(table.Text(TextId::MSG_INFO), "a\\\nb");
}

TEST(MessageTableTest, HeaderMustNameTheFormatExactly) {
    const char* headers[] = {"LNG_ID_VER = \"KX_50\"\n", "LNG_ID_VER = \"kx_5\"\n",
                             "lng_id_ver = \"KX_5\"\n",  "; LNG_ID_VER = \"KX_5\"\n",
                             "LNG_ID_VER\t= \"KX_5\"\n", ""};
    for (const char* header : headers) {
        SCOPED_TRACE(header);
        MessageTable table;
        EXPECT_FALSE(table.LoadLanguage(
            LanguageFile::FromBytes(std::string(header) + "MENU_EXIT = \"Izlaz\"\n")));
        EXPECT_STREQ(table.Text(TextId::MENU_EXIT), "E&xit");
    }
}

TEST(MessageTableTest, ExportLoadsBackToTheInternalTexts) {
    const std::string exported = InternalEnglishLanguageFile();
    EXPECT_EQ(exported.rfind("; internal english language file\n\n\nLNG_ID_VER = \"KX_5\"\n\n"
                             "LANGUAGE = \"English [internal]\"\nAUTHOR = \"wordbay\"\n"
                             "DESCRIPTION = \"Internal English interface language\"\n"
                             "VERSION = \"1.0\"\nDATE = \"24.01.2009.\"\n\n"
                             ";\n\nMSG_MAIN_WINDOW_CAPTION = \"KX Dictionary\"\n\n; main menu\n\n"
                             "MENU_DICTIONARY = \"&Dictionary\"\n",
                             0),
              0u);
    EXPECT_NE(exported.find("MENU_EDIT = \"&Edit dictionary\\tF2\"\n"), std::string::npos);
    EXPECT_EQ(exported.find("END_OF_TABLE"), std::string::npos);

    MessageTable table;
    Load(&table, "LNG_ID_VER = \"KX_5\"\nMENU_EXIT = \"Izlaz\"\nMSG_SPLASH = \"x\"\n");
    Load(&table, exported);
    for (int i = 0; i < kMessageRowCount; ++i) {
        SCOPED_TRACE(MessageKey(i));
        EXPECT_STREQ(table.Text(i), EnglishText(i));
    }
    const LanguageFileInfo info = LanguageFile::FromBytes(exported).info();
    EXPECT_EQ(info.language, "English [internal]");
    EXPECT_EQ(info.date, "24.01.2009.");
}

TEST(MessageTableTest, EncodingsDecodeToUtf8) {
    MessageTable table;
    // Not UTF-8 and no CODEPAGE line: windows-1252.
    Load(&table, kHeader +
                     "MENU_EXIT = \"Schlie\xDF"
                     "en\"\n");
    EXPECT_STREQ(table.Text(TextId::MENU_EXIT),
                 "Schlie\xC3\x9F"
                 "en");
    // A CODEPAGE line names the code page; an unknown one falls back to 1252.
    Load(&table, "CODEPAGE = \"1250\"\n" + kHeader + "MENU_EXIT = \"Izla\xE8\"\n");
    EXPECT_STREQ(table.Text(TextId::MENU_EXIT), "Izla\xC4\x8D");
    Load(&table, "CODEPAGE = \"65001\"\n" + kHeader + "MENU_EXIT = \"Izla\xE8\"\n");
    EXPECT_STREQ(table.Text(TextId::MENU_EXIT), "Izla\xC3\xA8");
    Load(&table, "CODEPAGE = \"1251\"\n" + kHeader + "MENU_EXIT = \"\xC2\xFB\xF5\xEE\xE4\"\n");
    EXPECT_STREQ(table.Text(TextId::MENU_EXIT), "\xD0\x92\xD1\x8B\xD1\x85\xD0\xBE\xD0\xB4");
    // Valid UTF-8 stays as it is, whatever CODEPAGE says; a byte-order mark goes.
    Load(&table, "\xEF\xBB\xBF" + kHeader + "CODEPAGE = \"1250\"\nMENU_EXIT = \"Izla\xC4\x8D\"\n");
    EXPECT_STREQ(table.Text(TextId::MENU_EXIT), "Izla\xC4\x8D");
}

TEST(MessageTableTest, ButtonsFollowTheLoadedLanguage) {
    MessageTable table;
    EXPECT_STREQ(table.ButtonText(1), "OK");
    EXPECT_STREQ(table.ButtonText(4), "Retry");
    EXPECT_EQ(table.ButtonText(8), nullptr);
    Load(&table, kHeader + "MESSAGE_BOX_OK = \"U redu\"\nMESSAGE_BOX_NO = \"Ne\"\n");
    EXPECT_STREQ(table.ButtonText(1), "U redu");
    EXPECT_STREQ(table.ButtonText(7), "Ne");
    EXPECT_STREQ(table.ButtonText(6), "Yes");
    table.LoadInternalEnglish();
    EXPECT_STREQ(table.ButtonText(1), "OK");
}

TEST(MessageTableTest, TextsStayValidAfterAnotherLoad) {
    MessageTable table;
    Load(&table, kHeader + "MENU_EXIT = \"Izlaz\"\n");
    const char* held = table.Text(TextId::MENU_EXIT);  // as a worker thread might hold it
    Load(&table, kHeader + "MENU_EXIT = \"Beenden\"\n");
    table.LoadInternalEnglish();
    EXPECT_STREQ(held, "Izlaz");
    EXPECT_STREQ(table.Text(TextId::MENU_EXIT), "E&xit");
}

class InterfaceLanguageTest : public testing::ScratchDirTest {};

TEST_F(InterfaceLanguageTest, FilesLoadAndFailuresChangeNothing) {
    MessageTable table;
    EXPECT_TRUE(table.LoadLanguageFile(std::string(APP_TEST_DATA) + "/hrvatski_1250.txt"));
    EXPECT_STREQ(table.Text(TextId::MENU_DICTIONARY), "&Rje\xC4\x8Dnik");
    EXPECT_STREQ(table.Text(TextId::MSG_SAVE_CHANGED_DICTIONARY),
                 "Rje\xC4\x8Dnik je promijenjen !\n\nSpremiti promjene ?");
    EXPECT_FALSE(table.LoadLanguageFile(PathOf("missing.txt")));
    Spill(PathOf("empty.txt"), "");
    EXPECT_FALSE(table.LoadLanguageFile(PathOf("empty.txt")));
    EXPECT_FALSE(table.LoadLanguageFile(folder().string()));
    EXPECT_STREQ(table.Text(TextId::MENU_EXIT), "&Izlaz");

    ASSERT_TRUE(ExportInternalEnglish(PathOf("English-internal.txt")));
    EXPECT_EQ(Slurp(PathOf("English-internal.txt")), InternalEnglishLanguageFile());
    EXPECT_TRUE(table.LoadLanguageFile(PathOf("English-internal.txt")));
    EXPECT_STREQ(table.Text(TextId::MENU_EXIT), "E&xit");
    EXPECT_FALSE(ExportInternalEnglish(PathOf("no/such/folder.txt")));
}

TEST_F(InterfaceLanguageTest, ListShowsInternalEnglishThenValidFilesByName) {
    std::filesystem::copy_file(std::string(APP_TEST_DATA) + "/hrvatski_1250.txt",
                               PathOf("Hrvatski.TXT"));
    std::filesystem::copy_file(std::string(APP_TEST_DATA) + "/deutsch_utf8.txt",
                               PathOf("Deutsch.txt"));
    Spill(PathOf("Old.txt"), "LNG_ID_VER = \"KX_50\"\nLANGUAGE = \"Old\"\n");
    Spill(PathOf("notes.doc"), kHeader);
    std::filesystem::create_directory(PathOf("folder.txt"));

    const std::vector<LanguageEntry> entries = ListLanguages(folder().string());
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_TRUE(entries[0].internal);
    EXPECT_EQ(entries[0].language, "English [internal]");
    EXPECT_EQ(entries[0].author, "wordbay");
    EXPECT_EQ(entries[0].description, "Internal English language");
    EXPECT_EQ(entries[0].version, "1.0");
    EXPECT_EQ(entries[0].file_name, "------------");
    EXPECT_EQ(entries[1].file_name, "Deutsch.txt");
    EXPECT_EQ(entries[1].description,
              "\xC3\x9C"
              "bersetzung als UTF-8");
    EXPECT_EQ(entries[2].file_name, "Hrvatski.TXT");
    EXPECT_EQ(entries[2].language, "Hrvatski");
    EXPECT_EQ(entries[2].description,
              "Probni prijevod su\xC4\x8D"
              "elja");

    EXPECT_EQ(CurrentLanguageEntry(entries, "hrvatski.txt"), 2u);
    EXPECT_EQ(CurrentLanguageEntry(entries, ""), 0u);
    EXPECT_EQ(CurrentLanguageEntry(entries, "------------"), 0u);
    EXPECT_EQ(CurrentLanguageEntry(entries, "Old.txt"), 0u);
    EXPECT_EQ(ListLanguages(PathOf("missing")).size(), 1u);
}

TEST_F(InterfaceLanguageTest, StartUpWithAMissingFileFallsBackAndForgetsIt) {
    MessageTable table;
    std::string name = "Gone.txt";
    const std::optional<std::string> error = LoadStartupLanguage(&table, folder().string(), &name);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(*error, "Can't load interface language !\n\n" + PathOf("Gone.txt") +
                          "\n\nLoading internal interface language.");
    EXPECT_EQ(name, "");
    EXPECT_STREQ(table.Text(TextId::MENU_EXIT), "E&xit");

    std::filesystem::copy_file(std::string(APP_TEST_DATA) + "/deutsch_utf8.txt",
                               PathOf("Deutsch.txt"));
    name = "Deutsch.txt";
    EXPECT_EQ(LoadStartupLanguage(&table, folder().string(), &name), std::nullopt);
    EXPECT_EQ(name, "Deutsch.txt");
    EXPECT_STREQ(table.Text(TextId::MENU_EXIT), "&Beenden");
}

TEST_F(InterfaceLanguageTest, ChoosingALanguage) {
    std::filesystem::copy_file(std::string(APP_TEST_DATA) + "/deutsch_utf8.txt",
                               PathOf("Deutsch.txt"));
    MessageTable table;
    std::string name;
    EXPECT_EQ(ApplyLanguageChoice(&table, folder().string(), "Deutsch.txt", &name), std::nullopt);
    EXPECT_EQ(name, "Deutsch.txt");
    EXPECT_STREQ(table.Text(TextId::MSG_WARNING), "Warnung");

    // A file that fails keeps the language in use, and the message is in it.
    const std::optional<std::string> error =
        ApplyLanguageChoice(&table, folder().string(), "Gone.txt", &name);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->rfind("Can't load interface language !\n\n", 0), 0u);
    EXPECT_EQ(name, "Deutsch.txt");
    EXPECT_STREQ(table.Text(TextId::MSG_WARNING), "Warnung");

    // The internal entry switches back and empties the remembered name.
    EXPECT_EQ(ApplyLanguageChoice(&table, folder().string(), "", &name), std::nullopt);
    EXPECT_EQ(name, "");
    EXPECT_STREQ(table.Text(TextId::MSG_WARNING), "Warning");
}

}  // namespace
}  // namespace wordbay
