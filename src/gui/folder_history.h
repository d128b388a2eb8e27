// The output-folder history kept in [File] Recent Out Folders, the
// relative sub-folder of an input, the input-file acceptance test and the
// open-file dialog's filter. No widgets here.
#pragma once

#include <QStringList>

#include <string>

namespace tarvik {

// "" when path or base is empty; otherwise the folder part of path with
// every occurrence of base removed, or "" when base does not occur in it.
std::string RelativeFolder(const std::string& path, const std::string& base);

// Entry i (from 0) of the history, trimmed; "" when there is none.
std::string RecentOutputFolder(int i);

// Puts folder at the head of the history, dropping an entry that names the
// same folder in any letter case and the entries beyond [Advanced] Out
// Folders Number. 0 for an empty folder (history unchanged), else 1.
int RememberOutputFolder(const std::string& folder);

// The test AddInputFile applies: not an empty file, and an accepted
// extension (any letter case). A missing path or a folder passes the size
// test.
bool IsAcceptedInputFile(const std::string& path);

// The open-file dialog's filter as name|patterns pairs joined by "|":
// all supported patterns, one choice per format description, all files.
std::string InputFileFilter();

// The same choices in the form of the Qt file dialog ("Name (*.a *.b)").
QStringList DialogFilters(const std::string& filter);

}  // namespace tarvik
