#pragma once
// Identifiers of the world-clock dialog (block 7200-7299).

#define IDD_WORLD_CLOCK 7200

#define IDC_WC_TABS 7201
#define IDC_WC_FORWARD 7202
#define IDC_WC_BACK 7203
#define IDC_WC_TIME_LABEL 7204
#define IDC_WC_TIME 7205
#define IDC_WC_SHIFT_LABELS 7206
#define IDC_WC_SHIFT_PREVIEW 7207
#define IDC_WC_ZONE_LABEL 7208
#define IDC_WC_ZONES 7209
#define IDC_WC_ZONE_LABELS 7210
#define IDC_WC_ZONE_PREVIEW 7211

#define IDS_WC_TIME_TAB 7220
#define IDS_WC_ZONE_TAB 7221
