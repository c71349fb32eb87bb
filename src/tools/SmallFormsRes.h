#pragma once
// Identifiers of the opacity dialog (block 7400-7449) and the about box (block 7450-7499).

#define IDD_ALPHA_BLEND 7400
#define IDC_AB_GROUP 7401
#define IDC_AB_MIN 7402
#define IDC_AB_MAX 7403
#define IDC_AB_TRACK 7404
#define IDC_AB_WARNING 7405

#define IDD_ABOUT 7450
#define IDC_ABOUT_ICON 7451
#define IDC_ABOUT_TITLE 7452
#define IDC_ABOUT_NOTICE 7453
#define IDC_ABOUT_URL 7454
#define IDC_ABOUT_EXCLAMATION 7455
#define IDC_ABOUT_CAUTION_LABEL 7456
#define IDC_ABOUT_CAUTIONS 7457

#define IDS_ABOUT_TITLE 7470
