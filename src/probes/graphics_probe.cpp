#include "probes/graphics_probe.h"

// Placeholder until the graphics probe lands.
const std::array<const wchar_t*, OrvaneRec::glCount> glKeyLabels = {
    L"GL_VENDOR: ", L"GL_RENDERER: ", L"GL_VERSION: ", L"GL_SHADING_LANGUAGE_VERSION: "};

std::wstring GlKeyName(int) { return {}; }
std::string FormatProbeText(const GlDriverStrings&) { return {}; }
void ParseProbeText(std::wstring_view, std::array<std::wstring, OrvaneRec::glCount>&) {}
void ProbeGraphics(GraphicsDriver&, TextCodec&, OrvaneRec&) {}
