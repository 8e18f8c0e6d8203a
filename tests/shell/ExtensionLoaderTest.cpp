// Loading extension modules: failures are told and loading goes on; commands registered before a
// failing entry point stay usable; the first registration of a name wins.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "commands/CommandTestSupport.h"
#include "fileio/DxfTestSupport.h"
#include "shell/extension/LoadXref.h"
#include "shell/extension/ModuleLoader.h"

namespace {

class ModuleLoading : public CommandTest {
protected:
    void SetUp() override { SetExtensionSession(&session); }
    void TearDown() override { SetExtensionSession(nullptr); }

    // Copies the named test modules into the folder.
    void install(std::initializer_list<const char*> names) {
        for (const char* name : names)
            std::filesystem::copy_file(std::filesystem::path(KESTREL_TEST_MODULES_DIR) / name,
                                       std::filesystem::path(folder.path) / name);
    }
    std::vector<std::string> messages() const {
        std::vector<std::string> texts;
        for (const auto& m : host.messages()) texts.push_back(m.text);
        return texts;
    }

    TempDir folder;
};

}  // namespace

TEST_F(ModuleLoading, MissingFolderLoadsNothingAndSaysNothing) {
    EXPECT_EQ(LoadExtensionModules(session, std::filesystem::path(folder.path) / "absent"), 0);
    EXPECT_TRUE(host.messages().empty());
    EXPECT_TRUE(session.extensionCommands.entries.empty());
}

TEST_F(ModuleLoading, EveryFailureIsToldAndLoadingGoesOn) {
    install({"a_twin.kxm", "b_twin.kxm", "failing.kxm", "noentry.kxm", "throwing.kxm"});
    std::ofstream(folder.file("junk.kxm")) << "not a library\n";
    std::filesystem::create_directory(folder.file("folder.kxm"));
    std::ofstream(folder.file("readme.txt")) << "not a module\n";

    EXPECT_EQ(LoadExtensionModules(session, folder.path), 2);
    EXPECT_EQ(messages(), (std::vector<std::string>{
                              "Warning: Extension module failing.kxm entry point failed!\n",
                              "Warning: Extension module junk.kxm failed to load!\n",
                              "Warning: Extension module noentry.kxm doesn't have "
                              "KestrelExtEntryPoint!\n",
                              "Warning: Extension module throwing.kxm entry point failed!\n",
                          }));
    EXPECT_EQ(host.messages()[0].kind, kestrel::platform::MessageKind::Warning);
    EXPECT_EQ(LoadingModule(), nullptr);

    // Ids in registration order from 100000; the first TWIN wins.
    const auto& entries = session.extensionCommands.entries;
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].commandId, 100000);
    EXPECT_EQ(entries[1].commandId, 100001);
    EXPECT_EQ(utf8(entries[3].moduleName), "FAILING");
    type(u"twin");
    type(u"onlyb");
    // A module whose entry point failed stays loaded with what it registered.
    type(u"late");
    EXPECT_EQ(history(),
              "\r\n> twin\r\ntwin of module A\r\n> onlyb\r\nonly in module B"
              "\r\n> late\r\nregistered before the entry point failed");
    EXPECT_EQ(view().commandId, 0);
}

TEST_F(ModuleLoading, HandlesOfModulesNotLoadedHereAreRefused) {
    install({"a_twin.kxm"});
    LoadExtensionModules(session, folder.path);
    ASSERT_EQ(session.extensionCommands.entries.size(), 1u);
    void* module = session.extensionCommands.entries[0].moduleHandle;
    EXPECT_TRUE(LoadedModulePath(module));
    int other = 0;
    for (void* handle : {static_cast<void*>(nullptr), static_cast<void*>(&other)}) {
        AddCommand(u"STRAY", u"", u"", handle, 0);
        EXPECT_EQ(LoadedModulePath(handle), std::nullopt);
    }
    EXPECT_EQ(session.extensionCommands.entries.size(), 1u);
}
