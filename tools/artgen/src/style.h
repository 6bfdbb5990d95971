// The look of the Kestrel skin: every colour, radius and place in one file.
// Change the art here first; the asset files only compose these values.
#pragma once

#include <cstdint>

namespace art {

struct Rgb {
    std::uint8_t r, g, b;
};

// a + (b - a) * t, rounded: used to precompute opaque shades so that the
// bitmaps and the pictures agree on exact pixel values.
constexpr Rgb mix(Rgb a, Rgb b, double t) {
    auto lerp = [](int x, int y, double k) {
        return static_cast<std::uint8_t>(x + (y - x) * k + 0.5);
    };
    return {lerp(a.r, b.r, t), lerp(a.g, b.g, t), lerp(a.b, b.b, t)};
}

struct Rect {
    int x, y, w, h;
};

namespace palette {
// The one accent colour and its shades.
constexpr Rgb accent{37, 99, 214};
constexpr Rgb accentLight = mix(accent, Rgb{254, 254, 254}, 0.16);
constexpr Rgb accentDark = mix(accent, Rgb{10, 20, 40}, 0.22);
constexpr Rgb accentTint = mix(accent, Rgb{250, 251, 253}, 0.88);

// Neutral surfaces. Pure white (255,255,255) is the transparent key of the
// button bitmaps, so "white" is 254 everywhere.
constexpr Rgb white{254, 254, 254};
constexpr Rgb card{250, 251, 253};      // the window's face
constexpr Rgb track{226, 231, 238};     // empty bar, dotted paths
constexpr Rgb ink{34, 42, 56};          // text
constexpr Rgb device{92, 104, 124};     // the computer pictogram

// Results.
constexpr Rgb success{28, 150, 92};
constexpr Rgb error{212, 62, 62};
}  // namespace palette

namespace shape {
constexpr double radius = 8.0;       // cards, badges, the close button
constexpr double smallRadius = 4.0;  // 15 px title buttons
constexpr double strokeFine = 1.0;   // hairlines
constexpr double edgeAlpha = 0.10;   // the card's hairline: black at this opacity
}  // namespace shape

// Where the programs put things, in the picture's pixels.
namespace layout {
constexpr int width = 280, height = 180;
// The card, inside a transparent margin that holds its shadow.
constexpr Rect card{10, 5, 260, 166};
constexpr int headerHeight = 35;  // accent title band at the card's top

// Progress view.
constexpr Rect cancel{225, 15, 15, 15};
constexpr Rect hide{245, 15, 15, 15};
constexpr Rect bar{22, 72, 197, 14};
// Completion view.
constexpr Rect badge{55, 55, 170, 65};
constexpr Rect recordLink{104, 120, 70, 16};
constexpr Rect close{104, 136, 70, 28};

// The animated strip of the progress frames (below the bar).
constexpr int sceneY = 128;  // centre line of the flow
}  // namespace layout

namespace text {
// Fixed face so that every machine draws the same pixels. DejaVu Sans comes
// with fontconfig on Debian.
constexpr const char* face = "DejaVu Sans";
}  // namespace text

}  // namespace art
