// The groups of art the generator writes. Each group draws its images and saves them
// through the output, which records them; failures are recorded there too.
#pragma once

#include <string>

#include "SkinOutput.h"

namespace skingen {

void DrawButtons(SkinOutput& out);   // push buttons, window buttons, check and radio boxes
void DrawFields(SkinOutput& out);    // combo box, edit box, slider, device rows, list rows
void DrawPanels(SkinOutput& out);    // window and dialog backgrounds, tip window, logo
void DrawIcons(SkinOutput& out);     // tab strips, page icons, key function icons
void DrawLoading(SkinOutput& out);   // the animated busy picture
void DrawAppIcon(SkinOutput& out);   // Keystrel.ico and its PNG

// Draws the keyboard picture of every layout file in `layoutFolder`; returns how many.
int DrawKeyboards(SkinOutput& out, const std::string& layoutFolder);

// Tiles every recorded image with its name into one review picture.
bool WriteContactSheet(const SkinOutput& out, const std::string& path);

}  // namespace skingen
