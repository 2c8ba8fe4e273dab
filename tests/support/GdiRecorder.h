// The GDI recorder: pass-through replacements, in the test binary only, for the
// calls that create, select and delete GDI objects and that obtain and give
// back device contexts (BeginPaint and EndPaint included). While recording, each call is noted in order with
// its handles; nothing is noted (and nothing allocated) otherwise. Region, brush and DIB-section creation can
// be made to fail. Every test starts with the recorder stopped, empty and nothing failing.
#pragma once

#include "app/Win32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace gdirec {

enum Kind {
    CREATE_PEN,
    CREATE_BRUSH,
    CREATE_REGION,
    CREATE_BITMAP, // CreateDIBSection
    SELECT,
    DELETE_OBJECT,
    GET_DC,
    GET_WINDOW_DC,
    RELEASE_DC,
    CREATE_DC, // CreateCompatibleDC
    DELETE_DC,
    BEGIN_PAINT,
    END_PAINT,
};

struct Event {
    Kind kind;
    HGDIOBJ object;       // created (null when creation failed), selected or deleted object
    HGDIOBJ previous;     // SELECT: the object it replaced (null when the selection failed)
    HDC dc;               // SELECT and the DC calls: the DC
    DWORD type;           // SELECT: the selected object's type (OBJ_PEN, OBJ_BRUSH, OBJ_FONT, ...)
    COLORREF color;       // CREATE_PEN, CREATE_BRUSH
    int style, width;     // CREATE_PEN
    bool deletedSelected; // DELETE_OBJECT: still selected in a DC something was selected into
    bool succeeded;       // DELETE_OBJECT, RELEASE_DC, DELETE_DC: what the real call returned
};

extern std::vector<Event> events;
extern bool regionFails;
extern bool brushFails;
extern bool dibSectionFails; // CreateDIBSection gives no bitmap and no pixel pointer

// Records from now on, into a cleared list.
void Start();
void Stop();
// Stops, forgets the records and lets creation succeed again.
void Reset();

// The recorded events of one kind, in order, and their number.
std::vector<Event> Only(Kind kind);
int Count(Kind kind);

// The recorded calls in one line, handles named by the call that gave them:
// "CreatePen=pen1 SelectObject(pen1) ... DeleteObject(pen1)", DCs as dc1,
// dc2, ..., and "other" for any handle from before the recording.
std::string Trace();

// Whether what was recorded left nothing behind: every object created was
// deleted (and not while still selected), every DC's pen, brush, font and
// bitmap were put back before it was given back or the recording ended, and
// every DC obtained was released, deleted or its paint ended. The message names what was left.
::testing::AssertionResult Balanced();

} // namespace gdirec
