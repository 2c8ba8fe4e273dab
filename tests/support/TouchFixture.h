// Window fixture for the touch pipeline: scripted touch records placed at
// client points, sent as one WM_TOUCH, and the dump log opened and closed the
// way the DumpLog menu commands do.
#pragma once

#include "support/PlatformFakes.h"
#include "support/WindowFixture.h"

#include <string>
#include <vector>

class TouchWindowTest : public WindowTest {
protected:
    // The handle every scripted message carries.
    static constexpr LPARAM TOUCH_HANDLE = 0x5150;

    // A record for a client point (stored in hundredths of a screen pixel).
    TOUCHINPUT At(DWORD id, DWORD flags, int clientX, int clientY);
    // Sends one WM_TOUCH serving these records; the message announces their
    // number unless `announced` is given.
    LRESULT SendTouch(const std::vector<TOUCHINPUT>& inputs, int announced = -1);

    void StartDump();
    void StopDump();
    std::string TouchLogText();
};

// The rows of a CSV file kovrin wrote, after its header, split into fields;
// kovrin-report must take each row of touch.csv as one of kovrin's.
std::vector<std::vector<std::string>> CsvRows(const std::string& path);
