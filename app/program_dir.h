// Where the program keeps its files: the program folder and, inside it, the
// database, language and speech folders and the program settings file.
//
// The program folder is the folder of the running executable. When the
// program may not write there (an installed program), the user's data folder
// "$XDG_DATA_HOME/wordbay" (by default "~/.local/share/wordbay") serves in its
// place, created when missing.
#pragma once

#include <string>

namespace wordbay {

struct ProgramPaths {
    std::string program_dir;
    std::string database_dir;   // program_dir + "/database"
    std::string language_dir;   // program_dir + "/language"
    std::string speech_dir;     // program_dir + "/speak"
    std::string settings_file;  // program_dir + "/wordbay.ini"
};

// The paths inside `program_dir`.
ProgramPaths PathsInside(const std::string& program_dir);

// The folder of the running executable, without a trailing "/"; empty when it
// cannot be found.
std::string ExecutableDir();

// The user's data folder for the program by the rule above: `xdg_data_home`
// when it is an absolute path, else `home` + "/.local/share", then "/wordbay".
std::string UserDataDir(const char* xdg_data_home, const char* home);

// The shared files of an installed program ("<prefix>/share/wordbay" beside
// "<prefix>/bin"), or "" when the program runs from its build folder.
std::string InstalledShareDir(const std::string& exe_dir);

// The program folder by the rule above, for this process. An installed
// program always uses the user's data folder, even when it could write beside
// itself (run by root), so that no user's data lands in a system folder.
ProgramPaths FindProgramPaths();

// Prepares the program folder of an installed program for its first start:
// when the folder holds neither a settings file nor a dictionary, the word
// list "KX.txt" of `share_dir` is copied in and a settings file asks the
// program to build its first dictionary from it. True when it did so.
bool SeedFirstStart(const ProgramPaths& paths, const std::string& share_dir);

// The folder of the help pages: "help" in the program folder, else in the
// installed shared files.
std::string HelpDir(const ProgramPaths& paths);

}  // namespace wordbay
