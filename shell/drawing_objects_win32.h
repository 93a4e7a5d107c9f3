// The program's pens and brushes: created once before WinMain, never deleted.
#pragma once

#include <windows.h>

namespace kestos {

struct DrawingObjects {
    HPEN penCyan, penDarkGreen, penYellow, penRed, penRed2, penRed4, penNavy, penNavy2, penBlue2,
        penGray, penBlack, penBlack4, penWhite, penLightGray, penOlive2, penGreen2, penPale2;
    HBRUSH brushGray, brushGreen, brushBlack, brushNavy, brushLightGray, brushCyan, brushRed,
        brushWhite, brushDarkGreen, brushYellow, brushOlive;
};

// Filled during static initialisation.
extern const DrawingObjects& draw;

} // namespace kestos
