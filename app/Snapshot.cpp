// Window snapshot file.
#include "app/Snapshot.h"

void SaveWindowSnapshot(HWND, const char*) {}
