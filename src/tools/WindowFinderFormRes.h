#pragma once
// Identifiers of the window finder (block 7930-7969).

#define IDD_WINDOW_FINDER 7930

#define IDC_WF_PROMPT 7931
#define IDC_WF_TITLE_LABEL 7932
#define IDC_WF_TITLE 7933
#define IDC_WF_CLASS_LABEL 7934
#define IDC_WF_CLASS 7935
#define IDC_WF_IMAGE 7936
#define IDC_WF_BEVEL 7937
