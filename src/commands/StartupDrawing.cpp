// The start-up drawing: view set-up and the welcome texts.
#include "commands/StartupDrawing.h"

#include <string>

#include "commands/Session.h"

namespace {

struct WelcomeText {
    std::u16string_view text;
    std::u16string_view insertion;
    std::u16string_view height;
};

constexpr WelcomeText kWelcomeTexts[] = {
    {u"Kestrel", u"3.0,6.0,0.0", u"10.0"},
    {u"Release 1.2 (now with *.DWG read support)", u"3.0,3.0,0.0", u"1.0"},
    {u"News about Kestrel: see the release notes where you got this copy.",
     u"3.0,1.0,0.0", u"1.0"},
};

}  // namespace

void PrepareStartupView(mmSession& s, int width, int height) {
    mmView& view = s.modelView;
    view.Resize(width, height);
    view.SetInitialModelView();
    view.glyphs = s.glyphTable;
    for (const mmLayoutPtr& layout : s.layouts) layout->view.Resize(width, height);
}

void TypeWelcomeTexts(mmSession& s) {
    const bool wasModified = s.modified;
    for (const WelcomeText& welcome : kWelcomeTexts) {
        for (std::u16string_view line :
             {std::u16string_view(u"TEXT"), welcome.text, welcome.insertion, welcome.height,
              std::u16string_view(u"0.0")})
            s.commandLine.SubmitInput(line, false);
    }
    s.modified = wasModified;
    s.ActiveView().regenPending = true;
    s.RequestRedraw();
}
