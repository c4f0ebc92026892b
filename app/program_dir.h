// Where the program keeps its files: the program folder and, inside it, the
// database, language and speech folders and the program settings file.
//
// The program folder is the user's data folder "$XDG_DATA_HOME/wordbay" (by
// default "~/.local/share/wordbay"), created when missing and seeded on the
// first start. Only a portable folder, one whose executable has its own
// "wordbay.ini" beside it (a copied program folder, the tests), keeps its data
// beside the executable. So no user data lives in a build folder.
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

// The shared files of the program ("<prefix>/share/wordbay" beside
// "<prefix>/bin", installed or in the build folder), or "" when there are none.
std::string InstalledShareDir(const std::string& exe_dir);

// Whether `exe_dir` is a portable program folder: it has a "wordbay.ini".
bool IsPortableDir(const std::string& exe_dir);

// The program folder by the rule above, for this process.
ProgramPaths FindProgramPaths();

// Prepares a program folder for its first start: when it holds neither a
// settings file nor a dictionary, it gets the English-Croatian word list
// "KX.txt" (code page windows-1250) and a settings file that asks the program
// to build its first dictionary from it. The word list comes from the
// installed FreeDict English-Croatian database, converted by `converter`
// (wordbay-cli), else from the sample "kx-sample.txt" (UTF-8) of `share_dir`.
// True when it did so. Without `converter`, the wordbay-cli beside the
// running executable converts.
bool SeedFirstStart(const ProgramPaths& paths, const std::string& share_dir);
bool SeedFirstStart(const ProgramPaths& paths, const std::string& share_dir,
                    const std::string& converter);

// The folder of the help pages: "help" in the program folder, else in the
// installed shared files.
std::string HelpDir(const ProgramPaths& paths);

}  // namespace wordbay
