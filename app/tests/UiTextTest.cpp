#include "app/QtTranslations.h"
#include "app/UiText.h"

#include "TestSupport.h"

#include <QCoreApplication>
#include <QFileInfo>

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
    EXPECT_EQ(ui::text(4432, "/books/novel.vl"), "Fail to open /books/novel.vl: the file is damaged.");
    ASSERT_EQ(ui::setLanguage(1, PROGRAM_FOLDER), 1);
    EXPECT_EQ(ui::text(4432, "/books/novel.vl"), QString::fromUtf8("打开 /books/novel.vl 失败：文件已损坏。"));
}

}  // namespace

namespace {

class QtDialogsLanguage : public testing::Test {
protected:
    ~QtDialogsLanguage() override { installQtTranslations(0); }
    static QString saveAsTitle() { return QCoreApplication::translate("QFileDialog", "Save As"); }
};

TEST_F(QtDialogsLanguage, TheChineseInterfaceGetsChineseQtDialogs)
{
    if (!QFileInfo::exists(qtTranslationsFolder() + "/qtbase_zh_CN.qm"))
        GTEST_SKIP() << "Qt's translations are not installed (qt6-translations-l10n)";
    EXPECT_EQ(saveAsTitle(), "Save As");
    EXPECT_TRUE(installQtTranslations(1));
    EXPECT_EQ(saveAsTitle(), QString::fromUtf8("另存为"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), QString::fromUtf8("是(&Y)"));
    // Back to English: Qt's own texts follow.
    EXPECT_FALSE(installQtTranslations(0));
    EXPECT_EQ(saveAsTitle(), "Save As");
}

TEST_F(QtDialogsLanguage, WithoutTheFilesQtStaysEnglish)
{
    TestFolder empty;
    EXPECT_FALSE(installQtTranslations(1, QString::fromStdString(empty.path())));
    EXPECT_EQ(saveAsTitle(), "Save As");
}

}  // namespace
