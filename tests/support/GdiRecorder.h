// The event view of the pass-through GDI replacements (GdiFakes.cpp): while
// recording is on, each creation, selection and deletion of a pen or brush is
// noted with its handles, and whether a deleted object was still selected.
#pragma once

#include "app/Win32.h"

#include <vector>

namespace gdirec {

enum Kind { CREATE_PEN, CREATE_BRUSH, SELECT, DELETE_OBJECT };

struct Event {
    Kind kind;
    HGDIOBJ object;       // created, selected or deleted object
    HGDIOBJ previous;     // SelectObject: the object it replaced
    COLORREF color;       // CREATE_PEN, CREATE_BRUSH
    int style, width;     // CREATE_PEN
    bool deletedSelected; // DELETE_OBJECT: still selected in the DC last selected into
};

extern std::vector<Event> events;

// Records from now on, into a cleared list.
void Start();
void Stop();

} // namespace gdirec
