// The kestrel executable: the editor, or a headless run for batch work.
#include <cstdio>
#include <cstring>

namespace {

void printUsage() {
    std::printf(
        "Usage: kestrel [DRAWING]\n"
        "       kestrel --headless [--script FILE|-] [--save PATH] [--export PATH --size WxH] "
        "[DRAWING]\n"
        "\n"
        "Kestrel is a 2D drafting editor.\n"
        "\n"
        "Options:\n"
        "  --help       show this help and exit\n"
        "  --version    show the version and exit\n");
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            printUsage();
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("Kestrel %s\n", KESTREL_VERSION);
            return 0;
        }
    }
    std::printf("Kestrel %s: the editor window is not part of this build yet.\n\n", KESTREL_VERSION);
    printUsage();
    return 0;
}
