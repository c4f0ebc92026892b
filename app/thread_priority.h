// Work that must not take the processor from the window: the calling thread,
// and every thread it starts afterwards, runs at a lower priority.
#pragma once

namespace wordbay {

// Adds `steps` to the nice value of the calling thread (at most 19, the
// lowest priority). Threads it starts later inherit the value.
void LowerThisThreadsPriority(int steps);

}  // namespace wordbay
