// Resource and control ids of the Windows program, shared by the resource scripts and the
// C++ code. Plain #defines only: the resource compiler reads this file too.
#pragma once

// Each dialog exists twice: the English template's id is the Japanese one's plus this.
#define IDD_ENGLISH_OFFSET 100

// Dialog templates.
#define IDD_MAIN_JA 1000
#define IDD_MAIN_EN 1100
#define IDD_CHOOSE_LANGUAGE_JA 1001
#define IDD_CHOOSE_LANGUAGE_EN 1101
#define IDD_ABOUT_JA 1004
#define IDD_ABOUT_EN 1104
#define IDD_PATTERN_EDIT_JA 2001
#define IDD_PATTERN_EDIT_EN 2101
#define IDD_TONE_EDIT_JA 2002
#define IDD_TONE_EDIT_EN 2102
#define IDD_EXPORT_JA 2003
#define IDD_EXPORT_EN 2103
#define IDD_TONE_STRING_JA 2004
#define IDD_TONE_STRING_EN 2104
#define IDD_TONE_LIBRARY_JA 2005
#define IDD_TONE_LIBRARY_EN 2105
#define IDD_RECORDING_CHECK_JA 2006
#define IDD_RECORDING_CHECK_EN 2106
#define IDD_DIGITS_JA 2007
#define IDD_DIGITS_EN 2107

// Menus of the main window.
#define IDR_MENU_MAIN_JA 10013
#define IDR_MENU_MAIN_EN 10014

// Icons.
#define IDI_APP_ICON 10011
#define IDI_PLAY 20001
#define IDI_STOP 20002
#define IDI_PAUSE 20003
#define IDI_ZOOM_IN 20004
#define IDI_ZOOM_OUT 20005

// The application manifest (resource type 24); id 1 is the one the loader reads for an .exe.
#define IDR_APP_MANIFEST 1

// Menu commands.
#define IDM_FILE_NEW 5001
#define IDM_FILE_OPEN 5002
#define IDM_FILE_SAVE 5004
#define IDM_FILE_SAVE_AS 5005
#define IDM_HELP_ABOUT 5014
#define IDM_HELP_TOPICS 5015
#define IDM_HELP_CHOOSE_LANGUAGE 5017
#define IDM_FILE_EXIT 5019
#define IDM_EDIT_TONE_STRING 5030
#define IDM_FILE_OPEN_FROM_LIBRARY 5040
#define IDM_FILE_CHECK_RECORDING 5041
#define IDM_EDIT_DIGITS 5042

// Controls that code never addresses (labels, group boxes).
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Main window.
#define IDC_WAVEFORM_FRAME 20104
#define IDC_ZOOM_IN 20105
#define IDC_ZOOM_OUT 20106
#define IDC_PATTERN_LIST 20110
#define IDC_PATTERN_ADD 20111
#define IDC_PATTERN_MODIFY 20112
#define IDC_PATTERN_DELETE 20113
#define IDC_PATTERN_UP 20114
#define IDC_PATTERN_DOWN 20115
#define IDC_TONE_LIST 20116
#define IDC_TONE_ADD 20117
#define IDC_TONE_MODIFY 20118
#define IDC_TONE_DELETE 20119
#define IDC_SAMPLING_FREQUENCY 20120
#define IDC_PATTERN_TOTAL 20121
#define IDC_REPEAT 20122
#define IDC_CREATE_TONE 20123
#define IDC_SAVE_FILE 20124
#define IDC_OUTPUT_DEVICE 20125
#define IDC_REPEAT_PLAY 20126
#define IDC_STOP 20127
#define IDC_PLAY 20128
#define IDC_PAUSE 20129
#define IDC_LOW_PASS_FILTER 20132

// Ring-pattern step dialog.
#define IDC_STEP_KIND 20200
#define IDC_STEP_TIME 20201
#define IDC_STEP_FADE 20202

// Tone dialog.
#define IDC_TONE_TYPE 20301
#define IDC_TONE_FREQUENCY 20302
#define IDC_TONE_PHASE 20303
#define IDC_TONE_START_TIME 20304
#define IDC_TONE_END_TIME 20305
#define IDC_TONE_LEVEL 20306

// Export dialog.
#define IDC_EXPORT_FILE_NAME 20401
#define IDC_EXPORT_BROWSE 20402
#define IDC_EXPORT_FORMAT 20403

// Tone string dialog.
#define IDC_TONE_STRING_CURRENT 20501
#define IDC_TONE_STRING_NEW 20502
#define IDC_TONE_STRING_ERROR 20503

// Tone library dialog.
#define IDC_LIBRARY_FILTER 20600
#define IDC_LIBRARY_COUNTRIES 20601
#define IDC_LIBRARY_TONES 20602
#define IDC_LIBRARY_STATUS 20603

// Recording check dialog.
#define IDC_CHECK_VERDICT 20700
#define IDC_CHECK_RECORDING 20701
#define IDC_CHECK_TOLERANCES 20702
#define IDC_CHECK_LEVELS 20703
#define IDC_CHECK_ROWS 20704
#define IDC_CHECK_COPY 20705

// Digits dialog.
#define IDC_DIGITS_TEXT 20800
#define IDC_DIGITS_SYSTEM 20801
#define IDC_DIGITS_ON 20802
#define IDC_DIGITS_OFF 20803
#define IDC_DIGITS_PAUSE 20804
#define IDC_DIGITS_PROBLEM 20805

// About dialog.
#define IDC_ABOUT_VERSION 10101
#define IDC_ABOUT_EDITION 10130

// Language dialog.
#define IDC_LANGUAGE_LIST 10102
