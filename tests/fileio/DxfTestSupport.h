// Helpers for the file exchange tests: DXF text from a compact "code value" notation, a
// temporary folder, and whole-file reads.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>

// One group per line of the notation: the code, one blank, the value (which may be empty or
// hold blanks). Gives the DXF text with the given line end after every line.
inline std::string Dxf(std::string_view groups, std::string_view eol = "\r\n") {
    std::string out;
    std::size_t start = 0;
    while (start < groups.size()) {
        std::size_t end = groups.find('\n', start);
        if (end == std::string_view::npos) end = groups.size();
        std::string_view line = groups.substr(start, end - start);
        start = end + 1;
        const std::size_t first = line.find_first_not_of(' ');
        if (first == std::string_view::npos) continue;
        line.remove_prefix(first);
        const std::size_t blank = line.find(' ');
        const std::string_view code = line.substr(0, blank);
        const std::string_view value =
            blank == std::string_view::npos ? std::string_view() : line.substr(blank + 1);
        out.append(code).append(eol).append(value).append(eol);
    }
    return out;
}

inline std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteWholeFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Runs a shell command and gives what it printed; status receives its wait status (-1 when it
// could not be started).
inline std::string RunCommand(const std::string& command, int& status) {
    std::string out;
    if (std::FILE* p = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, p)) > 0;)
            out.append(buffer, n);
        status = ::pclose(p);
    } else {
        status = -1;
    }
    return out;
}

// A fresh folder, removed with everything in it at the end of the test.
struct TempDir {
    std::string path;
    TempDir() {
        std::string pattern = std::filesystem::temp_directory_path().string() + "/kestrel-XXXXXX";
        if (char* made = ::mkdtemp(pattern.data())) path = made;
    }
    ~TempDir() {
        std::error_code ec;
        if (!path.empty()) std::filesystem::remove_all(path, ec);
    }
    std::string file(std::string_view name) const { return path + "/" + std::string(name); }
    // Names of the files in the folder, to check that nothing was left behind.
    std::size_t fileCount() const {
        std::size_t n = 0;
        for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(path))
            ++n;
        return n;
    }
};
