// Baseline JPEG decoding for the program's logo. Everything read from the file
// is treated as untrusted: each length, index and count is checked before use,
// so a damaged picture makes the decoder give up rather than misbehave.
#include "jpeg_decoder.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <utility>

namespace {

constexpr uint64_t kMaxPixels = 8192ull * 8192ull;
constexpr int kMaxSamplingFactor = 2;
constexpr int kMaxBlocksPerMcu = 10;
// Keeps the running DC sum of a corrupted stream from overflowing; a real
// 8-bit picture stays far below this.
constexpr int kMaxDcPrediction = 1 << 16;

// Position of the n-th stored coefficient within the 8x8 block (row-major).
constexpr uint8_t kZigzag[64] = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
    12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
    35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
    58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

enum Marker : uint8_t {
    kSof0 = 0xC0, kSof1 = 0xC1, kDht = 0xC4, kDac = 0xCC,
    kRst0 = 0xD0, kRst7 = 0xD7, kSoi = 0xD8, kEoi = 0xD9, kSos = 0xDA,
    kDqt = 0xDB, kDnl = 0xDC, kDri = 0xDD, kDhp = 0xDE, kExp = 0xDF,
    kApp0 = 0xE0, kApp14 = 0xEE, kTem = 0x01,
};

// Reads the fields of one marker segment without running past its end.
class SegmentReader {
public:
    SegmentReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    size_t Left() const { return size_ - pos_; }
    const uint8_t* Here() const { return data_ + pos_; }

    bool U8(int& value) {
        if (Left() < 1) return false;
        value = data_[pos_++];
        return true;
    }
    bool Skip(size_t n) {
        if (Left() < n) return false;
        pos_ += n;
        return true;
    }
    bool U16(int& value) {
        if (Left() < 2) return false;
        value = (data_[pos_] << 8) | data_[pos_ + 1];
        pos_ += 2;
        return true;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

struct HuffmanTable {
    bool defined = false;
    int maxCode[17];  // largest code of each length, -1 when there is none
    int minCode[17];
    int firstIndex[17];
    int count = 0;
    uint8_t values[256];
};

bool BuildHuffmanTable(const int counts[16], const uint8_t* values, int total,
                       HuffmanTable& table) {
    int code = 0;
    int index = 0;
    for (int length = 1; length <= 16; ++length) {
        const int n = counts[length - 1];
        table.firstIndex[length] = index;
        table.minCode[length] = code;
        table.maxCode[length] = n ? code + n - 1 : -1;
        code += n;
        index += n;
        if (code > (1 << length)) return false;  // more codes than the length allows
        code <<= 1;
    }
    std::copy(values, values + total, table.values);
    table.count = total;
    table.defined = true;
    return true;
}

// Supplies the bits of one entropy-coded segment, undoing byte stuffing and
// stopping at the next marker instead of reading it as data.
class BitReader {
public:
    BitReader(const uint8_t* data, size_t size, size_t pos)
        : data_(data), size_(size), pos_(pos) {}

    size_t Position() const { return pos_; }

    int Bit() {
        if (bitsLeft_ == 0 && !FillByte()) return -1;
        --bitsLeft_;
        return (byte_ >> bitsLeft_) & 1;
    }

    int Bits(int n) {
        int value = 0;
        for (int i = 0; i < n; ++i) {
            const int bit = Bit();
            if (bit < 0) return -1;
            value = (value << 1) | bit;
        }
        return value;
    }

    // Reads an `n`-bit magnitude and gives it its sign; false on missing data.
    bool SignedValue(int n, int& value) {
        if (n == 0) {
            value = 0;
            return true;
        }
        value = Bits(n);
        if (value < 0) return false;
        if (value < (1 << (n - 1))) value -= (1 << n) - 1;
        return true;
    }

    // Returns the symbol, or -1 when the data ends or matches no code.
    int Decode(const HuffmanTable& table) {
        int code = 0;
        for (int length = 1; length <= 16; ++length) {
            const int bit = Bit();
            if (bit < 0) return -1;
            code = (code << 1) | bit;
            if (code <= table.maxCode[length]) {
                const int index = table.firstIndex[length] + code - table.minCode[length];
                if (index < 0 || index >= table.count) return -1;
                return table.values[index];
            }
        }
        return -1;
    }

    // Drops the bits left in the current byte and consumes the expected
    // restart marker, which must come next.
    bool Restart(int expectedNumber) {
        bitsLeft_ = 0;
        size_t p = pos_;
        if (p >= size_ || data_[p] != 0xFF) return false;
        while (p < size_ && data_[p] == 0xFF) ++p;
        if (p >= size_ || data_[p] != kRst0 + expectedNumber) return false;
        pos_ = p + 1;
        return true;
    }

private:
    bool FillByte() {
        if (pos_ >= size_) return false;
        const uint8_t b = data_[pos_];
        if (b == 0xFF) {
            size_t p = pos_ + 1;
            while (p < size_ && data_[p] == 0xFF) ++p;  // fill bytes
            if (p >= size_ || data_[p] != 0x00) return false;  // a marker ends the data
            pos_ = p + 1;
        } else {
            ++pos_;
        }
        byte_ = b;
        bitsLeft_ = 8;
        return true;
    }

    const uint8_t* data_;
    size_t size_;
    size_t pos_;
    uint8_t byte_ = 0;
    int bitsLeft_ = 0;
};

struct InverseDct {
    double basis[8][8];  // basis[x][u]: weight of frequency u at sample x

    InverseDct() {
        const double pi = std::acos(-1.0);
        for (int x = 0; x < 8; ++x)
            for (int u = 0; u < 8; ++u)
                basis[x][u] = (u == 0 ? std::sqrt(0.5) : 1.0) *
                              std::cos((2 * x + 1) * u * pi / 16) / 2;
    }

    // Turns dequantized coefficients (row-major) into level-shifted samples.
    void Run(const double in[64], uint8_t* out, size_t stride) const {
        double rows[64];
        for (int y = 0; y < 8; ++y)
            for (int u = 0; u < 8; ++u) {
                double sum = 0;
                for (int v = 0; v < 8; ++v) sum += basis[y][v] * in[v * 8 + u];
                rows[y * 8 + u] = sum;
            }
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                double sum = 128;
                for (int u = 0; u < 8; ++u) sum += basis[x][u] * rows[y * 8 + u];
                out[y * stride + x] = static_cast<uint8_t>(std::lround(std::clamp(sum, 0.0, 255.0)));
            }
    }
};

const InverseDct& Idct() {
    static const InverseDct idct;
    return idct;
}

uint8_t ClampToByte(double value) {
    return static_cast<uint8_t>(std::lround(std::clamp(value, 0.0, 255.0)));
}

struct Component {
    int id = 0;
    int h = 1, v = 1;
    int quantTable = 0;
    int dcTable = 0, acTable = 0;
    int width = 0, height = 0;    // samples that belong to the picture
    int blocksWide = 0, blocksHigh = 0;  // blocks stored, padded to whole MCUs
    std::vector<uint8_t> samples;  // row stride blocksWide * 8
    bool decoded = false;
    int dcPrediction = 0;

    size_t Stride() const { return static_cast<size_t>(blocksWide) * 8; }
    uint8_t At(int x, int y) const { return samples[static_cast<size_t>(y) * Stride() + x]; }
};

class Decoder {
public:
    Decoder(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool Run(DecodedImage& out) {
        if (size_ < 2 || data_[0] != 0xFF || data_[1] != kSoi) return false;
        size_t pos = 2;
        for (;;) {
            // A picture that stops right after its last scan lacks only its
            // end marker and is still complete.
            if (pos >= size_) return Finish(out);
            if (data_[pos] != 0xFF) return false;
            while (pos < size_ && data_[pos] == 0xFF) ++pos;
            if (pos >= size_) return Finish(out);
            const uint8_t marker = data_[pos++];

            if (marker == kEoi) return Finish(out);
            if (marker == kTem || (marker >= kRst0 && marker <= kRst7)) continue;
            if (marker == 0x00 || marker == kSoi || marker == kDnl || marker == kDhp || marker == kExp)
                return false;
            // Every other start-of-frame type is progressive, lossless,
            // hierarchical or arithmetic-coded.
            const bool otherFrame = marker >= 0xC0 && marker <= 0xCF && marker != kDht &&
                                    marker != kDac && marker != kSof0 && marker != kSof1;
            if (otherFrame) return false;

            if (pos + 2 > size_) return false;
            const size_t length = (data_[pos] << 8) | data_[pos + 1];
            if (length < 2 || length > size_ - pos) return false;
            SegmentReader segment(data_ + pos + 2, length - 2);
            pos += length;

            bool ok = true;
            switch (marker) {
                case kSof0:
                case kSof1: ok = ReadFrame(segment); break;
                case kDht: ok = ReadHuffmanTables(segment); break;
                case kDqt: ok = ReadQuantTables(segment); break;
                case kDri: ok = ReadRestartInterval(segment); break;
                case kSos: ok = ReadScan(segment, pos); break;
                case kApp0: NoteJfif(segment); break;
                case kApp14: NoteAdobe(segment); break;
                default: break;  // other APPn, COM and reserved segments carry nothing needed
            }
            if (!ok) return false;
        }
    }

private:
    bool ReadFrame(SegmentReader& s) {
        if (frameSeen_) return false;
        int precision, height, width, count;
        if (!s.U8(precision) || !s.U16(height) || !s.U16(width) || !s.U8(count)) return false;
        if (precision != 8) return false;
        if (width == 0 || height == 0) return false;  // height 0 would need a DNL segment
        if (static_cast<uint64_t>(width) * height > kMaxPixels) return false;
        if (count != 1 && count != 3) return false;

        components_.resize(count);
        for (Component& c : components_) {
            int sampling;
            if (!s.U8(c.id) || !s.U8(sampling) || !s.U8(c.quantTable)) return false;
            c.h = sampling >> 4;
            c.v = sampling & 15;
            if (c.h < 1 || c.h > kMaxSamplingFactor || c.v < 1 || c.v > kMaxSamplingFactor) return false;
            if (c.quantTable > 3) return false;
            maxH_ = std::max(maxH_, c.h);
            maxV_ = std::max(maxV_, c.v);
        }
        for (size_t i = 0; i < components_.size(); ++i)
            for (size_t j = 0; j < i; ++j)
                if (components_[i].id == components_[j].id) return false;

        width_ = width;
        height_ = height;
        mcusWide_ = (width + 8 * maxH_ - 1) / (8 * maxH_);
        mcusHigh_ = (height + 8 * maxV_ - 1) / (8 * maxV_);
        for (Component& c : components_) {
            c.width = (width * c.h + maxH_ - 1) / maxH_;
            c.height = (height * c.v + maxV_ - 1) / maxV_;
            c.blocksWide = mcusWide_ * c.h;
            c.blocksHigh = mcusHigh_ * c.v;
        }
        frameSeen_ = true;
        return true;
    }

    bool ReadHuffmanTables(SegmentReader& s) {
        while (s.Left() > 0) {
            int classAndId;
            if (!s.U8(classAndId)) return false;
            const int tableClass = classAndId >> 4;
            const int id = classAndId & 15;
            if (tableClass > 1 || id > 3) return false;
            int counts[16];
            int total = 0;
            for (int& n : counts) {
                if (!s.U8(n)) return false;
                total += n;
            }
            if (total > 256 || s.Left() < static_cast<size_t>(total)) return false;
            HuffmanTable& table = tableClass == 0 ? dcTables_[id] : acTables_[id];
            if (!BuildHuffmanTable(counts, s.Here(), total, table)) return false;
            s.Skip(total);
        }
        return true;
    }

    bool ReadQuantTables(SegmentReader& s) {
        while (s.Left() > 0) {
            int precisionAndId;
            if (!s.U8(precisionAndId)) return false;
            const int precision = precisionAndId >> 4;
            const int id = precisionAndId & 15;
            if (precision > 1 || id > 3) return false;
            for (int i = 0; i < 64; ++i) {
                int value;
                if (!(precision == 0 ? s.U8(value) : s.U16(value))) return false;
                quant_[id][kZigzag[i]] = value;
            }
            quantDefined_[id] = true;
        }
        return true;
    }

    bool ReadRestartInterval(SegmentReader& s) {
        return s.U16(restartInterval_) && s.Left() == 0;
    }

    void NoteJfif(SegmentReader& s) {
        static const uint8_t kTag[5] = {'J', 'F', 'I', 'F', 0};
        if (s.Left() >= 5 && std::equal(kTag, kTag + 5, s.Here())) jfifSeen_ = true;
    }

    void NoteAdobe(SegmentReader& s) {
        static const uint8_t kTag[5] = {'A', 'd', 'o', 'b', 'e'};
        if (s.Left() < 12 || !std::equal(kTag, kTag + 5, s.Here())) return;
        adobeSeen_ = true;
        adobeTransform_ = s.Here()[11];
    }

    bool ReadScan(SegmentReader& s, size_t& pos) {
        if (!frameSeen_) return false;
        int count;
        if (!s.U8(count) || count < 1 || count > static_cast<int>(components_.size())) return false;
        std::vector<Component*> scan;
        int blocksPerMcu = 0;
        for (int i = 0; i < count; ++i) {
            int id, tables;
            if (!s.U8(id) || !s.U8(tables)) return false;
            auto found = std::find_if(components_.begin(), components_.end(),
                                      [id](const Component& c) { return c.id == id; });
            if (found == components_.end() || found->decoded) return false;
            Component& c = *found;
            if (std::find(scan.begin(), scan.end(), &c) != scan.end()) return false;
            c.dcTable = tables >> 4;
            c.acTable = tables & 15;
            if (c.dcTable > 3 || c.acTable > 3) return false;
            if (!dcTables_[c.dcTable].defined || !acTables_[c.acTable].defined) return false;
            if (!quantDefined_[c.quantTable]) return false;
            blocksPerMcu += c.h * c.v;
            scan.push_back(&c);
        }
        int start, end, approximation;
        if (!s.U8(start) || !s.U8(end) || !s.U8(approximation)) return false;
        if (start != 0 || end != 63 || approximation != 0) return false;
        if (count > 1 && blocksPerMcu > kMaxBlocksPerMcu) return false;
        return DecodeScan(scan, pos);
    }

    bool DecodeScan(const std::vector<Component*>& scan, size_t& pos) {
        // A lone component is stored block by block over its own area; several
        // are interleaved MCU by MCU over the padded picture.
        const bool interleaved = scan.size() > 1;
        const Component& first = *scan[0];
        const int unitsWide = interleaved ? mcusWide_ : (first.width + 7) / 8;
        const int unitsHigh = interleaved ? mcusHigh_ : (first.height + 7) / 8;
        uint64_t blocks = static_cast<uint64_t>(unitsWide) * unitsHigh;
        if (interleaved) {
            uint64_t perMcu = 0;
            for (const Component* c : scan) perMcu += c->h * c->v;
            blocks *= perMcu;
        }
        // Every block takes at least two bits, so a claim of more blocks than
        // the rest of the file can hold is refused before any memory is taken.
        if (blocks > static_cast<uint64_t>(size_ - pos) * 4) return false;

        for (Component* c : scan) {
            c->samples.assign(c->Stride() * c->blocksHigh * 8, 0);
            c->dcPrediction = 0;
        }

        BitReader bits(data_, size_, pos);
        const uint64_t units = static_cast<uint64_t>(unitsWide) * unitsHigh;
        int nextRestart = 0;
        for (uint64_t unit = 0; unit < units; ++unit) {
            if (restartInterval_ > 0 && unit > 0 && unit % restartInterval_ == 0) {
                if (!bits.Restart(nextRestart)) return false;
                nextRestart = (nextRestart + 1) & 7;
                for (Component* c : scan) c->dcPrediction = 0;
            }
            const int ux = static_cast<int>(unit % unitsWide);
            const int uy = static_cast<int>(unit / unitsWide);
            if (!interleaved) {
                if (!DecodeBlock(bits, *scan[0], ux, uy)) return false;
                continue;
            }
            for (Component* c : scan)
                for (int by = 0; by < c->v; ++by)
                    for (int bx = 0; bx < c->h; ++bx)
                        if (!DecodeBlock(bits, *c, ux * c->h + bx, uy * c->v + by)) return false;
        }
        for (Component* c : scan) c->decoded = true;

        // Skip whatever an encoder left between the scan and the next marker.
        pos = bits.Position();
        while (pos + 1 < size_ && !(data_[pos] == 0xFF && data_[pos + 1] != 0x00 && data_[pos + 1] != 0xFF))
            ++pos;
        return true;
    }

    bool DecodeBlock(BitReader& bits, Component& c, int blockX, int blockY) {
        double coefficients[64] = {};
        const int* quant = quant_[c.quantTable];

        const int category = bits.Decode(dcTables_[c.dcTable]);
        if (category < 0 || category > 11) return false;
        int difference;
        if (!bits.SignedValue(category, difference)) return false;
        c.dcPrediction = std::clamp(c.dcPrediction + difference, -kMaxDcPrediction, kMaxDcPrediction);
        coefficients[0] = static_cast<double>(c.dcPrediction) * quant[0];

        for (int k = 1; k < 64;) {
            const int symbol = bits.Decode(acTables_[c.acTable]);
            if (symbol < 0) return false;
            const int run = symbol >> 4;
            const int size = symbol & 15;
            if (size == 0) {
                if (run != 15) break;  // end of block
                k += 16;
                continue;
            }
            k += run;
            if (k > 63) return false;
            int value;
            if (!bits.SignedValue(size, value)) return false;
            coefficients[kZigzag[k]] = static_cast<double>(value) * quant[kZigzag[k]];
            ++k;
        }

        const size_t offset = static_cast<size_t>(blockY) * 8 * c.Stride() + static_cast<size_t>(blockX) * 8;
        Idct().Run(coefficients, c.samples.data() + offset, c.Stride());
        return true;
    }

    // Brings a component to full picture size; chroma is interpolated with
    // 3:1 weights towards the nearer stored sample, so edges stay smooth.
    std::vector<uint8_t> Upsample(const Component& c) const {
        const int fx = maxH_ / c.h;
        const int fy = maxV_ / c.v;
        const int scale = (fx == 2 ? 4 : 1) * (fy == 2 ? 4 : 1);
        auto neighbour = [](int o, int factor, int limit, int& near) {
            if (factor == 1) {
                near = o;
                return o;
            }
            near = o >> 1;
            return std::clamp((o & 1) ? near + 1 : near - 1, 0, limit - 1);
        };
        std::vector<uint8_t> full(static_cast<size_t>(width_) * height_);
        for (int y = 0; y < height_; ++y) {
            int sy;
            const int ny = neighbour(y, fy, c.height, sy);
            auto column = [&](int x) {
                return fy == 2 ? 3 * c.At(x, sy) + c.At(x, ny) : c.At(x, sy);
            };
            for (int x = 0; x < width_; ++x) {
                int sx;
                const int nx = neighbour(x, fx, c.width, sx);
                const int sum = fx == 2 ? 3 * column(sx) + column(nx) : column(sx);
                full[static_cast<size_t>(y) * width_ + x] = static_cast<uint8_t>((sum + scale / 2) / scale);
            }
        }
        return full;
    }

    // Pictures without a JFIF or Adobe marker but with components named
    // 'R', 'G', 'B' are stored untransformed by the encoders that write them.
    bool StoredAsRgb() const {
        if (adobeSeen_) return adobeTransform_ == 0;
        if (jfifSeen_) return false;
        return components_[0].id == 'R' && components_[1].id == 'G' && components_[2].id == 'B';
    }

    bool Finish(DecodedImage& out) const {
        if (!frameSeen_) return false;
        for (const Component& c : components_)
            if (!c.decoded) return false;

        DecodedImage image;
        image.width = width_;
        image.height = height_;
        image.pixels.resize(static_cast<size_t>(width_) * height_);
        if (components_.size() == 1) {
            const Component& grey = components_[0];
            for (int y = 0; y < height_; ++y)
                for (int x = 0; x < width_; ++x) {
                    const uint32_t g = grey.At(x, y);
                    image.pixels[static_cast<size_t>(y) * width_ + x] = (g << 16) | (g << 8) | g;
                }
        } else {
            const std::vector<uint8_t> a = Upsample(components_[0]);
            const std::vector<uint8_t> b = Upsample(components_[1]);
            const std::vector<uint8_t> c = Upsample(components_[2]);
            const bool rgb = StoredAsRgb();
            for (size_t i = 0; i < image.pixels.size(); ++i) {
                uint32_t r = a[i], g = b[i], bl = c[i];
                if (!rgb) {
                    const double luma = a[i], cb = b[i] - 128.0, cr = c[i] - 128.0;
                    r = ClampToByte(luma + 1.402 * cr);
                    g = ClampToByte(luma - 0.344136 * cb - 0.714136 * cr);
                    bl = ClampToByte(luma + 1.772 * cb);
                }
                image.pixels[i] = (r << 16) | (g << 8) | bl;
            }
        }
        out = std::move(image);
        return true;
    }

    const uint8_t* data_;
    size_t size_;

    int quant_[4][64] = {};
    bool quantDefined_[4] = {};
    HuffmanTable dcTables_[4];
    HuffmanTable acTables_[4];
    int restartInterval_ = 0;

    bool frameSeen_ = false;
    int width_ = 0, height_ = 0;
    int maxH_ = 1, maxV_ = 1;
    int mcusWide_ = 0, mcusHigh_ = 0;
    std::vector<Component> components_;

    bool jfifSeen_ = false;
    bool adobeSeen_ = false;
    int adobeTransform_ = 0;
};

}  // namespace

bool DecodeJpeg(const uint8_t* data, size_t size, DecodedImage& out) {
    if (data == nullptr) return false;
    try {
        return Decoder(data, size).Run(out);
    } catch (const std::exception&) {
        // Only allocation can throw; a picture too large for memory is refused.
        return false;
    }
}
