#include "app/CMessageDlg.h"

#include "style/CStyle.h"
#include "style/CStyleButton.h"

#include "TestSupport.h"

#include <QApplication>
#include <QPainter>
#include <QTest>
#include <QTimer>

#include "BuiltSkin.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class Dialogs : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        useBuiltSkin();
    }
    static bool visible(const CStyleButton* button) { return button && button->isVisible(); }
};

TEST_F(Dialogs, AnErrorHasOneOkCentredAtTheBottomAndNoClose)
{
    CMessageDlg box("Sorry! This isn't supported file type.", "Error", false);
    box.show();
    ASSERT_TRUE(visible(box.okButton()));
    EXPECT_EQ(box.cancelButton(), nullptr);
    EXPECT_EQ(box.closeButton(), nullptr);
    const QRect ok = box.okButton()->geometry();
    EXPECT_EQ(ok.size(), QSize(60, 20));
    EXPECT_EQ(ok.left(), (box.width() - 60) / 2);
    EXPECT_EQ(ok.bottom(), box.height() - 10 - 1);
    EXPECT_EQ(box.okButton()->text(), "Ok");
    EXPECT_EQ(box.findChildren<CStyleButton*>().size(), 1);
}

TEST_F(Dialogs, AQuestionHasOkCancelAndACloseButtonThatAnswersCancel)
{
    CMessageDlg question("Delete this leaf?", "Sure", true);
    question.show();
    ASSERT_TRUE(visible(question.okButton()));
    ASSERT_TRUE(visible(question.cancelButton()));
    ASSERT_TRUE(visible(question.closeButton()));
    const QRect ok = question.okButton()->geometry(), cancel = question.cancelButton()->geometry();
    EXPECT_EQ(cancel.right(), question.width() - 10 - 1);
    EXPECT_EQ(ok.left(), cancel.left() - 65);
    EXPECT_EQ(ok.top(), cancel.top());
    // the close button sits at the right end of the caption band
    const QRect close = question.closeButton()->geometry(), band = question.captionRect();
    EXPECT_EQ(close.size(), QSize(16, 16));
    EXPECT_EQ(close.right(), band.right() - 5);
    EXPECT_GE(close.top(), band.top());
    EXPECT_LE(close.bottom(), band.bottom());

    QTimer::singleShot(0, [&question] { QTest::mouseClick(question.closeButton(), Qt::LeftButton); });
    EXPECT_EQ(question.exec(), QDialog::Rejected);
    QTimer::singleShot(0, [&question] { QTest::mouseClick(question.okButton(), Qt::LeftButton); });
    EXPECT_EQ(question.exec(), QDialog::Accepted);
    QTimer::singleShot(0, [&question] { QTest::keyClick(&question, Qt::Key_Escape); });
    EXPECT_EQ(question.exec(), QDialog::Rejected);
}

TEST_F(Dialogs, TheBoxGrowsWithItsTextAndWrapsIt)
{
    CMessageDlg small("Short.", "Notice", false);
    const QString longText = QString("This is a long notice that goes on and on. ").repeated(8);
    CMessageDlg large(longText, "Notice", false);
    EXPECT_GE(small.width(), 200);
    EXPECT_GT(large.height(), small.height());
    EXPECT_LE(large.width(), 360 + 40);
}

TEST_F(Dialogs, DraggingTheCaptionBandMovesTheDialog)
{
    CMessageDlg box("Move me.", "Notice", false);
    box.move(100, 100);
    box.show();
    const QPoint start = box.pos();
    const QPoint inBand = box.captionRect().center();
    QTest::mousePress(&box, Qt::LeftButton, Qt::NoModifier, inBand);
    QMouseEvent move(QEvent::MouseMove, QPointF(inBand + QPoint(30, 20)), QPointF(box.mapToGlobal(inBand + QPoint(30, 20))),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&box, &move);
    QTest::mouseRelease(&box, Qt::LeftButton, Qt::NoModifier, inBand + QPoint(30, 20));
    EXPECT_EQ(box.pos(), start + QPoint(30, 20));
}

TEST_F(Dialogs, SkinnedButtonsWearTheirPictures)
{
    CMessageDlg box("Pictures.", "Notice", false);
    box.show();
    const QImage shot = box.grab().toImage();
    const QRect ok = box.okButton()->geometry();
    // the button face, not the dialog's background, fills the OK button
    EXPECT_NE(shot.pixelColor(ok.left() + 4, ok.center().y()), QColor(239, 205, 224));
    EXPECT_EQ(shot.pixelColor(2, box.height() - 3), QColor(239, 205, 224));
    if (const char* out = std::getenv("VERSALEO_SCREENSHOTS")) {
        shot.save(QString(out) + "/message.png");
        CMessageDlg question("Do you want to save the changes of this book?", "Sure", true);
        question.show();
        question.grab().toImage().save(QString(out) + "/question.png");
        // the square pictures of the skin on one sheet, eight to a row
        QImage sheet(8 * 40 + 8, 40 * 40, QImage::Format_RGB32);
        sheet.fill(QColor(239, 205, 224));
        QPainter painter(&sheet);
        int cell = 0;
        const_cast<CStyle*>(applicationStyle())->forEachPicture([&](const char*, QImage& picture) {
            if (picture.width() != picture.height())
                return;
            const QImage shown = picture.width() < 32 ? picture.scaled(32, 32) : picture;
            painter.drawImage(8 + (cell % 8) * 40, 8 + (cell / 8) * 40, shown);
            ++cell;
        });
        painter.end();
        const int row = (cell + 7) / 8;
        sheet.copy(0, 0, sheet.width(), row * 40 + 8).save(QString(out) + "/skin.png");
    }
}

}  // namespace

namespace {

TEST(MessageBox, AYesNoQuestionAnswersYesByOkAndNoByCancel)
{
    useBuiltSkin();
    CMessageDlg question("Discard the changes of window 2?", "Sure", "Yes", "No");
    question.show();
    ASSERT_NE(question.okButton(), nullptr);
    ASSERT_NE(question.cancelButton(), nullptr);
    EXPECT_EQ(question.okButton()->text(), "Yes");
    EXPECT_EQ(question.cancelButton()->text(), "No");
    EXPECT_EQ(question.findChildren<CStyleButton*>().size(), 3);  // no buttons left over from the first set-up
    QTimer::singleShot(0, [&question] { QTest::mouseClick(question.cancelButton(), Qt::LeftButton); });
    EXPECT_EQ(question.exec(), QDialog::Rejected);
    QTimer::singleShot(0, [&question] { QTest::mouseClick(question.okButton(), Qt::LeftButton); });
    EXPECT_EQ(question.exec(), QDialog::Accepted);
}

}  // namespace

namespace {

TEST(MessageBox, EnterAnswersWithTheButtonInFocusOrOk)
{
    useBuiltSkin();
    // Enter typed as the reader types it: into the box's widget in focus.
    const auto answer = [](CMessageDlg& box, CStyleButton* focused) {
        QTimer::singleShot(0, [&box, focused] {
            box.activateWindow();
            if (!QTest::qWaitForWindowActive(&box))
                ADD_FAILURE() << "the box never became active";
            if (focused)
                focused->setFocus();
            QWidget* focus = QApplication::focusWidget();
            QTest::keyClick(focus && box.isAncestorOf(focus) ? focus : &box, Qt::Key_Return);
            // A box that Enter left open gives no answer.
            if (box.isVisible())
                box.done(-1);
        });
        return box.exec();
    };
    CMessageDlg notice("Fail to save /books/novel.vl.", "Error", false);
    EXPECT_EQ(answer(notice, nullptr), QDialog::Accepted);
    CMessageDlg question("Discard the changes of window 2?", "Sure", "Yes", "No");
    EXPECT_EQ(answer(question, question.okButton()), QDialog::Accepted);
    EXPECT_EQ(answer(question, question.cancelButton()), QDialog::Rejected);
    // Enter on the keypad, with no button in focus, is OK too.
    QTimer::singleShot(0, [&question] {
        question.setFocus();
        QTest::keyClick(&question, Qt::Key_Enter, Qt::KeypadModifier);
        if (question.isVisible())
            question.done(-1);
    });
    EXPECT_EQ(question.exec(), QDialog::Accepted);
}

}  // namespace
