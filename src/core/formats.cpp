#include "core/formats.h"

#include <charconv>

#include "core/setting_values.h"
#include "core/settings.h"
#include "core/settings_table.h"
#include "core/text.h"

namespace tarvik {

std::vector<std::string> InputFormats;
std::vector<std::string> OutputFormats;

namespace {

// FreeImage ids and flag values, spelled as numbers so that core needs no
// FreeImage header.
const std::vector<FormatRecord> kOutputTable = {
    {0, "bmp", "Windows or OS/2 Bitmap", "1,4,8,16,24,32"},
    {29, "exr", "ILM OpenEXR", "96"},
    {25, "gif", "Graphics Interchange Format", "8"},
    {26, "hdr", "High Dynamic Range Image", "96"},
    {1, "ico", "Windows Icon", "1,4,8,16,24,32"},
    {30, "j2k", "JPEG-2000 Codestream", "8,24,32,48"},
    {3, "jng", "JPEG Network Graphics", "24,32"},
    {31, "jp2", "JPEG-2000 File Format", "8,24,32,48"},
    {2, "jpg", "JPEG File Format", "8,24"},
    {36, "jxr", "JPEG XR Image Format", "1,8,16,24,32,48,96"},
    {7, "pbm", "Portable Bitmap", "1"},
    {32, "pfm", "Portable Floatmap", "96"},
    {11, "pgm", "Portable Greymap", "8"},
    {13, "png", "Portable Network Graphics", "1,4,8,24,32,48"},
    {14, "ppm", "Portable Pixelmap", "24,48"},
    {17, "tga", "Truevision Targa", "8,16,24,32"},
    {18, "tiff", "Tagged Image File Format", "1,4,8,24,32,48,96"},
    {19, "wbmp", "Wireless Bitmap", "1"},
    {35, "webp", "Google WebP Image Format", "24,32"},
    {23, "xpm", "X11 Pixmap Format", "24"},
};

InputFormatRow In(std::string_view ext, std::string_view key, std::string_view description) {
    return {ext, {0, key, description, {}}};
}

std::vector<InputFormatRow> MakeInputTable() {
    std::vector<InputFormatRow> t = {
        In("bmp", "bmp", "Windows or OS/2 Bitmap"),
        In("rle", "bmp", "Windows or OS/2 Bitmap"),
        In("dib", "bmp", "Windows or OS/2 Bitmap"),
        In("dds", "dds", "DirectDraw Surface File"),
        In("emf", "emf", "Enhanced Metafile Format"),
        In("emz", "emf", "Enhanced Metafile Format"),
        In("gif", "gif", "GIF File"),
        In("hdr", "hdr", "High Dynamic Range File"),
        In("hdri", "hdr", "High Dynamic Range File"),
        In("ico", "ico", "Windows Icon"),
        In("jpg", "jpg", "JPEG File"),
        In("jpeg", "jpg", "JPEG File"),
        In("jpe", "jpg", "JPEG File"),
        In("jif", "jpg", "JPEG File"),
        In("pcd", "pcd", "Kodak PhotoCD File"),
        In("pcd1", "pcd", "Kodak PhotoCD File"),
        In("pcds", "pcd", "Kodak PhotoCD File"),
        In("ppcd", "pcd", "Kodak PhotoCD File"),
        In("pcx", "pcx", "ZSoft Paintbrush File"),
        In("pic", "pic", "Macintosh PICT"),
        In("pict", "pic", "Macintosh PICT"),
        In("pct", "pic", "Macintosh PICT"),
        In("png", "png", "Portable Network Graphics"),
        In("psd", "psd", "Adobe Photoshop File"),
        In("tga", "tga", "Truevision Targa"),
        In("targa", "tga", "Truevision Targa"),
        In("tiff", "tiff", "Tagged Image File Format"),
        In("tif", "tiff", "Tagged Image File Format"),
        In("wmf", "wmf", "Windows Metafile Format"),
        In("wmz", "wmf", "Windows Metafile Format"),
        In("apm", "wmf", "Aldus Placeable Metafile"),
    };
    struct Raw {
        std::string_view exts;
        std::string_view description;
    };
    const Raw raws[] = {
        {"raw raw1 raw2", "Camera RAW Image"},
        {"3fr", "Hasselblad Camera RAW Image"},
        {"arw sr2 srf", "Sony Camera RAW Image"},
        {"bay", "Casio Camera RAW Image"},
        {"bmq", "NuCore RAW Image"},
        {"cap iiq eip", "Phase One Camera RAW Image"},
        {"cine", "Phantom RAW Image"},
        {"cr2 crw", "Canon Camera RAW Image"},
        {"cs1", "Capture Shop RAW Image"},
        {"dc2 dcr drf dsc k25 kc2 kdc dcs", "Kodak Camera RAW Image"},
        {"dng", "Adobe Digital Negative Image"},
        {"erf", "Epson Camera RAW Image"},
        {"fff", "Imacon Camera RAW Image"},
        {"ia sti", "Sinar RAW Image"},
        {"mdc mrw", "Minolta Camera RAW Image"},
        {"mef mos", "Mamiya Camera RAW Image"},
        {"nef nrw", "Nikon Camera RAW Image"},
        {"orf", "Olympus Camera RAW Image"},
        {"pef ptx", "Pentax Camera RAW Image"},
        {"pxn", "Logitech Camera RAW Image"},
        {"qtk", "Apple Quicktake Camera RAW Image"},
        {"raf", "Fuji Camera RAW Image"},
        {"rdc", "Digital Foto Maker RAW Image"},
        {"rw2", "Panasonic Camera RAW Image"},
        {"rwz", "Rawzor Camera RAW Image"},
        {"x3f", "Sigma Camera RAW Image"},
        {"ari", "ARRI RAW Image"},
        {"r3d", "RED RAW Image"},
        {"rwl", "Leica Camera RAW Image"},
    };
    for (const Raw& r : raws) {
        std::string_view rest = r.exts;
        while (!rest.empty()) {
            const std::size_t blank = rest.find(' ');
            t.push_back(In(rest.substr(0, blank), "raw", r.description));
            rest = blank == std::string_view::npos ? std::string_view{} : rest.substr(blank + 1);
        }
    }
    return t;
}

// Calls fn with each depth of a BppList, left to right, until fn returns true.
template <class Fn>
bool ForEachBpp(std::string_view list, Fn fn) {
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const std::string_view field = list.substr(0, comma);
        int bpp = 0;
        std::from_chars(field.data(), field.data() + field.size(), bpp);
        if (fn(bpp)) {
            return true;
        }
        list = comma == std::string_view::npos ? std::string_view{} : list.substr(comma + 1);
    }
    return false;
}

int Pick(int value, std::initializer_list<int> flags) {
    if (value < 0 || value >= static_cast<int>(flags.size())) {
        return 0;
    }
    return *(flags.begin() + value);
}

}  // namespace

void CreateFormatLists() {
    InputFormats = {"jpg"};
    OutputFormats = {"bmp"};
}

const std::vector<FormatRecord>& OutputFormatTable() {
    return kOutputTable;
}

const std::vector<InputFormatRow>& InputFormatTable() {
    static const std::vector<InputFormatRow> table = MakeInputTable();
    return table;
}

const FormatRecord* OutputFormatRecord(std::string_view key) {
    for (const FormatRecord& r : kOutputTable) {
        if (r.Key == key) {
            return &r;
        }
    }
    return nullptr;
}

const FormatRecord* InputFormatRecord(std::string_view extension) {
    for (const InputFormatRow& r : InputFormatTable()) {
        if (r.Extension == extension) {
            return &r.Record;
        }
    }
    return nullptr;
}

bool IsValidOutputFormat(std::string_view key) {
    for (const std::string& f : OutputFormats) {
        if (f == key) {
            return true;
        }
    }
    return false;
}

bool IsValidOutputBpp(std::string_view key, int bpp) {
    if (bpp == 0) {
        return true;
    }
    const FormatRecord* r = OutputFormatRecord(key);
    return r != nullptr && ForEachBpp(r->BppList, [&](int b) { return b == bpp; });
}

int AutoOutputBpp(std::string_view key, int sourceBpp) {
    const FormatRecord* r = OutputFormatRecord(key);
    if (r == nullptr) {
        return 0;
    }
    int last = 0;
    int chosen = 0;
    ForEachBpp(r->BppList, [&](int b) {
        last = b;
        if (b >= sourceBpp) {
            chosen = b;
            return true;
        }
        return false;
    });
    return chosen != 0 ? chosen : last;
}

int OutputSaveFlags(std::string_view key) {
    const auto& o = Settings.Output;
    if (key == "bmp") {
        return Pick(o.BmpCompression, {0, 1});
    }
    if (key == "exr") {
        return Pick(o.ExrCompression, {0x0002, 0x0004, 0x0008, 0x0010, 0x0020});
    }
    if (key == "jpg") {
        return o.JpgQuality | Pick(o.JpgChroma, {0x10000, 0x8000, 0x4000, 0x1000}) |
               Pick(o.JpgSaveAs, {0, 0x40000, 0x20000, 0x2000});
    }
    if (key == "jxr") {
        return 100;
    }
    if (key == "png") {
        return Pick(o.PngCompression, {0x0100, 1, 6, 9}) | (o.PngInterlaced != 0 ? 0x0200 : 0);
    }
    if (key == "tga") {
        return Pick(o.TgaCompression, {0, 2});
    }
    if (key == "tiff") {
        return Pick(o.TiffCompression,
                    {0x0800, 0x1000, 0x2000, 0x0100, 0x0200, 0x0400, 0x4000, 0x8000, 0x10000}) |
               (ValueOf<ColorModel>(o.TiffColorModel) == ColorModel::Cmyk ? 0x0001 : 0);
    }
    if (key == "webp") {
        return o.WebpQuality == 100 ? 0x0100 : o.WebpQuality;
    }
    return 0;
}

int OutputBppSetting(std::string_view key) {
    const SettingRow* row = FindSetting("Output", UpperAscii(key) + " BPP");
    return row == nullptr ? 0 : static_cast<int>(FieldNumber(row->field, Settings));
}

std::vector<std::string> BuildAcceptedExtensions() {
    std::vector<std::string> out;
    for (const std::string& format : InputFormats) {
        for (const InputFormatRow& r : InputFormatTable()) {
            if (r.Record.Key == format) {
                out.emplace_back(r.Extension);
            }
        }
    }
    return out;
}

}  // namespace tarvik
