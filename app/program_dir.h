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

// The program folder by the rule above, for this process.
ProgramPaths FindProgramPaths();

}  // namespace wordbay
