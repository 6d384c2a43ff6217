#include "check_json/json_writer.h"

#include <cstdint>

#include "encoding/utf8_encoding.h"

std::string JsonString(std::wstring_view text) {
    static const char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    size_t runStart = 0;
    auto flushRun = [&](size_t end) {
        out += EncodeUtf8(text.substr(runStart, end - runStart));
        runStart = end + 1;
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c != L'"' && c != L'\\' && static_cast<uint32_t>(c) >= 0x20) continue;
        flushRun(i);
        switch (c) {
            case L'"': out += "\\\""; break;
            case L'\\': out += "\\\\"; break;
            case L'\n': out += "\\n"; break;
            case L'\r': out += "\\r"; break;
            case L'\t': out += "\\t"; break;
            case L'\b': out += "\\b"; break;
            case L'\f': out += "\\f"; break;
            default:
                out += "\\u00";
                out += kHex[(c >> 4) & 0xF];
                out += kHex[c & 0xF];
                break;
        }
    }
    flushRun(text.size());
    out += '"';
    return out;
}

void JsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (empty_.empty()) return;  // the document's top value
    if (!empty_.back()) out_ += ',';
    empty_.back() = false;
    out_ += '\n';
    out_.append(2 * empty_.size(), ' ');
}

void JsonWriter::Key(std::string_view name) {
    BeforeValue();
    out_ += '"';
    out_ += name;  // our own member names: plain ASCII
    out_ += "\": ";
    afterKey_ = true;
}

void JsonWriter::BeginObject() {
    BeforeValue();
    out_ += '{';
    empty_.push_back(true);
}

void JsonWriter::BeginArray() {
    BeforeValue();
    out_ += '[';
    empty_.push_back(true);
}

void JsonWriter::Close(char bracket) {
    const bool wasEmpty = empty_.back();
    empty_.pop_back();
    if (!wasEmpty) {
        out_ += '\n';
        out_.append(2 * empty_.size(), ' ');
    }
    out_ += bracket;
}

void JsonWriter::EndObject() { Close('}'); }
void JsonWriter::EndArray() { Close(']'); }

void JsonWriter::String(std::wstring_view text) {
    BeforeValue();
    out_ += JsonString(text);
}

void JsonWriter::Number(int64_t value) {
    BeforeValue();
    out_ += std::to_string(value);
}

void JsonWriter::Bool(bool value) {
    BeforeValue();
    out_ += value ? "true" : "false";
}

void JsonWriter::Null() {
    BeforeValue();
    out_ += "null";
}

std::string JsonWriter::Finish() { return out_ + '\n'; }
