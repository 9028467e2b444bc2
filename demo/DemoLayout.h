// Where Form1's components go: each frame in the client area, each other
// component inside its frame, in twips (1/1440 inch), with its kind, caption
// and style. Creates them as child windows of the form.
#pragma once
#include <windows.h>

// The client area's size in twips.
inline constexpr int kClientWidthTwips = 8340;
inline constexpr int kClientHeightTwips = 5955;

// Twips to pixels at the screen's resolution (15 twips a pixel at 96 dpi).
int TwipsToPixels(int twips);

// Creates every component except the control, in tab order, with the given font.
void CreateDemoComponents(HWND form, HFONT font);
// Orvex1's rectangle in the form's client area, in pixels.
RECT Orvex1Bounds();
