// Command ids of the timeshift transport's popup menus (the panel passes
// them on like its buttons; tests post them). Never renumber.
#pragma once

#define IDM_TIMESHIFT_ON 40401
#define IDM_TIMESHIFT_ON_PAUSE 40402
#define IDM_TIMESHIFT_OFF 40403
#define IDM_SKIP_FORWARD_FIRST 40411  // 15, 30, 60, 120 seconds: 40411 to 40414
#define IDM_SKIP_BACK_FIRST 40421     // likewise 40421 to 40424
#define IDM_TIMESHIFT_CHANNEL_FIRST 40500  // one per channel: 40500 to 40599
#define IDM_RECORD_DIALOG 40404  // "RECORD...", for the record menu
