#pragma once
// Turning fuzzer bytes into what the table code takes, and a platform whose
// decoding lets any byte through.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fakes/fake_platform.h"

// Each byte becomes the code unit of the same value, so every byte reaches the parsers.
class WideningCodec : public TextCodec {
public:
    std::optional<std::wstring> Decode(std::string_view bytes, CodePage) override {
        return DecodeWindowsCodePage(bytes, 932);
    }
    unsigned WindowsCodePage(CodePage) override { return 932; }
    std::optional<std::wstring> DecodeWindowsCodePage(std::string_view bytes, unsigned) override {
        std::wstring text;
        text.reserve(bytes.size());
        for (unsigned char c : bytes) text.push_back(static_cast<wchar_t>(c));
        return text;
    }
};

struct FuzzPlatform {
    FakePlatform fake;
    WideningCodec codec;
    Platform platform{fake.files,    codec,         fake.resources, fake.messages,
                      fake.system,   fake.launcher, fake.wmi,       fake.graphics,
                      fake.registry, fake.profiles, fake.resultWindow, fake.threads};
};

// Pairs of bytes as 16-bit code units, so lone surrogates and units above 0x7F occur too.
inline std::wstring CodeUnitsOf(const uint8_t* data, size_t size) {
    std::wstring text;
    text.reserve(size / 2);
    for (size_t i = 0; i + 1 < size; i += 2)
        text.push_back(static_cast<wchar_t>(static_cast<uint16_t>(data[i] | (data[i + 1] << 8))));
    return text;
}

// Where the table loaders look, and the bytes they find there: the first input
// byte chooses the file beside the executable (odd) or the built-in copy (even).
struct TableInput {
    const std::wstring exeDir = L"C:\\Tools\\";
    bool asFile = false;
    std::string bytes;
};

inline TableInput PlaceTable(FuzzPlatform& fuzz, const uint8_t* data, size_t size, const wchar_t* fileName,
                             int resourceId) {
    TableInput input;
    input.asFile = data[0] & 1;
    input.bytes.assign(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (input.asFile)
        fuzz.fake.files.files[input.exeDir + fileName] = input.bytes;
    else
        fuzz.fake.resources.texts[resourceId] = input.bytes;
    return input;
}

// A broken promise of the code under test: stop so the fuzzer keeps the input.
inline void Require(bool condition) {
    if (!condition) std::abort();
}
