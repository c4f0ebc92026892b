// Start-up of wordbay. The windows come with the user interface; until then
// the program reports the engine it found and ends.
#include <cstdio>

#include "engine/lexbase.h"

int main() {
    const DB_RESULT* r = DB_CreateHandle();
    std::printf("wordbay: %s\n", r->message);
    DB_DestroyHandle(r->handle);
    return 0;
}
