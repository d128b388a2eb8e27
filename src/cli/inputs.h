// The inputs of a command-line job: the -i value, further plain words and
// wildcard patterns, checked and added to the input list.
#pragma once

#include <string>
#include <vector>

namespace tarvik {

// Plain words after -i (what a shell makes of "-i *.jpg"); the -i value
// itself is Job.InputPath.
extern std::vector<std::string> ExtraInputWords;

// The folder part of a path, up to and including its last "/"; "" without one.
std::string FolderPart(const std::string& path);

// The characters after the last "." of the path, unless a blank or a
// separator follows that dot or the dot begins a name; "" when there is none.
std::string PathExtension(const std::string& path);

// Expands Job.InputPath and ExtraInputWords into existing, non-empty files
// (patterns as glob(7), non-recursive), absolute against the current
// folder. At the first word that has no extension or matches no such file
// it stops and returns the detail line naming that word and why ("  a.jpg:
// No such file or directory"); "" when every word gave files.
std::string ResolveInputs(std::vector<std::string>& files);

// Adds the files with an accepted extension to InputList, skipping list
// files ("txt", "lst") and a file already listed under any spelling of its
// path ("a.jpg", "./a.jpg", through a linked folder); returns how many were
// added.
int AddInputs(const std::vector<std::string>& files);

}  // namespace tarvik
