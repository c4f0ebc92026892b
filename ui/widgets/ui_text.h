// The interface language's texts as Qt strings.
#pragma once

#include <QString>

#include "app/message_table.h"

// The interface text of `id`.
QString uiText(wordbay::TextId id);
