#include "recording/recording_reader.h"

#include <cstdint>
#include <limits>

#include "recording/json_reader.h"

namespace {

using Kind = JsonNode::Kind;

std::wstring Wide(const char* ascii) { return std::wstring(ascii, ascii + std::char_traits<char>::length(ascii)); }

std::string Member(const std::string& path, const char* name) { return path.empty() ? name : path + "." + name; }
std::string Item(const std::string& path, size_t index) { return path + "[" + std::to_string(index) + "]"; }

bool IsIntegerIn(const JsonNode& node, int64_t least, int64_t most) {
    return node.kind == Kind::Number && node.isInteger && node.integer >= least && node.integer <= most;
}

// Walks the document; the first problem found is the one reported.
class RecordingReader {
public:
    std::string error;

    bool Document(const JsonNode& root, MachineRecording& out) {
        if (root.kind != Kind::Object) return Fail("", "the document is not a JSON object");
        const JsonNode* version = Need(root, "schemaVersion", "");
        if (!version) return false;
        if (version->kind != Kind::Number) return Fail("", "schemaVersion is not a number");
        if (!version->isInteger || version->integer != 1)
            return Fail("", "schemaVersion " + TextForMessage(version->text) + " is not 1");
        if (!TextOrNull(root, "machine", "", out.machine) || !Text(root, "timeUtc", "", out.timeUtc)) return false;
        if (const JsonNode* reached = root.Find(L"wmiReached")) {
            if (reached->kind != Kind::Bool) return Fail("wmiReached", "not true or false");
            out.wmiReached = reached->boolean;
        }

        const JsonNode* recording = Need(root, "recording", "");
        if (!recording) return false;
        if (recording->kind != Kind::Object) return Fail("recording", "not an object");
        return TextOrNull(*recording, "wmiNamespace", "recording", out.wmiNamespace) &&
               Answers(*recording, out.answers) && Graphics(*recording, out.graphics) &&
               GraphicsOutcome(*recording, out.graphicsOutcome) &&
               Programs(*recording, out.programs) && PcFacts(*recording, out);
    }

private:
    bool Fail(const std::string& path, const std::string& why) {
        error = path.empty() ? why : path + ": " + why;
        return false;
    }

    const JsonNode* Need(const JsonNode& object, const char* name, const std::string& path) {
        const JsonNode* member = object.Find(Wide(name));
        if (!member) Fail(path, std::string("no \"") + name + "\" member");
        return member;
    }

    const JsonNode* Need(const JsonNode& object, const char* name, const std::string& path, Kind kind,
                         const char* notThatKind) {
        const JsonNode* member = Need(object, name, path);
        if (member && member->kind != kind) {
            Fail(Member(path, name), notThatKind);
            return nullptr;
        }
        return member;
    }

    bool Text(const JsonNode& object, const char* name, const std::string& path, std::wstring& out) {
        const JsonNode* member = Need(object, name, path, Kind::String, "not a string");
        if (member) out = member->text;
        return member != nullptr;
    }

    bool TextOrNull(const JsonNode& object, const char* name, const std::string& path,
                    std::optional<std::wstring>& out) {
        const JsonNode* member = Need(object, name, path);
        if (!member) return false;
        if (member->kind == Kind::Null) return true;
        if (member->kind != Kind::String) return Fail(Member(path, name), "not a string or null");
        out = member->text;
        return true;
    }

    // {"type": ..., "value": ...}, the value as WMI's type gives it.
    bool Typed(const JsonNode& object, const std::string& path, WmiValue& v) {
        std::wstring type;
        const JsonNode* value = nullptr;
        if (!Text(object, "type", path, type) || !(value = Need(object, "value", path))) return false;
        const std::string valuePath = Member(path, "value");
        v = WmiValue{};
        if (type == L"I4") {
            if (!IsIntegerIn(*value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()))
                return Fail(valuePath, "an \"I4\" that is not an integer from -2147483648 to 2147483647");
            v.type = WmiValue::Type::I4;
            v.i4 = static_cast<int32_t>(value->integer);
        } else if (type == L"BSTR") {
            if (value->kind != Kind::String) return Fail(valuePath, "a \"BSTR\" that is not a string");
            v.type = WmiValue::Type::Bstr;
            v.text = value->text;
        } else if (type == L"BOOL") {
            if (value->kind != Kind::Bool) return Fail(valuePath, "a \"BOOL\" that is not true or false");
            v.type = WmiValue::Type::Bool;
            v.boolean = value->boolean;
        } else if (type == L"UI1") {
            if (!IsIntegerIn(*value, 0, 255)) return Fail(valuePath, "a \"UI1\" that is not an integer from 0 to 255");
            v.type = WmiValue::Type::UI1;
            v.ui1 = static_cast<uint8_t>(value->integer);
        } else if (type == L"other" || type == L"absent") {
            if (value->kind != Kind::Null)
                return Fail(valuePath, "not null, as \"" + TextForMessage(type) + "\" has none");
            v.type = type == L"absent" ? WmiValue::Type::Absent : WmiValue::Type::Other;
        } else {
            return Fail(path, "type \"" + TextForMessage(type) + "\" unknown");
        }
        return true;
    }

    bool Instance(const JsonNode& node, const std::string& path, RecordedInstance& out) {
        if (node.kind != Kind::Object) return Fail(path, "not an object");
        const JsonNode* name = Need(node, "name", path, Kind::Object, "not an object");
        const JsonNode* properties = name ? Need(node, "properties", path, Kind::Array, "not an array") : nullptr;
        if (!properties || !Typed(*name, Member(path, "name"), out.name)) return false;
        out.properties.resize(properties->items.size());
        for (size_t i = 0; i < properties->items.size(); ++i) {
            const JsonNode& item = properties->items[i];
            const std::string at = Item(Member(path, "properties"), i);
            if (item.kind != Kind::Object) return Fail(at, "not an object");
            if (!Text(item, "name", at, out.properties[i].name) || !Typed(item, at, out.properties[i].value))
                return false;
        }
        return true;
    }

    bool Answers(const JsonNode& recording, std::vector<RecordedAnswer>& out) {
        const JsonNode* answers = Need(recording, "answers", "recording", Kind::Array, "not an array");
        if (!answers) return false;
        out.resize(answers->items.size());
        for (size_t a = 0; a < answers->items.size(); ++a) {
            const JsonNode& answer = answers->items[a];
            const std::string at = Item("recording.answers", a);
            if (answer.kind != Kind::Object) return Fail(at, "not an object");
            const JsonNode* instances = nullptr;
            if (!Text(answer, "wql", at, out[a].wql) || !(instances = Need(answer, "instances", at))) return false;
            if (instances->kind == Kind::Null) continue;
            if (instances->kind != Kind::Array) return Fail(Member(at, "instances"), "not an array or null");
            out[a].instances.emplace(instances->items.size());
            for (size_t i = 0; i < instances->items.size(); ++i)
                if (!Instance(instances->items[i], Item(Member(at, "instances"), i), (*out[a].instances)[i]))
                    return false;
        }
        return true;
    }

    bool Graphics(const JsonNode& recording, std::optional<RecordedGlStrings>& out) {
        static const char* const kNames[] = {"vendor", "renderer", "version", "shadingLanguageVersion"};
        const JsonNode* graphics = Need(recording, "graphics", "recording");
        if (!graphics) return false;
        if (graphics->kind == Kind::Null) return true;
        if (graphics->kind != Kind::Object) return Fail("recording.graphics", "not an object or null");
        out.emplace();
        for (size_t k = 0; k < out->size(); ++k)
            if (!TextOrNull(*graphics, kNames[k], "recording.graphics", (*out)[k])) return false;
        return true;
    }

    bool GraphicsOutcome(const JsonNode& recording, std::optional<GraphicsReading::Outcome>& out) {
        const JsonNode* driver = recording.Find(L"graphicsDriver");
        if (!driver) return true;  // recorded before the probe told how the driver answered
        if (driver->kind == Kind::String) out = GraphicsOutcomeNamed(driver->text);
        if (!out) return Fail("recording.graphicsDriver", "not \"answered\", \"no-context\", \"hung\" or \"failed\"");
        return true;
    }

    // Members recordings have had only since they were added: each optional.
    bool PcFacts(const JsonNode& recording, MachineRecording& out) {
        if (const JsonNode* folder = recording.Find(L"productFolder")) {
            if (folder->kind != Kind::String) return Fail("recording.productFolder", "not a string");
            out.productFolder = folder->text;
        }
        if (const JsonNode* remote = recording.Find(L"remoteSession")) {
            if (remote->kind != Kind::Bool) return Fail("recording.remoteSession", "not true or false");
            out.remoteSession = remote->boolean;
        }
        if (const JsonNode* separator = recording.Find(L"decimalSeparator")) {
            // One UTF-16 unit, as Windows gives it, wherever the recording is read.
            if (separator->kind != Kind::String || separator->text.size() != 1 ||
                static_cast<uint32_t>(separator->text[0]) > 0xFFFF)
                return Fail("recording.decimalSeparator", "not a string of one character");
            out.decimalSeparator = separator->text[0];
        }
        if (const JsonNode* codePage = recording.Find(L"tableCodePage")) {
            if (!IsIntegerIn(*codePage, 1, 65535))
                return Fail("recording.tableCodePage", "not an integer from 1 to 65535");
            out.tableCodePage = static_cast<unsigned>(codePage->integer);
        }
        return true;
    }

    bool Programs(const JsonNode& recording, std::vector<RecordedProgram>& out) {
        const JsonNode* programs = Need(recording, "programs", "recording", Kind::Array, "not an array");
        if (!programs) return false;
        out.resize(programs->items.size());
        for (size_t i = 0; i < programs->items.size(); ++i) {
            const JsonNode& program = programs->items[i];
            const std::string at = Item("recording.programs", i);
            if (program.kind != Kind::Object) return Fail(at, "not an object");
            const JsonNode* present = nullptr;
            if (!Text(program, "name", at, out[i].name) ||
                !(present = Need(program, "present", at, Kind::Bool, "not true or false")))
                return false;
            out[i].present = present->boolean;
        }
        return true;
    }
};

}  // namespace

std::optional<MachineRecording> ReadMachineRecording(std::string_view utf8, std::string& error) {
    const std::optional<JsonNode> root = ReadJson(utf8, error);
    if (!root) {
        error = "not JSON: " + error;
        return std::nullopt;
    }
    RecordingReader reader;
    MachineRecording recording;
    if (!reader.Document(*root, recording)) {
        error = reader.error;
        return std::nullopt;
    }
    error.clear();
    return recording;
}
