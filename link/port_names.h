// Serial port names: COMn as the menu says it, and as the port opens by.
#pragma once

#include <cstddef>

namespace kestos {

constexpr int maxComNumber = 255;

// The link's name for COMn, as the menu and the settings know it: "COM1:".."COM9:", then
// "\\.\COM10" and on; "COM1:" for a number out of range.
const char* comOpenName(int comNumber);
// The name CreateFile is given for the link's port: "\\.\COMn" for every COM port, the one form
// Windows documents for any n (Windows 11 no longer takes every legacy "COMn:"); any other name
// (a device path) as it is. Cut to fit `size`.
void deviceNameOf(const char* portName, char* out, std::size_t size);
// The port as a fitter reads it: "COM7" for any form of a COM name, any other name as it is.
void shownPortName(const char* portName, char* out, std::size_t size);
// "COM7" -> 7 (also "com7", "COM7:", "\\.\COM7"); 0 for anything else.
int comNumberOf(const char* name);

} // namespace kestos
