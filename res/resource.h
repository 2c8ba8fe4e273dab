// Command and resource ids of kovrin. Shared by the resource script and the
// program, so the numbers live here and nowhere else.
#pragma once

// Menu commands
#define IDM_ABOUT 104
#define IDM_EXIT 105
#define IDM_TOUCH 32772
#define IDM_GESTURE 32773
#define IDM_DUMP_START 32774
#define IDM_DUMP_STOP 32775
#define IDM_LINE 32776
#define IDM_FULLSCREEN 32778
#define IDM_GUIDED_TEST 32779

// Dialogs, strings, icons, menu and accelerators
#define IDD_ABOUT 103
#define IDS_WINDOW_TITLE 103
#define IDS_WINDOW_CLASS 109
#define IDI_APP 107
#define IDI_APP_SMALL 108
#define IDR_MAIN 109

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
