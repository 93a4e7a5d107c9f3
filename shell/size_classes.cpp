#include "shell/size_classes.h"

namespace kestos {

SizeState sizeState;

void resetSizeState() {
    sizeState = SizeState{};
}

bool selectSizeClass(int sizeClass) {
    const SizeClassInfo* info = sizeClassInfo(sizeClass);
    if (!info) return false;
    sizeState.sizeClass = sizeClass;
    sizeState.windowWidth = info->windowWidth;
    sizeState.windowHeight = info->windowHeight;
    return true;
}

bool markSizeClassValues(int sizeClass) {
    const SizeClassInfo* info = sizeClassInfo(sizeClass);
    if (!info) return false;
    sizeState.scaleX = info->scaleX;
    sizeState.scaleY = info->scaleY;
    sizeState.barRect = info->barRect;
    for (int i = 0; i < barCount; ++i)
        sizeState.barX[i] = info->barX[i];
    return true;
}

bool selectClassLamp(int sizeClass) {
    const SizeClassInfo* info = sizeClassInfo(sizeClass);
    if (!info) return false;
    sizeState.lampDiameter = info->lampDiameter;
    return true;
}

bool storeDesktopClass(int desktopClass) {
    sizeState.desktopClass = desktopClass;
    return desktopClass >= 1 && desktopClass <= sizeClassCount;
}

bool noteDesktopSize(int right, int bottom) {
    if (right == sizeState.lastDesktopWidth && bottom == sizeState.lastDesktopHeight) return false;
    sizeState.lastDesktopWidth = right;
    sizeState.lastDesktopHeight = bottom;
    return true;
}

// The conversion truncates toward zero, as every page expects.
int scaledX(int x) {
    return static_cast<int>(x * sizeState.scaleX);
}
int scaledY(int y) {
    return static_cast<int>(y * sizeState.scaleY);
}

} // namespace kestos
