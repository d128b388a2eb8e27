// The detail line under an error or a warning about a file or a folder:
// the path as the user gave it and why the check refused it, both front
// ends alike ("  nosuch.jpg: No such file or directory"). The causes are
// catalog texts; "" means the path passes.
#pragma once

#include <string>
#include <string_view>

namespace tarvik {

// Why the path is not an existing regular file of more than 0 bytes.
std::string FileCause(const std::string& path);
// Why the path is not an existing folder.
std::string FolderCause(const std::string& path);
// Why the file cannot be read (an empty file can).
std::string ReadableFileCause(const std::string& path);
// The cause of a failed look-up or open, by its error number.
std::string ErrorCause(int error);

// The accepted input extensions for a cause: ".jpg, .jpeg, .jpe, .jif".
std::string AcceptedExtensionsText();

// A pattern as the detail line shows it, in quotes.
std::string QuotedPattern(std::string_view pattern);

// "  PATH: CAUSE". The values go in as they are: a placeholder inside a
// path is not expanded.
std::string PathDetailLine(std::string_view shownPath, std::string_view cause);

}  // namespace tarvik
