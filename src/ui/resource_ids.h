// Numbers of the program's resources, shared by the resource script and the code.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_MAIN_WINDOW 102
#define IDD_POINTER_SETTINGS 104
#define IDD_BMP_MENU 135
#define IDD_RESTORE_DEFAULTS 136
#define IDD_SUB_BMP_MENU 138

// The program's icon, then the tray menu's icons, each selected and normal.
#define IDI_PROGRAM 128
#define IDI_EXIT_SELECTED 129
#define IDI_EXIT 130
#define IDI_SETTINGS_SELECTED 131
#define IDI_SETTINGS 132
#define IDI_PAUSE_SELECTED 133
#define IDI_PAUSE 134
#define IDI_RESUME_SELECTED 135
#define IDI_RESUME 136
#define IDI_FEEDBACK_ON_SELECTED 137
#define IDI_FEEDBACK_ON 138
#define IDI_FEEDBACK_OFF_SELECTED 139
#define IDI_FEEDBACK_OFF 140
