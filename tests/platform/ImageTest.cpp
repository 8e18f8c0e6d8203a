// Image pixel access and file output.
#include "platform/Image.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace kestrel::platform {
namespace {

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(Image, PpmIsTopRowFirstWithoutAlpha) {
    Image image(2, 2);
    image.setPixel(0, 0, {255, 0, 0, 255});
    image.setPixel(1, 0, {0, 255, 0, 128});
    image.setPixel(0, 1, {0, 0, 255, 255});
    image.setPixel(1, 1, {1, 2, 3, 0});
    EXPECT_EQ(image.pixel(1, 0), (Rgba{0, 255, 0, 128}));

    std::filesystem::create_directories(KESTREL_TEST_OUTPUT_DIR);
    const std::string path = std::string(KESTREL_TEST_OUTPUT_DIR) + "/image_test.ppm";
    ASSERT_TRUE(image.savePpm(path));
    EXPECT_EQ(readFile(path), std::string("P6\n2 2\n255\n"
                                          "\xFF\x00\x00\x00\xFF\x00"
                                          "\x00\x00\xFF\x01\x02\x03",
                                          11 + 12));
}

TEST(Image, SaveFailsForAnUnwritablePath) {
    const Image image(1, 1);
    EXPECT_FALSE(image.savePpm("/nonexistent-dir/x.ppm"));
    EXPECT_FALSE(image.savePng("/nonexistent-dir/x.png"));
}

}  // namespace
}  // namespace kestrel::platform
