// The physical size of the monitor that shows the window, from the monitor's
// own description (its EDID, as Windows keeps it in the device's registry
// key), never from a DPI setting; and its size in pixels. The guided run lays
// out its margin with it and writes it to guide.csv.
#pragma once

#include "app/Win32.h"

#include <cstddef>
#include <string>

struct MonitorSize {
    int widthMm, heightMm; // 0 when Windows does not know them
    int widthPx, heightPx;
};

struct EdidSize {
    int widthMm, heightMm;
};

// The image size an EDID base block gives: the first detailed timing's size
// in mm when it agrees with the block's size in cm (or that is not given),
// else the size in cm; {0, 0} for a block that is not valid or gives none.
EdidSize EdidScreenSize(const unsigned char* edid, std::size_t length);

// The registry key, under HKEY_LOCAL_MACHINE, that holds the EDID of the
// monitor with this device interface name ("\\?\DISPLAY#model#instance#{class}");
// empty for a name of another form.
std::wstring MonitorEdidKey(const wchar_t* interfaceName);

MonitorSize ReadMonitorSize(HWND hwnd);
