// The program's identity and fixed texts that are not translated.
#pragma once

#include <string>
#include <string_view>

namespace tarvik {

inline constexpr std::string_view ProductTitle = "Quorvane JPG to BMP";
inline constexpr int VersionNumber = 280;
inline constexpr std::string_view ProgramShortName = "tarvik";
inline constexpr std::string_view HomePageUrl = "https://www.quorvane.example/tarvik/";
inline constexpr std::string_view SupportMailAddress = "support@quorvane.example";
inline constexpr std::string_view CopyrightNotice =
    "Copyright (c) 2026 Quorvane. All rights reserved.";

// The maker's web server and the pages on it besides the home page.
inline constexpr std::string_view WebServerUrl = "https://www.quorvane.example";
inline constexpr std::string_view FinderSearchPath = "/find/";
inline constexpr std::string_view UninstallPagePath = "/tarvik/uninstall.html";
static_assert(HomePageUrl.starts_with(WebServerUrl));

// 280 -> "2.8", 281 -> "2.8.1".
std::string VersionDisplay(int number = VersionNumber);
// "Quorvane JPG to BMP 2.8".
std::string FullTitle();
// The first blank-separated word of the title: the config brand folder.
std::string BrandWord();

}  // namespace tarvik
