#pragma once
// Our side of the graphics probe's own process: starts it, takes its one
// answer from a pipe, and ends it when it overruns. Whatever the driver does
// in there, we wait no longer than the deadline, and no child outlives us.

#include <windows.h>

#include <chrono>
#include <string>

#include "platform/graphics_driver.h"
#include "platform/win32/unique_resource.h"

class GraphicsProbeProcess {
public:
    GraphicsProbeProcess() = default;
    // Ends a child that still runs and closes its handles.
    ~GraphicsProbeProcess();
    GraphicsProbeProcess(const GraphicsProbeProcess&) = delete;
    GraphicsProbeProcess& operator=(const GraphicsProbeProcess&) = delete;

    // Starts `exePath` as the probe, without waiting; the deadline runs from
    // now. False when no child could be started.
    bool Start(const std::wstring& exePath, std::chrono::milliseconds deadline);

    // The child's answer, waited for until the deadline at most. A child that
    // overran (DriverHung) or died without a whole answer (DriverFailed) is
    // ended first; without a child, nothing could be probed (NoWindow).
    GraphicsReading Finish();

private:
    // Waits for the child's answer; false when the deadline passed first.
    bool ReadAnswer(std::string& bytes, GraphicsReading& reading, bool& complete);
    void EndChild();

    std::chrono::steady_clock::time_point deadline_{};
    // Closing it ends the child too, however this process ends.
    UniqueHandle job_;
    UniqueHandle process_;
    UniqueFile pipe_;  // our end, read with a deadline
    UniqueHandle readDone_;
};
