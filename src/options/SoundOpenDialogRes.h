#pragma once
// Identifiers of the options dialog's open dialogs (block 7970-7999; the sound dialog's added
// controls keep the ids 2000 and 2001).

#define IDD_SOUND_OPEN_ROW 7970

#define IDC_SOUND_OPEN_PREVIEW 2000
#define IDC_SOUND_OPEN_AUTOPLAY 2001
