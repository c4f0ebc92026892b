// The table of file formats that loading and saving understand, handed to the
// application so that it can build its import, export and update dialogs.
#pragma once

#include <cstddef>

#include "engine/context.h"

namespace lexbase {

// Copies the load records (which = 1) or the save records (any other value)
// to the start of the handle's format buffer and returns how many there are.
std::size_t FillFormatList(DB_CONTEXT* db, int which);

}  // namespace lexbase
