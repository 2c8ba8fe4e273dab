// Pass-through replacements, in the test binary only, for the GDI calls that
// create and delete pens, brushes and regions. While recording they keep every
// handle created and every handle deleted, so a test can prove a drawing
// released what it made; region and brush creation can be made to fail.
#pragma once

#include "app/Win32.h"

#include <vector>

namespace gdifakes {

struct Created {
    const char* kind; // "pen", "brush" or "region"
    HGDIOBJ handle;   // null when creation failed
};

extern bool recording;
extern std::vector<Created> created;
extern std::vector<HGDIOBJ> deleted;
extern bool regionFails;
extern bool brushFails;

// Stops recording, forgets the records and lets creation succeed again.
void Reset();
// Forgets the records and starts recording.
void StartRecording();

int CountCreated(const char* kind);

} // namespace gdifakes
