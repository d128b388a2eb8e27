// Named values of the enumerated settings: the codes the keyword tables
// read and print, the config file stores, and the engine acts on. No step
// restates a number.
#pragma once

#include <type_traits>

namespace tarvik {

enum class DdsLoadAs { Auto = 0, Bgra = 1, Rgba = 2 };
enum class RawLoadAs { Auto = 0, Bpp8 = 1, Bpp16 = 2, Bpp24 = 3, Bpp48HalfSize = 4, Bpp48 = 5 };
enum class FrameLoading { All = 0, First = 1, Middle = 2, Last = 3, Random = 4 };
enum class ToneMapping { None = 0, Linear = 1, Al = 2, Drr = 3, Gd = 4 };

// One keyword table serves the compression of every format; each format
// has its own codes.
enum class BmpCompression { None = 0, Rle = 1 };
enum class TgaCompression { None = 0, Rle = 1 };
enum class ExrCompression { None = 0, Zip = 1, Piz = 2, Pxr24 = 3, B44 = 4 };
enum class PngCompression { None = 0, Zlib1 = 1, Zlib6 = 2, Zlib9 = 3 };
enum class TiffCompression {
    None = 0,
    CcittFax3 = 1,
    CcittFax4 = 2,
    PackBits = 3,
    Deflate = 4,
    AdobeDeflate = 5,
    Lzw = 6,
    Jpeg = 7,
    LogLuv = 8,
};

enum class ColorTable { Auto = 0, Exact = 1 };
enum class ColorModel { Rgb = 0, Cmyk = 1, Lab = 2 };
enum class JpgChroma { None = 0, Low = 1, Medium = 2, High = 3 };
enum class JpgSaveAs { Standard = 0, Simple = 1, Optimized = 2, Progressive = 3 };
enum class RotationType { Simple = 0, Advanced = 1 };
enum class SizeUnit { Pixels = 0, Percent = 1 };
enum class ResizeType { AllImages = 0, LargeImages = 1 };
enum class ResizeAlgorithm {
    Box = 0,
    Bilinear = 1,
    BSpline = 2,
    Bicubic = 3,
    CatmullRom = 4,
    Lanczos = 5,
};
enum class FrameType { None = 0, Solid = 1 };
enum class WatermarkType { None = 0, Text = 1, Image = 2 };
enum class FontStyle { Regular = 0, Bold = 1, Italic = 2, BoldItalic = 3 };
enum class FontEffect { None = 0, Underline = 1, StrikeThrough = 2 };
enum class TextAlignment { Left = 0, Center = 1, Right = 2 };
enum class Boundary { Image = 0, Frame = 1 };
// Row by row from the top left: position / 3 is the row, position % 3 the
// column.
enum class Position {
    TopLeft = 0,
    TopCenter = 1,
    TopRight = 2,
    MiddleLeft = 3,
    MiddleCenter = 4,
    MiddleRight = 5,
    BottomLeft = 6,
    BottomCenter = 7,
    BottomRight = 8,
};
enum class SizeMode { Fixed = 0 };
enum class FileTimestamp { Current = 0, Original = 1, Custom = 2 };

// The stored code of a named value.
template <class E>
requires std::is_enum_v<E>
constexpr int Code(E value) {
    return static_cast<int>(value);
}

// A stored setting read as its named value. Codes outside the names stay
// as they are, so a switch over the names must keep a default.
template <class E, class Stored>
requires std::is_enum_v<E> && std::is_integral_v<Stored>
constexpr E ValueOf(Stored stored) {
    return static_cast<E>(static_cast<int>(stored));
}

}  // namespace tarvik
