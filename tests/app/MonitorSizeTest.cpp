// The monitor's size in mm from EDID bytes known by construction, and through
// the registry key where Windows keeps the EDID of the monitor showing the window.
#include "app/MonitorSize.h"
#include "support/WindowFixture.h"

#include <vector>

namespace {

// An EDID base block: a size in cm, and a first detailed timing with this
// pixel clock and image size in mm; its checksum right unless `breakSum`.
std::vector<unsigned char> Edid(int cmW, int cmH, int clock, int mmW, int mmH, bool breakSum = false) {
    std::vector<unsigned char> e = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    e.resize(128);
    const int fields[][2] = {{21, cmW},
                             {22, cmH},
                             {54, clock & 0xFF},
                             {55, clock >> 8},
                             {66, mmW & 0xFF},
                             {67, mmH & 0xFF},
                             {68, (mmW >> 8) << 4 | mmH >> 8}};
    unsigned sum = 0xFF * 6;
    for (auto [at, value] : fields)
        sum += e[at] = (unsigned char)value;
    e[127] = (unsigned char)(256 - sum % 256 + breakSum);
    return e;
}

} // namespace

TEST(MonitorSizeTest, EdidSizeInMmWhereItAgreesWithTheSizeInCm) {
    struct Case {
        std::vector<unsigned char> edid;
        size_t length;
        int widthMm, heightMm;
    };
    const Case cases[] = {
        {Edid(53, 30, 0x3A02, 527, 296), 128, 527, 296},
        {Edid(53, 30, 0x3A02, 16, 9), 128, 530, 300},    // an aspect ratio where the mm go
        {Edid(34, 27, 0, 338, 270), 128, 340, 270},      // no detailed timing
        {Edid(0, 0, 0x3A02, 1600, 900), 128, 1600, 900}, // twelve bits each, no size in cm
        {Edid(16, 0, 0x3A02, 0, 0), 128, 0, 0},          // an aspect ratio only
        {Edid(53, 30, 0x3A02, 527, 296, true), 128, 0, 0},
        {Edid(53, 30, 0x3A02, 527, 296), 127, 0, 0},
    };
    for (const Case& c : cases) {
        EdidSize size = EdidScreenSize(c.edid.data(), c.length);
        EXPECT_EQ(std::vector<int>({size.widthMm, size.heightMm}), std::vector<int>({c.widthMm, c.heightMm}))
            << c.widthMm << " x " << c.heightMm;
    }
    EXPECT_EQ(
        MonitorEdidKey(L"\\\\?\\DISPLAY#GSM5B08#5&2a3f&0&UID4353#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}"),
        L"SYSTEM\\CurrentControlSet\\Enum\\DISPLAY\\GSM5B08\\5&2a3f&0&UID4353\\Device Parameters");
    EXPECT_EQ(MonitorEdidKey(L"MONITOR\\GSM5B08\\{4d36e96e-e325-11ce-bfc1-08002be10318}\\0001"), L"");
}

using MonitorSizeWindowTest = WindowTest;

TEST_F(MonitorSizeWindowTest, SizeComesFromTheEdidOfTheMonitorShowingTheWindow) {
    CreateWindowUnderTest();
    // Wine's one monitor; a portrait panel (30 x 40 cm) shown landscape, with an extension block.
    HKEY key;
    ASSERT_EQ(RegOpenKeyExW(
                  HKEY_LOCAL_MACHINE,
                  L"SYSTEM\\CurrentControlSet\\Enum\\DISPLAY\\Default_Monitor\\0000&0000\\Device Parameters",
                  0, KEY_SET_VALUE, &key),
              ERROR_SUCCESS);
    std::vector<unsigned char> edid = Edid(30, 40, 0, 0, 0);
    edid.resize(256);
    RegSetValueExW(key, L"EDID", 0, REG_BINARY, edid.data(), (DWORD)edid.size());
    MonitorSize size = ReadMonitorSize(m_hwnd);
    RegDeleteValueW(key, L"EDID");
    RegCloseKey(key);
    EXPECT_EQ(std::vector<int>({size.widthMm, size.heightMm, size.widthPx, size.heightPx}),
              std::vector<int>({400, 300, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}));
}
