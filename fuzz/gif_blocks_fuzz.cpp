// The GIF block parser on arbitrary data: frames stay inside the data and each
// standalone frame built from one is a GIF of exactly that one frame.
#include <span>

#include "fuzz_check.h"
#include "ui/gif_blocks.h"

using namespace mv;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> gif(data, size);
    const auto header = ParseGifHeader(gif);
    if (!header) return 0;
    FUZZ_CHECK(header->firstBlock == 13 + header->colourTableSize && header->firstBlock <= size);

    const std::size_t count = CountGifGraphicBlocks(gif, *header);
    GifBlockParser parser(gif, *header);
    std::size_t frames = 0;
    std::size_t last = header->firstBlock;
    while (const auto frame = parser.extractFrame()) {
        ++frames;
        FUZZ_CHECK(frame->begin >= last && frame->begin < frame->end && frame->end <= size);
        FUZZ_CHECK(parser.offset() == frame->end);
        last = frame->end;
        (void)FrameDisplayMs(frame->delay);

        const std::vector<std::uint8_t> single = BuildStandaloneFrame(gif, *header, *frame);
        FUZZ_CHECK(single.size() == header->firstBlock + (frame->end - frame->begin) + 1);
        const auto again = ParseGifHeader(single);
        FUZZ_CHECK(again && again->firstBlock == header->firstBlock);
        FUZZ_CHECK(CountGifGraphicBlocks(single, *again) == 1);
        GifBlockParser one(single, *again);
        const auto copy = one.extractFrame();
        FUZZ_CHECK(copy && copy->delay == frame->delay && copy->disposal == frame->disposal);
        FUZZ_CHECK(copy->width == frame->width && copy->height == frame->height);
        FUZZ_CHECK(copy->end - copy->begin == frame->end - frame->begin);
    }
    FUZZ_CHECK(frames == count);
    return 0;
}
