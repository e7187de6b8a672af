// Resource ids of "Telvantis Guide". Never renumber: the Wine tests click
// and read controls by these ids.
#pragma once

#define IDD_GUIDE 320

// The grid and its moves
#define IDC_GUIDE_EARLIER 3200
#define IDC_GUIDE_LATER 3201
#define IDC_GUIDE_DATE 3202
#define IDC_GUIDE_GRID_AREA 3203
#define IDC_GUIDE_GRID 3204

// The selected programme
#define IDC_GUIDE_TITLE 3210
#define IDC_GUIDE_DAY 3211
#define IDC_GUIDE_TIMES 3212
#define IDC_GUIDE_LENGTH 3213
#define IDC_GUIDE_SCHEDULED 3214
#define IDC_GUIDE_DESCRIPTION 3215

// The selected channel's programmes
#define IDC_GUIDE_CHANNEL 3220
#define IDC_GUIDE_LIST 3221

// Actions and padding
#define IDC_GUIDE_WATCH 3230
#define IDC_GUIDE_RECORD 3231
#define IDC_GUIDE_RECORD_SERIES 3232
#define IDC_GUIDE_START_EARLY 3240
#define IDC_GUIDE_START_EARLY_SPIN 3241
#define IDC_GUIDE_END_LATE 3242
#define IDC_GUIDE_END_LATE_SPIN 3243

// Series rules
#define IDC_GUIDE_SERIES_LIST 3250
#define IDC_GUIDE_REMOVE_SERIES 3251

// The scheduler's answers and the buttons' refusals
#define IDC_GUIDE_STATUS 3260
