// Blocks: creation, unique names, base points and adding entities in block coordinates.
#include "entities/Block.h"

#include "entities/BlockRef.h"

bool mmBlock::SetBaseName(std::u16string_view newName, const mmBlockTable& existing) {
    newName = newName.substr(0, kBlockNameMax);
    if (FindBlockByName(existing, newName)) return false;
    name.assign(newName);
    return true;
}

void mmBlock::SetBasePoint(double x, double y) {
    baseX = x;
    baseY = y;
}

mmBlockPtr CreateBlock(int32_t id, double baseX, double baseY, int16_t flags, std::u16string name) {
    auto block = std::make_shared<mmBlock>();
    block->id = id;
    block->baseX = baseX;
    block->baseY = baseY;
    block->flags = flags;
    block->name = std::move(name);
    if (block->name.size() > kBlockNameMax) block->name.resize(kBlockNameMax);
    return block;
}

bool AddToBlock(mmBlock& block, const mmObjectPtr& entity) {
    if (!entity) return false;
    TranslateEntity(*entity, -block.baseX, -block.baseY);
    for (mmVertex& g : entity->grips) g.hot = false;
    entity->UpdateExtents();
    entity->id = block.nextEntityId++;
    block.entities.push_back(entity);
    return true;
}

mmBlockPtr FindBlockByName(const mmBlockTable& blocks, std::u16string_view name) {
    for (const auto& [id, block] : blocks)
        if (block && block->name == name) return block;
    return nullptr;
}

std::u16string FreeAnonymousName(const std::u16string& name,
                                 const std::function<bool(const std::u16string&)>& taken,
                                 std::map<std::u16string, int64_t>& next) {
    if (!taken(name)) return name;
    std::size_t letters = 1;
    while (letters < name.size() && !(name[letters] >= u'0' && name[letters] <= u'9'))
        ++letters;
    const std::u16string prefix = name.substr(0, letters);
    int64_t& number = next[prefix];
    for (;;) {
        std::u16string candidate = prefix;
        for (char c : std::to_string(++number)) candidate += static_cast<char16_t>(c);
        if (!taken(candidate)) return candidate;
    }
}
