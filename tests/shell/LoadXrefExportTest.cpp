// LoadXREF as modules call it: C linkage, UTF-16 strings, success told by the name alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "commands/Session.h"
#include "drawing/Drawing.h"
#include "fileio/DxfTestSupport.h"
#include "platform/RecordingHost.h"
#include "platform/Unicode.h"
#include "shell/extension/LoadXref.h"

TEST(LoadXrefExport, NameIsSetOnlyWhenTheFileWasLoaded) {
    TempDir dir;
    const std::string path = dir.file("tree.dxf");
    WriteWholeFile(path, Dxf("0 SECTION\n2 ENTITIES\n0 LINE\n11 1\n0 ENDSEC\n0 EOF\n"));
    std::u16string wide;
    kestrel::platform::utf8ToUtf16(path, wide);
    char16_t name[255];
    std::fill(std::begin(name), std::end(name), u'x');

    EXPECT_EQ(LoadXREF(wide.c_str(), name), 0);  // no session yet
    EXPECT_EQ(name[0], 0);
    kestrel::platform::RecordingHost host;
    mmSession session(host);
    SetExtensionSession(&session);
    EXPECT_EQ(LoadXREF(u"/nonexistent/tree.dxf", name), 0);
    EXPECT_EQ(name[0], 0);
    EXPECT_EQ(LoadXREF(wide.c_str(), name), 0);
    EXPECT_EQ(std::u16string(name), u"tree");
    EXPECT_TRUE(FindBlockByName(session.drawing.blocks, u"tree"));
    EXPECT_TRUE(host.messages().empty());
    SetExtensionSession(nullptr);
}
