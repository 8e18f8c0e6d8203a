// New dimensions, restyling and the dimension blocks of a drawing.
#include "drawing/DimensionRules.h"

#include "drawing/DimStyleTable.h"
#include "drawing/Drawing.h"
#include "drawing/LayerRules.h"

std::shared_ptr<mmDimension> NewDimension(const mmDrawing& drawing, int16_t dimType, int32_t id,
                                          const std::array<mmVertex, 7>& defPoints,
                                          const mmGlyphTablePtr& glyphs, int16_t ordinateAxis) {
    auto d = std::make_shared<mmDimension>();
    const DimStyle style = DimStyleById(drawing, drawing.currentDimStyleId);
    d->dimStyleId = drawing.currentDimStyleId;
    d->SetStyleValues(StyleValues(style));
    d->InitLabel(glyphs);
    d->InitParts();
    ApplyLayerDefaults(*d, drawing);
    if (drawing.FindLayer(drawing.currentLayerId)) d->label.color = d->color;
    d->dimType = dimType;
    d->ordinateAxis = ordinateAxis;
    d->id = id;
    d->SetBlockNameFromId();
    d->defPoints = defPoints;
    d->BuildDimension(glyphs);
    d->UpdateGrips();
    d->UpdateExtents();
    return d;
}

void RestyleDimension(mmDimension& d, const DimStyle& style, const mmGlyphTablePtr& glyphs) {
    d.dimStyleId = style.id;
    d.SetStyleValues(StyleValues(style));
    if (d.IsBuiltType())
        d.BuildDimension(glyphs);  // lays the label out at the new height
    else
        d.label.SetHeight(style.textHeight, glyphs);
    d.UpdateGrips();
    d.UpdateExtents();
}

int MakeDimensionBlock(mmDrawing& drawing) {
    return MakeDimensionBlock(drawing.entities, drawing.blocks, drawing.nextBlockId);
}
