// The raster readers without GL: the loader chosen by the path, the texels of every format and
// variant, world files, the first load with its messages, hostile files (cut short, huge or zero
// declared sizes, garbage) giving no pixels, and the ink-keeping mipmap rule.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "display/RasterImageLoad.h"
#include "display/RasterSource.h"
#include "display/RasterTextureLoader.h"
#include "display/WorldFile.h"
#include "entities/GLTexture.h"
#include "platform/RecordingHost.h"
#include "support/RasterFiles.h"

namespace fs = std::filesystem;
using rasterfiles::Rgb;

namespace {

// Eight colours in blocks of 8 x 8 pixels, so JPEG keeps them nearly as they are.
Rgb blocks(int x, int y) {
    const int k = (x / 8 + 3 * (y / 8)) % 8;
    return Rgb{uint8_t(k & 1 ? 230 : 20), uint8_t(k & 2 ? 230 : 20), uint8_t(k & 4 ? 230 : 20)};
}

bool ink(int x, int y) {
    return (x + 2 * y) % 7 == 0 || x == 5;
}

struct Decoded {
    mmRasterHeader header;
    std::vector<uint8_t> texels;  // width * height in upload order
    std::string error;
};

// Every tile in the source's order, put together.
Decoded decode(const fs::path& path, int32_t tile) {
    Decoded d;
    const std::unique_ptr<mmRasterSource> source = OpenRasterSource(path.string(), d.error);
    if (!source) return d;
    d.header = source->Header();
    const int32_t w = d.header.width, h = d.header.height, bpp = d.header.bytesPerTexel;
    if (d.header.fileTileSize > 0) tile = d.header.fileTileSize;
    const int32_t columns = (w + tile - 1) / tile, rows = (h + tile - 1) / tile;
    d.texels.assign(std::size_t(w) * h * bpp, 0);
    std::vector<uint8_t> t(std::size_t(tile) * tile * bpp);
    for (int32_t k = 0; k < rows; ++k) {
        const int32_t row = source->LastRowFirst() ? rows - 1 - k : k;
        for (int32_t c = 0; c < columns; ++c) {
            if (!source->ReadTile(row, c, tile, t.data())) {
                d.error = source->Error();
                d.texels.clear();
                return d;
            }
            for (int32_t y = 0; y < tile && row * tile + y < h; ++y)
                for (int32_t x = 0; x < tile && c * tile + x < w; ++x)
                    std::memcpy(&d.texels[(std::size_t(row * tile + y) * w + c * tile + x) * bpp],
                                &t[(std::size_t(y) * tile + x) * bpp], std::size_t(bpp));
        }
    }
    return d;
}

// The RGB texel of image pixel (x, y from the top) in a bottom-up decode.
Rgb texelOf(const Decoded& d, int x, int y) {
    const uint8_t* p = &d.texels[(std::size_t(d.header.height - 1 - y) * d.header.width + x) * 3];
    return Rgb{p[0], p[1], p[2]};
}

class RasterFilesTest : public ::testing::Test {
protected:
    fs::path dir;

    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("kestrel-raster-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    fs::path file(const std::string& name, const std::vector<uint8_t>& bytes) {
        const fs::path p = dir / name;
        rasterfiles::writeBytes(p, bytes);
        return p;
    }
    void writeText(const std::string& name, const std::string& text) {
        std::ofstream(dir / name) << text;
    }
};

}  // namespace

TEST(RasterFormat, ChosenByTheFirstSubstringInOrder) {
    const std::pair<const char*, mmRasterFormat> cases[] = {
        {"photo.jpeg", mmRasterFormat::None},  // only .jpg is recognised
        {"a.tif.bmp", mmRasterFormat::Bmp},    // .bmp is tested first
        {"SCAN.TIF", mmRasterFormat::Tiff},
        {"/x/sheet.tiff", mmRasterFormat::Tiff},
        {"Photo.JPG", mmRasterFormat::Jpeg},
        {"aerial.tga", mmRasterFormat::Tga},
        {"plan.png", mmRasterFormat::None},
        {"a.jpg\"b.bmp", mmRasterFormat::Jpeg},  // cut at the quote
    };
    for (const auto& [path, format] : cases)
        EXPECT_EQ(RasterFormatOf(path), format) << path;
}

// Every BMP and TGA variant gives the same RGB texels, bottom-up, over partial tiles.
TEST_F(RasterFilesTest, BmpAndTgaVariantsGiveTheSameTexels) {
    const int w = 37, h = 21;
    std::vector<Rgb> palette;
    for (int k = 0; k < 8; ++k)
        palette.push_back(blocks(8 * (k % 3), 8 * (k / 3)));
    const auto indexed = [&](int x, int y) {
        const Rgb c = blocks(x, y);
        for (std::size_t i = 0; i < palette.size(); ++i)
            if (palette[i].r == c.r && palette[i].g == c.g && palette[i].b == c.b)
                return Rgb{uint8_t(i), 0, 0};
        return Rgb{};
    };
    const std::pair<std::string, std::vector<uint8_t>> files[] = {
        {"a24.bmp", rasterfiles::bmpBytes(w, h, 24, blocks)},
        {"down24.bmp", rasterfiles::bmpBytes(w, h, 24, blocks, true)},
        {"a32.bmp", rasterfiles::bmpBytes(w, h, 32, blocks)},
        {"a8.bmp", rasterfiles::bmpBytes(w, h, 8, indexed, false, palette)},
        {"a24.tga", rasterfiles::tgaBytes(w, h, 24, blocks)},
        {"down32.tga", rasterfiles::tgaBytes(w, h, 32, blocks, true)},
    };
    for (const auto& [name, bytes] : files) {
        const Decoded d = decode(file(name, bytes), 16);
        ASSERT_TRUE(d.error.empty()) << name << ": " << d.error;
        EXPECT_EQ(d.header.orientation, kRasterBottomUp);
        int wrong = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const Rgb a = texelOf(d, x, y), b = blocks(x, y);
                wrong += a.r != b.r || a.g != b.g || a.b != b.b;
            }
        EXPECT_EQ(wrong, 0) << name;
    }
}

TEST_F(RasterFilesTest, JpegColourAndGreyDecodeBottomUp) {
    const int w = 40, h = 27;
    ASSERT_TRUE(rasterfiles::writeJpeg(dir / "c.jpg", w, h, blocks));
    ASSERT_TRUE(rasterfiles::writeJpeg(dir / "g.jpg", w, h, blocks, 95, true));
    const Decoded colour = decode(dir / "c.jpg", 16);
    ASSERT_TRUE(colour.error.empty()) << colour.error;
    EXPECT_EQ(colour.header.orientation, kRasterJpeg);
    const Decoded grey = decode(dir / "g.jpg", 16);
    ASSERT_TRUE(grey.error.empty()) << grey.error;
    for (const auto& [x, y] : {std::pair{3, 3}, {20, 12}, {36, 25}}) {
        const Rgb a = texelOf(colour, x, y), b = blocks(x, y);
        EXPECT_NEAR(a.r, b.r, 30) << x << "," << y;
        EXPECT_NEAR(a.b, b.b, 30) << x << "," << y;
        const Rgb g = texelOf(grey, x, y);
        EXPECT_NEAR(g.g, b.r, 30);
        EXPECT_EQ(g.r, g.b);  // grey replicated
    }
}

// Tiled sheets (either photometric) give their own tiles; strips go through the RGBA interface.
// Either way ink is 255 (inverted luminance), rows from the top.
TEST_F(RasterFilesTest, TiffInkIsInvertedLuminance) {
    const int w = 45, h = 40;
    ASSERT_TRUE(rasterfiles::writeBilevelTiff(dir / "t.tif", w, h, 16, ink, true));
    ASSERT_TRUE(rasterfiles::writeBilevelTiff(dir / "b.tif", w, h, 16, ink, false, true));
    ASSERT_TRUE(rasterfiles::writeBilevelTiff(dir / "s.tif", w, h, 0, ink));
    for (const char* name : {"t.tif", "b.tif", "s.tif"}) {
        const Decoded d = decode(dir / name, 32);
        ASSERT_TRUE(d.error.empty()) << name << ": " << d.error;
        EXPECT_EQ(d.header.orientation, kRasterTiffLuminance);
        EXPECT_EQ(d.header.bytesPerTexel, 1);
        EXPECT_EQ(d.header.fileTileSize, name[0] == 's' ? 0 : 16) << name;
        int wrong = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                wrong += d.texels[y * w + x] != (ink(x, y) ? 255 : 0);
        EXPECT_EQ(wrong, 0) << name;
    }
    ASSERT_TRUE(rasterfiles::writeRgbTiff(dir / "rgb.tif", 20, 10, [](int x, int) {
        return x < 10 ? Rgb{255, 255, 255} : Rgb{0, 0, 255};
    }));
    const Decoded rgb = decode(dir / "rgb.tif", 16);
    ASSERT_TRUE(rgb.error.empty()) << rgb.error;
    EXPECT_EQ(rgb.texels[0], 0);          // white
    EXPECT_EQ(rgb.texels[15], 255 - 29);  // pure blue's luminance is 29
}

TEST(WorldFile, LinesValuesAndPlacement) {
    struct Case {
        const char* text;
        bool bad, placed;
        double sx, sy, x, y;
    };
    const Case cases[] = {
        {"0.5\n0\n0\n-0.5\n100\n200\n", false, true, 0.5, 0.5, 100, 200},
        {"0.5\r\n0\r\n0\r\n-0.5\r\n100\r\n200\r\n\r\n", false, true, 0.5, 0.5, 100, 200},
        {"0.5\n0\n0\n0.5\n100\n200\n", true, false, 0.5, 0.5, 0, 0},  // y size not negative
        {"0.5\n0\n0\n-0.5\n100\n", false, false, 0.5, 0.5, 100, 0},   // five lines
        {"0.5\n0\n0\n-0.5\n100\n200\n7\n", false, false, 0.5, 0.5, 100, 200},
        {"abc\n0\n0\n-0.5\n100\n200\n", true, false, 1, 1, 0, 0},
        {"0\n0\n0\n-0.5\n100\n200\n", true, false, 1, 1, 0, 0},
    };
    for (const Case& c : cases) {
        std::istringstream in(c.text);
        const mmWorldFile w = ParseWorldFile(in);
        EXPECT_EQ(w.bad, c.bad) << c.text;
        EXPECT_EQ(w.placed, c.placed) << c.text;
        EXPECT_DOUBLE_EQ(w.pixelSizeX, c.sx) << c.text;
        EXPECT_DOUBLE_EQ(w.pixelSizeY, c.sy) << c.text;
        EXPECT_DOUBLE_EQ(w.insertX, c.x) << c.text;
        EXPECT_DOUBLE_EQ(w.insertY, c.y) << c.text;
    }
}

// SCAN.TIF 400 pixels high with scan.tfw: placed at (100, 200 - 400 * 0.5); a positive y size
// tells and leaves it at (0, 0) with sizes 0.5 and 0.5.
TEST_F(RasterFilesTest, FirstLoadAppliesTheWorldFile) {
    ASSERT_TRUE(rasterfiles::writeBilevelTiff(dir / "SCAN.TIF", 64, 400, 0, ink));
    writeText("scan.tfw", "0.5\n0\n0\n-0.5\n100\n200\n");
    kestrel::platform::RecordingHost host;
    GLTexture image;
    EXPECT_EQ(LoadRasterImage(image, (dir / "SCAN.TIF").string(), 512, host), mmRasterLoad::Placed);
    EXPECT_DOUBLE_EQ(image.pixelSizeX, 0.5);
    EXPECT_DOUBLE_EQ(image.pixelSizeY, 0.5);
    EXPECT_DOUBLE_EQ(image.insertX, 100.0);
    EXPECT_DOUBLE_EQ(image.insertY, 0.0);
    EXPECT_DOUBLE_EQ(image.extents.maxY, 200.0);
    EXPECT_EQ(image.tileSize, 512);
    EXPECT_TRUE(host.messages().empty());

    writeText("scan.tfw", "0.5\n0\n0\n0.5\n100\n200\n");
    EXPECT_EQ(LoadRasterImage(image, (dir / "SCAN.TIF").string(), 512, host), mmRasterLoad::Loaded);
    ASSERT_EQ(host.messages().size(), 1u);
    EXPECT_EQ(host.messages()[0].text, kBadWorldFileMessage);
    EXPECT_DOUBLE_EQ(image.insertX, 0.0);
    EXPECT_DOUBLE_EQ(image.insertY, 0.0);
    EXPECT_DOUBLE_EQ(image.pixelSizeY, 0.5);
}

TEST_F(RasterFilesTest, UnreadableFilesAreToldWithTheirPath) {
    kestrel::platform::RecordingHost host;
    GLTexture image;
    const std::string missing = (dir / "gone.bmp").string();
    EXPECT_EQ(LoadRasterImage(image, missing, 512, host), mmRasterLoad::Failed);
    ASSERT_EQ(host.messages().size(), 1u);
    EXPECT_EQ(host.messages()[0].text,
              "Cannot load the raster image " + missing + ": the file does not exist.");
    EXPECT_EQ(host.messages()[0].kind, kestrel::platform::MessageKind::Error);

    rasterfiles::writeBytes(dir / "photo.jpeg", {1, 2, 3});
    EXPECT_EQ(LoadRasterImage(image, (dir / "photo.jpeg").string(), 512, host),
              mmRasterLoad::Failed);
    EXPECT_NE(host.messages().back().text.find("only .bmp, .tga, .tif and .jpg files are read"),
              std::string::npos);
    EXPECT_TRUE(image.points.empty());
}

namespace {

// Sets a 16-bit big-endian field of a JPEG's frame header: offset 3 is the height, 5 the width.
std::vector<uint8_t> withJpegFrame(std::vector<uint8_t> bytes, int offset, uint16_t value) {
    for (std::size_t i = 0; i + 9 < bytes.size(); ++i)
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) {
            bytes[i + 2 + offset] = uint8_t(value >> 8);
            bytes[i + 3 + offset] = uint8_t(value);
            break;
        }
    return bytes;
}

uint32_t le32(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24;
}

// Sets the first value of a tag of a little-endian TIFF's first directory.
std::vector<uint8_t> withTiffTag(std::vector<uint8_t> bytes, uint16_t tag, uint32_t value) {
    const uint32_t ifd = le32(&bytes[4]);
    const int count = bytes[ifd] | bytes[ifd + 1] << 8;
    for (int i = 0; i < count; ++i) {
        uint8_t* e = &bytes[ifd + 2 + 12 * i];
        if ((e[0] | e[1] << 8) != tag) continue;
        const bool shortValue = (e[2] | e[3] << 8) == 3;
        const uint32_t size = le32(e + 4) * (shortValue ? 2 : 4);
        uint8_t* at = size <= 4 ? e + 8 : &bytes.at(le32(e + 8));
        at[0] = uint8_t(value);
        at[1] = uint8_t(value >> 8);
        if (!shortValue) {
            at[2] = uint8_t(value >> 16);
            at[3] = uint8_t(value >> 24);
        }
    }
    return bytes;
}

std::vector<uint8_t> cut(std::vector<uint8_t> bytes, std::size_t keep) {
    bytes.resize(std::min(keep, bytes.size()));
    return bytes;
}

}  // namespace

// Files cut short, with huge or zero declared sizes, or of garbage give an error and no pixels;
// the sizes that are too large are refused at the header, before anything is allocated for them.
TEST_F(RasterFilesTest, HostileFilesGiveNoPixels) {
    const auto bmp = rasterfiles::bmpBytes(64, 64, 24, blocks);
    const auto tga = rasterfiles::tgaBytes(64, 64, 24, blocks);
    ASSERT_TRUE(rasterfiles::writeJpeg(dir / "ok.jpg", 64, 64, blocks));
    const auto jpg = rasterfiles::readBytes(dir / "ok.jpg");
    ASSERT_TRUE(rasterfiles::writeRgbTiff(dir / "ok.tif", 64, 64, blocks));
    const auto tif = rasterfiles::readBytes(dir / "ok.tif");
    ASSERT_TRUE(rasterfiles::writeBilevelTiff(dir / "okt.tif", 64, 64, 16, ink, true));
    const auto tiled = rasterfiles::readBytes(dir / "okt.tif");
    ASSERT_TRUE(rasterfiles::writeBilevelTiff(dir / "two.tif", 64, 32, 0, ink));
    const auto twoStrips = rasterfiles::readBytes(dir / "two.tif");

    std::vector<uint8_t> hugeBmp = bmp;
    hugeBmp[18] = hugeBmp[19] = hugeBmp[20] = 0;
    hugeBmp[21] = 0x40;  // width 2^30
    std::vector<uint8_t> zeroBmp = bmp;
    std::fill(zeroBmp.begin() + 22, zeroBmp.begin() + 26, 0);
    std::vector<uint8_t> hugeTga = tga;
    hugeTga[12] = hugeTga[13] = hugeTga[14] = hugeTga[15] = 0xFF;
    std::vector<uint8_t> garbage(3000);
    for (std::size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = uint8_t(i * 7919 >> 3);

    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        bool refusedAtHeader;
    };
    const Case cases[] = {
        {"cut.bmp", cut(bmp, bmp.size() / 2), true},
        {"header.bmp", cut(bmp, 20), true},
        {"huge.bmp", hugeBmp, true},
        {"zero.bmp", zeroBmp, true},
        {"cut.tga", cut(tga, tga.size() - 1), true},
        {"huge.tga", hugeTga, true},
        {"cut.jpg", cut(jpg, jpg.size() / 2), false},
        {"header.jpg", cut(jpg, 40), true},
        {"huge.jpg", withJpegFrame(withJpegFrame(jpg, 3, 60000), 5, 60000), true},
        {"zero.jpg", withJpegFrame(jpg, 3, 0), true},
        {"cut.tif", cut(tif, tif.size() - 100), true},
        {"cutt.tif", cut(tiled, tiled.size() / 2), true},
        {"huge.tif", withTiffTag(withTiffTag(tif, 256, 60000), 257, 60000), true},
        {"hugetiled.tif", withTiffTag(withTiffTag(tiled, 256, 1000000), 257, 1000000), true},
        {"zero.tif", withTiffTag(tif, 256, 0), true},
        {"strip.tif", withTiffTag(twoStrips, 279, 1000000), true},  // a strip beyond the end
        {"garbage.bmp", garbage, true},
        {"garbage.jpg", garbage, true},
        {"garbage.tif", garbage, true},
        {"garbage.tga", garbage, true},
        {"empty.jpg", {}, true},
    };
    for (const Case& c : cases) {
        const fs::path path = file(c.name, c.bytes);
        std::string error;
        const bool opened = OpenRasterSource(path.string(), error) != nullptr;
        EXPECT_EQ(opened, !c.refusedAtHeader) << c.name << ": " << error;
        const Decoded d = decode(path, 16);
        EXPECT_TRUE(d.texels.empty()) << c.name;
        EXPECT_FALSE(d.error.empty()) << c.name;
    }
}

TEST(RasterMipmaps, InkSurvivesEveryLevel) {
    std::vector<uint8_t> level(4 * 4, 0);
    level[1 * 4 + 2] = 255;  // one texel of ink
    std::vector<uint8_t> next;
    HalveInkLevel(level.data(), 4, next);
    EXPECT_EQ(next, (std::vector<uint8_t>{0, 255, 0, 0}));
    HalveInkLevel(next.data(), 2, level);
    EXPECT_EQ(level, (std::vector<uint8_t>{255}));
}
