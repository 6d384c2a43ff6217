#pragma once
// Our own executable's file, held open so that nobody can rename or replace
// it while we run. The graphics probe starts a second copy of us by path, in
// an elevated Orvane with our rights: where the folder is writable by others,
// the file at that path must be, and stay, the one this process runs.

#include <string>

#include "platform/win32/unique_resource.h"

class OwnImageHold {
public:
    // Opens the running executable's file, letting others only read it, and
    // checks that it is the very file this process was started from.
    OwnImageHold();

    // The path of the held file; empty when it could not be held, or when the
    // file at our path is not our image (it was replaced before we held it).
    const std::wstring& path() const { return path_; }

private:
    std::wstring path_;
    UniqueFile file_;  // shared for reading only: no rename, no delete, no write
};
