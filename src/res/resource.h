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
#define IDC_KEYS            1026

// The Keys dialog.
#define IDD_KEYS            103
#define IDC_KEYS_PROGRAM    1030
#define IDC_KEYS_ADD        1031
#define IDC_KEYS_REMOVE     1032
#define IDC_KEYS_LIST       1033
#define IDC_KEYS_ACTION     1034
#define IDC_KEYS_ARGUMENT   1035
#define IDC_KEYS_BROWSE     1036

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

// The Keys dialog's texts. A key's name is IDS_KEY_NAMES + its Consumer
// usage, for the usages below 0x1000; a key without a name shows as
// IDS_KEY_UNNAMED, formatted with its usage.
#define IDS_KEY_NAMES       0x1000
#define IDS_KEY_NAMES_END   0x2000
#define IDS_KEY_UNNAMED     300
// What each kind of action shows in the list, before its argument; its
// entry in the Action list; what an argument that does not parse is told
// (IDS_HINT_KEYS with the named keys as %s).
#define IDS_WORDS_STANDARD  330
#define IDS_WORDS_NOTHING   331
#define IDS_WORDS_START     332
#define IDS_WORDS_KEYS      333
#define IDS_WORDS_COMMAND   334
#define IDS_WORDS_NOT_UNDERSTOOD 335
#define IDS_CHOICE_STANDARD 340
#define IDS_CHOICE_NOTHING  341
#define IDS_CHOICE_START    342
#define IDS_CHOICE_KEYS     343
#define IDS_CHOICE_COMMAND  344
#define IDS_HINT_START      352
#define IDS_HINT_KEYS       353
#define IDS_HINT_COMMAND    354
// What Save's refusal names as wrong, some with the part at fault as %s.
#define IDS_FAULT_NOT_A_KEY 370
#define IDS_FAULT_NO_KEY    371
#define IDS_FAULT_TOO_MANY_CHORDS 372
#define IDS_FAULT_NO_CLASS  373
#define IDS_FAULT_NO_NUMBER 374
#define IDS_FAULT_BAD_NUMBER 375
#define IDS_ALL_PROGRAMS    360
#define IDS_REMOVE_PROGRAM  361
#define IDS_TOO_MANY_PROGRAMS 362

#ifndef IDC_STATIC
#define IDC_STATIC          (-1)
#endif
