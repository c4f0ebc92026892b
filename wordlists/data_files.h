// Where the history and the favourites live: files in the program's data
// folder, which the program and wordbay-cli find by the same rule.
#pragma once

#include <string>

namespace wordlists {

inline constexpr char kHistoryFileName[] = "history.journal";
inline constexpr char kFavouritesFileName[] = "favourites.journal";

// The user's data folder of the program: `xdg_data_home` when it is an
// absolute path, else `home` + "/.local/share", then "/wordbay".
std::string UserDataDir(const char* xdg_data_home, const char* home);

// The user's data folder of this process (its environment).
std::string UserDataDir();

}  // namespace wordlists
