// GIF block structure: the logical screen, the graphic blocks and standalone
// single-frame GIFs cut from an animation. Never reads past the data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace mv {

struct GifHeader {
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::size_t colourTableSize = 0;  // bytes of the global colour table
    std::size_t firstBlock = 0;       // 13 + colourTableSize
};

// Nothing unless the data starts with "GIF87a" or "GIF89a" and holds the whole header and table.
std::optional<GifHeader> ParseGifHeader(std::span<const std::uint8_t> data);

struct GifFrameInfo {
    std::size_t begin = 0;  // first byte of the frame's blocks
    std::size_t end = 0;    // one past the image block
    std::optional<std::uint16_t> delay;  // hundredths of a second; none without a control extension
    std::uint8_t disposal = 0;
    std::uint16_t left = 0, top = 0, width = 0, height = 0;  // zero for a plain-text block
};

class GifBlockParser {
public:
    GifBlockParser(std::span<const std::uint8_t> data, const GifHeader& header)
        : data_(data), offset_(header.firstBlock) {}

    // Passes one graphic block (with its control extension and the application and
    // comment extensions around it). False at the trailer, an unrecognised block or the end.
    bool skipGraphicBlock();
    // The next graphic block as a frame, moving past it; nothing when there is none.
    std::optional<GifFrameInfo> extractFrame();
    std::size_t offset() const { return offset_; }

private:
    enum class Kind { Application, Comment, Control, PlainText, Image, Trailer, Unknown };
    Kind kindAt(std::size_t pos) const;
    std::optional<std::size_t> blockEnd(std::size_t pos) const;
    std::optional<std::size_t> subBlocksEnd(std::size_t pos) const;
    std::optional<GifFrameInfo> findGraphicBlock() const;

    std::span<const std::uint8_t> data_;
    std::size_t offset_;
};

// The number of graphic blocks found from the first block on.
std::size_t CountGifGraphicBlocks(std::span<const std::uint8_t> data, const GifHeader& header);

// A standalone GIF of one frame: the first 13 bytes and the global colour table,
// the frame's blocks, and the trailer.
std::vector<std::uint8_t> BuildStandaloneFrame(std::span<const std::uint8_t> data, const GifHeader& header,
                                               const GifFrameInfo& frame);

// How long a frame shows: delay x 10 ms from 5 hundredths on, 100 ms for shorter
// delays and for frames without a control extension.
std::uint32_t FrameDisplayMs(std::optional<std::uint16_t> delay);

}  // namespace mv
