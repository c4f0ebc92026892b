// Every fixed text the engine answers with as a constant of the engine's
// code (msg::kLoaded, ...), made from the table of lexbase_messages.h that
// the engine's callers read too. Texts containing "%.*s" are formats that
// take the file name cut to 520 characters.
#pragma once

#include "engine/lexbase_messages.h"

namespace lexbase::msg {

#define LEXBASE_MESSAGE_CONSTANT(name, text, kind) inline constexpr char k##name[] = text;
LEXBASE_MESSAGES(LEXBASE_MESSAGE_CONSTANT)
#undef LEXBASE_MESSAGE_CONSTANT

}  // namespace lexbase::msg
