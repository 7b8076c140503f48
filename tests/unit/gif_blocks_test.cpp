// GIF block parsing on crafted files, including truncated and malformed ones.
#include <gtest/gtest.h>

#include "ui/gif_blocks.h"

namespace mv {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A small GIF builder: header with an optional 2-entry global table, then blocks.
struct Gif {
    Bytes b;
    explicit Gif(bool globalTable = true, std::uint16_t w = 40, std::uint16_t h = 30) {
        b = {'G', 'I', 'F', '8', '9', 'a', std::uint8_t(w), std::uint8_t(w >> 8), std::uint8_t(h),
             std::uint8_t(h >> 8), std::uint8_t(globalTable ? 0x80 : 0x00), 0, 0};
        if (globalTable) b.insert(b.end(), {0, 0, 0, 255, 255, 255});
    }
    Gif& control(std::uint16_t delay, std::uint8_t disposal) {
        b.insert(b.end(), {0x21, 0xF9, 0x04, std::uint8_t(disposal << 2), std::uint8_t(delay), std::uint8_t(delay >> 8),
                           0, 0});
        return *this;
    }
    Gif& image(std::uint16_t l, std::uint16_t t, std::uint16_t w, std::uint16_t h, bool localTable = false) {
        b.insert(b.end(), {0x2C, std::uint8_t(l), std::uint8_t(l >> 8), std::uint8_t(t), std::uint8_t(t >> 8),
                           std::uint8_t(w), std::uint8_t(w >> 8), std::uint8_t(h), std::uint8_t(h >> 8),
                           std::uint8_t(localTable ? 0x81 : 0)});
        if (localTable) b.insert(b.end(), 12, 0x11);
        b.insert(b.end(), {0x02, 0x03, 0x44, 0x01, 0x00, 0x01, 0x55, 0x00});  // min code size, sub-blocks
        return *this;
    }
    Gif& application() {
        b.insert(b.end(), {0x21, 0xFF, 0x0B, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 0x03, 0x01, 0, 0, 0});
        return *this;
    }
    Gif& comment() {
        b.insert(b.end(), {0x21, 0xFE, 0x02, 'h', 'i', 0x00});
        return *this;
    }
    Gif& plainText() {
        b.insert(b.end(), {0x21, 0x01, 0x0C});
        b.insert(b.end(), 12, 0);
        b.insert(b.end(), {0x01, 'x', 0x00});
        return *this;
    }
    Gif& trailer() {
        b.push_back(0x3B);
        return *this;
    }
};

std::vector<GifFrameInfo> Frames(const Bytes& data) {
    const auto header = ParseGifHeader(data);
    std::vector<GifFrameInfo> frames;
    if (!header) return frames;
    GifBlockParser parser(data, *header);
    while (auto f = parser.extractFrame()) frames.push_back(*f);
    return frames;
}

TEST(GifHeader, ReadsScreenAndColourTable) {
    Gif g;
    g.trailer();
    const auto h = ParseGifHeader(g.b);
    ASSERT_TRUE(h);
    EXPECT_EQ(h->width, 40);
    EXPECT_EQ(h->height, 30);
    EXPECT_EQ(h->colourTableSize, 6u);
    EXPECT_EQ(h->firstBlock, 19u);

    Bytes bigTable = Gif(false).b;
    bigTable[10] = 0x87;  // 3 * 2^8 bytes announced, not present
    EXPECT_FALSE(ParseGifHeader(bigTable));
    bigTable.resize(13 + 768, 0);
    EXPECT_EQ(ParseGifHeader(bigTable)->firstBlock, 13u + 768u);

    EXPECT_FALSE(ParseGifHeader(Bytes{'G', 'I', 'F', '8', '9', 'a'}));
    Bytes png = {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 0, 0, 0};
    EXPECT_FALSE(ParseGifHeader(png));
    Bytes gif87 = Gif().b;
    gif87[4] = '7';
    EXPECT_TRUE(ParseGifHeader(gif87));
}

TEST(GifBlocks, FramesCarryDelayDisposalAndRectangle) {
    Gif g;
    g.application().control(4, 2).comment().image(1, 2, 30, 20).control(5, 3).image(3, 4, 10, 8, true).trailer();
    const auto frames = Frames(g.b);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].delay, 4);
    EXPECT_EQ(frames[0].disposal, 2);
    EXPECT_EQ(frames[0].left, 1);
    EXPECT_EQ(frames[0].top, 2);
    EXPECT_EQ(frames[0].width, 30);
    EXPECT_EQ(frames[0].height, 20);
    EXPECT_EQ(g.b[frames[0].begin + 1], 0xF9) << "a frame starts at its control extension, not the application block";
    EXPECT_EQ(frames[1].delay, 5);
    EXPECT_EQ(frames[1].disposal, 3);
    EXPECT_EQ(frames[1].width, 10);
    EXPECT_EQ(frames[1].end, g.b.size() - 1);
    EXPECT_EQ(CountGifGraphicBlocks(g.b, *ParseGifHeader(g.b)), 2u);
}

TEST(GifBlocks, ImageWithoutControlAndPlainTextAreGraphicBlocks) {
    Gif g;
    g.image(0, 0, 5, 5).plainText().trailer();
    const auto frames = Frames(g.b);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_FALSE(frames[0].delay);
    EXPECT_EQ(frames[0].disposal, 0);
    EXPECT_EQ(frames[0].begin, 19u);
    EXPECT_EQ(frames[1].width, 0);
}

TEST(GifBlocks, StandaloneFrameIsHeaderTableFrameAndTrailer) {
    Gif g;
    g.control(7, 1).image(0, 0, 2, 2).control(9, 0).image(1, 1, 1, 1).trailer();
    const auto header = *ParseGifHeader(g.b);
    const auto frames = Frames(g.b);
    ASSERT_EQ(frames.size(), 2u);
    const Bytes single = BuildStandaloneFrame(g.b, header, frames[1]);
    Gif expected;
    expected.control(9, 0).image(1, 1, 1, 1).trailer();
    EXPECT_EQ(single, expected.b);
    // The standalone frame parses as a one-image GIF.
    EXPECT_EQ(CountGifGraphicBlocks(single, *ParseGifHeader(single)), 1u);
}

TEST(GifBlocks, ParsingStopsAtUnknownBlocksAndKeepsWhatCameBefore) {
    Gif g;
    g.control(5, 0).image(0, 0, 2, 2);
    g.b.insert(g.b.end(), {0x21, 0x77, 0x00});  // unknown extension label
    g.control(5, 0).image(0, 0, 2, 2).trailer();
    EXPECT_EQ(Frames(g.b).size(), 1u);

    Gif h;
    h.control(5, 0).image(0, 0, 2, 2);
    h.b.push_back(0x00);  // stray byte
    h.image(0, 0, 2, 2).trailer();
    EXPECT_EQ(Frames(h.b).size(), 1u);

    Gif lonelyControl;  // a control extension followed by the trailer is no graphic block
    lonelyControl.control(5, 0).trailer();
    EXPECT_TRUE(Frames(lonelyControl.b).empty());
}

TEST(GifBlocks, EveryTruncationIsSafeAndNeverInventsFrames) {
    Gif g;
    g.application().control(4, 2).image(1, 2, 3, 4, true).comment().control(6, 3).image(0, 0, 2, 2).trailer();
    const std::size_t full = Frames(g.b).size();
    ASSERT_EQ(full, 2u);
    for (std::size_t n = 0; n <= g.b.size(); ++n) {
        const Bytes cut(g.b.begin(), g.b.begin() + static_cast<std::ptrdiff_t>(n));
        const auto frames = Frames(cut);
        EXPECT_LE(frames.size(), full) << n;
        for (const auto& f : frames) {
            EXPECT_LE(f.end, cut.size()) << n;
            EXPECT_LE(f.begin, f.end) << n;
        }
    }
    // A sub-block chain whose length byte points past the end.
    Gif bad;
    bad.control(5, 0);
    bad.b.insert(bad.b.end(), {0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0x02, 0xFF, 0x01});
    EXPECT_TRUE(Frames(bad.b).empty());
}

TEST(GifBlocks, DisplayTimeRule) {
    EXPECT_EQ(FrameDisplayMs(4), 100u);
    EXPECT_EQ(FrameDisplayMs(0), 100u);
    EXPECT_EQ(FrameDisplayMs(5), 50u);
    EXPECT_EQ(FrameDisplayMs(12), 120u);
    EXPECT_EQ(FrameDisplayMs(65535), 655350u);
    EXPECT_EQ(FrameDisplayMs(std::nullopt), 100u) << "a frame without control extension must not stall the loop";
}

}  // namespace
}  // namespace mv
