// Serial port names: COMn as the menu says it, and as the port opens by.
#pragma once

namespace kestos {

constexpr int maxComNumber = 255;

// The name the port of COMn opens by: "COM1:".."COM9:", then "\\.\COM10" and on (the only
// form Windows takes from 10 up); "COM1:" for a number out of range.
const char* comOpenName(int comNumber);
// "COM7" -> 7 (also "com7", "COM7:", "\\.\COM7"); 0 for anything else.
int comNumberOf(const char* name);

} // namespace kestos
