// Checks the logo decoder against pictures decoded by ImageMagick, and that
// damaged or unsupported pictures are refused without misbehaving.
//
// The fixtures in tests/fixtures/jpeg were made once from a synthetic pattern
// (red rising to the right, green rising downwards, a blue checkerboard):
//   pat() { convert -size $1 xc:black -channel R -fx "i/w" -channel G -fx "j/h"
//           -channel B -fx "(floor(i/6)+floor(j/5))%2" +channel -depth 8 $2; }  (one line)
//   pat 19x13 p444.png; pat 27x21 p420.png; pat 35x25 p422.png; pat 13x19 p440.png
//   convert p444.png -quality 90 -sampling-factor 1x1 color_444.jpg
//   convert p420.png -quality 90 -sampling-factor 2x2 color_420.jpg
//   convert p422.png -quality 90 -sampling-factor 2x1 color_422.jpg
//   convert p440.png -quality 90 -sampling-factor 1x2 color_440.jpg
//   convert -size 21x13 xc:black -fx "(i*12+j*7)%256/255" -colorspace Gray -quality 90 grey.jpg
//   convert p444.png p444.ppm && cjpeg -rgb -quality 90 p444.ppm > rgb_444.jpg
//   jpegtran -restart 1B color_422.jpg > restart_422.jpg
//   printf '0: 0 63 0 0;\n1: 0 63 0 0;\n2: 0 63 0 0;\n' > scans.txt
//   jpegtran -scans scans.txt color_420.jpg > multiscan_420.jpg
//   jpegtran -progressive color_444.jpg > progressive_444.jpg
//   convert X.jpg X.ppm (grey.pgm) for the expected pixels; jpegtran changes
//   only the layout, so restart_422 and multiscan_420 share the pixels of
//   color_422 and color_420.
#include "forms/jpeg_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#ifndef TEST_FIXTURE_DIR
#error "TEST_FIXTURE_DIR must name the tests/fixtures directory"
#endif

namespace {

using Bytes = std::vector<uint8_t>;

// Decoders may round their inverse DCT and colour conversion differently.
constexpr int kTolerance = 4;

Bytes ReadFixture(const std::string& name) {
    std::ifstream file(std::string(TEST_FIXTURE_DIR) + "/jpeg/" + name, std::ios::binary);
    EXPECT_TRUE(file) << "missing fixture " << name;
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Reads a binary PGM (P5) or PPM (P6) with 8-bit samples.
DecodedImage ReadNetpbm(const std::string& name) {
    const Bytes bytes = ReadFixture(name);
    std::istringstream header(std::string(bytes.begin(), bytes.end()));
    std::string magic;
    int maxValue = 0;
    DecodedImage image;
    header >> magic >> image.width >> image.height >> maxValue;
    header.get();
    EXPECT_TRUE((magic == "P5" || magic == "P6") && maxValue == 255) << name;
    const int channels = magic == "P6" ? 3 : 1;
    size_t at = static_cast<size_t>(header.tellg());
    const size_t count = static_cast<size_t>(image.width) * image.height;
    if (bytes.size() < at + count * channels) {
        ADD_FAILURE() << name << " is short";
        return image;
    }
    const size_t step = channels == 3 ? 1 : 0;  // grey repeats its one sample
    for (size_t i = 0; i < count; ++i, at += channels) {
        const uint32_t r = bytes[at];
        const uint32_t g = bytes[at + step];
        const uint32_t b = bytes[at + 2 * step];
        image.pixels.push_back((r << 16) | (g << 8) | b);
    }
    return image;
}

bool Decode(const Bytes& jpeg, DecodedImage& image) {
    // An exact-size copy lets the address sanitizer see any read past the end.
    const Bytes copy(jpeg);
    return DecodeJpeg(copy.data(), copy.size(), image);
}

int MaxChannelDifference(const DecodedImage& a, const DecodedImage& b) {
    int worst = 0;
    for (size_t i = 0; i < std::min(a.pixels.size(), b.pixels.size()); ++i)
        for (int shift = 0; shift <= 16; shift += 8) {
            const int ca = (a.pixels[i] >> shift) & 0xFF;
            const int cb = (b.pixels[i] >> shift) & 0xFF;
            worst = std::max(worst, std::abs(ca - cb));
        }
    return worst;
}

void ExpectMatches(const Bytes& jpeg, const std::string& expectedName) {
    const DecodedImage expected = ReadNetpbm(expectedName);
    DecodedImage image;
    ASSERT_TRUE(Decode(jpeg, image));
    ASSERT_EQ(image.width, expected.width);
    ASSERT_EQ(image.height, expected.height);
    ASSERT_EQ(image.pixels.size(), expected.pixels.size());
    EXPECT_LE(MaxChannelDifference(image, expected), kTolerance);
}

// Offset of the first marker `code` (its 0xFF byte) before the entropy data.
size_t FindMarker(const Bytes& jpeg, uint8_t code) {
    for (size_t i = 2; i + 3 < jpeg.size();) {
        if (jpeg[i] != 0xFF) break;
        if (jpeg[i + 1] == code) return i;
        if (jpeg[i + 1] == 0xDA) break;
        i += 2 + ((jpeg[i + 2] << 8) | jpeg[i + 3]);
    }
    ADD_FAILURE() << "marker " << int(code) << " not found";
    return 0;
}

struct Segment {
    uint8_t marker;
    Bytes payload;
};

// Splits a picture into the segments before its first scan and the rest
// (scan header, entropy data, end marker), so tests can rebuild the header.
void SplitHeader(const Bytes& jpeg, std::vector<Segment>& segments, Bytes& rest) {
    size_t i = 2;
    while (jpeg[i + 1] != 0xDA) {
        const size_t length = (jpeg[i + 2] << 8) | jpeg[i + 3];
        segments.push_back({jpeg[i + 1], Bytes(jpeg.begin() + i + 4, jpeg.begin() + i + 2 + length)});
        i += 2 + length;
    }
    rest.assign(jpeg.begin() + i, jpeg.end());
}

Bytes Join(const std::vector<Segment>& segments, const Bytes& rest, int fillBytes = 0) {
    Bytes out = {0xFF, 0xD8};
    for (const Segment& s : segments) {
        out.insert(out.end(), fillBytes, 0xFF);
        out.push_back(0xFF);
        out.push_back(s.marker);
        const size_t length = s.payload.size() + 2;
        out.push_back(static_cast<uint8_t>(length >> 8));
        out.push_back(static_cast<uint8_t>(length));
        out.insert(out.end(), s.payload.begin(), s.payload.end());
    }
    out.insert(out.end(), fillBytes, 0xFF);
    out.insert(out.end(), rest.begin(), rest.end());
    return out;
}

// Puts all segments with `marker` into one, placed where the first was.
std::vector<Segment> MergeSegments(const std::vector<Segment>& segments, uint8_t marker) {
    std::vector<Segment> out;
    Segment* merged = nullptr;
    for (const Segment& s : segments) {
        if (s.marker != marker) {
            out.push_back(s);
        } else if (merged == nullptr) {
            out.push_back(s);
            merged = &out.back();
        } else {
            merged->payload.insert(merged->payload.end(), s.payload.begin(), s.payload.end());
        }
    }
    return out;
}

// Rewrites every 8-bit quantization table of a segment with 16-bit entries.
void WidenQuantTables(Segment& dqt) {
    Bytes wide;
    for (size_t i = 0; i < dqt.payload.size(); i += 65) {
        wide.push_back(static_cast<uint8_t>(0x10 | dqt.payload[i]));
        for (size_t k = 1; k <= 64; ++k) {
            wide.push_back(0);
            wide.push_back(dqt.payload[i + k]);
        }
    }
    dqt.payload = wide;
}

struct ReferenceCase {
    const char* jpeg;
    const char* expected;
};

void PrintTo(const ReferenceCase& c, std::ostream* os) { *os << c.jpeg; }

class DecodesLikeReference : public ::testing::TestWithParam<ReferenceCase> {};

TEST_P(DecodesLikeReference, PixelsMatchWithinRounding) {
    ExpectMatches(ReadFixture(GetParam().jpeg), GetParam().expected);
}

// Sizes are not multiples of the MCU, so partial blocks and chroma edges count.
INSTANTIATE_TEST_SUITE_P(
    Fixtures, DecodesLikeReference,
    ::testing::Values(ReferenceCase{"color_444.jpg", "color_444.ppm"},
                      ReferenceCase{"color_420.jpg", "color_420.ppm"},
                      ReferenceCase{"color_440.jpg", "color_440.ppm"},
                      ReferenceCase{"restart_422.jpg", "color_422.ppm"},  // RST after every MCU, wraps past RST7
                      ReferenceCase{"multiscan_420.jpg", "color_420.ppm"},  // one scan per component
                      ReferenceCase{"grey.jpg", "grey.pgm"},
                      ReferenceCase{"rgb_444.jpg", "rgb_444.ppm"}),  // Adobe marker, no colour transform
    [](const ::testing::TestParamInfo<ReferenceCase>& info) {
        std::string name = info.param.jpeg;
        return name.substr(0, name.find('.'));
    });

// Legal ways of writing the same picture that the fixtures' encoder never uses.
TEST(JpegDecoder, AcceptsEquivalentHeaderLayouts) {
    const Bytes original = ReadFixture("color_420.jpg");
    std::vector<Segment> segments;
    Bytes rest;
    SplitHeader(original, segments, rest);

    {
        SCOPED_TRACE("all quantization tables in one segment, 16-bit entries");
        std::vector<Segment> merged = MergeSegments(segments, 0xDB);
        for (Segment& s : merged)
            if (s.marker == 0xDB) WidenQuantTables(s);
        ExpectMatches(Join(merged, rest), "color_420.ppm");
    }
    {
        SCOPED_TRACE("all Huffman tables in one segment");
        ExpectMatches(Join(MergeSegments(segments, 0xC4), rest), "color_420.ppm");
    }
    {
        SCOPED_TRACE("fill bytes before markers, comment and application segments");
        std::vector<Segment> extended = segments;
        extended.insert(extended.begin(), Segment{0xFE, Bytes{'h', 'i'}});
        extended.insert(extended.end() - 1, Segment{0xEF, Bytes(40, 0xAB)});
        ExpectMatches(Join(extended, rest, 3), "color_420.ppm");
    }
    {
        SCOPED_TRACE("extended-sequential frame marker");
        Bytes sof1 = original;
        sof1[FindMarker(sof1, 0xC0) + 1] = 0xC1;
        ExpectMatches(sof1, "color_420.ppm");
    }
    {
        SCOPED_TRACE("fill bytes before restart markers");
        const Bytes withRestarts = ReadFixture("restart_422.jpg");
        Bytes filled;
        const size_t scan = FindMarker(withRestarts, 0xDA);
        for (size_t i = 0; i < withRestarts.size(); ++i) {
            const bool restart = i > scan && i + 1 < withRestarts.size() && withRestarts[i] == 0xFF &&
                                 withRestarts[i + 1] >= 0xD0 && withRestarts[i + 1] <= 0xD7;
            if (restart) filled.insert(filled.end(), {0xFF, 0xFF});
            filled.push_back(withRestarts[i]);
        }
        ASSERT_GT(filled.size(), withRestarts.size());
        ExpectMatches(filled, "color_422.ppm");
    }
    {
        SCOPED_TRACE("component names alone mark an RGB picture");
        std::vector<Segment> noAdobe;
        SplitHeader(ReadFixture("rgb_444.jpg"), noAdobe, rest);
        noAdobe.erase(std::remove_if(noAdobe.begin(), noAdobe.end(),
                                     [](const Segment& s) { return s.marker == 0xEE; }),
                      noAdobe.end());
        ExpectMatches(Join(noAdobe, rest), "rgb_444.ppm");
    }
}

TEST(JpegDecoder, RefusesProgressivePicture) {
    DecodedImage image;
    EXPECT_FALSE(Decode(ReadFixture("progressive_444.jpg"), image));
}

struct Refusal {
    const char* what;
    uint8_t marker;  // segment to change
    std::vector<std::pair<size_t, uint8_t>> edits;  // offset from the segment's 0xFF, new byte
};

// Each case breaks one thing in color_444.jpg (19x13, three components).
TEST(JpegDecoder, RefusesUnsupportedOrInvalidHeaders) {
    const Refusal cases[] = {
        {"lossless frame", 0xC0, {{1, 0xC3}}},
        {"arithmetic-coded frame", 0xC0, {{1, 0xC9}}},
        {"12-bit samples", 0xC0, {{4, 12}}},
        {"height left to a DNL segment", 0xC0, {{6, 0}}},
        {"zero width", 0xC0, {{8, 0}}},
        {"8193 x 8192 pixels", 0xC0, {{5, 0x20}, {6, 0x00}, {7, 0x20}, {8, 0x01}}},
        {"8192 x 8192 pixels in a tiny file", 0xC0, {{5, 0x20}, {6, 0x00}, {7, 0x20}, {8, 0x00}}},
        {"sampling factor 3", 0xC0, {{11, 0x31}}},
        {"quantization table 4", 0xC0, {{12, 4}}},
        {"two components named alike", 0xC0, {{13, 1}}},
        {"Huffman table class 2", 0xC4, {{4, 0x20}}},
        {"quantization precision 2", 0xDB, {{4, 0x20}}},
        {"scan of an unknown component", 0xDA, {{5, 9}}},
        {"scan using an undefined Huffman table", 0xDA, {{6, 0x33}}},
        {"spectral selection of a progressive scan", 0xDA, {{12, 5}}},
    };
    const Bytes original = ReadFixture("color_444.jpg");
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes broken = original;
        const size_t segment = FindMarker(broken, c.marker);
        for (const auto& [offset, value] : c.edits) broken[segment + offset] = value;
        DecodedImage image;
        EXPECT_FALSE(Decode(broken, image));
    }
}

// Cutting a picture anywhere before its end marker loses data, except for the
// end marker itself; multi-scan and restart layouts are cut between parts too.
TEST(JpegDecoder, RefusesEveryTruncation) {
    for (const char* name : {"restart_422.jpg", "multiscan_420.jpg"}) {
        SCOPED_TRACE(name);
        const Bytes whole = ReadFixture(name);
        ASSERT_GT(whole.size(), 2u);
        for (size_t length = 0; length < whole.size(); ++length) {
            DecodedImage image;
            const bool decoded = Decode(Bytes(whole.begin(), whole.begin() + length), image);
            EXPECT_EQ(decoded, length >= whole.size() - 2) << "length " << length;
        }
    }
}

TEST(JpegDecoder, SurvivesCorruptedBytes) {
    const Bytes original = ReadFixture("restart_422.jpg");
    uint32_t state = 12345;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    for (int round = 0; round < 3000; ++round) {
        Bytes damaged = original;
        const int changes = 1 + next() % 4;
        for (int i = 0; i < changes; ++i) damaged[next() % damaged.size()] = static_cast<uint8_t>(next());
        DecodedImage image;
        if (Decode(damaged, image)) {
            ASSERT_GT(image.width, 0);
            ASSERT_EQ(image.pixels.size(), static_cast<size_t>(image.width) * image.height);
        }
    }
}

}  // namespace
