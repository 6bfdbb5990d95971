// One function per kind of asset. Each returns cairo surfaces; generate.cpp
// names and writes them.
#pragma once

#include <vector>

#include "draw.h"

namespace art {

enum class Job { Backup, Restore };
enum class Glyph { Backup, Restore, Agent };

// window.cpp: the card every picture shares (shadow, face, title band).
Surface windowBase(Job job);
// icons.cpp: the white cloud pictogram of the title band and the icons.
void glyph(cairo_t* cr, Glyph g, double cx, double cy, double w, Rgb fg);
std::vector<Surface> icon(Glyph g);  // 16, 32, 48 and 256 px
extern const int iconSizes[4];

// frames.cpp / completion.cpp: the 280 x 180 pictures.
std::vector<Surface> progressFrames(Job job);
Surface completionPicture(Job job);

// buttons.cpp, badges.cpp, bar.cpp: the 24-bit control bitmaps.
struct ButtonLooks {
    Surface normal, hover, press;
};
ButtonLooks cancelButton();
ButtonLooks hideButton();
ButtonLooks closeButton();
ButtonLooks recordLinkButton();
Surface okBadge();
Surface errorBadge();
Surface emptyBar();
Surface fullBar();

}  // namespace art
