#pragma once
// A recorded machine standing in for the live one: WMI, the graphics driver
// and the product's folder answer from the recording, so that the one check
// run decides about it as it would on the machine itself.

#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/graphics_driver.h"
#include "platform/text_codec.h"
#include "platform/wmi_service.h"
#include "recording/machine_recording.h"

class RecordedMachine {
public:
    // files: where the tables are read (and anything else but the product's
    // folder); codec: how they are decoded. exeDir: the folder the check looks
    // for the product in. All must outlive this object's use by a check run.
    RecordedMachine(MachineRecording recording, FileSystem& files, TextCodec& codec, std::wstring exeDir);
    ~RecordedMachine();

    RecordedMachine(const RecordedMachine&) = delete;
    RecordedMachine& operator=(const RecordedMachine&) = delete;

    const MachineRecording& Recording() const;

    // Answers every query from the recorded answers to the same WQL; a
    // property not among them reads as absent, a query not among them gets
    // no answer, and both are noted as unrecorded.
    WmiService& Wmi();
    // The recorded strings, as UTF-8.
    GraphicsDriver& Graphics();
    // The tables as before; the driver strings (system ANSI) as UTF-8.
    TextCodec& Codec();
    // Files as before; a program in the product's folder as recorded, an
    // unrecorded one as missing.
    FileSystem& Files();

    // What the check asked that the recording lacks, each once, in the order
    // asked: "WQL: property" or "program NAME".
    std::vector<std::wstring> Unrecorded() const;

private:
    struct Shared;
    class RecordedWmi;
    class RecordedGraphics;
    class Utf8DriverCodec;
    class ProductFolder;

    std::shared_ptr<Shared> shared_;  // also held by sessions a WMI thread may still have
    std::unique_ptr<RecordedWmi> wmi_;
    std::unique_ptr<RecordedGraphics> graphics_;
    std::unique_ptr<Utf8DriverCodec> codec_;
    std::unique_ptr<ProductFolder> files_;
};
