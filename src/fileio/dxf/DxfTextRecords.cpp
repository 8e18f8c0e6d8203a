// TEXT, MTEXT, ATTRIB and ATTDEF records.
#include <algorithm>
#include <cmath>
#include <string_view>

#include "entities/Geometry.h"
#include "fileio/dxf/DxfEntityRecords.h"

bool storeDxfTextGroup(const DxfReader& r, DxfTextRecord& t) {
    switch (r.code()) {
        case 1:
            t.text.assign(r.value());
            break;
        case 7:
            t.style.assign(r.value());
            break;
        case 10:
            t.x = r.realValue();
            break;
        case 20:
            t.y = r.realValue();
            break;
        case 11:
            t.alignX = r.realValue();
            t.alignGiven = true;
            break;
        case 21:
            t.alignY = r.realValue();
            t.alignGiven = true;
            break;
        case 40:
            t.height = r.realValue();
            break;
        case 41:
            t.group41 = r.realValue();
            break;
        case 50:
            t.rotation = r.realValue();
            t.rotationGiven = true;
            break;
        case 51:
            t.oblique = r.realValue();
            break;
        case 72:
            t.horizontal = r.intValue();
            break;
        case 73:
            t.vertical = r.intValue();
            break;
        default:
            return false;
    }
    return true;
}

bool readDxfText(DxfReader& r, DxfEntityHeader& h, DxfTextRecord& t) {
    t.clear();
    return readDxfEntityGroups(r, h, kDxfAllHeader | kDxfExtrusion,
                               [&](int32_t) { storeDxfTextGroup(r, t); });
}

bool readDxfAttribute(DxfReader& r, DxfEntityHeader& h, DxfAttributeRecord& a) {
    a.text.clear();
    a.tag.clear();
    a.prompt.clear();
    a.flags = 0;
    bool embedded = false;  // the multi-line text that newer files embed after 101
    return readDxfEntityGroups(r, h, kDxfAllHeader | kDxfExtrusion, [&](int32_t code) {
        if (code == 101) embedded = true;
        if (embedded) return;
        switch (code) {
            case 2:
                a.tag.assign(r.value());
                break;
            case 3:
                a.prompt.assign(r.value());
                break;
            case 70:
                a.flags = r.intValue();
                break;
            case 73:
                break;  // the field length
            case 74:
                a.text.vertical = r.intValue();
                break;
            default:
                storeDxfTextGroup(r, a.text);
                break;
        }
    });
}

// The 3 chunks come before the last part in 1; their total is bounded.
bool readDxfMText(DxfReader& r, DxfEntityHeader& h, DxfTextRecord& t) {
    t.clear();
    t.group41 = 0.0;
    std::string chunks;
    const auto append = [&](std::string& to, std::string_view part) {
        const std::size_t room = kDxfMTextRawLimit - std::min(kDxfMTextRawLimit, to.size());
        if (part.size() > room) t.cut = true;
        to.append(part.substr(0, room));
    };
    const bool more = readDxfEntityGroups(r, h, kDxfAllHeader | kDxfExtrusion, [&](int32_t code) {
        if (code == 71)
            t.attachment = r.intValue();
        else if (code == 44)
            t.lineSpacing = r.realValue();
        else if (code == 3)
            append(chunks, r.value());
        else if (code == 72 || code == 73 || code == 51)
            ;  // drawing direction and spacing style: not TEXT's groups here
        else
            storeDxfTextGroup(r, t);
    });
    if (!chunks.empty()) {
        std::string last = std::move(t.text);
        t.text = std::move(chunks);
        append(t.text, last);
    }
    if (!t.rotationGiven && (t.alignX != 0.0 || t.alignY != 0.0))
        t.rotation = std::atan2(t.alignY, t.alignX) * kRadToDeg;
    return more;
}
