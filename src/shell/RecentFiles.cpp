// CRecentFileList: the list and its settings group.
#include "shell/RecentFiles.h"

#include <QSettings>
#include <algorithm>

namespace {

constexpr char kGroup[] = "Recent File List";

QString key(std::size_t index) {
    return QStringLiteral("File%1").arg(index + 1);
}

}  // namespace

void CRecentFileList::Add(const std::string& path) {
    if (path.empty()) return;
    Remove(path);
    paths_.insert(paths_.begin(), path);
    if (paths_.size() > kSize) paths_.resize(kSize);
}

void CRecentFileList::Remove(const std::string& path) {
    paths_.erase(std::remove(paths_.begin(), paths_.end(), path), paths_.end());
}

void CRecentFileList::Load(QSettings& settings) {
    paths_.clear();
    settings.beginGroup(QString::fromLatin1(kGroup));
    for (std::size_t i = 0; i < kSize; ++i) {
        const std::string path = settings.value(key(i)).toString().toStdString();
        if (!path.empty() && std::find(paths_.begin(), paths_.end(), path) == paths_.end())
            paths_.push_back(path);
    }
    settings.endGroup();
}

void CRecentFileList::Save(QSettings& settings) const {
    settings.beginGroup(QString::fromLatin1(kGroup));
    for (std::size_t i = 0; i < kSize; ++i) {
        if (i < paths_.size())
            settings.setValue(key(i), QString::fromStdString(paths_[i]));
        else
            settings.remove(key(i));
    }
    settings.endGroup();
}
