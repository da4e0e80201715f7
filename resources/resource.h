#pragma once

// Resource ids shared by the .rc file and the code.
#define IDI_TIVRELON 1        // main window icon, 32 x 32, 16 colours
#define IDI_ABOUT 2           // About window icon, 32 x 32, 256 colours
#define IDC_POINTING_HAND 3   // cursor of the About window's links
#define IDR_DONATE_GIF 4      // the About window's donation picture (GIF)
