#include "engine/color.h"

namespace tarvik {

Bitmap AdjustColors(Bitmap bitmap) { return bitmap; }
Bitmap GreyscaleImage(Bitmap bitmap) { return bitmap; }
Bitmap ThresholdImage(Bitmap bitmap) { return bitmap; }

}  // namespace tarvik
