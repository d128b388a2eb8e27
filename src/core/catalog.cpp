// Interim catalog: the full built-in table replaces this file.
#include "core/catalog.h"

#include <map>
#include <utility>

#include "core/text.h"

namespace tarvik {
namespace {
std::map<std::pair<std::string, std::string>, std::string> g_texts;
}

void BuildCatalog() {
    g_texts.clear();
    auto add = [](const char* g, const char* k, const char* t) {
        g_texts[{UpperAscii(g), UpperAscii(k)}] = t;
    };
    add("General", "Preparing", "Preparing...");
    add("General", "Importing", "Importing...");
    add("General", "Converting", "Converting...");
    add("Msg", "Error", "Error");
    add("Msg", "Import complete", "Import complete, new files added: %s1%");
    add("Msg", "Conversion complete", "Conversion complete");
    add("Msg", "Conversion is not complete", "Conversion stopped");
    add("Msg", "Files converted", "Files converted: %s1% of %s2%");
    add("Msg", "Empty input files", "No input file(s) found. Please, add valid file(s) and try again!");
    for (const char* k : {"Incorrect number of parameters", "Invalid profile file", "Invalid input file",
                          "Incorrect output folder", "Invalid output folder", "Invalid conversion type",
                          "Invalid bmp-bpp value", "Invalid width value", "Invalid height value",
                          "Invalid brightness value", "Invalid contrast value", "Invalid gamma value",
                          "Invalid watermark font", "Invalid watermark image"}) {
        add("Console", k, k);
    }
    add("Console", "Press any key", "Press any key to exit.");
    add("Console", "Window unavailable", "Window mode is not available in this build.");
    add("Console", "Help", "Usage: %s1% -i <filename> [options]");
    add("Debug", "Processing", "Processing: ");
    add("Debug", "Saving As", "Saving As: ");
    add("Debug", "OK", "OK");
    add("Debug", "Not OK", "Not OK");
}

std::string CatalogText(std::string_view group, std::string_view key) {
    const auto it = g_texts.find({UpperAscii(group), UpperAscii(key)});
    if (it != g_texts.end()) {
        return it->second;
    }
    if (EqualsNoCase(group, "Debug")) {
        return std::string(key) + ": ";
    }
    return std::string(kNoStringError);
}

std::string FillPlaceholders(std::string_view text, std::string_view s1, std::string_view s2,
                             std::string_view s3, std::string_view s4) {
    std::string out(text);
    const std::string_view values[] = {s1, s2, s3, s4};
    const char* names[] = {"%s1%", "%s2%", "%s3%", "%s4%"};
    for (int i = 0; i < 4; ++i) {
        if (!values[i].empty()) {
            out = ReplaceAllNoCase(out, names[i], values[i]);
        }
    }
    return out;
}

}  // namespace tarvik
