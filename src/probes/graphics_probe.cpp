#include "probes/graphics_probe.h"

const std::array<const wchar_t*, OrvaneRec::glCount> glKeyLabels = {
    L"GL_VENDOR: ", L"GL_RENDERER: ", L"GL_VERSION: ", L"GL_SHADING_LANGUAGE_VERSION: "};

std::wstring GlKeyName(int index) {
    if (index < 0 || index >= OrvaneRec::glCount) return {};
    std::wstring key;
    for (const wchar_t* c = glKeyLabels[static_cast<size_t>(index)]; *c; ++c)
        if (*c != L' ' && *c != L':') key.push_back(*c);
    return key;
}

std::string FormatProbeText(const GlDriverStrings& strings) {
    static const char* const keys[OrvaneRec::glCount] = {"GL_VENDOR", "GL_RENDERER", "GL_VERSION",
                                                         "GL_SHADING_LANGUAGE_VERSION"};
    // The strings are kept whole, however long the driver makes them.
    std::string text;
    for (size_t i = 0; i < strings.size(); ++i) {
        if (i > 0) text += '\n';
        text += keys[i];
        text += " = ";
        text += strings[i] ? *strings[i] : std::string("(null)");
    }
    return text;
}

void ParseProbeText(std::wstring_view text, std::array<std::wstring, OrvaneRec::glCount>& glInfo) {
    std::array<std::wstring, OrvaneRec::glCount> keys;
    for (int k = 0; k < OrvaneRec::glCount; ++k) keys[static_cast<size_t>(k)] = GlKeyName(k);

    size_t lineStart = 0;
    for (;;) {
        const size_t lineEnd = text.find(L'\n', lineStart);
        const std::wstring_view line =
            text.substr(lineStart, lineEnd == std::wstring_view::npos ? std::wstring_view::npos : lineEnd - lineStart);

        for (size_t k = 0; k < keys.size(); ++k) {
            if (line.find(keys[k]) == std::wstring_view::npos) continue;
            // The first key found decides the line. A line without " = " is a
            // stray piece of a driver string, not a value: it changes nothing.
            const size_t separator = line.find(L" = ");
            if (separator != std::wstring_view::npos) glInfo[k] = std::wstring(line.substr(separator + 3));
            break;
        }

        if (lineEnd == std::wstring_view::npos) break;
        lineStart = lineEnd + 1;
    }
}

GraphicsReading::Outcome ProbeGraphics(GraphicsDriver& driver, TextCodec& codec, OrvaneRec& runRecord) {
    const GraphicsReading reading = driver.ReadDriverStrings();
    if (!reading.strings) return reading.outcome;  // the entries stay empty

    const std::optional<std::wstring> text = codec.Decode(FormatProbeText(*reading.strings), CodePage::SystemAnsi);
    if (text) ParseProbeText(*text, runRecord.glInfo);
    return reading.outcome;
}
