#pragma once
// A machine as orvane-check recorded it: every fact the check took from WMI,
// the graphics driver and the file system, as plain values, so that the same
// tables, or others, can be applied to it later.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/graphics_driver.h"
#include "platform/wmi_service.h"

struct RecordedProperty {
    std::wstring name;
    WmiValue value;  // Type::Absent: the class has no property of that name
};

struct RecordedInstance {
    WmiValue name;                             // the instance's "Name"
    std::vector<RecordedProperty> properties;  // as asked, in the order asked
};

struct RecordedAnswer {
    std::wstring wql;
    // nullopt: no answer came (no enumerator, or not in time); an empty list:
    // the query was answered with no instance.
    std::optional<std::vector<RecordedInstance>> instances;
};

// GL_VENDOR, GL_RENDERER, GL_VERSION, GL_SHADING_LANGUAGE_VERSION as the
// driver gave them; nullopt for a string it did not give.
using RecordedGlStrings = std::array<std::optional<std::wstring>, 4>;

struct RecordedProgram {
    std::wstring name;  // as a requirement row names it
    bool present = false;
};

// How the driver answered, as reports and recordings name it: "answered",
// "no-context", "hung", "failed".
const wchar_t* GraphicsOutcomeName(GraphicsReading::Outcome outcome);
std::optional<GraphicsReading::Outcome> GraphicsOutcomeNamed(std::wstring_view name);

struct MachineRecording {
    std::optional<std::wstring> machine;  // the computer name; nullopt when there was none
    std::wstring timeUtc;                 // when the check ran, ISO 8601
    // The document's "wmiReached": false when no connection to WMI could be
    // made, which the answers alone cannot tell from unanswered queries.
    // nullopt when the document does not say.
    std::optional<bool> wmiReached;
    std::optional<std::wstring> wmiNamespace;   // nullopt: no query was asked
    std::vector<RecordedAnswer> answers;        // one per table query asked, in table order
    std::optional<RecordedGlStrings> graphics;  // nullopt: no probe window could be made
    // How the driver answered; nullopt in recordings that do not say, where
    // the strings alone tell an answer from no context.
    std::optional<GraphicsReading::Outcome> graphicsOutcome;
    std::vector<RecordedProgram> programs;      // every program a requirement row names

    // What else of the PC the report depends on; nullopt in recordings made
    // before it was kept, which a replay then takes from the PC it runs on.
    std::optional<std::wstring> productFolder;  // where the programs were looked for, ending in a backslash
    std::optional<bool> remoteSession;          // the check ran in a remote desktop session
    std::optional<wchar_t> decimalSeparator;    // the user's, as the report's numbers show it
    std::optional<unsigned> tableCodePage;      // the code page table files were read in
};
