#include "app/UiText.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

// The language is one for the whole program: every test leaves it English.
class InterfaceLanguage : public testing::Test {
protected:
    ~InterfaceLanguage() override { ui::setLanguage(0, PROGRAM_FOLDER); }
};

// Runs before the module is loaded by the next test: once loaded it stays.
TEST_F(InterfaceLanguage, WithoutTheModuleTheInterfaceStaysEnglish)
{
    TestFolder empty;
    EXPECT_EQ(ui::setLanguage(1, empty.path()), 0);
    EXPECT_EQ(ui::language(), 0);
    EXPECT_EQ(ui::text(3000), "Window1");
}

TEST_F(InterfaceLanguage, EnglishByDefaultAndChineseFromTheModule)
{
    EXPECT_EQ(ui::setLanguage(0, PROGRAM_FOLDER), 0);
    EXPECT_EQ(ui::text(3000), "Window1");
    EXPECT_EQ(ui::text(4401), "Sorry! This isn't supported file type.");
    EXPECT_EQ(ui::setLanguage(1, PROGRAM_FOLDER), 1);
    EXPECT_EQ(ui::text(3000), QString::fromUtf8("窗口1"));
    EXPECT_EQ(ui::text(4102), QString::fromUtf8("错误"));
    EXPECT_EQ(ui::text(ui::kMenuLabel + 279), QString::fromUtf8("打开..."));
    EXPECT_EQ(ui::text(123456), QString());
}

TEST_F(InterfaceLanguage, ArgumentsFillTheirPlace)
{
    EXPECT_EQ(ui::text(4406, "help_en.vl"), "Fail to open help_en.vl file. The file maybe lost");
}

TEST_F(InterfaceLanguage, ADamagedBookIsNamedInEitherLanguage)
{
    EXPECT_EQ(ui::text(4410, "/books/novel.vl"), "Fail to open /books/novel.vl: the file is damaged.");
    ASSERT_EQ(ui::setLanguage(1, PROGRAM_FOLDER), 1);
    EXPECT_EQ(ui::text(4410, "/books/novel.vl"), QString::fromUtf8("打开 /books/novel.vl 失败：文件已损坏。"));
}

}  // namespace
