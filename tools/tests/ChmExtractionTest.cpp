#include "ChmExtraction.h"
#include "OpeningCheck.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool openingIsSafe(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st;
    EXPECT_GE(fd, 0) << path;
    EXPECT_EQ(::fstat(fd, &st), 0);
    const bool safe = chmOpeningIsSafe(fd, static_cast<unsigned long long>(st.st_size));
    ::close(fd);
    return safe;
}

class ChmExtraction : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/versaleo-chm-test-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_scratch = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(m_scratch); }
    std::string m_scratch;
};

TEST_F(ChmExtraction, AHelpFileOfOurOwnOpensAndUnpacks)
{
    const std::string help = std::string(BOOK_TEST_DATA) + "/help.chm";
    EXPECT_TRUE(openingIsSafe(help));
    const int written = extractCompiledHelp((m_scratch + "/out").c_str(), help.c_str());
    EXPECT_GT(written, 0);

    // The same file with an index block above its listing block, as bigger
    // help files have: chmlib's lookup goes through the index, and the
    // opening check walks it without taking it for a loop.
    const std::string indexed = std::string(TOOLS_TEST_DATA) + "/help-indexed.chm";
    EXPECT_TRUE(openingIsSafe(indexed));
    EXPECT_EQ(extractCompiledHelp((m_scratch + "/indexed").c_str(), indexed.c_str()), written);
}

// Files that took chmlib down inside the helper; each is refused before it
// is handed to chmlib, and nothing is extracted:
// - divide-by-zero: chmlib divides by half the window size of control data
//   it has just found unsound;
// - space-beyond-compressed: an object chmlib reads while opening sits in a
//   space neither plain nor compressed, so chmlib reads it as compressed
//   before its block cache exists and divides by the cache's size;
// - entry-into-free-space: the reset table's entry starts before its block's
//   free space and runs on into it, with such a space: chmlib reads it all
//   the same;
// - number-beyond-64-bits: an entry has a number of more than 64 bits, which
//   chmlib reads to its end, keeping the low bits; the reset table after it
//   sits in a space beyond compressed;
// - name-ends-at-zero: the reset table's name goes on after a zero byte,
//   where chmlib's comparison ends it, so chmlib still finds it there;
// - page-before-directory: the first listing block is numbered -2, which
//   chmlib reads two blocks before the directory, and the reset table there
//   sits in a space beyond compressed;
// - listing-cycle: its one listing block names itself as the next, and
//   chmlib's listing would go round it for ever;
// - listing-cycle-before-directory: the same with the first listing block
//   numbered -2, two blocks before the directory;
// - index-cycle: the root of the index is an index block that names only
//   itself, and chmlib's lookup would go round it for ever.
TEST_F(ChmExtraction, FilesThatBrokeChmlibAreRefusedBeforeOpening)
{
    for (const char* name : {"chm-open-divide-by-zero.chm", "chm-open-space-beyond-compressed.chm",
                             "chm-open-entry-into-free-space.chm", "chm-open-number-beyond-64-bits.chm",
                             "chm-open-name-ends-at-zero.chm", "chm-open-page-before-directory.chm",
                             "chm-listing-cycle.chm", "chm-listing-cycle-before-directory.chm",
                             "chm-index-cycle.chm"}) {
        SCOPED_TRACE(name);
        const std::string file = std::string(TOOLS_TEST_DATA) + "/" + name;
        // A file let through would take chmlib, and this test, down with it.
        if (openingIsSafe(file))
            ADD_FAILURE() << "the opening check lets the file through";
        else
            EXPECT_EQ(extractCompiledHelp((m_scratch + "/out").c_str(), file.c_str()), 0);
    }
}

TEST_F(ChmExtraction, FilesChmlibRefusesItselfNeedNoCheck)
{
    const std::string empty = m_scratch + "/empty.chm";
    ::close(::open(empty.c_str(), O_WRONLY | O_CREAT, 0644));
    EXPECT_TRUE(openingIsSafe(empty));
    EXPECT_EQ(extractCompiledHelp((m_scratch + "/out").c_str(), empty.c_str()), 0);
}

}  // namespace
