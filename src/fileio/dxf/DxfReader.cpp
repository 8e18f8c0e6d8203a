// The DXF reading machine: lines and groups through the window, the mark, searches, sections,
// tables, table entries and block headers.
#include "fileio/dxf/DxfReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "fileio/dxf/DxfNumbers.h"

DxfReader::DxfReader() : window_(new char[kWindowSize]) {}

DxfReader::~DxfReader() {
    close();
}

// Only regular files are read. Opened without blocking, so a named pipe or a device cannot hold
// the open; regular files read the same either way.
bool DxfReader::open(const std::string& path) {
    close();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    size_ = static_cast<uint64_t>(st.st_size);
    return true;
}

void DxfReader::openText(std::string_view text) {
    close();
    text_ = text;
    size_ = text.size();
}

void DxfReader::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    text_ = {};
    size_ = 0;
    windowStart_ = 0;
    windowLength_ = 0;
    position_ = 0;
    mark_ = 0;
    code_ = 0;
    value_ = {};
    groupsRead_ = 0;
    section_ = DxfSection::None;
    table_ = DxfTable::None;
    insideBlock_ = false;
}

void DxfReader::rewind() {
    position_ = mark_ = 0;
    code_ = 0;
    value_ = {};
    section_ = DxfSection::None;
    table_ = DxfTable::None;
    insideBlock_ = false;
}

std::string_view DxfReader::head(std::size_t n) {
    if ((windowStart_ != 0 || windowLength_ == 0) && !fillWindow(0)) return {};
    return std::string_view(window_.get(), std::min(n, windowLength_));
}

// One read of up to a window's worth of bytes at the given offset. False when nothing could be
// read there (the end of the file, or a read error, which ends the file at that point).
bool DxfReader::fillWindow(uint64_t at) {
    windowStart_ = at;
    windowLength_ = 0;
    if (at >= size_) return false;
    const std::size_t wanted =
        static_cast<std::size_t>(std::min<uint64_t>(kWindowSize, size_ - at));
    if (fd_ < 0) {
        std::memcpy(window_.get(), text_.data() + at, wanted);
        windowLength_ = wanted;
        return true;
    }
    while (windowLength_ < wanted) {
        const ssize_t n = ::pread(fd_, window_.get() + windowLength_, wanted - windowLength_,
                                  static_cast<off_t>(at + windowLength_));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        windowLength_ += static_cast<std::size_t>(n);
    }
    if (windowLength_ < wanted) size_ = at + windowLength_;  // shrunk or unreadable: ends here
    return windowLength_ > 0;
}

namespace {

// Index of the first CR or LF in [from, end), or end; eight bytes at a time.
std::size_t findLineEnd(const char* w, std::size_t from, std::size_t end) {
    constexpr uint64_t kOnes = 0x0101010101010101u;
    constexpr uint64_t kHighs = 0x8080808080808080u;
    std::size_t i = from;
    for (; end - i >= 8; i += 8) {
        uint64_t word;
        std::memcpy(&word, w + i, 8);
        const uint64_t lf = word ^ (kOnes * '\n');
        const uint64_t cr = word ^ (kOnes * '\r');
        const uint64_t hit = ((lf - kOnes) & ~lf) | ((cr - kOnes) & ~cr);
        if (hit & kHighs) break;
    }
    while (i < end && w[i] != '\n' && w[i] != '\r')
        ++i;
    return i;
}

}  // namespace

// After a CR: consumes a following LF. May refill the window.
bool DxfReader::peekLineFeed() {
    if (position_ >= size_) return false;
    if (position_ >= windowStart_ + windowLength_ && !fillWindow(position_)) return false;
    if (window_[position_ - windowStart_] != '\n') return false;
    ++position_;
    return true;
}

bool DxfReader::readLine(std::string_view& line) {
    if (position_ >= size_) return false;
    if (position_ < windowStart_ || position_ >= windowStart_ + windowLength_) {
        if (!fillWindow(position_)) {
            position_ = size_;
            return false;
        }
    }
    const char* w = window_.get();
    const std::size_t start = static_cast<std::size_t>(position_ - windowStart_);
    if (const std::size_t i = findLineEnd(w, start, windowLength_); i < windowLength_) {
        const char c = w[i];
        position_ = windowStart_ + i + 1;
        if (c == '\r' && i + 1 == windowLength_ && position_ < size_) {
            // The LF may be in the next window: keep the line before refilling.
            spill_.assign(w + start, std::min(i - start, kMaxValueLength));
            peekLineFeed();
            line = spill_;
            return true;
        }
        if (c == '\r' && i + 1 < windowLength_ && w[i + 1] == '\n') ++position_;
        line = std::string_view(w + start, std::min(i - start, kMaxValueLength));
        return true;
    }
    // The line runs over the end of the window.
    spill_.assign(w + start, std::min(windowLength_ - start, kMaxValueLength));
    position_ = windowStart_ + windowLength_;
    while (position_ < size_ && fillWindow(position_)) {
        w = window_.get();
        const std::size_t i = findLineEnd(w, 0, windowLength_);
        spill_.append(w, std::min(i, kMaxValueLength - spill_.size()));
        position_ = windowStart_ + i;
        if (i < windowLength_) {
            ++position_;
            if (w[i] == '\r') peekLineFeed();
            break;
        }
    }
    line = spill_;
    return true;
}

bool DxfReader::readGroup() {
    mark_ = position_;
    std::string_view line;
    if (!readLine(line)) {
        code_ = 0;
        value_ = {};
        return false;
    }
    code_ = parseDxfCode(line);
    if (!readLine(value_)) value_ = {};
    ++groupsRead_;
    return true;
}

double DxfReader::realValue() const {
    return parseDxfReal(value_);
}

int32_t DxfReader::intValue() const {
    return parseDxfInt(value_);
}

bool DxfReader::findGroup(int32_t code, std::string_view name,
                          std::initializer_list<std::string_view> stops) {
    while (readGroup()) {
        if (code_ == code && value_ == name) return true;
        if (code_ != 0) continue;
        for (std::string_view stop : stops)
            if (value_ == stop) {
                stepBack();
                return false;
            }
    }
    return false;
}

bool DxfReader::skipToCodeZero() {
    while (readGroup())
        if (code_ == 0) return true;
    return false;
}

bool DxfReader::nextSection() {
    table_ = DxfTable::None;
    insideBlock_ = false;
    section_ = DxfSection::None;
    if (!findGroup(0, "SECTION") || !readGroup()) return false;
    if (value_ == "HEADER")
        section_ = DxfSection::Header;
    else if (value_ == "TABLES")
        section_ = DxfSection::Tables;
    else if (value_ == "BLOCKS")
        section_ = DxfSection::Blocks;
    else if (value_ == "ENTITIES")
        section_ = DxfSection::Entities;
    else if (value_ == "OBJECTS")
        section_ = DxfSection::Objects;
    else
        section_ = DxfSection::Other;
    return true;
}

bool DxfReader::nextTable() {
    table_ = DxfTable::None;
    if (section_ != DxfSection::Tables) return false;
    // The search ends at the section's end, or at the next section of a file that lacks it.
    if (!findGroup(0, "TABLE", {"ENDSEC", "SECTION"}) || !readGroup()) {
        section_ = DxfSection::None;
        return false;
    }
    if (value_ == "LAYER") {
        table_ = DxfTable::Layer;
        tableEntryName_ = "LAYER";
    } else if (value_ == "LTYPE") {
        table_ = DxfTable::LineType;
        tableEntryName_ = "LTYPE";
    } else if (value_ == "STYLE") {
        table_ = DxfTable::Style;
        tableEntryName_ = "STYLE";
    } else if (value_ == "DIMSTYLE") {
        table_ = DxfTable::DimStyle;
        tableEntryName_ = "DIMSTYLE";
    } else {
        table_ = DxfTable::Other;
        tableEntryName_ = {};
    }
    return true;
}

void DxfReader::storeTableGroup(DxfTableEntry& e) const {
    const int32_t c = code_;
    if (c == 2) {
        e.name.assign(value_);
        return;
    }
    if (c == 70) {
        e.flags = intValue();
        return;
    }
    switch (table_) {
        case DxfTable::Layer:
            if (c == 6)
                e.lineType.assign(value_);
            else if (c == 62)
                e.color = intValue();
            else if (c == 370)
                e.lineWeight = intValue();
            else if (c == 420)
                e.trueColor = intValue() & 0xFFFFFF;
            break;
        case DxfTable::DimStyle:
            switch (c) {
                case 6:
                    e.lineType.assign(value_);
                    break;
                case 7:
                    e.arrowBlock2.assign(value_);
                    break;
                case 40:
                    e.overallScale = realValue();
                    break;
                case 41:
                    e.arrowSize = realValue();
                    break;
                case 42:
                    e.extLineOffset = realValue();
                    break;
                case 44:
                    e.extLineExtension = realValue();
                    break;
                case 46:
                    e.dimLineExtension = realValue();
                    break;
                case 77:
                    e.textPlacement = intValue();
                    break;
                case 140:
                    e.textHeight = realValue();
                    break;
                case 142:
                    e.tickSize = realValue();
                    break;
                case 144:
                    e.linearFactor = realValue();
                    break;
                case 147:
                    e.textGap = realValue();
                    break;
                case 176:
                    e.dimLineColor = intValue();
                    break;
                case 177:
                    e.extLineColor = intValue();
                    break;
                case 178:
                    e.textColor = intValue();
                    break;
                case 340:
                    e.textStyle = intValue();
                    break;
                default:
                    break;
            }
            break;
        case DxfTable::LineType:
            if (c == 3)
                e.description.assign(value_);
            else if (c == 40)
                e.patternLength = realValue();
            else if (c == 73)
                e.announcedDashes = intValue();
            else if (c == 49 && e.dashCount < DxfTableEntry::kMaxDashes)
                e.dashes[e.dashCount++] = realValue();
            break;
        case DxfTable::Style:
            switch (c) {
                case 3:
                    e.description.assign(value_);
                    break;
                case 40:
                    e.fixedHeight = realValue();
                    break;
                case 41:
                    e.widthFactor = realValue();
                    break;
                case 42:
                    e.lastHeight = realValue();
                    break;
                case 50:
                    e.obliqueAngle = realValue();
                    break;
                case 71:
                    e.generation = intValue();
                    break;
                default:
                    break;
            }
            break;
        default:
            break;
    }
}

bool DxfReader::readTableEntry(DxfTableEntry& entry) {
    if (section_ != DxfSection::Tables || tableEntryName_.empty() || table_ == DxfTable::None ||
        table_ == DxfTable::Other)
        return false;
    // The search ends at the table's end, or where the next table or section begins in a file
    // that lacks it.
    if (!findGroup(0, tableEntryName_, {"ENDTAB", "TABLE", "ENDSEC", "SECTION"})) {
        table_ = DxfTable::None;
        return false;
    }
    entry = entryDefaults_;
    bool more = false;
    while ((more = readGroup()) && code_ != 0)
        storeTableGroup(entry);
    if (!more) return true;
    stepBack();
    if (readGroup() && is(0, "ENDTAB")) {
        table_ = DxfTable::None;
        if (readGroup()) {
            if (is(0, "ENDSEC"))
                section_ = DxfSection::None;
            else
                stepBack();
        }
    } else {
        stepBack();
    }
    return true;
}

bool DxfReader::readBlockHeader(DxfBlockHeader& header) {
    insideBlock_ = false;
    if (section_ != DxfSection::Blocks) return false;
    // The search ends at the section's end, or at the next section of a file that lacks it.
    if (!findGroup(0, "BLOCK", {"ENDSEC", "SECTION"})) {
        section_ = DxfSection::None;
        return false;
    }
    header.name.clear();
    header.layer.clear();
    header.owner.clear();
    header.baseX = header.baseY = header.baseZ = 0.0;
    header.flags = 0;
    header.empty = false;
    bool more = false;
    bool inAppGroup = false;  // 102 "{..." up to 102 "}"
    while ((more = readGroup()) && code_ != 0) {
        switch (code_) {
            case 2:
            case 3:
                header.name.assign(value_);
                break;
            case 102:
                inAppGroup = !value_.empty() && value_[0] == '{';
                break;
            case 330:
                if (!inAppGroup && header.owner.empty()) header.owner.assign(value_);
                break;
            case 8:
                header.layer.assign(value_);
                break;
            case 10:
                header.baseX = realValue();
                break;
            case 20:
                header.baseY = realValue();
                break;
            case 30:
                header.baseZ = realValue();
                break;
            case 70:
                header.flags = intValue();
                break;
            default:
                break;
        }
    }
    if (more && is(0, "ENDBLK")) {
        header.empty = true;
        finishBlock();
        return true;
    }
    if (more) stepBack();
    insideBlock_ = true;
    return true;
}

void DxfReader::finishBlock() {
    insideBlock_ = false;
    if (!skipToCodeZero()) return;
    if (is(0, "ENDSEC"))
        section_ = DxfSection::None;
    else
        stepBack();
}

void DxfReader::skipBlock() {
    while (readGroup()) {
        if (code_ != 0) continue;
        if (value_ == "ENDBLK") {
            finishBlock();
            return;
        }
        if (value_ == "ENDSEC" || value_ == "SECTION") {
            if (value_ == "SECTION") stepBack();
            section_ = DxfSection::None;
            break;
        }
    }
    insideBlock_ = false;
}
