// Image encoders and the PDF page writer.
#include "shell/ImageEncoders.h"

#include <fcntl.h>
#include <gif_lib.h>
#include <unistd.h>

#include <QImage>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

using kestrel::platform::Image;

namespace {

QImage toQImage(const Image& picture) {
    return QImage(picture.rgba.data(), picture.width, picture.height, picture.width * 4,
                  QImage::Format_RGBX8888);
}

bool writeWithQt(const Image& picture, const char* format, const std::string& path,
                 std::string* error) {
    QImageWriter writer(QString::fromStdString(path), format);
    if (writer.write(toQImage(picture))) return true;
    if (error) *error = writer.errorString().toStdString();
    return false;
}

// 256 colours chosen by giflib's median cut, one frame.
bool writeGif(const Image& picture, const std::string& path, std::string* error) {
    const auto w = static_cast<unsigned>(picture.width), h = static_cast<unsigned>(picture.height);
    const std::size_t n = static_cast<std::size_t>(w) * h;
    std::vector<GifByteType> r(n), g(n), b(n), indices(n);
    for (std::size_t i = 0; i < n; ++i) {
        r[i] = picture.rgba[i * 4];
        g[i] = picture.rgba[i * 4 + 1];
        b[i] = picture.rgba[i * 4 + 2];
    }
    int colours = 256;
    std::vector<GifColorType> palette(256);
    if (GifQuantizeBuffer(w, h, &colours, r.data(), g.data(), b.data(), indices.data(),
                          palette.data()) == GIF_ERROR) {
        if (error) *error = "the picture's colours cannot be reduced for GIF";
        return false;
    }
    // Opened here so that the file gets the usual permissions, not giflib's owner-only ones.
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0) {
        if (error) *error = "cannot write the file " + path;
        return false;
    }
    int code = 0;
    GifFileType* file = EGifOpenFileHandle(fd, &code);
    if (!file) {
        close(fd);
        if (error) *error = GifErrorString(code);
        return false;
    }
    ColorMapObject* map = GifMakeMapObject(256, palette.data());
    bool ok = map && EGifPutScreenDesc(file, picture.width, picture.height, 8, 0, map) == GIF_OK &&
              EGifPutImageDesc(file, 0, 0, picture.width, picture.height, false, nullptr) ==
                  GIF_OK;
    for (unsigned y = 0; ok && y < h; ++y)
        ok = EGifPutLine(file, indices.data() + static_cast<std::size_t>(y) * w,
                         picture.width) == GIF_OK;
    if (!ok && error) *error = GifErrorString(file->Error);
    GifFreeMapObject(map);
    if (EGifCloseFile(file, &code) == GIF_ERROR && ok) {
        if (error) *error = GifErrorString(code);
        ok = false;
    }
    return ok;
}

struct Encoder {
    const char* mimeType;
    const char* qtFormat;  // null: giflib
};

constexpr Encoder kEncoders[] = {
    {"image/bmp", "bmp"}, {"image/jpeg", "jpeg"}, {"image/png", "png"},
    {"image/tiff", "tiff"}, {"image/gif", nullptr},
};

}  // namespace

bool SaveImageWithEncoder(const Image& picture, const std::string& mimeType,
                          const std::string& path, std::string* error) {
    for (const Encoder& e : kEncoders) {
        if (mimeType != e.mimeType) continue;
        return e.qtFormat ? writeWithQt(picture, e.qtFormat, path, error)
                          : writeGif(picture, path, error);
    }
    if (error) *error = "no image encoder for " + mimeType;
    return false;
}

kestrel::platform::PrinterSetup PdfPrinterSetup(const std::string& paperName, bool landscape) {
    const QPageSize::PageSizeId id = paperName == "A3"       ? QPageSize::A3
                                     : paperName == "Letter" ? QPageSize::Letter
                                                             : QPageSize::A4;
    // A4 keeps the stand-in printer's own values.
    kestrel::platform::PrinterSetup setup = kestrel::platform::PdfPrinterA4();
    kestrel::platform::PrinterMetrics& m = setup.metrics;
    if (id != QPageSize::A4) {
        const QSizeF mm = QPageSize(id).size(QPageSize::Millimeter);
        m.horzRes = m.physicalWidth = static_cast<int>(std::lround(mm.width() / 25.4 * m.logPixelsX));
        m.vertRes = m.physicalHeight =
            static_cast<int>(std::lround(mm.height() / 25.4 * m.logPixelsX));
    }
    setup.paperName = QPageSize(id).key().toStdString();
    setup.landscape = landscape;
    if (landscape) {
        std::swap(m.horzRes, m.vertRes);
        std::swap(m.physicalWidth, m.physicalHeight);
    }
    return setup;
}

bool WritePdfPage(const Image& picture, const kestrel::platform::PageRect& placement,
                  const kestrel::platform::PrintJob& job, std::string* error) {
    const kestrel::platform::PrinterMetrics& m = job.setup.metrics;
    QPdfWriter pdf(QString::fromStdString(job.outputFile));
    pdf.setResolution(m.logPixelsX);
    const QSizeF sheetMm(m.physicalWidth * 25.4 / m.logPixelsX,
                         m.physicalHeight * 25.4 / m.logPixelsX);
    pdf.setPageSize(QPageSize(sheetMm, QPageSize::Millimeter));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    if (PaintPage(pdf, picture, m.offsetX + placement.x, m.offsetY + placement.y,
                  placement.width, placement.height))
        return true;
    if (error) *error = "cannot write the file " + job.outputFile;
    return false;
}

bool PaintPage(QPaintDevice& device, const Image& picture, int x, int y, int width, int height) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    painter.drawImage(QRect(x, y, width, height), toQImage(picture));
    return painter.end();
}
