// Resource identifiers of the control's pictures (about/About.rc).
#pragma once

// The control's icon: nine images (16, 32 and 48 pixels in 16 colours, 256
// colours and true colour); the window icon of the About and video windows.
#define IDI_LUMIVOX 1
// The About box's 48 x 48 true-colour picture.
#define IDI_ABOUT_PICTURE 2
