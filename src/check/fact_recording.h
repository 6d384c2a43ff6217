#pragma once
// Keeping the raw facts of a check as it takes them, so that the same check
// can be made again later from a recording of them.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/graphics_driver.h"
#include "platform/text_codec.h"
#include "probes/wmi_queries.h"
#include "recording/machine_recording.h"
#include "tables/orvane_rec.h"
#include "tables/wmi_records.h"

// Hands out the driver's strings and keeps what it handed out.
class GraphicsDriverRecorder : public GraphicsDriver {
public:
    explicit GraphicsDriverRecorder(GraphicsDriver& driver) : driver_(driver) {}
    void Begin() override { driver_.Begin(); }
    GraphicsReading ReadDriverStrings() override {
        reading_ = driver_.ReadDriverStrings();
        return reading_;
    }
    // Each string as the probe decodes it; nullopt when no probe window could be made.
    std::optional<RecordedGlStrings> Recorded(TextCodec& codec) const;

private:
    GraphicsDriver& driver_;
    GraphicsReading reading_;
};

// The answer to table query tableIndex, at its place in table order among
// those recorded so far (recordedIndices: the table index of each).
void RecordQueryAnswer(const CWMI& table, size_t tableIndex, const QueryAnswer& answer, MachineRecording& recording,
                       std::vector<size_t>& recordedIndices);

// Whether each program the rows name (each name once, in row order) is in exeDir.
std::vector<RecordedProgram> RecordPrograms(const std::vector<OrvaneRec>& rows, const std::wstring& exeDir,
                                            FileSystem& files);
