// DxfReader: walks a DXF text file group by group through a 32768-byte window, with a mark for
// stepping back one group, searches for groups, and the section, table, table entry and block
// header structure. The value of the last group is a view valid until the next read.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fileio/dxf/DxfStrings.h"

enum class DxfSection { None, Header, Tables, Blocks, Entities, Objects, Other };
enum class DxfTable { None, Layer, LineType, Style, DimStyle, Other };

// The codes a table entry stores (all tables share one record; each fills its own fields).
struct DxfTableEntry {
    static constexpr std::size_t kMaxDashes = 30;

    std::string name;         // 2
    std::string lineType;     // 6 (LAYER); first arrow block (DIMSTYLE)
    std::string arrowBlock2;  // 7 (DIMSTYLE)
    std::string description;  // 3 (LTYPE); font file (STYLE)
    int32_t color = 0;        // 62 (LAYER)
    int32_t flags = 0;        // 70
    int32_t lineWeight = 0;   // 370 (LAYER)
    int32_t trueColor = -1;   // 420 (LAYER), 0x00RRGGBB; -1 when absent
    // DIMSTYLE; a value the entry leaves out has its DXF default.
    double overallScale = 1.0;      // 40
    double arrowSize = 0.18;        // 41
    double extLineOffset = 0.0625;  // 42
    double extLineExtension = 0.18; // 44
    double dimLineExtension = 0.0;  // 46
    int32_t textPlacement = 0;      // 77
    double textHeight = 0.18;       // 140
    double tickSize = 0.0;          // 142
    double linearFactor = 1.0;      // 144
    double textGap = 0.09;          // 147
    int32_t dimLineColor = 0;       // 176
    int32_t extLineColor = 0;       // 177
    int32_t textColor = 0;          // 178
    int32_t textStyle = 0;          // 340
    // LTYPE
    double patternLength = 0.0;  // 40
    std::array<double, kMaxDashes> dashes{};
    std::size_t dashCount = 0;    // 49 groups kept
    int32_t announcedDashes = 0;  // 73
    // STYLE
    double fixedHeight = 0.0;   // 40
    double widthFactor = 0.0;   // 41
    double lastHeight = 0.0;    // 42
    double obliqueAngle = 0.0;  // 50
    int32_t generation = 0;     // 71

};

struct DxfBlockHeader {
    std::string name;   // 2 or 3, the later wins
    std::string layer;  // 8
    std::string owner;  // 330: the handle of the block record
    double baseX = 0.0, baseY = 0.0, baseZ = 0.0;
    int32_t flags = 0;
    bool empty = false;  // the header ran straight into its ENDBLK
};

class DxfReader {
public:
    static constexpr std::size_t kWindowSize = 32768;
    // Values longer than this are cut to it (the rest of the line is skipped).
    static constexpr std::size_t kMaxValueLength = 65536;

    DxfReader();
    ~DxfReader();
    DxfReader(const DxfReader&) = delete;
    DxfReader& operator=(const DxfReader&) = delete;

    // Opens a file for reading; false when it cannot be opened.
    bool open(const std::string& path);
    // Reads from memory instead (tests, fuzzing); the text must outlive the reader.
    void openText(std::string_view text);
    void close();

    // Reads the next group. False at the end of the file, when no code line is left; a code
    // line without its value line gives an empty value.
    bool readGroup();
    int32_t code() const { return code_; }
    std::string_view value() const { return value_; }
    double realValue() const;
    int32_t intValue() const;
    bool is(int32_t code, std::string_view value) const { return code_ == code && value_ == value; }

    // Returns to the start of the last group read.
    void stepBack() { position_ = mark_; }
    // Back to the start of the file (sections and tables as after opening).
    void rewind();
    // The first bytes of the file, at most n (and at most a window's worth); the position stays.
    std::string_view head(std::size_t n);
    bool atEnd() const { return position_ >= size_; }
    // Groups read so far, those read again after a step back included.
    uint64_t groupsRead() const { return groupsRead_; }
    uint64_t position() const { return position_; }
    uint64_t size() const { return size_; }

    // Reads until a group (code, name) and returns true positioned after it. At a group
    // (0, stop) for one of the stops the search ends before it (it is the next group read), at
    // the end of the file it ends there; the result is then false. A search never goes back, so
    // a whole read stays linear in the file size however the file is broken.
    bool findGroup(int32_t code, std::string_view name,
                   std::initializer_list<std::string_view> stops = {});
    // Reads groups up to the next one with code 0, which is left as the last group read. False
    // when the file ends first.
    bool skipToCodeZero();

    // The next section; false when there is none. HEADER and other sections are passed over by
    // the next call.
    bool nextSection();
    DxfSection section() const { return section_; }
    void endSection() { section_ = DxfSection::None; }

    // The next table of the TABLES section; false when the section has no further table (which
    // then ends).
    bool nextTable();
    DxfTable table() const { return table_; }
    // The next entry of the current table. False when the table has no further entry. After an
    // entry, a following ENDTAB ends the table and an ENDSEC after that the section. An entry
    // starts from tableEntryDefaults().
    bool readTableEntry(DxfTableEntry& entry);
    // The values a table entry has where it leaves them out: DXF's defaults, or for dimension
    // styles the header's dimension variables once they are read.
    DxfTableEntry& tableEntryDefaults() { return entryDefaults_; }

    // The next block header of the BLOCKS section; false when there is none (the section ends).
    // An empty block is reported with header.empty set; otherwise the reader is inside the block.
    bool readBlockHeader(DxfBlockHeader& header);
    bool insideBlock() const { return insideBlock_; }
    // After the ENDBLK group: skips its groups; a following ENDSEC ends the section.
    void finishBlock();
    // Skips the entities of the current block up to and including its end.
    void skipBlock();

    // How the file's strings are decoded (set from its HEADER).
    const DxfStringCodec& strings() const { return strings_; }
    DxfStringCodec& strings() { return strings_; }

private:
    bool readLine(std::string_view& line);
    bool fillWindow(uint64_t at);
    bool peekLineFeed();
    void storeTableGroup(DxfTableEntry& entry) const;

    int fd_ = -1;
    std::string_view text_;  // memory source when fd_ < 0
    uint64_t size_ = 0;
    std::unique_ptr<char[]> window_;
    uint64_t windowStart_ = 0;
    std::size_t windowLength_ = 0;
    uint64_t position_ = 0;
    uint64_t mark_ = 0;
    std::string spill_;  // a line that runs over the end of the window

    int32_t code_ = 0;
    std::string_view value_;
    uint64_t groupsRead_ = 0;

    DxfSection section_ = DxfSection::None;
    DxfTable table_ = DxfTable::None;
    std::string_view tableEntryName_;
    bool insideBlock_ = false;
    DxfStringCodec strings_;
    DxfTableEntry entryDefaults_;
};
