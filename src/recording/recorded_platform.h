#pragma once
// A recorded machine standing in for the live one: WMI, the graphics driver,
// the product's folder, the session and the locale answer from the recording,
// so that the one check run decides and reports about it as it would on the
// machine itself, whatever PC replays it.

#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/graphics_driver.h"
#include "platform/system_info.h"
#include "platform/text_codec.h"
#include "platform/wmi_service.h"
#include "recording/machine_recording.h"

// True for an unrecorded fact of the PC (taken from the one that replays),
// false for one counted as absent.
bool IsFactOfThePc(const std::wstring& unrecorded);

class RecordedMachine {
public:
    // files: where the tables are read (and anything else but the product's
    // folder); codec: how they are decoded; system: this PC, for what the
    // recording does not say. exeDir: the folder the check looks for the
    // product in when the recording does not name it. All must outlive this
    // object's use by a check run.
    RecordedMachine(MachineRecording recording, FileSystem& files, TextCodec& codec, SystemInfo& system,
                    std::wstring exeDir);
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
    // The driver strings (system ANSI) as UTF-8; table files in the recorded
    // code page; built-in tables as before.
    TextCodec& Codec();
    // Files as before; a program in the product's folder as recorded, an
    // unrecorded one as missing.
    FileSystem& Files();
    // This PC, but for the recorded decimal separator and remote session.
    SystemInfo& System();
    // The folder the check looks for the product in: the recorded one.
    const std::wstring& ProductFolder() const;

    // What the check asked that the recording lacks, each once, in the order
    // asked: "WQL: property" or "program NAME" (counted as absent), or the
    // name of a fact of the PC (taken from this one): "productFolder",
    // "remoteSession", "decimalSeparator", "tableCodePage".
    std::vector<std::wstring> Unrecorded() const;

private:
    struct Shared;
    class RecordedWmi;
    class RecordedGraphics;
    class RecordedCodec;
    class ProductFiles;
    class RecordedSystem;

    std::shared_ptr<Shared> shared_;  // also held by sessions a WMI thread may still have
    std::unique_ptr<RecordedWmi> wmi_;
    std::unique_ptr<RecordedGraphics> graphics_;
    std::unique_ptr<RecordedCodec> codec_;
    std::unique_ptr<ProductFiles> files_;
    std::unique_ptr<RecordedSystem> system_;
    std::wstring productFolder_;
};
