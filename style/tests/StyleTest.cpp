#include "style/CStyle.h"
#include "style/CStyleButton.h"

#include "TestSupport.h"
#include "ZipBombs.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>
#include <zip.h>

#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace fs = std::filesystem;

namespace {

const std::string kBuiltSkin = std::string(PROGRAM_FOLDER) + "/style.data";

struct Probe {
    int exitCode = -1;
    std::string output;
};

// Runs the probe on a folder, standard output and error together.
Probe runProbe(const std::string& folder)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 2);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::string probe = STYLE_PROBE;
    std::vector<char*> argv{probe.data(), const_cast<char*>(folder.c_str()), nullptr};
    pid_t child = 0;
    const int spawned = ::posix_spawn(&child, probe.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    Probe result;
    if (spawned == 0) {
        char buffer[512];
        ssize_t got;
        while ((got = ::read(fds[0], buffer, sizeof buffer)) > 0)
            result.output.append(buffer, static_cast<size_t>(got));
        int status = 0;
        ::waitpid(child, &status, 0);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    ::close(fds[0]);
    return result;
}

// An archive holding the given entries.
void makeArchive(const std::string& path, const std::vector<std::pair<std::string, std::string>>& entries)
{
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr);
    for (const auto& [name, content] : entries) {
        zip_source_t* source = zip_source_buffer(archive, content.data(), content.size(), 0);
        ASSERT_GE(zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8), 0) << name;
    }
    ASSERT_EQ(zip_close(archive), 0);
}

TEST(Skin, EveryPictureLoadsAndNoFileStays)
{
    TestFolder dir;
    fs::copy_file(kBuiltSkin, dir / "style.data");
    CStyle style;
    style.InitBitmap(dir.path());
    int pictures = 0, missing = 0;
    style.forEachPicture([&](const char* name, QImage& picture) {
        ++pictures;
        if (picture.isNull()) {
            ++missing;
            ADD_FAILURE() << name;
        }
    });
    EXPECT_EQ(pictures, 4 * 32 + 1 + 2 * 26);
    EXPECT_EQ(missing, 0);
    EXPECT_EQ(style.middle_btn_u.size(), QSize(60, 20));
    EXPECT_EQ(style.exit_x.size(), QSize(16, 16));
    EXPECT_TRUE(fs::exists(dir / "style.data"));
}

// Points the temporary folder at a test folder for one scope.
class TemporaryFolderAt {
public:
    explicit TemporaryFolderAt(const fs::path& folder) : m_old(qgetenv("TMPDIR"))
    {
        fs::create_directories(folder);
        qputenv("TMPDIR", QByteArray::fromStdString(folder.string()));
    }
    ~TemporaryFolderAt() { m_old.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", m_old); }
    TemporaryFolderAt(const TemporaryFolderAt&) = delete;
    TemporaryFolderAt& operator=(const TemporaryFolderAt&) = delete;

private:
    QByteArray m_old;
};

TEST(Skin, TwoProgramsStartingAtOnceNeverShareOrDeleteAnUnpackFolder)
{
    TestFolder dir;
    fs::copy_file(kBuiltSkin, dir / "style.data");
    // What another program (or an older version) left in the "style" folder
    // of the program's folder stays as it is.
    fs::create_directories(dir / "style");
    std::ofstream(fs::path(dir / "style") / "menu_back.bmp") << "another program's picture";
    const TemporaryFolderAt scratch(dir / "tmp");

    CStyle first, second;
    first.InitBitmap(dir.path());
    second.InitBitmap(dir.path());
    EXPECT_FALSE(first.middle_btn_u.isNull());
    EXPECT_FALSE(second.middle_btn_u.isNull());
    EXPECT_TRUE(fs::exists(fs::path(dir / "style") / "menu_back.bmp"));
    EXPECT_TRUE(fs::is_empty(dir / "tmp")) << "an unpack folder was left behind";

    std::ofstream(dir / "style.data", std::ios::trunc) << "not an archive";
    EXPECT_EQ(runProbe(dir.path()).exitCode, 0);
    EXPECT_TRUE(fs::is_empty(dir / "tmp")) << "a failed unpack left its folder";
}

TEST(Skin, AMissingOrDamagedDataFileEndsTheProcessWithZero)
{
    TestFolder dir;
    Probe missing = runProbe(dir.path());
    EXPECT_EQ(missing.exitCode, 0);
    EXPECT_NE(missing.output.find(kStyleFailureText), std::string::npos) << missing.output;
    EXPECT_EQ(missing.output.find("loaded"), std::string::npos);

    std::ofstream(dir / "style.data") << "not an archive";
    Probe damaged = runProbe(dir.path());
    EXPECT_EQ(damaged.exitCode, 0);
    EXPECT_NE(damaged.output.find("Fail to read style config file."), std::string::npos);

    fs::remove(dir / "style.data");
    fs::copy_file(kBuiltSkin, dir / "style.data");
    EXPECT_EQ(runProbe(dir.path()).exitCode, 3);
}

TEST(Package, EntriesThatWouldLeaveTheFolderAreRefused)
{
    TestFolder dir;
    for (const std::string bad : {"../x.bmp", "/tmp/x.bmp", "sub/x.bmp", ".hidden"}) {
        makeArchive(dir / "evil.data", {{"ok.bmp", "fine"}, {bad, "escaped"}});
        EXPECT_EQ(PackageUnpack((dir / "evil.data").c_str(), (dir / "style").c_str(), 0), 0) << bad;
        EXPECT_FALSE(fs::exists(dir / "x.bmp"));
        EXPECT_FALSE(fs::exists(dir / "style/ok.bmp"));  // nothing is written for a hostile archive
    }
    EXPECT_FALSE(fs::exists("/tmp/x.bmp") && fs::file_size("/tmp/x.bmp") == 7);
}

TEST(Package, AbsurdlyLargeEntriesAreRefused)
{
    TestFolder dir;
    makeArchive(dir / "big.data", {{"huge.bmp", std::string((32u << 20) + 1, '\0')}});
    EXPECT_EQ(PackageUnpack((dir / "big.data").c_str(), (dir / "style").c_str(), 0), 0);
    EXPECT_FALSE(fs::exists(dir / "style/huge.bmp"));
    makeArchive(dir / "good.data", {{"a.bmp", "A"}, {"b.bmp", "B"}});
    EXPECT_EQ(PackageUnpack((dir / "good.data").c_str(), (dir / "style").c_str(), 0), 1);
    EXPECT_TRUE(fs::exists(dir / "style/b.bmp"));
}

// The bytes of every file below a folder.
uintmax_t bytesBelow(const fs::path& folder)
{
    uintmax_t total = 0;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(folder, ec); it != fs::recursive_directory_iterator(); it.increment(ec))
        total += it->is_regular_file() ? it->file_size() : 0;
    return total;
}

std::vector<std::string> skinNames(int count)
{
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back("picture" + std::to_string(i) + ".bmp");
    return names;
}

// Regression: a few kilobytes of "style.data" listing 32 entries over one
// run of compressed bytes unpacked a gigabyte and reported success.
TEST(Package, AStyleDataOf32OverlappingEntriesIsRefusedWritingNothing)
{
    TestFolder dir;
    const std::string bomb = zipbombs::overlappingArchive(skinNames(32), std::string(1u << 20, '\0'));
    ASSERT_LT(bomb.size(), 8u << 10);
    std::ofstream(dir / "style.data", std::ios::binary) << bomb;
    EXPECT_EQ(PackageUnpack((dir / "style.data").c_str(), (dir / "style").c_str(), 0), 0);
    EXPECT_LT(bytesBelow(dir / "style"), 1u << 20);

    // The program ends as for a damaged skin, leaving no unpacked picture.
    const TemporaryFolderAt scratch(dir / "tmp");
    const Probe probe = runProbe(dir.path());
    EXPECT_EQ(probe.exitCode, 0);
    EXPECT_NE(probe.output.find(kStyleFailureText), std::string::npos) << probe.output;
    EXPECT_EQ(bytesBelow(dir / "tmp"), 0u);

    // One entry alone is an ordinary archive.
    std::ofstream(dir / "one.data", std::ios::binary)
        << zipbombs::overlappingArchive(skinNames(1), std::string(1u << 20, '\0'));
    EXPECT_EQ(PackageUnpack((dir / "one.data").c_str(), (dir / "one").c_str(), 0), 1);
    EXPECT_EQ(bytesBelow(dir / "one"), 1u << 20);
}

TEST(Package, EntriesAddingUpToMoreThanASkinCouldNeedAreRefusedWritingNothing)
{
    TestFolder dir;
    // Each entry under the cap of one, together over the cap of the skin.
    const std::string picture(22u << 20, '\0');
    makeArchive(dir / "many.data", {{"a.bmp", picture}, {"b.bmp", picture}, {"c.bmp", picture}});
    ASSERT_LT(fs::file_size(dir / "many.data"), 1u << 20);
    EXPECT_EQ(PackageUnpack((dir / "many.data").c_str(), (dir / "style").c_str(), 0), 0);
    EXPECT_EQ(bytesBelow(dir / "style"), 0u);
    makeArchive(dir / "two.data", {{"a.bmp", picture}, {"b.bmp", picture}});
    EXPECT_EQ(PackageUnpack((dir / "two.data").c_str(), (dir / "style").c_str(), 0), 1);
}

class Buttons : public testing::Test {};

TEST_F(Buttons, AClickSendsTheCommandUnlessDisabled)
{
    QImage normal(60, 20, QImage::Format_RGB32), focused = normal, pressed = normal, disabled = normal;
    normal.fill(Qt::red);
    focused.fill(Qt::green);
    pressed.fill(Qt::blue);
    disabled.fill(Qt::gray);
    CStyleButton button;
    button.SetPicture(&normal, &focused, &pressed, &disabled);
    button.setCommandId(330);
    button.resize(60, 20);
    button.show();
    QSignalSpy commands(&button, &CStyleButton::command);
    QTest::mouseClick(&button, Qt::LeftButton);
    ASSERT_EQ(commands.count(), 1);
    EXPECT_EQ(commands.takeFirst().at(0).toInt(), 330);
    button.setEnabled(false);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(commands.count(), 0);
    EXPECT_EQ(button.grab().toImage().pixelColor(2, 2), QColor(Qt::gray));
    button.setEnabled(true);
    button.clearFocus();
    EXPECT_EQ(button.sizeHint(), QSize(60, 20));
}

}  // namespace
