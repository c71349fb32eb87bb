#pragma once
// Identifiers of the options dialog's frame (block 7500-7599).

#define IDD_OPTION 7500

#define IDC_OPTION_TREE 7501
#define IDC_OPTION_PAGE_AREA 7502
#define IDC_OPTION_APPLY 7503
