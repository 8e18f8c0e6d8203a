// Safe saves: what a file size limit, a killed process, a dangling link and another owner do to
// a save.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "drawing/Drawing.h"
#include "entities/Line.h"
#include "fileio/DxfTestSupport.h"
#include "fileio/SafeFileWriter.h"
#include "fileio/dxf/DxfSave.h"

namespace {

// Runs body in a child process with the default action for every signal body may raise, and
// returns the child's wait status.
template <class Body>
int inChild(Body body) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::signal(SIGXFSZ, SIG_DFL);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

void fillLargeDrawing(mmDrawing& d) {
    FillNewDrawing(d);
    for (int i = 0; i < 20000; ++i) {
        auto line = std::make_shared<mmLine>();
        line->id = d.nextEntityId++;
        line->AddPoint(i, 0);
        line->AddPoint(i, 1);
        AddEntity(d, line);
    }
}

// A save that is killed after writing and before committing, with the writer given.
void killedSave(const std::string& target, bool unnamed) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        SafeFileWriter w(unnamed);
        if (!w.open(target) || !w.write("half a drawing", 14)) ::_exit(1);
        (void)::write(ready[1], "x", 1);
        ::pause();
        ::_exit(0);
    }
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
}

}  // namespace

// A file size limit killed the program with SIGXFSZ (exit 153) and left the temporary file.
TEST(SafeSave, RegressionFileSizeLimitFailsTheSave) {
    TempDir dir;
    const std::string path = dir.file("kept.dxf");
    WriteWholeFile(path, "previous contents");
    mmDrawing d;
    fillLargeDrawing(d);
    const int status = inChild([&] {
        rlimit small{64 * 1024, RLIM_INFINITY};
        if (::setrlimit(RLIMIT_FSIZE, &small) != 0) return 2;
        return saveDrawingAsDxf(d, nullptr, path) ? 0 : 3;
    });
    ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 3);
    EXPECT_EQ(ReadWholeFile(path), "previous contents");
    EXPECT_EQ(dir.fileCount(), 1u);
}

// Every kill -9 during a save left a hidden file of up to the drawing's size. Unnamed, nothing
// is left; a named temporary (filesystems without O_TMPFILE) is removed by the next save, but
// not while another save holds it.
TEST(SafeSave, RegressionKilledSaveLeavesNoTemporaryFile) {
    TempDir dir;
    const std::string path = dir.file("plan.dxf");
    WriteWholeFile(path, "previous contents");
    killedSave(path, true);
    EXPECT_EQ(dir.fileCount(), 1u);

    killedSave(path, false);
    ASSERT_EQ(dir.fileCount(), 2u);
    SafeFileWriter live(false);
    ASSERT_TRUE(live.open(path));  // removes the stale file of the killed save
    EXPECT_EQ(dir.fileCount(), 2u);
    SafeFileWriter other;
    ASSERT_TRUE(other.open(path));  // keeps the live one
    EXPECT_EQ(dir.fileCount(), 2u);
    ASSERT_TRUE(live.write("new", 3));
    ASSERT_TRUE(live.commit());
    EXPECT_EQ(ReadWholeFile(path), "new");
    other.discard();
    EXPECT_EQ(dir.fileCount(), 1u);
    for (const auto& e : std::filesystem::directory_iterator(dir.path))
        EXPECT_EQ(e.path().filename(), "plan.dxf");
}

// A dangling link was replaced by a plain file instead of being written through.
TEST(SafeSave, RegressionDanglingLinkIsWrittenThrough) {
    TempDir dir;
    std::filesystem::create_directory(dir.file("real"));
    std::filesystem::create_symlink("real/plan.dxf", dir.file("link.dxf"));
    SafeFileWriter w;
    ASSERT_TRUE(w.open(dir.file("link.dxf")));
    ASSERT_TRUE(w.write("drawing", 7));
    ASSERT_TRUE(w.commit());
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.dxf")));
    EXPECT_EQ(ReadWholeFile(dir.file("real/plan.dxf")), "drawing");
}

// The replaced file kept the mode but took the saving user as its owner.
TEST(SafeSave, RegressionOwnerIsKeptWherePermitted) {
    if (::geteuid() != 0) GTEST_SKIP() << "changing a file's owner needs root";
    TempDir dir;
    const std::string path = dir.file("plan.dxf");
    WriteWholeFile(path, "old");
    ASSERT_EQ(::chown(path.c_str(), 4321, 8765), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    SafeFileWriter w;
    ASSERT_TRUE(w.open(path));
    ASSERT_TRUE(w.write("new", 3));
    ASSERT_TRUE(w.commit());
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 4321u);
    EXPECT_EQ(st.st_gid, 8765u);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(ReadWholeFile(path), "new");
}
