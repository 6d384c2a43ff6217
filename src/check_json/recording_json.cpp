#include "check_json/recording_json.h"

namespace {

void TextOrNull(JsonWriter& json, const std::optional<std::wstring>& text) {
    if (text)
        json.String(*text);
    else
        json.Null();
}

// The members "type" and "value" of one value, in the current object.
void WriteTyped(JsonWriter& json, const WmiValue& value) {
    json.Key("type");
    switch (value.type) {
        case WmiValue::Type::I4:
            json.String(L"I4");
            json.Key("value");
            json.Number(value.i4);
            return;
        case WmiValue::Type::Bstr:
            json.String(L"BSTR");
            json.Key("value");
            json.String(value.text);
            return;
        case WmiValue::Type::Bool:
            json.String(L"BOOL");
            json.Key("value");
            json.Bool(value.boolean);
            return;
        case WmiValue::Type::UI1:
            json.String(L"UI1");
            json.Key("value");
            json.Number(value.ui1);
            return;
        case WmiValue::Type::Other:
        case WmiValue::Type::Absent:
            break;
    }
    json.String(value.type == WmiValue::Type::Absent ? L"absent" : L"other");
    json.Key("value");
    json.Null();
}

void WriteInstance(JsonWriter& json, const RecordedInstance& instance) {
    json.BeginObject();
    json.Key("name");
    json.BeginObject();
    WriteTyped(json, instance.name);
    json.EndObject();
    json.Key("properties");
    json.BeginArray();
    for (const RecordedProperty& property : instance.properties) {
        json.BeginObject();
        json.Key("name");
        json.String(property.name);
        WriteTyped(json, property.value);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

}  // namespace

void WriteRecording(JsonWriter& json, const MachineRecording& recording) {
    static const char* const kGlNames[] = {"vendor", "renderer", "version", "shadingLanguageVersion"};
    json.BeginObject();
    json.Key("wmiNamespace");
    TextOrNull(json, recording.wmiNamespace);
    json.Key("answers");
    json.BeginArray();
    for (const RecordedAnswer& answer : recording.answers) {
        json.BeginObject();
        json.Key("wql");
        json.String(answer.wql);
        json.Key("instances");
        if (answer.instances) {
            json.BeginArray();
            for (const RecordedInstance& instance : *answer.instances) WriteInstance(json, instance);
            json.EndArray();
        } else {
            json.Null();
        }
        json.EndObject();
    }
    json.EndArray();
    json.Key("graphics");
    if (recording.graphics) {
        json.BeginObject();
        for (size_t k = 0; k < recording.graphics->size(); ++k) {
            json.Key(kGlNames[k]);
            TextOrNull(json, (*recording.graphics)[k]);
        }
        json.EndObject();
    } else {
        json.Null();
    }
    if (recording.graphicsOutcome) {
        json.Key("graphicsDriver");
        json.String(GraphicsOutcomeName(*recording.graphicsOutcome));
    }
    json.Key("programs");
    json.BeginArray();
    for (const RecordedProgram& program : recording.programs) {
        json.BeginObject();
        json.Key("name");
        json.String(program.name);
        json.Key("present");
        json.Bool(program.present);
        json.EndObject();
    }
    json.EndArray();
    if (recording.productFolder) {
        json.Key("productFolder");
        json.String(*recording.productFolder);
    }
    if (recording.remoteSession) {
        json.Key("remoteSession");
        json.Bool(*recording.remoteSession);
    }
    if (recording.decimalSeparator) {
        json.Key("decimalSeparator");
        json.String(std::wstring(1, *recording.decimalSeparator));
    }
    if (recording.tableCodePage) {
        json.Key("tableCodePage");
        json.Number(*recording.tableCodePage);
    }
    json.EndObject();
}

void WriteReplaySource(JsonWriter& json, const ReplaySource& source) {
    json.BeginObject();
    json.Key("file");
    json.String(source.file);
    json.Key("machine");
    TextOrNull(json, source.machine);
    json.Key("timeUtc");
    json.String(source.timeUtc);
    json.Key("unrecorded");
    json.BeginArray();
    for (const std::wstring& fact : source.unrecorded) json.String(fact);
    json.EndArray();
    json.EndObject();
}
