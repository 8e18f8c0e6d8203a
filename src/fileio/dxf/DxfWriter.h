// DxfWriter: the group-writing primitives of a DXF save, around a writer object that keeps the
// sections and tables in their order and the properties of the entity being written. Every
// primitive called in the wrong state writes nothing and returns false. Lines end in CR LF.
// Files of releases with handles hand them out here, and entities then carry their handle, their
// owner and the subclass marker of the entity.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "fileio/SafeFileWriter.h"

struct DimStyle;
namespace kestrel::platform {
class CodePage;
}

class DxfWriter {
public:
    enum class Section { None, Header, Classes, Tables, Blocks, Entities, Objects };
    enum class Table { None, Layer, DimStyle, VPort, LineType, Style, View, Ucs, AppId, BlockRecord };
    // Full: layer, paper space, colour, linetype. Without the linetype: dimensions (which keep
    // their colour, unlike the plain layer and paper space of viewports).
    enum class EntityHeader { Full, NoLineType, LayerAndPaperOnly };
    // Entity types of later releases carry subclass markers, which strict readers need: 100
    // "AcDbEntity" right after the entity name, and the type's own marker before its groups.
    enum class Markers { None, Subclass };

    DxfWriter();
    ~DxfWriter();
    DxfWriter(const DxfWriter&) = delete;
    DxfWriter& operator=(const DxfWriter&) = delete;

    // Creates the output (a temporary file that replaces path at a successful close). False
    // when it cannot be created.
    bool create(const std::string& path);

    bool beginSection(Section section);
    bool endSection();
    bool beginTable(Table table);
    bool endTable();

    // A value of 8-bit characters, written as it is, except that a CR or LF inside it (which
    // would end the line and break the file) is written as a blank.
    bool writeGroupString(int32_t code, std::string_view bytes);
    // The code page of names and texts (Windows-1252 unless set).
    void setCodePage(std::shared_ptr<const kestrel::platform::CodePage> page);
    const kestrel::platform::CodePage& codePage() const { return *page_; }

    // A name: the bytes of the code page, \U+XXXX for a character it has not. Only malformed
    // UTF-16 makes the group (and so the save) fail.
    bool writeGroupText(int32_t code, std::u16string_view text);
    // A text in UTF-8, the same way.
    bool writeGroupUtf8(int32_t code, std::string_view text);
    bool writeGroupInt(int32_t code, int64_t n);
    bool writeGroupReal(int32_t code, double x);
    // A value kept in single precision, in the shortest form that gives the same float.
    bool writeGroupFloat(int32_t code, float x);
    // A handle: upper-case hexadecimal.
    bool writeGroupHandle(int32_t code, uint64_t handle);

    // Handles from first on for what follows; entities then carry 5 (handle), 330 (owner) and
    // 100 AcDbEntity.
    void useHandles(uint64_t first) { nextHandle_ = first; }
    bool handles() const { return nextHandle_ != 0; }
    uint64_t takeHandle() { return nextHandle_++; }
    uint64_t nextHandle() const { return nextHandle_; }
    // The owner written as 330 by the entities that follow.
    void setOwner(uint64_t owner) { owner_ = owner; }
    uint64_t owner() const { return owner_; }
    // The handle of the last entity begun.
    uint64_t entityHandle() const { return entityHandle_; }
    // The properties written in the header of the next entities.
    // Sets the layer, and the linetype to "Continuous".
    void setEntityLayer(std::u16string_view name);
    // The linetype name of the entities that follow; empty writes none (by layer).
    void setEntityLineType(std::u16string_view name);
    void setColorNumber(int32_t colorNumber) { colorNumber_ = colorNumber; }
    void setPaperSpace(int32_t flag) { paperSpace_ = flag; }

    bool writeLayerEntry(std::u16string_view name, int32_t colorIndex);
    bool writeDimStyleEntry(const DimStyle& style);
    bool writeBlockHeader(std::u16string_view layer, std::u16string_view name, int32_t flags);
    bool endBlock();
    // A block opened and closed without writing a group (the caller writes BLOCK and ENDBLK).
    bool openBlock();
    bool closeBlock();

    // 0 and the entity name, then the common header: layer, paper-space flag (when not 0),
    // colour and linetype (when set), or fewer as the header asks. The colour is 62 with the
    // colour number for by block (0) and the indices 1 to 255; a true colour (above 256) is 420
    // with its red, green and blue, after 62 with the nearest index for readers without true
    // colours; by layer writes nothing. Allowed in ENTITIES and inside a block.
    bool beginEntity(std::string_view name, EntityHeader header = EntityHeader::Full,
                     Markers markers = Markers::None);
    bool entityAllowed() const;
    // 0 VERTEX and the current layer name, inside an entity being written.
    bool writeVertexStart();
    // With handles: 0 and the name, its handle, the owner given, 100 AcDbEntity and the current
    // layer: the vertices and sequence end of a polyline.
    bool beginSubEntity(std::string_view name, uint64_t owner);

    // Writes 0 EOF and completes the file; refused while a section is open. False when any group
    // could not be written: the target is then left as it was.
    bool closeDxfFile();

    // A group could not be written (a character without a byte, a write error).
    bool failed() const { return failed_; }
    // Bytes written so far.
    uint64_t bytesWritten() const { return flushed_ + used_; }

private:
    static constexpr std::size_t kBufferSize = 1 << 20;

    bool encodeName(std::u16string_view name, std::string& out);
    void putCode(int32_t code);
    void putLine(std::string_view text);
    void putColor();
    template <class Real>
    bool putReal(int32_t code, Real x);
    void reserve(std::size_t bytes);
    void flush();
    bool canWrite() const { return file_.isOpen(); }

    SafeFileWriter file_;
    std::shared_ptr<const kestrel::platform::CodePage> page_;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
    uint64_t flushed_ = 0;
    bool failed_ = false;

    std::string layerName_ = "0";  // as bytes
    bool layerNameBad_ = false;    // the name is not well-formed UTF-16
    std::string lineTypeName_;
    int32_t colorNumber_ = 256;
    int32_t paperSpace_ = 0;

    Section openSection_ = Section::None;
    unsigned sectionsWritten_ = 0;  // bit per Section
    bool blockOpen_ = false;
    Table openTable_ = Table::None;
    unsigned tablesWritten_ = 0;  // bit per Table
    std::string scratch_;
    std::string utf8Scratch_;
    std::string lineScratch_;
    int32_t nearestFor_ = -1;  // the true colour whose nearest index is nearest_
    int32_t nearest_ = 7;
    uint64_t nextHandle_ = 0;  // 0: no handles
    uint64_t owner_ = 0;
    uint64_t entityHandle_ = 0;
};
