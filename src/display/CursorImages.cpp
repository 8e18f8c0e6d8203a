// The cursor pictures (drawn here, in text) and their GL textures.
#include "display/CursorImages.h"

#include <GL/gl.h>

#include <cmath>
#include <string_view>

namespace {

// An open hand; its hot spot is the middle of the palm.
constexpr std::string_view kHandArt[] = {
    "..........XX............",
    "......XX.X..XXX.........",
    ".....X..XX..X..X........",
    ".....X..XX..X..X.XX.....",
    "......X..X..X..XX..X....",
    "......X..X..X..X...X....",
    "..XX...X.X..X..X...X....",
    "..X..X.X.........X.X....",
    "..X...XX...........X....",
    "...X...X...........X....",
    "....X..............X....",
    "....X.............X.....",
    ".....X............X.....",
    ".....X...........X......",
    "......X..........X......",
    "......X.........X.......",
    ".......X........X.......",
    ".......X........X.......",
    ".......XXXXXXXXXX.......",
    "........................",
    "........................",
    "........................",
};

mmCursorImage fromArt(const std::string_view* rows, int height, int hotX, int hotY) {
    mmCursorImage image;
    image.width = static_cast<int>(rows[0].size());
    image.height = height;
    image.hotX = hotX;
    image.hotY = hotY;
    image.ink.resize(static_cast<std::size_t>(image.width * height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < image.width; ++x)
            image.ink[static_cast<std::size_t>(y * image.width + x)] = rows[y][x] == 'X';
    return image;
}

// A lens of radius 6 about (8, 8) with a plus inside, and a handle towards the lower right.
mmCursorImage magnifierArt() {
    mmCursorImage image;
    image.width = 24;
    image.height = 20;
    image.hotX = 8;
    image.hotY = 8;
    image.ink.resize(24 * 20);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const double dx = x - 8.0;
            const double dy = y - 8.0;
            const bool ring = std::abs(std::hypot(dx, dy) - 6.0) < 0.75;
            const bool plus = (x == 8 && std::abs(dy) <= 2) || (y == 8 && std::abs(dx) <= 2);
            // Distance from the handle's axis, the diagonal from (12, 12) to (18, 18).
            const double along = (dx + dy) / 2.0;
            const bool handle = along >= 4.5 && along <= 10.5 && std::abs(dx - dy) <= 2.0;
            image.ink[static_cast<std::size_t>(y * image.width + x)] = ring || plus || handle;
        }
    return image;
}

// The picture placed in a size x size square with its hot spot in the middle.
mmCursorImage centred(const mmCursorImage& art, int size) {
    mmCursorImage image;
    image.width = image.height = size;
    image.hotX = image.hotY = size / 2;
    image.ink.assign(static_cast<std::size_t>(size * size), 0);
    for (int y = 0; y < art.height; ++y)
        for (int x = 0; x < art.width; ++x) {
            const int tx = x - art.hotX + size / 2;
            const int ty = y - art.hotY + size / 2;
            if (tx >= 0 && ty >= 0 && tx < size && ty < size && art.Ink(x, y))
                image.ink[static_cast<std::size_t>(ty * size + tx)] = 1;
        }
    return image;
}

// A 10-pixel square outline in a 16x16 cell.
mmCursorImage boxArt() {
    mmCursorImage image;
    image.width = image.height = 16;
    image.hotX = image.hotY = 8;
    image.ink.assign(16 * 16, 0);
    for (int i = 3; i <= 12; ++i) {
        image.ink[static_cast<std::size_t>(3 * 16 + i)] = 1;
        image.ink[static_cast<std::size_t>(12 * 16 + i)] = 1;
        image.ink[static_cast<std::size_t>(i * 16 + 3)] = 1;
        image.ink[static_cast<std::size_t>(i * 16 + 12)] = 1;
    }
    return image;
}

}  // namespace

const mmCursorImage& HandCursor() {
    static const mmCursorImage image = fromArt(kHandArt, 22, 12, 11);
    return image;
}

const mmCursorImage& MagnifierCursor() {
    static const mmCursorImage image = magnifierArt();
    return image;
}

const mmCursorImage& HandTexture() {
    static const mmCursorImage image = centred(HandCursor(), 32);
    return image;
}

const mmCursorImage& MagnifierTexture() {
    static const mmCursorImage image = centred(MagnifierCursor(), 32);
    return image;
}

const mmCursorImage& BoxTexture() {
    static const mmCursorImage image = boxArt();
    return image;
}

const mmCursorImage& CrosshairTexture() {
    static const mmCursorImage image = [] {
        mmCursorImage i;
        i.width = i.height = 1;
        i.ink.assign(1, 1);
        return i;
    }();
    return image;
}

const mmCursorImage& mmCursorTextures::Image(Kind kind) {
    switch (kind) {
        case kHand:
            return HandTexture();
        case kBox:
            return BoxTexture();
        case kMagnifier:
            return MagnifierTexture();
        default:
            return CrosshairTexture();
    }
}

void mmCursorTextures::Upload() {
    Release();
    glGenTextures(kCount, names_);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    std::vector<uint8_t> rgb;
    for (int k = 0; k < kCount; ++k) {
        const mmCursorImage& image = Image(static_cast<Kind>(k));
        // Row 0 of a texture is its bottom row: the picture goes in upside down.
        rgb.assign(static_cast<std::size_t>(image.width * image.height * 3), 255);
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x)
                if (image.Ink(x, y)) {
                    const std::size_t at =
                        static_cast<std::size_t>(((image.height - 1 - y) * image.width + x) * 3);
                    rgb[at] = rgb[at + 1] = rgb[at + 2] = 0;
                }
        glBindTexture(GL_TEXTURE_2D, names_[k]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, image.width, image.height, 0, GL_RGB,
                     GL_UNSIGNED_BYTE, rgb.data());
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}

void mmCursorTextures::Release() {
    if (names_[0] != 0) glDeleteTextures(kCount, names_);
    Forget();
}

void mmCursorTextures::Forget() {
    for (unsigned& name : names_) name = 0;
}
