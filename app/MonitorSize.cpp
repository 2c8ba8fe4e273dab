// The monitor's size: MonitorFromWindow gives the display device, whose
// active monitor's interface name leads to the device's registry key and its
// "EDID" value; only the EDID's own figures are trusted.
#include "app/MonitorSize.h"

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

EdidSize EdidScreenSize(const unsigned char* e, std::size_t length) {
    static const unsigned char header[8] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    const std::size_t block = 128;
    if (length < block || !std::equal(header, header + 8, e))
        return {0, 0};
    unsigned sum = 0;
    for (std::size_t i = 0; i < block; i++)
        sum += e[i];
    if (sum % 256 != 0)
        return {0, 0};
    int cmW = e[21], cmH = e[22]; // one of them 0: an aspect ratio, not a size
    int mmW = 0, mmH = 0;
    if (e[54] | e[55]) { // a detailed timing: its pixel clock is not 0
        mmW = e[66] | (e[68] & 0xF0) << 4;
        mmH = e[67] | (e[68] & 0x0F) << 8;
    }
    bool cm = cmW && cmH;
    // Some monitors fill the detailed size with something else (an aspect
    // ratio, a size in cm): it must round to the size in cm.
    if (mmW && mmH && (!cm || (std::abs(mmW - 10 * cmW) < 10 && std::abs(mmH - 10 * cmH) < 10)))
        return {mmW, mmH};
    if (cm)
        return {10 * cmW, 10 * cmH};
    return {0, 0};
}

std::wstring MonitorEdidKey(const wchar_t* interfaceName) {
    std::wstring name = interfaceName;
    const std::wstring prefix = L"\\\\?\\";
    size_t classAt = name.rfind(L'#');
    if (name.compare(0, prefix.size(), prefix) != 0 || classAt == std::wstring::npos ||
        std::count(name.begin(), name.end(), L'#') < 3)
        return L"";
    std::wstring device = name.substr(prefix.size(), classAt - prefix.size());
    std::replace(device.begin(), device.end(), L'#', L'\\');
    return L"SYSTEM\\CurrentControlSet\\Enum\\" + device + L"\\Device Parameters";
}

namespace {

EdidSize ReadEdidSize(const wchar_t* displayDevice) {
    DISPLAY_DEVICEW monitor = {};
    monitor.cb = sizeof(monitor);
    for (DWORD i = 0; EnumDisplayDevicesW(displayDevice, i, &monitor, EDD_GET_DEVICE_INTERFACE_NAME); i++) {
        std::wstring key = MonitorEdidKey(monitor.DeviceID);
        HKEY parameters;
        if (!(monitor.StateFlags & DISPLAY_DEVICE_ACTIVE) || key.empty() ||
            RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &parameters) != ERROR_SUCCESS)
            continue;
        DWORD size = 0;
        std::vector<BYTE> edid;
        if (RegQueryValueExW(parameters, L"EDID", nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS) {
            edid.resize(size);
            if (RegQueryValueExW(parameters, L"EDID", nullptr, nullptr, edid.data(), &size) != ERROR_SUCCESS)
                edid.clear();
        }
        RegCloseKey(parameters);
        if (!edid.empty())
            return EdidScreenSize(edid.data(), std::min<size_t>(size, edid.size()));
    }
    return {0, 0};
}

} // namespace

MonitorSize ReadMonitorSize(HWND hwnd) {
    MONITORINFOEXW info = {};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &info))
        return {0, 0, 0, 0};
    int widthPx = info.rcMonitor.right - info.rcMonitor.left,
        heightPx = info.rcMonitor.bottom - info.rcMonitor.top;
    EdidSize mm = ReadEdidSize(info.szDevice);
    // The EDID describes the panel unturned; a monitor turned to portrait
    // shows it the other way round.
    if ((mm.widthMm > mm.heightMm && widthPx < heightPx) || (mm.widthMm < mm.heightMm && widthPx > heightPx))
        std::swap(mm.widthMm, mm.heightMm);
    return {mm.widthMm, mm.heightMm, widthPx, heightPx};
}
