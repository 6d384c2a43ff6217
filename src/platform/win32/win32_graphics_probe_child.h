#pragma once
// The graphics probe's own process: this same program, started with an
// internal argument that no user types. It reads the driver's strings, sends
// them through the pipe it was handed, and ends; a crash in the driver ends it
// quietly, without a crash dialog.

#include <windows.h>

#include <optional>
#include <string>

// What a probe is started with, both inherited: the pipe it answers into,
// and the process it answers to, which it ends with.
struct GraphicsProbeHandles {
    HANDLE pipe;
    HANDLE parent;  // SYNCHRONIZE only
};

// The command line that starts `exePath` as the probe with these handles.
std::wstring GraphicsProbeCommandLine(const std::wstring& exePath, const GraphicsProbeHandles& handles);

// The handles of a command line made by GraphicsProbeCommandLine; nullopt
// for every other command line.
std::optional<GraphicsProbeHandles> GraphicsProbeHandlesOf(const wchar_t* commandLine);

// Called first thing by each program's entry point: when this process is the
// probe, runs it and returns the exit code; nullopt for any other start.
std::optional<int> RunAsGraphicsProbeIfAsked();
