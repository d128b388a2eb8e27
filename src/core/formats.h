// The format tables: every format the engine knows, and the build's two
// short lists that narrow it to one conversion (jpg -> bmp).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarvik {

struct FormatRecord {
    int FormatId = 0;      // FreeImage format id; 0 in the input table
    std::string_view Key;  // canonical format key
    std::string_view Description;
    std::string_view BppList;  // "1,4,8" smallest first; empty in the input table
};

// The build's permitted format keys.
extern std::vector<std::string> InputFormats;
extern std::vector<std::string> OutputFormats;

// Fills InputFormats ("jpg") and OutputFormats ("bmp"). The tables
// themselves are constant.
void CreateFormatLists();

// Row lookups by key: output by format key, input by lower-case extension.
// Null when there is no row.
const FormatRecord* OutputFormatRecord(std::string_view key);
const FormatRecord* InputFormatRecord(std::string_view extension);

// Rows in table order, with their keys (the input table is keyed by
// extension, which differs from the canonical key).
struct InputFormatRow {
    std::string_view Extension;
    FormatRecord Record;
};
const std::vector<FormatRecord>& OutputFormatTable();
const std::vector<InputFormatRow>& InputFormatTable();

bool IsValidOutputFormat(std::string_view key);
bool IsValidOutputBpp(std::string_view key, int bpp);
int AutoOutputBpp(std::string_view key, int sourceBpp);
// The FreeImage save flags for the key, read from Settings.
int OutputSaveFlags(std::string_view key);

// The bit-depth setting of an output format ([Output] BMP BPP for "bmp");
// 0 for a key without one.
int OutputBppSetting(std::string_view key);

// Lower-case extensions whose canonical key is in InputFormats, in table
// order (jpg, jpeg, jpe, jif).
std::vector<std::string> BuildAcceptedExtensions();

}  // namespace tarvik
