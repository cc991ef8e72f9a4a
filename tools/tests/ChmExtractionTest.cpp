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
    EXPECT_GT(extractCompiledHelp((m_scratch + "/out").c_str(), help.c_str()), 0);
}

// chmlib divides by half the window size of control data it has just found
// unsound; the file is never handed to it.
TEST_F(ChmExtraction, ChmOpenDivideByZeroIsRefusedBeforeOpening)
{
    const std::string file = std::string(TOOLS_TEST_DATA) + "/chm-open-divide-by-zero.chm";
    EXPECT_FALSE(openingIsSafe(file));
    EXPECT_EQ(extractCompiledHelp((m_scratch + "/out").c_str(), file.c_str()), 0);
}

// An object chmlib reads while opening sits in a space that is neither plain
// nor compressed: chmlib reads it as compressed before its block cache exists
// and divides by the cache's size.
TEST_F(ChmExtraction, ChmOpenSpaceBeyondCompressedIsRefusedBeforeOpening)
{
    const std::string file = std::string(TOOLS_TEST_DATA) + "/chm-open-space-beyond-compressed.chm";
    EXPECT_FALSE(openingIsSafe(file));
    EXPECT_EQ(extractCompiledHelp((m_scratch + "/out").c_str(), file.c_str()), 0);
}

// The reset table's entry starts before its block's free space and runs on
// into it, with a space beyond compressed: chmlib reads it all the same.
TEST_F(ChmExtraction, ChmOpenEntryIntoFreeSpaceIsRefusedBeforeOpening)
{
    const std::string file = std::string(TOOLS_TEST_DATA) + "/chm-open-entry-into-free-space.chm";
    EXPECT_FALSE(openingIsSafe(file));
    EXPECT_EQ(extractCompiledHelp((m_scratch + "/out").c_str(), file.c_str()), 0);
}

// Its one listing block names itself as the next: chmlib's listing would go
// round it for ever.
TEST_F(ChmExtraction, ChmListingCycleIsRefusedBeforeOpening)
{
    const std::string file = std::string(TOOLS_TEST_DATA) + "/chm-listing-cycle.chm";
    EXPECT_FALSE(openingIsSafe(file));
    EXPECT_EQ(extractCompiledHelp((m_scratch + "/out").c_str(), file.c_str()), 0);
}

TEST_F(ChmExtraction, FilesChmlibRefusesItselfNeedNoCheck)
{
    const std::string empty = m_scratch + "/empty.chm";
    ::close(::open(empty.c_str(), O_WRONLY | O_CREAT, 0644));
    EXPECT_TRUE(openingIsSafe(empty));
    EXPECT_EQ(extractCompiledHelp((m_scratch + "/out").c_str(), empty.c_str()), 0);
}

}  // namespace
