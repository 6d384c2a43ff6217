#pragma once
// The running executable's own path and name.

#include <string>

// Full path of the executable, read whole however long; empty when it cannot be read.
std::wstring ExecutableFilePath();

// The executable's file name without its extension: the caption of our message boxes.
std::wstring ApplicationTitle();
