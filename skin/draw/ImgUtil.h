// In-place transforms of class-library bitmaps (24-bit, padded rows).
#pragma once

#include "Graphics.h"

void GrayBitmap(TBitmap& bitmap);         // to 24 bits; each channel := (b + g + r) div 3
void MirrorBitmap(TBitmap& bitmap);       // left-right
void FlipBitmap(TBitmap& bitmap);         // top-bottom
void RotateBitmapLeft(TBitmap& bitmap);   // 90 degrees counter-clockwise
void RotateBitmapRight(TBitmap& bitmap);  // 90 degrees clockwise

// A 24-bit copy of `source` (a 32-bit source loses its fourth byte).
void CopyBitmap24(TBitmap& source, TBitmap& dest);
