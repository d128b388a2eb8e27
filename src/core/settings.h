// The one record of every option. Fields are named by their INI group and
// key without blanks; types follow the stored form: flag = uint8_t (0/1),
// byte = int8_t (signed, as the file writes it), int = int32_t,
// float = float, text = std::string.
#pragma once

#include <cstdint>
#include <string>

namespace tarvik {

using Flag = std::uint8_t;
using Byte = std::int8_t;

struct GeneralSettings {
    std::int32_t Cfg = 0;
    std::string Language;
    std::int32_t UpdateRange = 0;
    std::int32_t UpdateDate = 0;
    Flag SaveWindowPosition = 0;

    bool operator==(const GeneralSettings&) const = default;
};

struct WindowSettings {
    Flag IsMaximized = 0;
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;

    bool operator==(const WindowSettings&) const = default;
};

struct InterfaceSettings {
    std::string UiTheme;
    std::int32_t UiSize = 0;

    bool operator==(const InterfaceSettings&) const = default;
};

struct InputSettings {
    std::string Format;
    std::int32_t DdsLoadAs = 0;
    std::int32_t GifFrameLoading = 0;
    std::int32_t IcoFrameLoading = 0;
    std::int32_t TiffFrameLoading = 0;
    std::int32_t PsdColorModel = 0;
    std::int32_t RawLoadAs = 0;
    std::int32_t RawHeaderSize = 0;
    std::int32_t RawImageWidth = 0;
    std::int32_t RawImageHeight = 0;
    std::int32_t RawToneMapping = 0;

    bool operator==(const InputSettings&) const = default;
};

struct OutputSettings {
    std::string Format;
    std::int32_t BmpBpp = 0;
    std::int32_t BmpCompression = 0;
    std::int32_t BmpColorTable = 0;
    std::int32_t DdsBpp = 0;
    std::int32_t ExrBpp = 0;
    std::int32_t ExrCompression = 0;
    std::int32_t GifBpp = 0;
    std::int32_t HdrBpp = 0;
    std::int32_t IcoBpp = 0;
    std::int32_t J2kBpp = 0;
    std::int32_t JngBpp = 0;
    std::int32_t Jp2Bpp = 0;
    std::int32_t JpgBpp = 0;
    std::int32_t JpgQuality = 0;
    std::int32_t JpgChroma = 0;
    std::int32_t JpgSaveAs = 0;
    std::int32_t JxrBpp = 0;
    std::int32_t PbmBpp = 0;
    std::int32_t PcxBpp = 0;
    std::int32_t PfmBpp = 0;
    std::int32_t PgmBpp = 0;
    std::int32_t PngBpp = 0;
    std::int32_t PngCompression = 0;
    Flag PngInterlaced = 0;
    std::int32_t PpmBpp = 0;
    std::int32_t PsdBpp = 0;
    std::int32_t TgaBpp = 0;
    std::int32_t TgaCompression = 0;
    std::int32_t TiffBpp = 0;
    std::int32_t TiffCompression = 0;
    std::int32_t TiffColorModel = 0;
    std::int32_t WbmpBpp = 0;
    std::int32_t WebpBpp = 0;
    std::int32_t WebpQuality = 0;
    std::int32_t XpmBpp = 0;

    bool operator==(const OutputSettings&) const = default;
};

struct TransformSettings {
    Flag DoImageRotation = 0;
    Byte ImageRotationType = 0;
    std::int32_t ImageRotation = 0;
    std::string ImageRotationBackColor;
    Flag DoImageResize = 0;
    std::int32_t ImageWidth = 0;
    Byte ImageWidthUnit = 0;
    std::int32_t ImageHeight = 0;
    Byte ImageHeightUnit = 0;
    Flag KeepAspectRatio = 0;
    Byte ImageResizeType = 0;
    Byte ImageResizeAlgorithm = 0;
    Flag DoImageFlipHorizontal = 0;
    Flag DoImageFlipVertical = 0;

    bool operator==(const TransformSettings&) const = default;
};

struct AdjustmentSettings {
    Flag DoImageColorCorrection = 0;
    std::int32_t ImageBrightness = 0;
    std::int32_t ImageContrast = 0;
    float ImageGamma = 0.0f;
    Flag ImageInvert = 0;
    Flag DoImageGreyscale = 0;
    Flag DoImageThreshold = 0;
    std::int32_t ImageThreshold = 0;

    bool operator==(const AdjustmentSettings&) const = default;
};

struct FrameSettings {
    Byte DoFrame = 0;
    std::int32_t SolidLeft = 0;
    std::int32_t SolidRight = 0;
    std::int32_t SolidTop = 0;
    std::int32_t SolidBottom = 0;
    std::string SolidLeftColor;
    std::string SolidRightColor;
    std::string SolidTopColor;
    std::string SolidBottomColor;
    std::int32_t SolidOpacity = 0;

    bool operator==(const FrameSettings&) const = default;
};

struct WatermarkSettings {
    Byte DoWatermark = 0;
    std::string Text;
    std::string Fonts;
    std::string Font;
    std::int32_t FontSize = 0;
    std::int32_t FontLeading = 0;
    std::string FontColors;
    std::string FontColor;
    Byte FontStyle = 0;
    Byte FontEffect = 0;
    Flag TextAntialiasing = 0;
    Byte TextAlignment = 0;
    std::int32_t TextPadding = 0;
    std::int32_t TextOpacity = 0;
    std::string BackColors;
    std::string BackColor;
    std::int32_t BackOpacity = 0;
    Byte TextBoundary = 0;
    Byte TextPosition = 0;
    std::int32_t TextXOffset = 0;
    std::int32_t TextYOffset = 0;
    std::int32_t TextRotation = 0;
    Byte TextSize = 0;
    std::int32_t TextScale = 0;
    std::string Image;
    Flag ImageGreyscale = 0;
    std::int32_t ImageOpacity = 0;
    Byte ImageBoundary = 0;
    Byte ImagePosition = 0;
    std::int32_t ImageXOffset = 0;
    std::int32_t ImageYOffset = 0;
    std::int32_t ImageRotation = 0;
    Byte ImageSize = 0;
    std::int32_t ImageScale = 0;

    bool operator==(const WatermarkSettings&) const = default;
};

struct AdvancedSettings {
    std::string FilenameMask;
    Byte FileTimestamp = 0;
    std::int32_t CustomTimestamp = 0;
    Flag OutFoldersHistory = 0;
    Byte OutFoldersNumber = 0;
    Flag KeepSubfolders = 0;

    bool operator==(const AdvancedSettings&) const = default;
};

struct FileSettings {
    std::string RecentOutFolders;
    std::string RecentFiles;

    bool operator==(const FileSettings&) const = default;
};

struct PrivacySettings {
    Flag CleanRecentFiles = 0;

    bool operator==(const PrivacySettings&) const = default;
};

// The record: one named group per INI group, so that a group can be
// copied, handed to a step and compared on its own.
struct SettingsRecord {
    std::string ConfigFilePath;  // set at window start-up; empty in a command-line job

    GeneralSettings General;
    WindowSettings Window;
    InterfaceSettings Interface;
    InputSettings Input;
    OutputSettings Output;
    TransformSettings Transform;
    AdjustmentSettings Adjustment;
    FrameSettings Frame;
    WatermarkSettings Watermark;
    AdvancedSettings Advanced;
    FileSettings File;
    PrivacySettings Privacy;

    bool operator==(const SettingsRecord&) const = default;
};

// The program's one settings record: the front ends write it, the engine
// only reads it.
extern SettingsRecord Settings;

// Installs every built-in default. The command-line variant differs only
// in [Transform] Keep Aspect Ratio (0 instead of 1).
void ResetSettings(bool forCommandLine);

}  // namespace tarvik
