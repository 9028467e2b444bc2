// Resource identifier of the control's icon (in about/About.rc): nine images
// (16, 32 and 48 pixels in 16 colours, 256 colours and true colour), the window
// icon of the About and video windows.
#pragma once

#define IDI_LUMIVOX 1
