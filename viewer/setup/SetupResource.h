// Resource ids of the setup window, its tab pages and the signal window.
// Never renumber: the Wine tests click and read controls by these ids.
#pragma once

// Dialogs
#define IDD_SETUP 300
#define IDD_SETUP_TUNER 301
#define IDD_SETUP_DISPLAY 302
#define IDD_SETUP_AUDIO 303
#define IDD_SETUP_CHANNELS 304
#define IDD_SETUP_FOLDERS 305
#define IDD_SETUP_SCHEDULE 306
#define IDD_SIGNAL 307
#define IDD_SCAN 308

// The setup window
#define IDC_SETUP_TABS 3000

// "Digital Tuners"
#define IDC_TUNER_CURRENT 3010
#define IDC_TUNER_LIST 3011
#define IDC_TUNER_CHANGE 3012
#define IDC_TUNER_SELECTED 3013

// "Display"
#define IDC_SHOW_CHANNEL 3020
#define IDC_SHOW_REMOTE_DIGITS 3021
#define IDC_SHOW_VOLUME 3022
#define IDC_TRANSPARENT_OSD 3023
#define IDC_PER_CHANNEL_ASPECT 3024
#define IDC_LOCK_RESIZE 3025
#define IDC_OVERSCAN 3026

// "Audio"
#define IDC_MUTE_ON_MINIMIZE 3030
#define IDC_PER_CHANNEL_VOLUME 3031
#define IDC_SAVE_PER_CHANNEL_VOLUME 3032

// "Channel Setup"
#define IDC_CH_NAME 3040
#define IDC_CH_RF 3041
#define IDC_CH_RF_SPIN 3042
#define IDC_CH_SUB 3043
#define IDC_CH_SUB_SPIN 3044
#define IDC_CH_CHANNEL 3045
#define IDC_CH_CHANNEL_SPIN 3046
#define IDC_CH_TUNE 3047
#define IDC_CH_SIGNAL 3048
#define IDC_CH_LIST 3049
#define IDC_CH_ADD 3050
#define IDC_CH_ADD_HINT 3051
#define IDC_CH_UPDATE 3052
#define IDC_CH_UPDATE_ROW 3053
#define IDC_CH_UPDATE_DIALLED 3054
#define IDC_CH_REMOVE 3055
#define IDC_CH_REMOVE_HINT 3056
#define IDC_CH_SCAN 3057

// "Timeshift/Record Setup"
#define IDC_TIMESHIFT_FOLDER 3060
#define IDC_TIMESHIFT_SELECT 3061
#define IDC_RECORD_FOLDER 3062
#define IDC_RECORD_SELECT 3063

// "Schedule"
#define IDC_SCHEDULE_LIST 3070

// "Telvantis Signal Strength"
#define IDC_SIGNAL_TEXT 3080
#define IDC_SIGNAL_BAR 3081
#define IDC_SIGNAL_RANGE 3082

// "Telvantis Channel Scan"
#define IDC_SCAN_FROM 3090
#define IDC_SCAN_FROM_SPIN 3091
#define IDC_SCAN_TO 3092
#define IDC_SCAN_TO_SPIN 3093
#define IDC_SCAN_START 3094
#define IDC_SCAN_PROGRESS 3095
#define IDC_SCAN_STATUS 3096
#define IDC_SCAN_NOTES 3097
#define IDC_SCAN_LIST 3098
#define IDC_SCAN_ADD 3099
