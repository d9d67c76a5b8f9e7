// Resource identifiers shared by the program's code and MMKeyboard.rc.
#pragma once

#define IDD_ABOUTBOX        100
#define IDS_ABOUTBOX        101
#define IDD_MAIN            102
#define IDR_MAINFRAME       128
#define IDR_TRAYMENU        130

#define IDC_MAIL            1008
#define IDC_MAIL_BROWSE     1009
#define IDC_MEDIA           1010
#define IDC_MEDIA_BROWSE    1011
#define IDC_SAVE            1012
#define IDC_REVERT          1013
#define IDC_SEARCH          1024
#define IDC_SHOW_LEVELS     1025

#define ID_TRAY_HIDE        0x8004
#define ID_TRAY_SHOW        0x8005

#define IDM_ABOUTBOX        0x0010

// The level display's texts: a control's name, then its state.
#define IDS_LEVEL_VOLUME    200
#define IDS_LEVEL_BASS      201
#define IDS_LEVEL_TREBLE    202
#define IDS_LEVEL_MUTE      203
#define IDS_LEVEL_LOUDNESS  204
#define IDS_LEVEL_ON        205
#define IDS_LEVEL_OFF       206
#define IDS_LEVEL_MUTED     207

#ifndef IDC_STATIC
#define IDC_STATIC          (-1)
#endif
