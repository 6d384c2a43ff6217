// The JSON reader and the recording reader, given any bytes.

#include "check_json/json_writer.h"
#include "check_json/recording_json.h"
#include "fuzz_input.h"
#include "recording/json_reader.h"
#include "recording/recording_reader.h"

namespace {

// What the reader hands out is what its callers rely on: strings without lone
// surrogates (so the writer gives the same text back), members sorted with no
// name twice, integers that are their literal.
void CheckNode(const JsonNode& node) {
    auto writtenBack = [](const std::wstring& text) {
        std::string error;
        const std::optional<JsonNode> back = ReadJson(JsonString(text), error);
        Require(back && back->kind == JsonNode::Kind::String && back->text == text);
    };
    if (node.kind == JsonNode::Kind::String) writtenBack(node.text);
    if (node.kind == JsonNode::Kind::Number && node.isInteger)
        Require(std::to_wstring(node.integer) == node.text || node.text == L"-0");
    for (const JsonNode& item : node.items) CheckNode(item);
    for (size_t i = 0; i < node.members.size(); ++i) {
        writtenBack(node.members[i].name);
        Require(i == 0 || node.members[i - 1].name < node.members[i].name);
        Require(node.Find(node.members[i].name) == &node.members[i].value);
        CheckNode(node.members[i].value);
    }
}

// A recording written back as orvane-check writes one.
std::string Rewritten(const MachineRecording& recording) {
    JsonWriter json;
    json.BeginObject();
    json.Key("schemaVersion");
    json.Number(1);
    json.Key("machine");
    json.String(recording.machine.value_or(L""));
    json.Key("timeUtc");
    json.String(recording.timeUtc);
    json.Key("recording");
    WriteRecording(json, recording);
    json.EndObject();
    return json.Finish();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string error;
    const std::optional<JsonNode> json = ReadJson(bytes, error);
    Require(json.has_value() == error.empty());
    if (json) CheckNode(*json);

    const std::optional<MachineRecording> recording = ReadMachineRecording(bytes, error);
    Require(recording.has_value() == error.empty());
    Require(!recording || json);
    if (!recording) return 0;
    // What was read is written back whole: reading that again changes nothing.
    const std::string written = Rewritten(*recording);
    const std::optional<MachineRecording> again = ReadMachineRecording(written, error);
    Require(again && Rewritten(*again) == written);
    return 0;
}
