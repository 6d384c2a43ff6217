#include "probes/graphics_probe.h"

#include <gtest/gtest.h>

#include "fakes/fake_services.h"
#include "platform/graphics_reading_message.h"
#include "fakes/fake_text_codec.h"

namespace {

using GlInfo = std::array<std::wstring, OrvaneRec::glCount>;

GlInfo Parse(std::wstring_view text) {
    GlInfo info;
    ParseProbeText(text, info);
    return info;
}

}  // namespace

TEST(GlKeyName, DropsBlanksAndColonsFromTheLabels) {
    EXPECT_EQ(GlKeyName(0), L"GL_VENDOR");
    EXPECT_EQ(GlKeyName(1), L"GL_RENDERER");
    EXPECT_EQ(GlKeyName(2), L"GL_VERSION");
    EXPECT_EQ(GlKeyName(3), L"GL_SHADING_LANGUAGE_VERSION");
    EXPECT_EQ(GlKeyName(4), L"");
}

TEST(FormatProbeText, KeepsEveryStringWholeAndMarksMissingOnes) {
    const std::string longRenderer(600, 'R');
    const GlDriverStrings strings = {std::string("Mesa"), longRenderer, std::string("4.5 (Compatibility Profile) Mesa 22.3.6"),
                                     std::nullopt};
    EXPECT_EQ(FormatProbeText(strings), "GL_VENDOR = Mesa\nGL_RENDERER = " + longRenderer +
                                            "\nGL_VERSION = 4.5 (Compatibility Profile) Mesa 22.3.6"
                                            "\nGL_SHADING_LANGUAGE_VERSION = (null)");
    EXPECT_EQ(FormatProbeText(GlDriverStrings{}),
              "GL_VENDOR = (null)\nGL_RENDERER = (null)\nGL_VERSION = (null)\nGL_SHADING_LANGUAGE_VERSION = (null)");
}

TEST(ParseProbeText, ReadsEachKeyedLine) {
    struct Case {
        const char* meaning;
        std::wstring text;
        GlInfo expected;
    } cases[] = {
        {"four lines",
         L"GL_VENDOR = Intel\nGL_RENDERER = UHD 630\nGL_VERSION = 4.6.0 - Build 31.0\nGL_SHADING_LANGUAGE_VERSION = 4.60 - Build 31.0",
         {L"Intel", L"UHD 630", L"4.6.0 - Build 31.0", L"4.60 - Build 31.0"}},
        {"shading line is not taken for the version",
         L"GL_SHADING_LANGUAGE_VERSION = 4.60", {L"", L"", L"", L"4.60"}},
        {"value keeps a later separator", L"GL_RENDERER = a = b", {L"", L"a = b", L"", L""}},
        {"later line replaces earlier", L"GL_VENDOR = one\nGL_VENDOR = two", {L"two", L"", L"", L""}},
        {"first key in table order wins", L"GL_RENDERER = made by GL_VENDOR", {L"made by GL_VENDOR", L"", L"", L""}},
        {"line without separator changes nothing", L"GL_VENDOR = x\nGL_VENDOR broken", {L"x", L"", L"", L""}},
        {"line without key changes nothing", L"junk = 1\n\nGL_VERSION = 3.3", {L"", L"", L"3.3", L""}},
        {"empty value", L"GL_VENDOR = ", {L"", L"", L"", L""}},
        {"missing string", L"GL_SHADING_LANGUAGE_VERSION = (null)", {L"", L"", L"", L"(null)"}},
        {"empty text", L"", {L"", L"", L"", L""}},
    };
    for (const auto& c : cases) EXPECT_EQ(Parse(c.text), c.expected) << c.meaning;
}

TEST(ParseProbeText, LeavesEntriesWithoutLineUnchanged) {
    GlInfo info = {L"old vendor", L"old renderer", L"", L""};
    ParseProbeText(L"GL_RENDERER = new", info);
    EXPECT_EQ(info, (GlInfo{L"old vendor", L"new", L"", L""}));
}

TEST(ProbeGraphics, FillsTheRunRecordFromTheDriver) {
    FakeTextCodec codec;
    FakeGraphicsDriver driver;
    const std::string longVersion = "4.6.0 " + std::string(400, 'v');
    driver.strings = GlDriverStrings{ToCp932("ベンダー"), std::string("Renderer"), longVersion, std::nullopt};
    OrvaneRec record;

    ProbeGraphics(driver, codec, record);

    EXPECT_EQ(record.glInfo[0], L"ベンダー");  // decoded from the ANSI code page, not UTF-8
    EXPECT_EQ(record.glInfo[1], L"Renderer");
    EXPECT_EQ(record.glInfo[2], std::wstring(longVersion.begin(), longVersion.end()));
    EXPECT_EQ(record.glInfo[3], L"(null)");
}

TEST(ProbeGraphics, LeavesEntriesEmptyWithoutWindowOrTextAndSaysWhy) {
    FakeTextCodec codec;
    FakeGraphicsDriver driver;  // no window, no device context
    OrvaneRec record;
    EXPECT_EQ(ProbeGraphics(driver, codec, record), GraphicsReading::Outcome::NoWindow);
    EXPECT_EQ(record.glInfo, GlInfo{});

    driver.strings = GlDriverStrings{std::string("v"), std::string("r"), std::string("1.1"), std::nullopt};
    codec.failing = true;
    ProbeGraphics(driver, codec, record);
    EXPECT_EQ(record.glInfo, GlInfo{});
}

TEST(GraphicsReadingMessage, CarriesEveryReadingWholeAndRefusesWhatNoProbeSends) {
    using Outcome = GraphicsReading::Outcome;
    const GraphicsReading readings[] = {
        {Outcome::Read, GlDriverStrings{std::string("NVIDIA Corporation"), std::string("RTX \0 = \xFF", 9),
                                        std::string("4.6.0 NVIDIA 551.86"), std::string()}},
        {Outcome::Read, GlDriverStrings{std::string(70000, 'v'), std::nullopt, std::string("1.1.0"), std::nullopt}},
        {Outcome::NoWindow, GlDriverStrings{}},
        {Outcome::NoWindow, std::nullopt},
    };
    for (const GraphicsReading& sent : readings) {
        const std::string bytes = EncodeGraphicsReading(sent) + "trailing";
        const size_t end = bytes.size() - 8;
        for (size_t cut = 0; cut < end; cut += (cut < 64 ? 1 : 997)) {
            GraphicsReading partial;
            EXPECT_EQ(DecodeGraphicsReading(std::string_view(bytes).substr(0, cut), partial),
                      GraphicsMessageState::Incomplete) << cut;
        }
        GraphicsReading received{Outcome::DriverHung, std::nullopt};
        ASSERT_EQ(DecodeGraphicsReading(bytes, received), GraphicsMessageState::Complete);
        EXPECT_EQ(received.outcome, sent.outcome);
        EXPECT_EQ(received.strings, sent.strings);
    }

    // A message's body behind its magic and length.
    const auto framed = [](const std::string& body) {
        const auto n = static_cast<uint32_t>(body.size());
        return "OGL2" + std::string{char(n), char(n >> 8), char(n >> 16), char(n >> 24)} + body;
    };
    const std::string refused[] = {
        "Mesa says hello",                                   // a driver writing into the pipe
        framed("H-"),                                        // a hang is never sent
        framed("R?"),                                        // neither strings nor none
        framed("R+*"),                                       // an entry neither there nor missing
        framed(std::string("R++\xFF\xFF\xFF\x7F", 7)),       // longer than any driver string
        framed(std::string("R++\x04\0\0\0abc", 10)) + "d---",  // a string claiming a byte more than its message
        framed("N-?"),                                       // a message with bytes to spare
        std::string("OGL2\xFF\xFF\xFF\x7F", 8),              // longer than any message
    };
    for (const std::string& bytes : refused) {
        GraphicsReading reading;
        EXPECT_EQ(DecodeGraphicsReading(bytes, reading), GraphicsMessageState::Malformed) << bytes;
    }
}
