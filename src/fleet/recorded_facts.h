#pragma once
// Facts of a recording that the fleet's outputs show whatever the tables ask.

#include <string>

#include "recording/machine_recording.h"

// Win32_OperatingSystem's Version as WMI gave it; empty when not recorded.
std::wstring RecordedOsVersion(const MachineRecording& recording);

// GL_RENDERER as the driver gave it; empty when it gave none.
std::wstring RecordedRenderer(const MachineRecording& recording);
