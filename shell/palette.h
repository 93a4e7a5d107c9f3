// The program's pens and brushes by name, with their colours and widths. The Win32 side
// creates one object of each before WinMain and never deletes them.
#pragma once

#include <cstdint>

namespace kestos {

struct Rgb {
    uint8_t r, g, b;
    constexpr bool operator==(const Rgb&) const = default;
};

namespace colour {
constexpr Rgb black{0, 0, 0};
constexpr Rgb white{255, 255, 255};
constexpr Rgb red{255, 0, 0};
constexpr Rgb green{0, 255, 0};
constexpr Rgb darkGreen{0, 128, 0};
constexpr Rgb yellow{255, 255, 0};
constexpr Rgb cyan{0, 255, 255};
constexpr Rgb navy{0, 0, 128};
constexpr Rgb blue{0, 0, 255};
constexpr Rgb gray{128, 128, 128};
constexpr Rgb lightGray{192, 192, 192};
constexpr Rgb pale{210, 210, 210};
constexpr Rgb olivePen{128, 120, 0};
constexpr Rgb olive{128, 128, 0};
} // namespace colour

enum class Pen : uint8_t {
    cyan,
    darkGreen,
    yellow,
    red,
    red2,
    red4,
    navy,
    navy2,
    blue2,
    gray,
    black,
    black4,
    white,
    lightGray,
    olive2,
    green2,
    pale2,
    count
};

enum class Brush : uint8_t {
    gray,
    green,
    black,
    navy,
    lightGray,
    cyan,
    red,
    white,
    darkGreen,
    yellow,
    olive,
    count
};

struct PenSpec {
    int width;
    Rgb colour;
};

// Indexed by Pen.
inline constexpr PenSpec penSpecs[static_cast<int>(Pen::count)] = {
    {1, colour::cyan},  {1, colour::darkGreen}, {1, colour::yellow},   {1, colour::red},
    {2, colour::red},   {4, colour::red},       {1, colour::navy},     {2, colour::navy},
    {2, colour::blue},  {1, colour::gray},      {1, colour::black},    {4, colour::black},
    {1, colour::white}, {1, colour::lightGray}, {2, colour::olivePen}, {2, colour::green},
    {2, colour::pale},
};

// Indexed by Brush.
inline constexpr Rgb brushColours[static_cast<int>(Brush::count)] = {
    colour::gray, colour::green, colour::black,     colour::navy,   colour::lightGray, colour::cyan,
    colour::red,  colour::white, colour::darkGreen, colour::yellow, colour::olive,
};

} // namespace kestos
