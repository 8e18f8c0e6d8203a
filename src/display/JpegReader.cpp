// JPEG files through libjpeg's standard decompression. The error exit returns to the reader
// instead of ending the program, and a file that ends early is an error rather than grey rows:
// a corrupt file gives no pixels. Colour and grey images become RGB rows, decoded from the top
// into the bands of the bottom-up tiles. The declared size is checked against the file's length
// before decoding starts.
#include <csetjmp>
#include <cstdio>
#include <cstring>

// jpeglib.h needs FILE and size_t declared first.
#include <jerror.h>
#include <jpeglib.h>

#include "display/RasterFile.h"
#include "display/RasterSource.h"
#include "entities/GLTexture.h"

namespace {

// Every 8 x 8 block of a Huffman-coded file takes at least one bit; arithmetic coding may take
// far less.
constexpr int64_t kHuffmanPixelsPerByte = 512;
constexpr int64_t kArithmeticPixelsPerByte = 4096;
constexpr long kMaxDecoderMemory = 512L << 20;

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX] = {};
};

[[noreturn]] void errorExit(j_common_ptr cinfo) {
    auto* e = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, e->message);
    std::longjmp(e->jump, 1);
}

// Warnings are counted, and nothing is printed; a file cut short is an error.
void emitMessage(j_common_ptr cinfo, int level) {
    if (level >= 0) return;
    if (cinfo->err->msg_code == JWRN_JPEG_EOF) errorExit(cinfo);
    cinfo->err->num_warnings++;
}

void outputMessage(j_common_ptr) {}

class JpegSource final : public mmBandSource {
public:
    JpegSource() {
        cinfo_.err = jpeg_std_error(&errors_.pub);
        errors_.pub.error_exit = errorExit;
        errors_.pub.emit_message = emitMessage;
        errors_.pub.output_message = outputMessage;
    }
    ~JpegSource() override {
        if (created_) jpeg_destroy_decompress(&cinfo_);
    }

    bool Open(const std::string& path, std::string& error);
    bool LastRowFirst() const override { return true; }

protected:
    bool ReadBand(int32_t row, int32_t tileSize, int32_t firstColumn, int32_t width,
                  std::vector<uint8_t>& band) override;

private:
    bool Start(int64_t fileSize, std::string& error);
    bool DecodeRows(int32_t count, int32_t firstColumn, int32_t width, uint8_t* band);

    jpeg_decompress_struct cinfo_{};
    ErrorManager errors_{};
    bool created_ = false;
    mmRasterFile file_;
    std::vector<uint8_t> scanline_;
};

bool JpegSource::Open(const std::string& path, std::string& error) {
    const int64_t size = file_.OpenRegular(path, error);
    return size >= 0 && Start(size, error);
}

bool JpegSource::Start(int64_t fileSize, std::string& error) {
    if (setjmp(errors_.jump)) {
        error = std::string("the JPEG data cannot be read (") + errors_.message + ")";
        return false;
    }
    jpeg_create_decompress(&cinfo_);
    created_ = true;
    cinfo_.mem->max_memory_to_use = kMaxDecoderMemory;
    jpeg_stdio_src(&cinfo_, file_.Handle());
    jpeg_read_header(&cinfo_, TRUE);
    const int64_t pixels = int64_t{cinfo_.image_width} * cinfo_.image_height;
    const int64_t perByte = cinfo_.arith_code ? kArithmeticPixelsPerByte : kHuffmanPixelsPerByte;
    if (cinfo_.image_width == 0 || cinfo_.image_height == 0) {
        error = "the image has no pixels";
        return false;
    }
    if (pixels > perByte * fileSize) return CutShort(error);
    if (cinfo_.jpeg_color_space == JCS_CMYK || cinfo_.jpeg_color_space == JCS_YCCK) {
        error = "CMYK JPEG files are not read";
        return false;
    }
    cinfo_.out_color_space = cinfo_.num_components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_start_decompress(&cinfo_);
    scanline_.resize(std::size_t(cinfo_.output_width) * cinfo_.output_components);
    header_.width = static_cast<int32_t>(cinfo_.output_width);
    header_.height = static_cast<int32_t>(cinfo_.output_height);
    header_.orientation = kRasterJpeg;
    header_.bytesPerTexel = 3;
    return true;
}

// The next count rows from the top, into the band from its last row up.
bool JpegSource::DecodeRows(int32_t count, int32_t firstColumn, int32_t width, uint8_t* band) {
    if (setjmp(errors_.jump)) {
        error_ = std::string("the JPEG data cannot be read (") + errors_.message + ")";
        return false;
    }
    const int components = cinfo_.output_components;
    for (int32_t k = 0; k < count; ++k) {
        JSAMPROW row = scanline_.data();
        if (jpeg_read_scanlines(&cinfo_, &row, 1) != 1) {
            error_ = "the file is cut short";
            return false;
        }
        uint8_t* out = band + std::size_t(count - 1 - k) * width * 3;
        const uint8_t* in = scanline_.data() + std::size_t(firstColumn) * components;
        if (components == 3) {
            std::memcpy(out, in, std::size_t(width) * 3);
            continue;
        }
        for (int32_t x = 0; x < width; ++x, out += 3)
            out[0] = out[1] = out[2] = in[x];
    }
    return true;
}

// The bands come from the top down: tile row `row` (counted from the bottom) must be the next.
bool JpegSource::ReadBand(int32_t row, int32_t tileSize, int32_t firstColumn, int32_t width,
                          std::vector<uint8_t>& band) {
    const int64_t bottom = int64_t{row} * tileSize;
    const int32_t count =
        static_cast<int32_t>(std::min<int64_t>(tileSize, header_.height - bottom));
    if (int64_t{cinfo_.output_scanline} != header_.height - bottom - count) {
        error_ = "the rows were asked for out of order";
        return false;
    }
    band.resize(std::size_t(width) * count * 3);
    return DecodeRows(count, firstColumn, width, band.data());
}

}  // namespace

std::unique_ptr<mmRasterSource> OpenJpegSource(const std::string& path, std::string& error) {
    auto source = std::make_unique<JpegSource>();
    if (!source->Open(path, error)) return nullptr;
    return source;
}
