// The program's command line.
#include <gtest/gtest.h>

#include "shell/ProgramOptions.h"

TEST(ProgramOptions, HeadlessRunWithEverything) {
    std::string error;
    const auto o = ParseProgramOptions({"--headless", "--script", "-", "--save", "a.dxf",
                                        "--export", "a.png", "--size", "640x480", "in.dxf"},
                                       &error);
    ASSERT_TRUE(o) << error;
    EXPECT_TRUE(o->headless);
    EXPECT_EQ(*o->script, "-");
    EXPECT_EQ(*o->save, "a.dxf");
    EXPECT_EQ(*o->exportPath, "a.png");
    EXPECT_EQ(o->width, 640);
    EXPECT_EQ(o->height, 480);
    EXPECT_EQ(*o->drawing, "in.dxf");
    EXPECT_EQ(o->dxfVersion, DxfVersion::R2000);
    const auto r12 = ParseProgramOptions({"--headless", "--save", "a.dxf", "--dxf-version", "R12"},
                                         &error);
    ASSERT_TRUE(r12) << error;
    EXPECT_EQ(r12->dxfVersion, DxfVersion::R12);
}

TEST(ProgramOptions, WrongArgumentsAreRejected) {
    const std::vector<std::vector<std::string>> cases = {
        {"--headless", "--size", "640"},       {"--headless", "--size", "0x480"},
        {"--headless", "--size", "640x480x"},  {"--headless", "--size", "99999x10"},
        {"--headless", "--script"},            {"--frobnicate"},
        {"a.dxf", "b.dxf"},                    {"--export", "a.png"},
        {"--headless", "--dxf-version", "2004"}, {"--dxf-version", "R12"},
    };
    for (const auto& args : cases) {
        std::string error;
        EXPECT_FALSE(ParseProgramOptions(args, &error)) << args.back();
        EXPECT_FALSE(error.empty());
    }
}
