// CRecentFileList: the drawings opened or saved last, newest first, kept in the "Kestrel"
// settings between runs.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class QSettings;

class CRecentFileList {
public:
    static constexpr std::size_t kSize = 4;

    // Puts the path first; an entry already there moves up, the oldest beyond kSize drops out.
    void Add(const std::string& path);
    void Remove(const std::string& path);
    const std::vector<std::string>& Paths() const { return paths_; }

    // The group "Recent File List" with the keys File1 ... File4; empty entries are skipped.
    void Load(QSettings& settings);
    void Save(QSettings& settings) const;

private:
    std::vector<std::string> paths_;
};
