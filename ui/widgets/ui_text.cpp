#include "ui/widgets/ui_text.h"

QString uiText(wordbay::TextId id) { return QString::fromUtf8(wordbay::UiText(id)); }
