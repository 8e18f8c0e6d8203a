// The DXF writing primitives: buffered output, the order of sections and tables, table entries,
// block headers and the common entity header.
#include "fileio/dxf/DxfWriter.h"

#include <charconv>
#include <cstdint>
#include <cstring>

#include "drawing/DimStyle.h"
#include "drawing/Palette.h"
#include "entities/Object.h"
#include "fileio/dxf/DxfNumbers.h"
#include "fileio/dxf/DxfStrings.h"
#include "platform/CodePage.h"
#include "platform/Unicode.h"

namespace {

constexpr std::string_view kLineEnd = "\r\n";

unsigned bit(DxfWriter::Section s) {
    return 1u << static_cast<unsigned>(s);
}
unsigned bit(DxfWriter::Table t) {
    return 1u << static_cast<unsigned>(t);
}

std::string_view sectionName(DxfWriter::Section s) {
    switch (s) {
        case DxfWriter::Section::Header:
            return "HEADER";
        case DxfWriter::Section::Classes:
            return "CLASSES";
        case DxfWriter::Section::Objects:
            return "OBJECTS";
        case DxfWriter::Section::Tables:
            return "TABLES";
        case DxfWriter::Section::Blocks:
            return "BLOCKS";
        case DxfWriter::Section::Entities:
            return "ENTITIES";
        default:
            return {};
    }
}

std::string_view tableName(DxfWriter::Table t) {
    switch (t) {
        case DxfWriter::Table::Layer:
            return "LAYER";
        case DxfWriter::Table::DimStyle:
            return "DIMSTYLE";
        case DxfWriter::Table::VPort:
            return "VPORT";
        case DxfWriter::Table::LineType:
            return "LTYPE";
        case DxfWriter::Table::Style:
            return "STYLE";
        case DxfWriter::Table::View:
            return "VIEW";
        case DxfWriter::Table::Ucs:
            return "UCS";
        case DxfWriter::Table::AppId:
            return "APPID";
        case DxfWriter::Table::BlockRecord:
            return "BLOCK_RECORD";
        default:
            return {};
    }
}

}  // namespace

DxfWriter::DxfWriter()
    : page_(kestrel::platform::CodePage::Windows1252()), buffer_(new char[kBufferSize]) {}

void DxfWriter::setCodePage(std::shared_ptr<const kestrel::platform::CodePage> page) {
    if (page) page_ = std::move(page);
}

DxfWriter::~DxfWriter() = default;

bool DxfWriter::create(const std::string& path) {
    if (file_.isOpen()) return false;
    return file_.open(path);
}

void DxfWriter::flush() {
    if (used_ == 0) return;
    if (!file_.write(buffer_.get(), used_)) failed_ = true;
    flushed_ += used_;
    used_ = 0;
}

void DxfWriter::reserve(std::size_t bytes) {
    if (kBufferSize - used_ < bytes) flush();
}

void DxfWriter::putLine(std::string_view text) {
    if (!text.empty() && (std::memchr(text.data(), '\n', text.size()) ||
                          std::memchr(text.data(), '\r', text.size()))) {
        lineScratch_.assign(text);
        for (char& c : lineScratch_)
            if (c == '\n' || c == '\r') c = ' ';
        text = lineScratch_;
    }
    if (text.size() + kLineEnd.size() > kBufferSize) {
        flush();
        if (!file_.write(text.data(), text.size()) || !file_.write(kLineEnd.data(), 2))
            failed_ = true;
        flushed_ += text.size() + kLineEnd.size();
        return;
    }
    reserve(text.size() + kLineEnd.size());
    char* p = buffer_.get() + used_;
    if (!text.empty()) std::memcpy(p, text.data(), text.size());  // an empty view may be null
    p[text.size()] = '\r';
    p[text.size() + 1] = '\n';
    used_ += text.size() + kLineEnd.size();
}

void DxfWriter::putCode(int32_t code) {
    reserve(16);
    char* p = buffer_.get() + used_;
    char* end = std::to_chars(p, p + 14, code).ptr;
    *end++ = '\r';
    *end++ = '\n';
    used_ += static_cast<std::size_t>(end - p);
}

bool DxfWriter::writeGroupString(int32_t code, std::string_view bytes) {
    if (!canWrite()) return false;
    putCode(code);
    putLine(bytes);
    return true;
}

bool DxfWriter::writeGroupText(int32_t code, std::u16string_view text) {
    if (!canWrite()) return false;
    const bool ok = encodeName(text, scratch_);
    putCode(code);
    putLine(scratch_);
    if (!ok) failed_ = true;
    return ok;
}

bool DxfWriter::writeGroupUtf8(int32_t code, std::string_view text) {
    if (!canWrite()) return false;
    EncodeDxfString(text, *page_, scratch_);
    putCode(code);
    putLine(scratch_);
    return true;
}

// False only for UTF-16 that is not well-formed (an unpaired surrogate).
bool DxfWriter::encodeName(std::u16string_view name, std::string& out) {
    bool ascii = true;
    for (const char16_t c : name)
        ascii = ascii && c < 0x80;
    if (ascii) {
        out.assign(name.begin(), name.end());
        return true;
    }
    const bool ok = kestrel::platform::utf16ToUtf8(name, utf8Scratch_);
    EncodeDxfString(utf8Scratch_, *page_, out);
    return ok;
}

bool DxfWriter::writeGroupInt(int32_t code, int64_t n) {
    if (!canWrite()) return false;
    putCode(code);
    reserve(24);
    char* p = buffer_.get() + used_;
    char* end = std::to_chars(p, p + 21, n).ptr;
    *end++ = '\r';
    *end++ = '\n';
    used_ += static_cast<std::size_t>(end - p);
    return true;
}

template <class Real>
bool DxfWriter::putReal(int32_t code, Real x) {
    if (!canWrite()) return false;
    putCode(code);
    reserve(kDxfRealMaxChars + 2);
    char* p = buffer_.get() + used_;
    const std::size_t n = formatDxfReal(x, p);
    p[n] = '\r';
    p[n + 1] = '\n';
    used_ += n + 2;
    return true;
}

bool DxfWriter::writeGroupReal(int32_t code, double x) {
    return putReal(code, x);
}

bool DxfWriter::writeGroupFloat(int32_t code, float x) {
    return putReal(code, x);
}

bool DxfWriter::writeGroupHandle(int32_t code, uint64_t handle) {
    if (!canWrite()) return false;
    putCode(code);
    reserve(20);
    char* p = buffer_.get() + used_;
    char* end = std::to_chars(p, p + 16, handle, 16).ptr;
    for (char* c = p; c < end; ++c)
        if (*c >= 'a') *c = static_cast<char>(*c - 'a' + 'A');
    *end++ = '\r';
    *end++ = '\n';
    used_ += static_cast<std::size_t>(end - p);
    return true;
}

bool DxfWriter::beginSection(Section section) {
    if (!canWrite() || section == Section::None || openSection_ != Section::None) return false;
    // Each section once, in the order HEADER, CLASSES, TABLES, BLOCKS, ENTITIES, OBJECTS.
    if (sectionsWritten_ & ~(bit(section) - 1)) return false;
    writeGroupString(0, "SECTION");
    writeGroupString(2, sectionName(section));
    openSection_ = section;
    return true;
}

bool DxfWriter::endSection() {
    if (!canWrite() || openSection_ == Section::None || openTable_ != Table::None || blockOpen_)
        return false;
    writeGroupString(0, "ENDSEC");
    sectionsWritten_ |= bit(openSection_);
    openSection_ = Section::None;
    return true;
}

bool DxfWriter::beginTable(Table table) {
    if (!canWrite() || openSection_ != Section::Tables || openTable_ != Table::None ||
        table == Table::None || (tablesWritten_ & bit(table)))
        return false;
    writeGroupString(0, "TABLE");
    writeGroupString(2, tableName(table));
    openTable_ = table;
    return true;
}

bool DxfWriter::endTable() {
    if (!canWrite() || openTable_ == Table::None) return false;
    writeGroupString(0, "ENDTAB");
    tablesWritten_ |= bit(openTable_);
    openTable_ = Table::None;
    return true;
}

void DxfWriter::setEntityLayer(std::u16string_view name) {
    layerNameBad_ = !encodeName(name, layerName_);
    lineTypeName_ = "Continuous";
}

void DxfWriter::setEntityLineType(std::u16string_view name) {
    if (!encodeName(name, lineTypeName_)) failed_ = true;
}

bool DxfWriter::writeLayerEntry(std::u16string_view name, int32_t colorIndex) {
    if (!canWrite() || openSection_ != Section::Tables || openTable_ != Table::Layer) return false;
    writeGroupString(0, "LAYER");
    bool ok = writeGroupText(2, name);
    writeGroupInt(70, 0);
    writeGroupInt(62, colorIndex);
    writeGroupString(6, "Continuous");
    return ok;
}

bool DxfWriter::writeDimStyleEntry(const DimStyle& s) {
    if (!canWrite() || openSection_ != Section::Tables || openTable_ != Table::DimStyle)
        return false;
    writeGroupString(0, "DIMSTYLE");
    const bool ok = writeGroupText(2, s.name);
    writeGroupInt(70, 0);
    for (int32_t code = 3; code <= 7; ++code)
        writeGroupString(code, {});
    writeGroupReal(40, s.overallScale);
    writeGroupReal(41, s.arrowSize);
    writeGroupReal(42, s.extLineOffset);
    writeGroupReal(43, 3.75);
    writeGroupReal(44, s.extLineExtension);
    for (int32_t code = 45; code <= 48; ++code)
        writeGroupReal(code, 0.0);
    writeGroupReal(140, s.textHeight);
    writeGroupReal(141, 2.5);
    writeGroupReal(142, s.FileTickSize());
    writeGroupReal(143, 25.4);
    writeGroupReal(144, s.linearFactor);
    writeGroupReal(145, 0.0);
    writeGroupReal(146, 1.0);
    writeGroupReal(147, s.textGap);
    constexpr int32_t kFixedInts[][2] = {
        {71, 0},  {72, 0},  {73, 0},  {74, 0},  {75, 0},  {76, 0},  {77, 1},  {78, 8},  {170, 0},
        {171, 3}, {172, 1}, {173, 0}, {174, 0}, {175, 0}, {176, 0}, {177, 0}, {178, 0},
    };
    for (const auto& [code, value] : kFixedInts)
        writeGroupInt(code, value);
    return ok;
}

bool DxfWriter::writeBlockHeader(std::u16string_view layer, std::u16string_view name,
                                 int32_t flags) {
    if (!canWrite() || openSection_ != Section::Blocks || blockOpen_) return false;
    writeGroupString(0, "BLOCK");
    bool ok = writeGroupText(8, layer);
    ok = writeGroupText(2, name) && ok;
    writeGroupInt(70, flags);
    writeGroupReal(10, 0.0);
    writeGroupReal(20, 0.0);
    ok = writeGroupText(3, name) && ok;
    blockOpen_ = true;
    return ok;
}

bool DxfWriter::endBlock() {
    if (!canWrite() || openSection_ != Section::Blocks || !blockOpen_) return false;
    writeGroupString(0, "ENDBLK");
    blockOpen_ = false;
    return true;
}

bool DxfWriter::openBlock() {
    if (!canWrite() || openSection_ != Section::Blocks || blockOpen_) return false;
    blockOpen_ = true;
    return true;
}

bool DxfWriter::closeBlock() {
    if (!canWrite() || openSection_ != Section::Blocks || !blockOpen_) return false;
    blockOpen_ = false;
    return true;
}

bool DxfWriter::entityAllowed() const {
    return canWrite() &&
           (openSection_ == Section::Entities || (openSection_ == Section::Blocks && blockOpen_));
}


void DxfWriter::putColor() {
    if (colorNumber_ >= kColorByBlock && colorNumber_ <= 255) {
        writeGroupInt(62, colorNumber_);
    } else if (colorNumber_ > kColorByLayer) {
        const auto c = static_cast<uint32_t>(colorNumber_);
        if (colorNumber_ != nearestFor_) {
            nearestFor_ = colorNumber_;
            nearest_ = NearestPaletteIndex(c);
        }
        writeGroupInt(62, nearest_);
        writeGroupInt(420, (ColorRed(c) << 16) | (ColorGreen(c) << 8) | ColorBlue(c));
    }
}

bool DxfWriter::beginEntity(std::string_view name, EntityHeader header, Markers markers) {
    if (!entityAllowed()) return false;
    writeGroupString(0, name);
    if (handles()) {
        entityHandle_ = takeHandle();
        writeGroupHandle(5, entityHandle_);
        writeGroupHandle(330, owner_);
        markers = Markers::Subclass;
    }
    if (markers == Markers::Subclass) writeGroupString(100, "AcDbEntity");
    writeGroupString(8, layerName_);
    if (layerNameBad_) failed_ = true;
    if (paperSpace_ != 0) writeGroupInt(67, paperSpace_);
    if (header != EntityHeader::LayerAndPaperOnly) putColor();
    if (header == EntityHeader::Full && !lineTypeName_.empty()) writeGroupString(6, lineTypeName_);
    return true;
}

bool DxfWriter::writeVertexStart() {
    if (!entityAllowed()) return false;
    writeGroupString(0, "VERTEX");
    writeGroupString(8, layerName_);
    return true;
}

bool DxfWriter::beginSubEntity(std::string_view name, uint64_t owner) {
    if (!entityAllowed() || !handles()) return false;
    writeGroupString(0, name);
    writeGroupHandle(5, takeHandle());
    writeGroupHandle(330, owner);
    writeGroupString(100, "AcDbEntity");
    writeGroupString(8, layerName_);
    return true;
}

bool DxfWriter::closeDxfFile() {
    if (!canWrite() || openSection_ != Section::None) return false;
    writeGroupString(0, "EOF");
    flush();
    if (failed_ || file_.failed()) {
        file_.discard();
        return false;
    }
    return file_.commit();
}
