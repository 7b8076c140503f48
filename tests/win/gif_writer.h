// Small GIF and BMP files for the picture tests: solid-colour frames, LZW-coded
// with 9-bit codes and a clear code often enough that the code size never grows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mv::test {

struct Rgb {
    std::uint8_t r, g, b;
};

// Palette indices of the test colours.
enum : std::uint8_t { kWhite = 0, kRed = 1, kGreen = 2, kBlue = 3, kBlack = 4, kYellow = 5 };
inline constexpr Rgb kPalette[] = {{255, 255, 255}, {255, 0, 0}, {0, 160, 0}, {0, 0, 255}, {0, 0, 0}, {255, 220, 0}};

class GifWriter {
public:
    GifWriter(std::uint16_t width, std::uint16_t height) {
        bytes = {'G', 'I', 'F', '8', '9', 'a'};
        le16(width);
        le16(height);
        bytes.push_back(0xF7);  // global table of 256 entries
        bytes.push_back(0);
        bytes.push_back(0);
        for (int i = 0; i < 256; ++i) {
            const Rgb c = i < 6 ? kPalette[i] : Rgb{128, 128, 128};
            bytes.insert(bytes.end(), {c.r, c.g, c.b});
        }
    }
    GifWriter& control(std::uint16_t delay, std::uint8_t disposal) {
        bytes.insert(bytes.end(), {0x21, 0xF9, 0x04, std::uint8_t(disposal << 2)});
        le16(delay);
        bytes.insert(bytes.end(), {0, 0});
        return *this;
    }
    GifWriter& image(std::uint16_t left, std::uint16_t top, std::uint16_t w, std::uint16_t h, std::uint8_t colour) {
        bytes.push_back(0x2C);
        le16(left);
        le16(top);
        le16(w);
        le16(h);
        bytes.push_back(0);
        bytes.push_back(8);  // LZW minimum code size
        std::vector<std::uint8_t> packed;
        std::uint32_t acc = 0;
        int bits = 0;
        auto emit = [&](std::uint32_t code) {
            acc |= code << bits;
            bits += 9;
            while (bits >= 8) {
                packed.push_back(static_cast<std::uint8_t>(acc));
                acc >>= 8;
                bits -= 8;
            }
        };
        const std::uint32_t pixels = std::uint32_t(w) * h;
        for (std::uint32_t i = 0; i < pixels; ++i) {
            if (i % 200 == 0) emit(256);
            emit(colour);
        }
        emit(257);
        if (bits) packed.push_back(static_cast<std::uint8_t>(acc));
        for (std::size_t at = 0; at < packed.size(); at += 255) {
            const std::size_t n = std::min<std::size_t>(255, packed.size() - at);
            bytes.push_back(static_cast<std::uint8_t>(n));
            bytes.insert(bytes.end(), packed.begin() + at, packed.begin() + at + n);
        }
        bytes.push_back(0);
        return *this;
    }
    GifWriter& trailer() {
        bytes.push_back(0x3B);
        return *this;
    }
    std::vector<std::uint8_t> bytes;

private:
    void le16(std::uint16_t v) {
        bytes.push_back(static_cast<std::uint8_t>(v));
        bytes.push_back(static_cast<std::uint8_t>(v >> 8));
    }
};

// A 24-bit bottom-up BMP of one colour.
inline std::vector<std::uint8_t> SolidBmp(int width, int height, Rgb c) {
    const int stride = (width * 3 + 3) & ~3;
    const std::uint32_t dataSize = std::uint32_t(stride) * height;
    std::vector<std::uint8_t> out;
    auto le32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    auto le16 = [&](std::uint16_t v) {
        out.push_back(static_cast<std::uint8_t>(v));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    out.push_back('B');
    out.push_back('M');
    le32(54 + dataSize);
    le32(0);
    le32(54);
    le32(40);
    le32(static_cast<std::uint32_t>(width));
    le32(static_cast<std::uint32_t>(height));
    le16(1);
    le16(24);
    le32(0);
    le32(dataSize);
    le32(3780);  // 96 DPI
    le32(3780);
    le32(0);
    le32(0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) out.insert(out.end(), {c.b, c.g, c.r});
        out.insert(out.end(), stride - width * 3, 0);
    }
    return out;
}

// The animation the tests and the showcase play: a red screen, a green patch that is
// disposed to the background, a blue patch disposed to what was under it, and a black
// corner without a control extension.
inline std::vector<std::uint8_t> DisposalGif(std::uint16_t delay = 100) {
    GifWriter g(40, 30);
    g.control(delay, 1).image(0, 0, 40, 30, kRed);
    g.control(delay, 2).image(10, 10, 10, 10, kGreen);
    g.control(delay, 3).image(20, 5, 10, 10, kBlue);
    g.image(0, 0, 5, 5, kBlack);
    g.trailer();
    return g.bytes;
}

}  // namespace mv::test
