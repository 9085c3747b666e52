// Text in a bitmap font, and the font itself.
//
// The font is a binary image laid out as a grid of cells of 25 rows by 19
// columns, with a margin m: code k from 33 to 127 has its cell at
// ((k - 33) div 20 * 25 + 1, (k - 33) mod 20 * 19 + 1), the blank (32) at
// (151, 134), and every other code, control codes and the negative codes that
// characters from 128 to 255 are as signed 8-bit values, shares (176, 191).
// A glyph is rows m ... m + 2 (12 - m) - 1 and columns m ... m + 2 (9 - m) - 1
// of its cell; black font pixels are ink, white ones (and any outside the
// font image) paper.
//
// The built-in font is 251 x 381 pixels with m = 5, so glyphs of 14 rows by
// 8 columns, with every printable ASCII character. It is process-wide state,
// built at start-up; lefont replaces it and resetfont brings it back.
#pragma once
#include <string>

#include "draw/desenho.h"
#include "image/img.h"
#include "image/imgbin.h"
#include "image/imgyuv.h"

namespace imagorix {

// Draws s with its first glyph's top-left at (l, c), each font pixel as a
// zoom x zoom block, characters side by side (14 zoom rows by 8 zoom columns
// each with the built-in font). Ink pixels get ink; paper pixels get paper,
// or are left alone when transparent. A zoom below 1 draws nothing. Writes
// outside the image go to its background value.
void text(IMGBIN& img, int l, int c, const std::string& s, bool ink, int zoom, bool transparent, bool paper);
void text(IMGGRY& img, int l, int c, const std::string& s, BYTE ink, int zoom, bool transparent, BYTE paper);
void text(IMGCOR& img, int l, int c, const std::string& s, int ink, int zoom, bool transparent, int paper);
void text(IMGYUV& img, int l, int c, const std::string& s, int ink, int zoom, bool transparent, int paper);

// Rows and columns that text covers with the current font and zoom.
long long textheight(int zoom);
long long textwidth(const std::string& s, int zoom);

// Makes the picture in the file nome (any format le reads) the font, with
// background white and margin m.
void lefont(const std::string& nome, int m);
// Brings back the built-in font.
void resetfont();
// The top-left (row, column) of the cell of character code k.
POSLC glyphcell(int k);

// The current font image and margin.
const IMGBIN& fonte();
int margemfonte();

}  // namespace imagorix
