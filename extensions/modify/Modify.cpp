// The modify module: registers MOVE, ROTATE, SCALE, PEDIT and DIMRADIUS and its toolbar. The
// commands use the window command ids of the program's own menu items, so the Transform,
// Polyline Edit and Dimensions menus and toolbars reach them as well.
#include "KestrelExtension.h"

namespace {

// Window command ids of the program's menu items.
constexpr int kMove = 32831;
constexpr int kRotate = 32832;
constexpr int kScale = 32833;
constexpr int kInsertVertex = 32834;  // PEDIT, then I
constexpr int kDeleteVertex = 32835;  // PEDIT, then D
constexpr int kBulge = 32836;         // PEDIT, then B
constexpr int kRadius = 32841;

// The toolbar image is modify.1.png beside the module.
constexpr int kToolbarImage = 1;

constexpr KestrelToolbarButton kButtons[] = {
    {0, kMove, KESTREL_BUTTON, nullptr},
    {1, kRotate, KESTREL_BUTTON, nullptr},
    {2, kScale, KESTREL_BUTTON, nullptr},
    {0, 0, KESTREL_SEPARATOR, nullptr},
    {3, kInsertVertex, KESTREL_BUTTON, u"Insert polyline vertex"},
    {4, kDeleteVertex, KESTREL_BUTTON, u"Delete polyline vertex"},
    {5, kBulge, KESTREL_BUTTON, u"Bulge polyline segment"},
    {0, 0, KESTREL_SEPARATOR, nullptr},
    {6, kRadius, KESTREL_BUTTON, nullptr},
};

}  // namespace

extern "C" int KestrelExtEntryPoint(void) {
    void* self = GetLoadingModule();
    if (!self) return 0;
    AddCommand(u"MOVE", u"Move objects", u"modify", self, kMove);
    AddCommand(u"ROTATE", u"Rotate objects", u"modify", self, kRotate);
    AddCommand(u"SCALE", u"Scale objects", u"modify", self, kScale);
    // PEDIT's buttons submit it with their option, as the program's own menu items do.
    AddCommand(u"PEDIT", u"Edit polyline", u"modify", self, 0);
    AddCommand(u"DIMRADIUS", u"Radius dimension", u"modify", self, kRadius);
    CreateExtensionToolbar(kToolbarImage, self, u"Modify", 0, kButtons,
                           static_cast<int>(sizeof kButtons / sizeof kButtons[0]));
    return 1;
}
