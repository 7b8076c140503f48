#include "ui/gif_blocks.h"

#include <cstring>

#include "base/bytes.h"

namespace mv {

namespace {
constexpr std::size_t kHeaderSize = 13;
constexpr std::size_t kControlSize = 8;
constexpr std::size_t kApplicationFixed = 14;
constexpr std::size_t kCommentFixed = 2;
constexpr std::size_t kPlainTextFixed = 15;
constexpr std::size_t kImageFixed = 10;
constexpr std::uint8_t kTrailer = 0x3B;
constexpr std::uint32_t kShortDelayMs = 100;

std::size_t ColourTableBytes(std::uint8_t packed) {
    return (packed & 0x80) ? 3u * (2u << (packed & 0x07)) : 0;
}
}  // namespace

std::optional<GifHeader> ParseGifHeader(std::span<const std::uint8_t> data) {
    if (data.size() < kHeaderSize) return std::nullopt;
    if (std::memcmp(data.data(), "GIF87a", 6) != 0 && std::memcmp(data.data(), "GIF89a", 6) != 0)
        return std::nullopt;
    GifHeader h;
    h.width = readLe16(&data[6]);
    h.height = readLe16(&data[8]);
    h.colourTableSize = ColourTableBytes(data[10]);
    h.firstBlock = kHeaderSize + h.colourTableSize;
    if (h.firstBlock > data.size()) return std::nullopt;
    return h;
}

GifBlockParser::Kind GifBlockParser::kindAt(std::size_t pos) const {
    if (pos >= data_.size()) return Kind::Unknown;
    switch (data_[pos]) {
        case 0x2C: return Kind::Image;
        case kTrailer: return Kind::Trailer;
        case 0x21:
            if (pos + 1 >= data_.size()) return Kind::Unknown;
            switch (data_[pos + 1]) {
                case 0xFF: return Kind::Application;
                case 0xFE: return Kind::Comment;
                case 0xF9: return Kind::Control;
                case 0x01: return Kind::PlainText;
                default: return Kind::Unknown;
            }
        default: return Kind::Unknown;
    }
}

std::optional<std::size_t> GifBlockParser::subBlocksEnd(std::size_t pos) const {
    while (pos < data_.size()) {
        const std::size_t size = data_[pos];
        if (size == 0) return pos + 1;
        pos += size + 1;
    }
    return std::nullopt;
}

std::optional<std::size_t> GifBlockParser::blockEnd(std::size_t pos) const {
    const auto fixed = [&](std::size_t length) -> std::optional<std::size_t> {
        if (length > data_.size() - pos) return std::nullopt;
        return pos + length;
    };
    switch (kindAt(pos)) {
        case Kind::Application:
            if (auto p = fixed(kApplicationFixed)) return subBlocksEnd(*p);
            return std::nullopt;
        case Kind::Comment:
            if (auto p = fixed(kCommentFixed)) return subBlocksEnd(*p);
            return std::nullopt;
        case Kind::Control: return fixed(kControlSize);
        case Kind::PlainText:
            if (auto p = fixed(kPlainTextFixed)) return subBlocksEnd(*p);
            return std::nullopt;
        case Kind::Image: {
            if (kImageFixed > data_.size() - pos) return std::nullopt;
            const std::size_t table = ColourTableBytes(data_[pos + 9]);
            if (auto p = fixed(kImageFixed + table + 1)) return subBlocksEnd(*p);
            return std::nullopt;
        }
        case Kind::Trailer: return fixed(1);
        case Kind::Unknown: return std::nullopt;
    }
    return std::nullopt;
}

std::optional<GifFrameInfo> GifBlockParser::findGraphicBlock() const {
    std::size_t pos = offset_;
    std::optional<std::size_t> control;
    for (;;) {
        const Kind kind = kindAt(pos);
        if (kind == Kind::Trailer || kind == Kind::Unknown) return std::nullopt;
        const auto end = blockEnd(pos);
        if (!end) return std::nullopt;
        if (kind == Kind::Control) {
            control = pos;  // a later control extension supersedes an earlier one
        } else if (kind == Kind::Image || kind == Kind::PlainText) {
            GifFrameInfo frame;
            frame.begin = control.value_or(pos);
            frame.end = *end;
            if (control) {
                frame.delay = readLe16(&data_[*control + 4]);
                frame.disposal = static_cast<std::uint8_t>((data_[*control + 3] >> 2) & 0x07);
            }
            if (kind == Kind::Image) {
                frame.left = readLe16(&data_[pos + 1]);
                frame.top = readLe16(&data_[pos + 3]);
                frame.width = readLe16(&data_[pos + 5]);
                frame.height = readLe16(&data_[pos + 7]);
            }
            return frame;
        }
        pos = *end;
    }
}

bool GifBlockParser::skipGraphicBlock() {
    const auto frame = findGraphicBlock();
    if (!frame) return false;
    offset_ = frame->end;
    return true;
}

std::optional<GifFrameInfo> GifBlockParser::extractFrame() {
    auto frame = findGraphicBlock();
    if (frame) offset_ = frame->end;
    return frame;
}

std::size_t CountGifGraphicBlocks(std::span<const std::uint8_t> data, const GifHeader& header) {
    GifBlockParser parser(data, header);
    std::size_t count = 0;
    while (parser.skipGraphicBlock()) ++count;
    return count;
}

std::vector<std::uint8_t> BuildStandaloneFrame(std::span<const std::uint8_t> data, const GifHeader& header,
                                               const GifFrameInfo& frame) {
    std::vector<std::uint8_t> out;
    if (frame.begin > frame.end || frame.end > data.size() || header.firstBlock > data.size()) return out;
    out.reserve(header.firstBlock + (frame.end - frame.begin) + 1);
    out.insert(out.end(), data.begin(), data.begin() + static_cast<std::ptrdiff_t>(header.firstBlock));
    out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(frame.begin),
               data.begin() + static_cast<std::ptrdiff_t>(frame.end));
    out.push_back(kTrailer);
    return out;
}

std::uint32_t FrameDisplayMs(std::optional<std::uint16_t> delay) {
    if (!delay || *delay < 5) return kShortDelayMs;
    return static_cast<std::uint32_t>(*delay) * 10;
}

}  // namespace mv
