#include "fleet/recorded_facts.h"

#include <algorithm>

namespace {

wchar_t AsciiLower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

bool ContainsIgnoringCase(const std::wstring& text, const std::wstring& part) {
    return std::search(text.begin(), text.end(), part.begin(), part.end(), [](wchar_t a, wchar_t b) {
               return AsciiLower(a) == AsciiLower(b);
           }) != text.end();
}

}  // namespace

std::wstring RecordedOsVersion(const MachineRecording& recording) {
    for (const RecordedAnswer& answer : recording.answers) {
        if (!answer.instances || !ContainsIgnoringCase(answer.wql, L"Win32_OperatingSystem")) continue;
        for (const RecordedInstance& instance : *answer.instances)
            for (const RecordedProperty& property : instance.properties)
                if (property.name == L"Version" && property.value.type == WmiValue::Type::Bstr)
                    return property.value.text;
    }
    return std::wstring();
}

std::wstring RecordedRenderer(const MachineRecording& recording) {
    return recording.graphics && (*recording.graphics)[1] ? *(*recording.graphics)[1] : std::wstring();
}
