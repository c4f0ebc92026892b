// PaintingWait: what a command on the window's thread does while it waits for
// the engine: the window paints, and the worker's updates arrive, but no
// input of the user's is taken.
#pragma once

#include "app/editing_commands.h"

class PaintingWait : public wordbay::EngineWait {
public:
    void KeepPainting() override;
};
