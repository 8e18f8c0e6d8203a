// Creation of an empty entity from its type code (used by copies and undo snapshots).
#include "entities/Arc.h"
#include "entities/Attribute.h"
#include "entities/BlockRef.h"
#include "entities/Circle.h"
#include "entities/Dimension.h"
#include "entities/Ellipse.h"
#include "entities/Face3d.h"
#include "entities/GLTexture.h"
#include "entities/Hatch.h"
#include "entities/Leader.h"
#include "entities/Line.h"
#include "entities/MText.h"
#include "entities/Object.h"
#include "entities/Point.h"
#include "entities/Polyline.h"
#include "entities/Solid.h"
#include "entities/Spline.h"
#include "entities/Text.h"
#include "entities/Viewport.h"
#include "entities/XLine.h"

mmObjectPtr CreateEntityOfType(int32_t type) {
    switch (type) {
        case kTypeObject:
            return std::make_shared<mmObject>();
        case kTypePoint:
            return std::make_shared<mmPointObj>();
        case kTypeLine:
            return std::make_shared<mmLine>();
        case kTypeCircle:
            return std::make_shared<mmCircle>();
        case kTypeArc:
            return std::make_shared<mmArc>();
        case kTypePolyline:
            return std::make_shared<mmPolyline>();
        case kTypeSpline:
            return std::make_shared<mmSpline>();
        case kTypeHatch:
            return std::make_shared<mmHatch>();
        case kTypeText:
            return std::make_shared<mmText>();
        case kTypeMText:
            return std::make_shared<mmMText>();
        case kTypeBlockRef:
            return std::make_shared<mmBlockRef>();
        case kTypeDimension:
            return std::make_shared<mmDimension>();
        case kTypeEllipse:
            return std::make_shared<mmEllipse>();
        case kTypeSolid:
            return std::make_shared<mmSolid>();
        case kType3dFace:
            return std::make_shared<mm3dFace>();
        case kTypeXLine:
            return std::make_shared<mmXLine>();
        case kTypeLeader:
            return std::make_shared<mmLeader>();
        case kTypeAttribute:
            return std::make_shared<mmAttribute>();
        case kTypeAttributeDef:
            return std::make_shared<mmAttributeDef>();
        case kTypeViewport:
            return std::make_shared<mmViewport>();
        case kTypeRasterImage:
            return std::make_shared<GLTexture>();
        default:
            return nullptr;
    }
}
