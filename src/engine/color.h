// Colour adjustments: brightness/contrast/gamma/invert, greyscale, threshold.
#pragma once

#include "engine/bitmap.h"

namespace tarvik {

Bitmap AdjustColors(Bitmap bitmap);
Bitmap GreyscaleImage(Bitmap bitmap);
Bitmap ThresholdImage(Bitmap bitmap);

}  // namespace tarvik
