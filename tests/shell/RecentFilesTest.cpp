// The recent-file list: newest first, no repeats, four at most, kept across runs.
#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>

#include "shell/RecentFiles.h"

using Paths = std::vector<std::string>;

TEST(RecentFiles, NewestFirstWithoutRepeatsAndAtMostFour) {
    CRecentFileList list;
    for (const char* p : {"/a.dxf", "/b.dxf", "/c.dxf", "/a.dxf", "/d.dxf", "/e.dxf", ""})
        list.Add(p);
    EXPECT_EQ(list.Paths(), (Paths{"/e.dxf", "/d.dxf", "/a.dxf", "/c.dxf"}));
    list.Remove("/a.dxf");
    EXPECT_EQ(list.Paths(), (Paths{"/e.dxf", "/d.dxf", "/c.dxf"}));
}

TEST(RecentFiles, KeptInTheSettingsBetweenRuns) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("Kestrel.conf"));
    {
        QSettings settings(file, QSettings::IniFormat);
        settings.setValue(QStringLiteral("Recent File List/File4"), QStringLiteral("/stale.dxf"));
        CRecentFileList list;
        list.Add("/one.dxf");
        list.Add("/two.dxf");
        list.Save(settings);  // File3 and File4 are removed, not left behind
    }
    QSettings settings(file, QSettings::IniFormat);
    EXPECT_EQ(settings.value(QStringLiteral("Recent File List/File1")).toString(),
              QStringLiteral("/two.dxf"));
    CRecentFileList list;
    list.Load(settings);
    EXPECT_EQ(list.Paths(), (Paths{"/two.dxf", "/one.dxf"}));
}
