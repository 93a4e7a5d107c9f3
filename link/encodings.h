// Conversions between controller bytes and the units the pages show.
#pragma once

namespace kestos {

// Truncate toward zero, then round up only when the fraction is strictly above one half.
int roundNearest(double x);

int tempFromCode(unsigned code);
int codeFromTemp(int celsius);

// Writes the two-digit temperature of a coolant code into textBuffer.
void tempText(unsigned code);

unsigned rpmFromPeriod(int hi, unsigned lo);
int lowByte(unsigned v);
int highByte(unsigned v);

// The engine-speed period the controller stores for a speed in rpm.
unsigned periodFromRpm(unsigned rpm);

// The shared text buffer that readouts are formatted into before drawing.
constexpr int textBufferSize = 64;
extern char textBuffer[textBufferSize];

} // namespace kestos
