#include "platform/graphics_reading_message.h"

#include <cstdint>
#include <utility>

namespace {

// The body's length follows the magic: a message says where it ends, so that
// a string that claims more than the message carries is refused, not filled
// from whatever comes after it.
constexpr std::string_view kMagic = "OGL2";
constexpr char kRead = 'R';
constexpr char kNoWindow = 'N';
constexpr char kPresent = '+';
constexpr char kMissing = '-';
// Far beyond any driver's name or version; a longer one is no message of ours.
constexpr uint32_t kLongestString = 1u << 20;
// Two flags, then per string a flag, a length and the text.
constexpr uint32_t kLongestBody = 2 + 4 * (1 + 4 + kLongestString);

void AppendLength(std::string& bytes, uint32_t length) {
    for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((length >> shift) & 0xFF);
}

// Reads the message from front to back; each step says whether to go on.
class Reader {
public:
    // `whole`: these are all the bytes there are, and running out of them is a fault.
    Reader(std::string_view bytes, bool whole) : bytes_(bytes), whole_(whole) {}

    GraphicsMessageState state = GraphicsMessageState::Complete;

    bool AtEnd() const { return at_ == bytes_.size(); }

    bool Take(size_t count, std::string_view& taken) {
        if (bytes_.size() - at_ < count) {
            state = whole_ ? GraphicsMessageState::Malformed : GraphicsMessageState::Incomplete;
            return false;
        }
        taken = bytes_.substr(at_, count);
        at_ += count;
        return true;
    }
    bool TakeByte(char& byte) {
        std::string_view taken;
        if (!Take(1, taken)) return false;
        byte = taken[0];
        return true;
    }
    bool TakeLength(uint32_t& length) {
        std::string_view taken;
        if (!Take(4, taken)) return false;
        length = 0;
        for (int i = 3; i >= 0; --i) length = (length << 8) | static_cast<unsigned char>(taken[static_cast<size_t>(i)]);
        return true;
    }
    bool Fail() {
        state = GraphicsMessageState::Malformed;
        return false;
    }

private:
    std::string_view bytes_;
    bool whole_;
    size_t at_ = 0;
};

bool ReadStrings(Reader& reader, GlDriverStrings& strings) {
    for (std::optional<std::string>& entry : strings) {
        char flag = 0;
        if (!reader.TakeByte(flag)) return false;
        if (flag == kMissing) continue;
        if (flag != kPresent) return reader.Fail();
        uint32_t length = 0;
        if (!reader.TakeLength(length)) return false;
        if (length > kLongestString) return reader.Fail();
        std::string_view text;
        if (!reader.Take(length, text)) return false;
        entry = std::string(text);
    }
    return true;
}

std::string Framed(const std::string& body) {
    std::string bytes(kMagic);
    AppendLength(bytes, static_cast<uint32_t>(body.size()));
    return bytes + body;
}

}  // namespace

std::string EncodeGraphicsReading(const GraphicsReading& reading) {
    std::string bytes;
    bytes += reading.outcome == GraphicsReading::Outcome::Read ? kRead : kNoWindow;
    bytes += reading.strings ? kPresent : kMissing;
    if (reading.strings) {
        for (const std::optional<std::string>& entry : *reading.strings) {
            bytes += entry ? kPresent : kMissing;
            if (!entry) continue;
            AppendLength(bytes, static_cast<uint32_t>(entry->size()));
            bytes += *entry;
        }
    }
    return Framed(bytes);
}

GraphicsMessageState DecodeGraphicsReading(std::string_view bytes, GraphicsReading& reading) {
    Reader frame(bytes, false);
    std::string_view magic;
    if (!frame.Take(kMagic.size(), magic)) {
        // A beginning of the magic is still a beginning of a message.
        return kMagic.substr(0, bytes.size()) == bytes ? GraphicsMessageState::Incomplete
                                                       : GraphicsMessageState::Malformed;
    }
    if (magic != kMagic) return GraphicsMessageState::Malformed;
    uint32_t bodyLength = 0;
    std::string_view body;
    if (!frame.TakeLength(bodyLength)) return frame.state;
    if (bodyLength > kLongestBody) return GraphicsMessageState::Malformed;
    if (!frame.Take(bodyLength, body)) return frame.state;

    // From here on every byte is in: whatever does not fit the body exactly is no message of ours.
    Reader reader(body, true);
    char outcome = 0;
    char hasStrings = 0;
    if (!reader.TakeByte(outcome) || !reader.TakeByte(hasStrings)) return reader.state;
    if ((outcome != kRead && outcome != kNoWindow) || (hasStrings != kPresent && hasStrings != kMissing))
        return GraphicsMessageState::Malformed;

    GraphicsReading decoded;
    decoded.outcome = outcome == kRead ? GraphicsReading::Outcome::Read : GraphicsReading::Outcome::NoWindow;
    if (hasStrings == kPresent) {
        decoded.strings.emplace();
        if (!ReadStrings(reader, *decoded.strings)) return reader.state;
    }
    if (!reader.AtEnd()) return GraphicsMessageState::Malformed;
    reading = std::move(decoded);
    return GraphicsMessageState::Complete;
}
