// The plan of a DXF 2000 save: blocks and handles.
#include "fileio/dxf/Dxf2000Plan.h"

#include <optional>
#include <unordered_set>

#include "drawing/DimStyleTable.h"
#include "drawing/Drawing.h"
#include "drawing/Names.h"
#include "entities/Attribute.h"
#include "entities/BlockRef.h"
#include "entities/Dimension.h"
#include "entities/Polyline.h"
#include "fileio/dxf/DxfLayout.h"
#include "platform/CodePage.h"

namespace {

using kestrel::platform::CodePage;

void addCharacters(std::u16string_view name, std::u32string& out) {
    for (std::size_t i = 0; i < name.size(); ++i) {
        char32_t c = name[i];
        if (c < 0x80) continue;
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < name.size()) {
            c = 0x10000 + ((c - 0xD800) << 10) + (name[i + 1] - 0xDC00);
            ++i;
        }
        out.push_back(c);
    }
}

bool holds(const CodePage& page, const std::u32string& characters) {
    std::string bytes;
    for (const char32_t c : characters)
        if (!page.Encode(c, bytes)) return false;
    return true;
}

std::shared_ptr<const CodePage> codePageFor(const mmDrawing& d) {
    std::u32string characters;
    for (const auto& [id, layer] : d.layers)
        addCharacters(layer.name, characters);
    for (const auto& [id, block] : d.blocks)
        if (block) addCharacters(block->name, characters);
    for (const auto& [id, lineType] : d.lineTypes)
        addCharacters(lineType.name, characters);
    for (const auto& [id, style] : d.dimStyles)
        addCharacters(style.name, characters);
    static constexpr const char* kPages[] = {
        "ANSI_1252", "ANSI_1250", "ANSI_1251", "ANSI_1253", "ANSI_1254", "ANSI_1257", "ANSI_1255",
        "ANSI_1256", "ANSI_1258", "ANSI_874",  "ANSI_932",  "ANSI_936",  "ANSI_949",  "ANSI_950"};
    if (!characters.empty())
        for (const char* name : kPages)
            if (auto page = CodePage::FromDxfName(name); page && holds(*page, characters))
                return page;
    return CodePage::Windows1252();
}

class Planner {
public:
    Planner(const mmDrawing& drawing, const DxfLayout* layout)
        : drawing_(drawing), layout_(layout) {}

    Dxf2000Plan run() {
        Dxf2000Plan& p = plan_;
        p.codePage = codePageFor(drawing_);
        for (uint64_t& table : p.tables)
            table = next_++;
        p.activeVPort = next_++;
        p.byBlock = next_++;
        p.byLayer = next_++;
        p.continuous = next_++;
        for (const auto& [id, lineType] : drawing_.lineTypes)
            p.lineTypes[id] = next_++;
        for (const auto& [id, layer] : drawing_.layers)
            p.layers[id] = next_++;
        if (!drawing_.FindLayerByName(u"0")) p.layerZero = next_++;
        p.standardStyle = next_++;
        p.acadAppId = next_++;
        for (const auto& [id, style] : drawing_.dimStyles)
            p.dimStyles[id] = next_++;
        if (!FindDimStyleByName(drawing_, kStandardDimStyleName, mmNameMatch::IgnoreCase))
            p.standardDimStyle = next_++;
        p.model = block(nullptr, u"*Model_Space", 0, mmVertex());
        p.paper = block(nullptr, u"*Paper_Space", 0, mmVertex());
        p.paper.paper = true;
        namedBlocks();
        p.rootDictionary = next_++;
        p.groupDictionary = next_++;
        p.layoutDictionary = next_++;
        p.modelLayout = next_++;
        p.paperLayout = next_++;
        dimensionBlocks();
        extents();
        p.firstEntity = next_;
        p.handleSeed = next_ + entityHandles_;
        return std::move(plan_);
    }

private:
    Dxf2000Plan::Block block(const mmBlock* b, std::u16string name, int32_t flags,
                             const mmVertex& base) {
        Dxf2000Plan::Block out;
        out.block = b;
        out.name = std::move(name);
        out.flags = flags;
        out.base = base;
        out.record = next_++;
        out.begin = next_++;
        out.end = next_++;
        return out;
    }

    void addBlock(Dxf2000Plan::Block b) {
        plan_.blockByName.emplace(FoldedName(b.name), plan_.blocks.size());
        if (b.block) plan_.blockIndex.emplace(b.block, plan_.blocks.size());
        plan_.blocks.push_back(std::move(b));
    }

    // Every block of the drawing, anonymous ones too, under its own name.
    void namedBlocks() {
        for (const auto& [id, b] : drawing_.blocks) {
            if (!b || b->name.empty()) continue;
            if (plan_.blockByName.count(FoldedName(b->name))) continue;
            addBlock(block(b.get(), b->name, b->flags, mmVertex(b->baseX, b->baseY)));
            noteDimensions(b->entities, false);
        }
    }

    // Entities written, the dimensions among them noted for their blocks.
    void count(const mmEntityList& list) {
        for (const mmObjectPtr& e : list)
            if (e && !e->erased) entityHandles_ += Dxf2000HandlesOf(*e);
    }

    void noteDimensions(const mmEntityList& list, bool modelSpace) {
        for (const mmObjectPtr& e : list)
            if (e && !e->erased && e->type == kTypeDimension)
                dimensions_.push_back({static_cast<const mmDimension*>(e.get()), e, modelSpace});
    }

    // The block a dimension names, when the drawing has it, is anonymous and no other dimension
    // took it.
    std::optional<std::size_t> ownBlock(const mmDimension& d) const {
        const auto it = plan_.blockByName.find(FoldedName(d.blockName));
        if (it == plan_.blockByName.end() || claimed_.count(it->second)) return std::nullopt;
        const mmBlock* b = plan_.blocks[it->second].block;
        if (!b || !(b->flags & kBlockAnonymous)) return std::nullopt;
        return it->second;
    }

    const mmBlock* makeBlock(const mmObjectPtr& dimension, int32_t& madeId) {
        mmBlockTable one;
        MakeDimensionBlock(mmEntityList{dimension}, one, madeId);
        if (one.empty()) return nullptr;
        plan_.madeBlocks.insert(*one.begin());
        return one.begin()->second.get();
    }

    std::u16string freeDimensionBlockName() {
        std::u16string name;
        do {
            name = u"*D";
            for (const char c : std::to_string(nextNumber_++)) name += static_cast<char16_t>(c);
        } while (plan_.blockByName.count(FoldedName(name)));
        return name;
    }

    // A dimension is written with the block it names (the one made before the save in model
    // space, or kept from the file when it shows it); a dimension built here from its parts in
    // another space gets them in that block; one without a block of its own, a new one.
    void dimensionBlocks() {
        noteDimensions(drawing_.entities, true);
        if (layout_) noteDimensions(layout_->PaperSpace().entities, false);
        int32_t madeId = 0;
        for (const Dimension& d : dimensions_) {
            if (const auto own = ownBlock(*d.dimension)) {
                claimed_.insert(*own);
                plan_.dimensionBlock.emplace(d.dimension, *own);
                if (d.modelSpace || d.dimension->ShowsBlock()) continue;
                if (const mmBlock* made = makeBlock(d.entity, madeId))
                    plan_.blocks[*own].block = made;
                continue;
            }
            const mmBlock* made = makeBlock(d.entity, madeId);
            if (!made) continue;
            claimed_.insert(plan_.blocks.size());
            plan_.dimensionBlock.emplace(d.dimension, plan_.blocks.size());
            addBlock(block(made, freeDimensionBlockName(), kBlockAnonymous, mmVertex()));
        }
        count(drawing_.entities);
        if (layout_) count(layout_->PaperSpace().entities);
        for (const Dxf2000Plan::Block& b : plan_.blocks)
            if (b.block) count(b.block->entities);
    }

    void extents() {
        for (const mmObjectPtr& e : drawing_.entities) {
            if (!e || e->erased || e->extents.minX > e->extents.maxX) continue;
            WidenRect(plan_.extents, e->extents.minX, e->extents.minY);
            WidenRect(plan_.extents, e->extents.maxX, e->extents.maxY);
        }
    }

    struct Dimension {
        const mmDimension* dimension;
        mmObjectPtr entity;
        bool modelSpace;
    };

    const mmDrawing& drawing_;
    const DxfLayout* layout_;
    Dxf2000Plan plan_;
    uint64_t next_ = 1;
    uint64_t entityHandles_ = 0;
    std::vector<Dimension> dimensions_;
    std::unordered_set<std::size_t> claimed_;  // blocks of a dimension
    int nextNumber_ = 1;
};

}  // namespace

const Dxf2000Plan::Block* Dxf2000Plan::FindBlock(std::u16string_view name) const {
    const auto it = blockByName.find(FoldedName(name));
    return it == blockByName.end() ? nullptr : &blocks[it->second];
}

uint64_t Dxf2000HandlesOf(const mmObject& e) {
    if (e.type == kTypeBlockRef) {
        uint64_t attributes = 0;
        for (const mmObjectPtr& c : static_cast<const mmBlockRef&>(e).children)
            attributes += IsOwnAttribute(c);
        return attributes ? 2 + attributes : 1;
    }
    if (e.type == kTypePolyline) {
        const auto& p = static_cast<const mmPolyline&>(e);
        return p.lightweight ? 1 : 2 + p.points.size();
    }
    return 1;
}

Dxf2000Plan PlanDxf2000(const mmDrawing& drawing, const DxfLayout* layout) {
    return Planner(drawing, layout).run();
}
