#pragma once
// A JSON document written front to back, indented two blanks per level.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The JSON text of a string, quotes included, as UTF-8. Lone surrogates
// become U+FFFD, so the document stays valid whatever a driver or WMI said.
std::string JsonString(std::wstring_view text);

class JsonWriter {
public:
    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();

    // The name of the next member of the current object.
    void Key(std::string_view name);

    void String(std::wstring_view text);
    void Number(int64_t value);
    void Bool(bool value);
    void Null();

    // The document, ending with a line end.
    std::string Finish();

private:
    void BeforeValue();
    void Close(char bracket);

    std::string out_;
    std::vector<bool> empty_;  // per open container: nothing written in it yet
    bool afterKey_ = false;
};
