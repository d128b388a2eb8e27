// The built-in text table of the language catalog: a flat run of pairs,
// ("_GROUP_", name) opening a group, (key, text) an entry of the open group,
// and ("_END_", "") closing the table.
#pragma once

#include <span>

namespace tarvik {

struct CatalogPair {
    const char* First;
    const char* Second;
};

inline constexpr const char* kCatalogGroupMarker = "_GROUP_";
inline constexpr const char* kCatalogEndMarker = "_END_";

// The whole table, end marker included.
std::span<const CatalogPair> BuiltInCatalogTable();

}  // namespace tarvik
