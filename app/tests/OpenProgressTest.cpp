#include "app/OpenProgress.h"

#include <QProgressDialog>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class Progress : public testing::Test {
protected:
    int64_t now = 1000;
    OpenProgress progress{[] { return nullptr; }, [this] { return now; }};
};

TEST_F(Progress, TheDialogWaitsHalfASecondThenShowsTheFileAndHowFarItHasGot)
{
    progress.begin("/books/\xE5\xA4\xA7\xE4\xB9\xA6.txt");
    EXPECT_TRUE(progress.update(0.1));
    now += OpenProgress::kShowAfterMs - 1;
    EXPECT_TRUE(progress.update(0.2));
    EXPECT_EQ(progress.dialog(), nullptr);
    now += 1;
    EXPECT_TRUE(progress.update(0.3));
    QProgressDialog* dialog = progress.dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->labelText().contains(QString::fromUtf8("\xE5\xA4\xA7\xE4\xB9\xA6.txt")));
    EXPECT_EQ(dialog->value(), dialog->maximum() * 3 / 10);
    // a helper program at work: the bar only shows that something goes on
    now += OpenProgress::kPumpEveryMs;
    EXPECT_TRUE(progress.update(ImportProgress::kUnknown));
    EXPECT_EQ(dialog->maximum(), 0);
    progress.end();
    EXPECT_EQ(progress.dialog(), nullptr);
}

TEST_F(Progress, CancelStopsTheOpeningUntilItEnds)
{
    progress.begin("a.txt");
    now += OpenProgress::kShowAfterMs;
    ASSERT_TRUE(progress.update(0.5));
    QPushButton* cancel = progress.dialog()->findChild<QPushButton*>();
    ASSERT_NE(cancel, nullptr);
    QTest::mouseClick(cancel, Qt::LeftButton);
    now += OpenProgress::kPumpEveryMs;
    EXPECT_FALSE(progress.update(0.6));
    EXPECT_FALSE(progress.update(0.7));
    progress.end();
    // the next opening starts afresh, without a dialog
    progress.begin("b.txt");
    EXPECT_TRUE(progress.update(0.1));
    EXPECT_EQ(progress.dialog(), nullptr);
}

TEST_F(Progress, AQuickOpeningNeverShowsTheDialog)
{
    progress.begin("a.txt");
    for (int i = 0; i < 10; ++i) {
        now += 40;
        EXPECT_TRUE(progress.update(i / 10.0));
    }
    EXPECT_EQ(progress.dialog(), nullptr);
    progress.end();
}

TEST_F(Progress, Screenshot)
{
    const char* out = std::getenv("VERSALEO_SCREENSHOTS");
    if (!out)
        GTEST_SKIP() << "VERSALEO_SCREENSHOTS names the folder for the pictures";
    progress.begin("/books/A Tale of Two Cities.epub");
    now += OpenProgress::kShowAfterMs;
    ASSERT_TRUE(progress.update(0.42));
    EXPECT_TRUE(progress.dialog()->grab().save(QString(out) + "/open-progress.png"));
    progress.end();
}

}  // namespace
