#pragma once
// The OpenGL driver's identification strings, as text and back.

#include <array>
#include <string>
#include <string_view>

#include "platform/graphics_driver.h"
#include "platform/text_codec.h"
#include "tables/orvane_rec.h"

// "GL_VENDOR: ", "GL_RENDERER: ", "GL_VERSION: ", "GL_SHADING_LANGUAGE_VERSION: "
extern const std::array<const wchar_t*, OrvaneRec::glCount> glKeyLabels;

// A label with its blanks and colons removed: the key of the probe text and of the settings file.
std::wstring GlKeyName(int index);

// "GL_VENDOR = %s\nGL_RENDERER = %s\n..." with "(null)" for a missing string.
std::string FormatProbeText(const GlDriverStrings& strings);

// Fills glInfo from the probe text; lines without a key change nothing.
void ParseProbeText(std::wstring_view text, std::array<std::wstring, OrvaneRec::glCount>& glInfo);

// Reads the driver's strings into runRecord.glInfo; says how the driver
// answered. A driver that hung or failed leaves the entries empty, as a
// machine without a window would.
GraphicsReading::Outcome ProbeGraphics(GraphicsDriver& driver, TextCodec& codec, OrvaneRec& runRecord);
