#include "core/settings_table.h"

#include <array>
#include <cmath>

#include "core/keywords.h"
#include "core/text.h"

namespace tarvik {
namespace {

#define F TARVIK_FIELD
constexpr Reader KW = Reader::Keyword;
constexpr Reader INT = Reader::Integer;
constexpr Reader TXT = Reader::Text;
constexpr Reader FLG = Reader::Switch;

// Rows are in config-file order: groups, then keys within each group.
// The table is laid out by hand, one row per setting.
// clang-format off
const SettingRow kRows[] = {
    // [General]
    {.group = "General", .key = "CFG", .field = F(General.Cfg), .def = "18", .readDef = "0",
     .traits = kWriteDefault},
    {.group = "General", .key = "Language", .field = F(General.Language), .def = "en",
     .traits = kKeepBlanks},
    {.group = "General", .key = "Update Range", .field = F(General.UpdateRange), .def = "2",
     .range = {0, 5}},
    {.group = "General", .key = "Update Date", .field = F(General.UpdateDate), .def = kDefaultNow},
    {.group = "General", .key = "Save Window Position", .field = F(General.SaveWindowPosition),
     .def = "1"},

    // [Window]: the group line is always written, its keys only on request.
    {.group = "Window", .key = "IsMaximized", .field = F(Window.IsMaximized), .def = "0",
     .traits = kWindowGeometry},
    {.group = "Window", .key = "Width", .field = F(Window.Width), .def = "510",
     .traits = kWindowGeometry},
    {.group = "Window", .key = "Height", .field = F(Window.Height), .def = "260",
     .traits = kWindowGeometry},
    {.group = "Window", .key = "X", .field = F(Window.X), .def = kDefaultCentreX, .readDef = "100",
     .traits = kWindowGeometry},
    {.group = "Window", .key = "Y", .field = F(Window.Y), .def = kDefaultCentreY, .readDef = "100",
     .traits = kWindowGeometry},

    // [Interface]
    {.group = "Interface", .key = "UI Theme", .field = F(Interface.UiTheme), .def = "handdrawn",
     .traits = kKeepBlanks},
    {.group = "Interface", .key = "UI Size", .field = F(Interface.UiSize), .def = "2",
     .range = {0, 2}},

    // [Input]
    {.group = "Input", .key = "Format", .field = F(Input.Format), .def = kDefaultFirstInputFormat,
     .traits = kKeepBlanks},
    {.group = "Input", .key = "DDS Load As", .field = F(Input.DdsLoadAs), .def = "0",
     .format = "dds", .option = "--dds-load-as", .reader = KW, .keywordTable = kKwDdsLoad},
    {.group = "Input", .key = "GIF Frame Loading", .field = F(Input.GifFrameLoading), .def = "0",
     .format = "gif", .option = "--gif-frame-loading", .reader = KW,
     .keywordTable = kKwFrameLoading},
    {.group = "Input", .key = "ICO Frame Loading", .field = F(Input.IcoFrameLoading), .def = "0",
     .format = "ico", .option = "--ico-frame-loading", .reader = KW,
     .keywordTable = kKwFrameLoading},
    {.group = "Input", .key = "PSD Color Model", .field = F(Input.PsdColorModel), .def = "0",
     .format = "psd", .option = "--psd-color-model", .reader = KW, .keywordTable = kKwColorModel},
    {.group = "Input", .key = "RAW Load As", .field = F(Input.RawLoadAs), .def = "0",
     .format = "raw", .option = "--raw-load-as", .reader = KW, .keywordTable = kKwRawLoad},
    {.group = "Input", .key = "RAW Header Size", .field = F(Input.RawHeaderSize), .def = "0",
     .format = "raw", .option = "--raw-header-size", .reader = INT},
    {.group = "Input", .key = "RAW Image Width", .field = F(Input.RawImageWidth), .def = "0",
     .format = "raw", .option = "--raw-width", .reader = INT},
    {.group = "Input", .key = "RAW Image Height", .field = F(Input.RawImageHeight), .def = "0",
     .format = "raw", .option = "--raw-height", .reader = INT},
    {.group = "Input", .key = "RAW Tone Mapping", .field = F(Input.RawToneMapping), .def = "2",
     .format = "raw", .option = "--raw-tone-mapping", .reader = KW,
     .keywordTable = kKwToneMapping},
    {.group = "Input", .key = "TIFF Frame Loading", .field = F(Input.TiffFrameLoading), .def = "0",
     .format = "tiff", .option = "--tiff-frame-loading", .reader = KW,
     .keywordTable = kKwFrameLoading},

    // [Output]
    {.group = "Output", .key = "Format", .field = F(Output.Format),
     .def = kDefaultFirstOutputFormat, .traits = kKeepBlanks},
    {.group = "Output", .key = "BMP BPP", .field = F(Output.BmpBpp), .def = "0", .format = "bmp",
     .option = "--bmp-bpp", .reader = INT,
     .debug = "BMP BPP"},
    {.group = "Output", .key = "BMP Compression", .field = F(Output.BmpCompression), .def = "0",
     .format = "bmp", .option = "--bmp-compression", .reader = KW, .keywordTable = kKwCompression,
     .debug = "BMP Compression"},
    {.group = "Output", .key = "BMP Color Table", .field = F(Output.BmpColorTable), .def = "0",
     .format = "bmp", .option = "--bmp-color-table", .reader = KW, .keywordTable = kKwColorTable,
     .debug = "BMP Color Table"},
    {.group = "Output", .key = "DDS BPP", .field = F(Output.DdsBpp), .def = "0", .format = "dds",
     .option = "--dds-bpp", .reader = INT},
    {.group = "Output", .key = "EXR BPP", .field = F(Output.ExrBpp), .def = "0", .format = "exr",
     .option = "--exr-bpp", .reader = INT},
    {.group = "Output", .key = "EXR Compression", .field = F(Output.ExrCompression), .def = "0",
     .format = "exr", .option = "--exr-compression", .reader = KW, .keywordTable = kKwCompression},
    {.group = "Output", .key = "GIF BPP", .field = F(Output.GifBpp), .def = "0", .format = "gif",
     .option = "--gif-bpp", .reader = INT},
    {.group = "Output", .key = "HDR BPP", .field = F(Output.HdrBpp), .def = "0", .format = "hdr",
     .option = "--hdr-bpp", .reader = INT},
    {.group = "Output", .key = "ICO BPP", .field = F(Output.IcoBpp), .def = "0", .format = "ico",
     .option = "--ico-bpp", .reader = INT},
    {.group = "Output", .key = "J2K BPP", .field = F(Output.J2kBpp), .def = "0", .format = "j2k",
     .option = "--j2k-bpp", .reader = INT},
    {.group = "Output", .key = "JNG BPP", .field = F(Output.JngBpp), .def = "0", .format = "jng",
     .option = "--jng-bpp", .reader = INT},
    {.group = "Output", .key = "JP2 BPP", .field = F(Output.Jp2Bpp), .def = "0", .format = "jp2",
     .option = "--jp2-bpp", .reader = INT},
    {.group = "Output", .key = "JPG BPP", .field = F(Output.JpgBpp), .def = "0", .format = "jpg",
     .option = "--jpg-bpp", .reader = INT},
    {.group = "Output", .key = "JPG Quality", .field = F(Output.JpgQuality), .def = "95",
     .format = "jpg", .option = "--jpg-quality", .reader = INT,
     .range = {1, 100}},
    {.group = "Output", .key = "JPG Chroma", .field = F(Output.JpgChroma), .def = "0",
     .format = "jpg", .option = "--jpg-chroma", .reader = KW, .keywordTable = kKwChroma},
    {.group = "Output", .key = "JPG Save As", .field = F(Output.JpgSaveAs), .def = "0",
     .format = "jpg", .option = "--jpg-save-as", .reader = KW, .keywordTable = kKwJpgSaveAs},
    {.group = "Output", .key = "JXR BPP", .field = F(Output.JxrBpp), .def = "0", .format = "jxr",
     .option = "--jxr-bpp", .reader = INT},
    {.group = "Output", .key = "PBM BPP", .field = F(Output.PbmBpp), .def = "0", .format = "pbm",
     .option = "--pbm-bpp", .reader = INT},
    {.group = "Output", .key = "PCX BPP", .field = F(Output.PcxBpp), .def = "0", .format = "pcx",
     .option = "--pcx-bpp", .reader = INT},
    {.group = "Output", .key = "PFM BPP", .field = F(Output.PfmBpp), .def = "0", .format = "pfm",
     .option = "--pfm-bpp", .reader = INT},
    {.group = "Output", .key = "PGM BPP", .field = F(Output.PgmBpp), .def = "0", .format = "pgm",
     .option = "--pgm-bpp", .reader = INT},
    {.group = "Output", .key = "PNG BPP", .field = F(Output.PngBpp), .def = "0", .format = "png",
     .option = "--png-bpp", .reader = INT},
    {.group = "Output", .key = "PNG Compression", .field = F(Output.PngCompression), .def = "0",
     .format = "png", .option = "--png-compression", .reader = KW, .keywordTable = kKwCompression},
    {.group = "Output", .key = "PNG Interlaced", .field = F(Output.PngInterlaced), .def = "0",
     .format = "png", .option = "--png-interlaced", .reader = FLG},
    {.group = "Output", .key = "PPM BPP", .field = F(Output.PpmBpp), .def = "0", .format = "ppm",
     .option = "--ppm-bpp", .reader = INT},
    {.group = "Output", .key = "PSD BPP", .field = F(Output.PsdBpp), .def = "0", .format = "psd",
     .option = "--psd-bpp", .reader = INT},
    {.group = "Output", .key = "TGA BPP", .field = F(Output.TgaBpp), .def = "0", .format = "tga",
     .option = "--tga-bpp", .reader = INT},
    {.group = "Output", .key = "TGA Compression", .field = F(Output.TgaCompression), .def = "0",
     .format = "tga", .option = "--tga-compression", .reader = KW, .keywordTable = kKwCompression},
    {.group = "Output", .key = "TIFF BPP", .field = F(Output.TiffBpp), .def = "0", .format = "tiff",
     .option = "--tiff-bpp", .reader = INT},
    {.group = "Output", .key = "TIFF Compression", .field = F(Output.TiffCompression), .def = "0",
     .format = "tiff", .option = "--tiff-compression", .reader = KW,
     .keywordTable = kKwCompression},
    {.group = "Output", .key = "TIFF Color Model", .field = F(Output.TiffColorModel), .def = "0",
     .format = "tiff", .option = "--tiff-color-model", .reader = KW, .keywordTable = kKwColorModel},
    {.group = "Output", .key = "WBMP BPP", .field = F(Output.WbmpBpp), .def = "0", .format = "wbmp",
     .option = "--wbmp-bpp", .reader = INT},
    {.group = "Output", .key = "WEBP BPP", .field = F(Output.WebpBpp), .def = "0", .format = "webp",
     .option = "--webp-bpp", .reader = INT},
    {.group = "Output", .key = "WEBP Quality", .field = F(Output.WebpQuality), .def = "100",
     .format = "webp", .option = "--webp-quality", .reader = INT,
     .range = {1, 100}},
    {.group = "Output", .key = "XPM BPP", .field = F(Output.XpmBpp), .def = "0", .format = "xpm",
     .option = "--xpm-bpp", .reader = INT},

    // [Transform]
    {.group = "Transform", .key = "Do Image Rotation", .field = F(Transform.DoImageRotation),
     .def = "0"},
    {.group = "Transform", .key = "Image Rotation Type", .field = F(Transform.ImageRotationType),
     .def = "0", .option = "--rotation-type", .reader = KW, .keywordTable = kKwRotationType,
     .debug = "Image Rotation Type"},
    {.group = "Transform", .key = "Image Rotation", .field = F(Transform.ImageRotation), .def = "0",
     .option = "--rotation", .reader = INT, .sideField = F(Transform.DoImageRotation),
     .sideValue = 1,
     .debug = "Image Rotation",
     .range = {0, 360}},
    {.group = "Transform", .key = "Image Rotation Back Color",
     .field = F(Transform.ImageRotationBackColor), .def = "000000",
     .option = "--rotation-back-color", .reader = TXT,
     .debug = "Image Rotation Back Color"},
    {.group = "Transform", .key = "Do Image Resize", .field = F(Transform.DoImageResize),
     .def = "0"},
    {.group = "Transform", .key = "Image Width", .field = F(Transform.ImageWidth), .def = "0",
     .option = "--width", .reader = INT, .sideField = F(Transform.DoImageResize), .sideValue = 1},
    {.group = "Transform", .key = "Image Width Unit", .field = F(Transform.ImageWidthUnit),
     .def = "0", .option = "--width-unit", .reader = KW, .keywordTable = kKwSizeUnit},
    {.group = "Transform", .key = "Image Height", .field = F(Transform.ImageHeight), .def = "0",
     .option = "--height", .reader = INT, .sideField = F(Transform.DoImageResize), .sideValue = 1},
    {.group = "Transform", .key = "Image Height Unit", .field = F(Transform.ImageHeightUnit),
     .def = "0", .option = "--height-unit", .reader = KW, .keywordTable = kKwSizeUnit},
    {.group = "Transform", .key = "Keep Aspect Ratio", .field = F(Transform.KeepAspectRatio),
     .def = "1", .cliDef = "0", .option = "--keep-aspect-ratio", .reader = FLG,
     .debug = "Keep Aspect Ratio"},
    {.group = "Transform", .key = "Image Resize Type", .field = F(Transform.ImageResizeType),
     .def = "0", .option = "--resize-type", .reader = KW, .keywordTable = kKwResizeType,
     .debug = "Image Resize Type"},
    {.group = "Transform", .key = "Image Resize Algorithm",
     .field = F(Transform.ImageResizeAlgorithm), .def = "3", .option = "--resize-algorithm",
     .reader = KW, .keywordTable = kKwResizeAlgorithm,
     .debug = "Image Resize Algorithm"},
    {.group = "Transform", .key = "Do Image Flip Horizontal",
     .field = F(Transform.DoImageFlipHorizontal), .def = "0", .option = "--flip-horizontal",
     .reader = FLG,
     .debug = "Flip Horizontal"},
    {.group = "Transform", .key = "Do Image Flip Vertical",
     .field = F(Transform.DoImageFlipVertical), .def = "0", .option = "--flip-vertical",
     .reader = FLG,
     .debug = "Flip Vertical"},

    // [Adjustment]
    {.group = "Adjustment", .key = "Do Image Color Correction",
     .field = F(Adjustment.DoImageColorCorrection), .def = "0"},
    {.group = "Adjustment", .key = "Image Brightness", .field = F(Adjustment.ImageBrightness),
     .def = "0", .option = "--brightness", .reader = INT,
     .sideField = F(Adjustment.DoImageColorCorrection), .sideValue = 1,
     .debug = "Brightness",
     .range = {-100, 100}},
    {.group = "Adjustment", .key = "Image Contrast", .field = F(Adjustment.ImageContrast),
     .def = "0", .option = "--contrast", .reader = INT,
     .sideField = F(Adjustment.DoImageColorCorrection), .sideValue = 1,
     .debug = "Contrast",
     .range = {-100, 100}},
    {.group = "Adjustment", .key = "Image Gamma", .field = F(Adjustment.ImageGamma),
     .def = "1.000000", .option = "--gamma", .reader = Reader::Float,
     .sideField = F(Adjustment.DoImageColorCorrection), .sideValue = 1,
     .debug = "Gamma",
     .range = {0.01, 9.99}},
    {.group = "Adjustment", .key = "Image Invert", .field = F(Adjustment.ImageInvert), .def = "0",
     .option = "--invert", .reader = FLG, .sideField = F(Adjustment.DoImageColorCorrection),
     .sideValue = 1,
     .debug = "Invert"},
    {.group = "Adjustment", .key = "Do Image Greyscale", .field = F(Adjustment.DoImageGreyscale),
     .def = "0", .option = "--greyscale", .reader = FLG,
     .debug = "Greyscale"},
    {.group = "Adjustment", .key = "Do Image Threshold", .field = F(Adjustment.DoImageThreshold),
     .def = "0"},
    {.group = "Adjustment", .key = "Image Threshold", .field = F(Adjustment.ImageThreshold),
     .def = "0", .option = "--threshold", .reader = INT,
     .sideField = F(Adjustment.DoImageThreshold), .sideValue = 1,
     .debug = "Image Threshold",
     .range = {0, 255}},

    // [Frame]
    {.group = "Frame", .key = "Do Frame", .field = F(Frame.DoFrame), .def = "0",
     .keywordTable = kKwFrameType,
     .debug = "Frame"},
    {.group = "Frame", .key = "Solid Left", .field = F(Frame.SolidLeft), .def = "0",
     .option = "--fr-solid-left", .reader = INT, .sideField = F(Frame.DoFrame), .sideValue = 1,
     .debug = "Frame left"},
    {.group = "Frame", .key = "Solid Right", .field = F(Frame.SolidRight), .def = "0",
     .option = "--fr-solid-right", .reader = INT, .sideField = F(Frame.DoFrame), .sideValue = 1,
     .debug = "Frame right"},
    {.group = "Frame", .key = "Solid Top", .field = F(Frame.SolidTop), .def = "0",
     .option = "--fr-solid-top", .reader = INT, .sideField = F(Frame.DoFrame), .sideValue = 1,
     .debug = "Frame top"},
    {.group = "Frame", .key = "Solid Bottom", .field = F(Frame.SolidBottom), .def = "0",
     .option = "--fr-solid-bottom", .reader = INT, .sideField = F(Frame.DoFrame), .sideValue = 1,
     .debug = "Frame bottom"},
    {.group = "Frame", .key = "Solid Left Color", .field = F(Frame.SolidLeftColor),
     .def = "000000", .option = "--fr-solid-left-color", .reader = TXT,
     .debug = "Frame left color"},
    {.group = "Frame", .key = "Solid Right Color", .field = F(Frame.SolidRightColor),
     .def = "000000", .option = "--fr-solid-right-color", .reader = TXT,
     .debug = "Frame right color"},
    {.group = "Frame", .key = "Solid Top Color", .field = F(Frame.SolidTopColor), .def = "000000",
     .option = "--fr-solid-top-color", .reader = TXT,
     .debug = "Frame top color"},
    {.group = "Frame", .key = "Solid Bottom Color", .field = F(Frame.SolidBottomColor),
     .def = "000000", .option = "--fr-solid-bottom-color", .reader = TXT,
     .debug = "Frame bottom color"},
    // The profile spells this key differently from the command line.
    {.group = "Frame", .key = "Solid Opacity", .field = F(Frame.SolidOpacity), .def = "255",
     .option = "--fr-solid-opacity", .reader = INT, .profileKey = "--wm-solid-opacity",
     .debug = "Frame opacity",
     .range = {1, 255}},

    // [Watermark]
    {.group = "Watermark", .key = "Do Watermark", .field = F(Watermark.DoWatermark), .def = "0",
     .keywordTable = kKwWatermarkType,
     .debug = "Watermark"},
    {.group = "Watermark", .key = "Text", .field = F(Watermark.Text),
     .def = "Converted by Quorvane JPG to BMP", .option = "--wm-text", .reader = TXT,
     .sideField = F(Watermark.DoWatermark), .sideValue = 1,
     .debug = "Watermark text"},
    {.group = "Watermark", .key = "Fonts", .field = F(Watermark.Fonts),
     .def = "Arial,Tahoma,Verdana"},
    {.group = "Watermark", .key = "Font", .field = F(Watermark.Font), .def = "Arial",
     .option = "--wm-font", .reader = TXT,
     .debug = "Watermark font"},
    {.group = "Watermark", .key = "Font Size", .field = F(Watermark.FontSize), .def = "14",
     .option = "--wm-font-size", .reader = INT,
     .debug = "Watermark font size"},
    {.group = "Watermark", .key = "Font Leading", .field = F(Watermark.FontLeading), .def = "0",
     .option = "--wm-font-leading", .reader = INT,
     .debug = "Watermark font leading"},
    {.group = "Watermark", .key = "Font Colors", .field = F(Watermark.FontColors),
     .def = "000000,FFFFFF,FF0000,FF8000,FFFF00,008000,00FFFF,0000FF,8000FF"},
    {.group = "Watermark", .key = "Font Color", .field = F(Watermark.FontColor), .def = "FFFFFF",
     .option = "--wm-font-color", .reader = TXT,
     .debug = "Watermark font color"},
    {.group = "Watermark", .key = "Font Style", .field = F(Watermark.FontStyle), .def = "0",
     .option = "--wm-font-style", .reader = KW, .keywordTable = kKwFontStyle,
     .debug = "Watermark font style"},
    {.group = "Watermark", .key = "Font Effect", .field = F(Watermark.FontEffect), .def = "0",
     .option = "--wm-font-effect", .reader = KW, .keywordTable = kKwFontEffect,
     .debug = "Watermark font effect"},
    {.group = "Watermark", .key = "Text Antialiasing", .field = F(Watermark.TextAntialiasing),
     .def = "0", .option = "--wm-text-antialiasing", .reader = FLG,
     .debug = "Watermark text antialiasing"},
    {.group = "Watermark", .key = "Text Alignment", .field = F(Watermark.TextAlignment),
     .def = "0", .option = "--wm-text-alignment", .reader = KW, .keywordTable = kKwTextAlignment,
     .debug = "Watermark text alignment"},
    {.group = "Watermark", .key = "Text Padding", .field = F(Watermark.TextPadding), .def = "0",
     .option = "--wm-text-padding", .reader = INT,
     .debug = "Watermark text padding"},
    {.group = "Watermark", .key = "Text Opacity", .field = F(Watermark.TextOpacity), .def = "255",
     .option = "--wm-text-opacity", .reader = INT,
     .debug = "Watermark text opacity",
     .range = {1, 255}},
    {.group = "Watermark", .key = "Back Colors", .field = F(Watermark.BackColors),
     .def = "000000,FFFFFF,FF0000,FF8000,FFFF00,008000,00FFFF,0000FF,8000FF"},
    {.group = "Watermark", .key = "Back Color", .field = F(Watermark.BackColor), .def = "000000",
     .option = "--wm-back-color", .reader = TXT,
     .debug = "Watermark background color"},
    {.group = "Watermark", .key = "Back Opacity", .field = F(Watermark.BackOpacity), .def = "1",
     .option = "--wm-back-opacity", .reader = INT,
     .debug = "Watermark background opacity",
     .range = {1, 255}},
    {.group = "Watermark", .key = "Text Boundary", .field = F(Watermark.TextBoundary), .def = "0",
     .option = "--wm-text-boundary", .reader = KW, .keywordTable = kKwBoundary,
     .debug = "Watermark boundary"},
    {.group = "Watermark", .key = "Text Position", .field = F(Watermark.TextPosition), .def = "8",
     .option = "--wm-text-position", .reader = KW, .keywordTable = kKwPosition,
     .debug = "Watermark position"},
    {.group = "Watermark", .key = "Text X Offset", .field = F(Watermark.TextXOffset), .def = "10",
     .option = "--wm-text-x-offset", .reader = INT},
    {.group = "Watermark", .key = "Text Y Offset", .field = F(Watermark.TextYOffset), .def = "10",
     .option = "--wm-text-y-offset", .reader = INT},
    {.group = "Watermark", .key = "Text Rotation", .field = F(Watermark.TextRotation), .def = "0",
     .option = "--wm-text-rotation", .reader = INT,
     .debug = "Watermark rotation",
     .range = {0, 360}},
    {.group = "Watermark", .key = "Text Size", .field = F(Watermark.TextSize), .def = "0",
     .option = "--wm-text-size", .reader = KW, .keywordTable = kKwSizeMode,
     .debug = "Watermark size/mode"},
    {.group = "Watermark", .key = "Text Scale", .field = F(Watermark.TextScale), .def = "10",
     .range = {1, 200}},
    {.group = "Watermark", .key = "Image", .field = F(Watermark.Image), .def = "",
     .option = "--wm-image", .reader = TXT, .sideField = F(Watermark.DoWatermark),
     .sideValue = 2,
     .debug = "Watermark image"},
    {.group = "Watermark", .key = "Image Greyscale", .field = F(Watermark.ImageGreyscale),
     .def = "0", .option = "--wm-image-greyscale", .reader = FLG,
     .debug = "Watermark greyscale"},
    {.group = "Watermark", .key = "Image Opacity", .field = F(Watermark.ImageOpacity),
     .def = "255", .option = "--wm-image-opacity", .reader = INT,
     .debug = "Watermark opacity",
     .range = {1, 255}},
    {.group = "Watermark", .key = "Image Boundary", .field = F(Watermark.ImageBoundary),
     .def = "0", .option = "--wm-image-boundary", .reader = KW, .keywordTable = kKwBoundary,
     .debug = "Watermark boundary"},
    {.group = "Watermark", .key = "Image Position", .field = F(Watermark.ImagePosition),
     .def = "8", .option = "--wm-image-position", .reader = KW, .keywordTable = kKwPosition,
     .debug = "Watermark position"},
    {.group = "Watermark", .key = "Image X Offset", .field = F(Watermark.ImageXOffset), .def = "10",
     .option = "--wm-image-x-offset", .reader = INT},
    {.group = "Watermark", .key = "Image Y Offset", .field = F(Watermark.ImageYOffset), .def = "10",
     .option = "--wm-image-y-offset", .reader = INT},
    {.group = "Watermark", .key = "Image Rotation", .field = F(Watermark.ImageRotation),
     .def = "0", .option = "--wm-image-rotation", .reader = INT,
     .debug = "Watermark rotation",
     .range = {0, 360}},
    {.group = "Watermark", .key = "Image Size", .field = F(Watermark.ImageSize), .def = "0",
     .option = "--wm-image-size", .reader = KW, .keywordTable = kKwSizeMode,
     .debug = "Watermark size/mode"},
    {.group = "Watermark", .key = "Image Scale", .field = F(Watermark.ImageScale), .def = "10",
     .range = {1, 200}},

    // [Advanced]
    {.group = "Advanced", .key = "Filename Mask", .field = F(Advanced.FilenameMask),
     .def = "%filename%.%ext%", .option = "--filename-mask", .reader = TXT,
     .traits = kUnquoteInProfile,
     .debug = "Filename Mask"},
    {.group = "Advanced", .key = "File Timestamp", .field = F(Advanced.FileTimestamp), .def = "0",
     .option = "--file-timestamp", .reader = KW, .keywordTable = kKwFileTimestamp,
     .debug = "File Timestamp"},
    {.group = "Advanced", .key = "Custom Timestamp", .field = F(Advanced.CustomTimestamp),
     .def = kDefaultNow, .option = "--file-timestamp-custom", .reader = INT,
     .debug = "Custom Timestamp"},
    {.group = "Advanced", .key = "Out Folders History", .field = F(Advanced.OutFoldersHistory),
     .def = "1"},
    {.group = "Advanced", .key = "Out Folders Number", .field = F(Advanced.OutFoldersNumber),
     .def = "5",
     .range = {1, 50}},
    {.group = "Advanced", .key = "Keep Subfolders", .field = F(Advanced.KeepSubfolders), .def = "1",
     .option = "--no-subfolders", .reader = FLG, .flagValue = 0,
     .debug = "Keep Subfolders"},

    // [File] and [Privacy]: kept and written back.
    {.group = "File", .key = "Recent Out Folders", .field = F(File.RecentOutFolders), .def = "",
     .traits = kKeepBlanks},
    {.group = "File", .key = "Recent Files", .field = F(File.RecentFiles), .def = "",
     .traits = kKeepBlanks},
    {.group = "Privacy", .key = "Clean Recent Files", .field = F(Privacy.CleanRecentFiles),
     .def = "0"},
};
// clang-format on

#undef F

template <class Ref>
bool IsNullRef(const Ref& r) {
    return r == nullptr;
}

}  // namespace

std::span<const SettingRow> SettingRows() {
    return kRows;
}

const SettingRow* FindSetting(std::string_view group, std::string_view key) {
    for (const SettingRow& row : kRows) {
        if (row.group == group && row.key == key) {
            return &row;
        }
    }
    return nullptr;
}

bool HasSideEffect(const SettingRow& row) {
    return !std::visit([](const auto& r) { return IsNullRef(r); }, row.sideField);
}

std::string FieldText(const FieldRef& field, const SettingsRecord& s) {
    auto& rec = const_cast<SettingsRecord&>(s);  // accessors are shared by readers and writers
    return std::visit(
        [&](const auto& get) -> std::string {
            const auto& value = get(rec);
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, std::string>) {
                return value;
            } else if constexpr (std::is_same_v<T, float>) {
                return FormatFloat6(value);
            } else if constexpr (std::is_same_v<T, Flag>) {
                // One-byte fields are written as signed values.
                return std::to_string(static_cast<int>(static_cast<Byte>(value)));
            } else {
                return std::to_string(static_cast<int>(value));
            }
        },
        field);
}

std::string FieldText(const SettingRow& row, const SettingsRecord& s) {
    return FieldText(row.field, s);
}

double FieldNumber(const FieldRef& field, const SettingsRecord& s) {
    auto& rec = const_cast<SettingsRecord&>(s);
    return std::visit(
        [&](const auto& get) -> double {
            const auto& value = get(rec);
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, std::string>) {
                return 0.0;
            } else {
                return static_cast<double>(value);
            }
        },
        field);
}

void SetFieldNumber(const FieldRef& field, SettingsRecord& s, double value) {
    std::visit(
        [&](const auto& get) {
            auto& target = get(s);
            using T = std::decay_t<decltype(target)>;
            if constexpr (std::is_same_v<T, std::string>) {
                target = std::to_string(static_cast<long long>(value));
            } else if constexpr (std::is_same_v<T, float>) {
                target = static_cast<float>(value);
            } else {
                // Narrow fields keep the low bits, as a byte field stores them.
                const auto wide = static_cast<std::int64_t>(std::isfinite(value) ? value : 0.0);
                target = static_cast<T>(static_cast<std::uint64_t>(wide));
            }
        },
        field);
}

void SetFieldText(const FieldRef& field, SettingsRecord& s, const std::string& value) {
    std::visit(
        [&](const auto& get) {
            auto& target = get(s);
            using T = std::decay_t<decltype(target)>;
            if constexpr (std::is_same_v<T, std::string>) {
                target = value;
            } else if constexpr (std::is_same_v<T, float>) {
                target = ReadFloat(value);
            } else {
                SetFieldNumber(field, s, ReadConfigInteger(value));
            }
        },
        field);
}

bool InRange(const SettingRow& row, const SettingsRecord& s) {
    if (!row.range.Bounded()) {
        return true;
    }
    const double value = FieldNumber(row.field, s);
    if (IsFloatField(row.field)) {
        const auto v = static_cast<float>(value);
        return v >= static_cast<float>(row.range.low) && v <= static_cast<float>(row.range.high);
    }
    return value >= row.range.low && value <= row.range.high;
}

bool IsTextField(const FieldRef& field) {
    return std::holds_alternative<TextRef>(field);
}
bool IsFloatField(const FieldRef& field) {
    return std::holds_alternative<FloatRef>(field);
}

}  // namespace tarvik
