// The yes/no question base: where its answers stand, which one Enter and Tab reach, and what a
// press answers.
#include "skin/Controls.h"
#include "skin/TsuiQuestionDialog.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

constexpr int kYes = 6;

class Question : public TsuiQuestionDialog {
public:
    explicit Question(bool withCancel)
        : TsuiQuestionDialog(nullptr, 320, 172, QStringLiteral("问题"), Placement::ScreenCentre,
                             {{24, 48}, 128, 40, 124})
    {
        if (withCancel) {
            cancel = addAnswerButton(QStringLiteral("取消(&C)"), 208);
            connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
        }
    }
    void suiButton1Click() override { done(kYes); }

    TsuiButton* cancel = nullptr;
};

// Presses key on whatever has the focus in the dialog once it is shown, then the keys after it.
void pressWhenShown(QDialog& dialog, std::vector<Qt::Key> keys)
{
    QTimer::singleShot(0, &dialog, [&dialog, keys] {
        QApplication::setActiveWindow(&dialog);
        for (const Qt::Key key : keys)
            QTest::keyClick(QApplication::focusWidget(), key);
    });
}

} // namespace

TEST(QuestionDialog, AnswersStandSideBySideWithTheirCaptions)
{
    Question question(true);
    EXPECT_EQ(question.size(), QSize(320, 172));
    EXPECT_EQ(question.yesButton()->text(), "是(&Y)");
    EXPECT_EQ(question.noButton()->text(), "否(&N)");
    EXPECT_EQ(question.yesButton()->geometry().topLeft(), QPoint(40, 128));
    EXPECT_EQ(question.noButton()->geometry().topLeft(), QPoint(124, 128));
    EXPECT_EQ(question.cancel->geometry(), QRect(208, 128, 72, 25));
}

// Enter right after opening answers no; Tab goes from 否 to the further answer, then to 是; after
// any close the next opening starts on 否 again.
TEST(QuestionDialog, TheFocusStartsOnNoAtEveryOpening)
{
    Question question(true);
    pressWhenShown(question, {Qt::Key_Return});
    EXPECT_EQ(question.exec(), QDialog::Rejected);

    pressWhenShown(question, {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Return});
    EXPECT_EQ(question.exec(), kYes);

    pressWhenShown(question, {Qt::Key_Tab, Qt::Key_Space});
    EXPECT_EQ(question.exec(), QDialog::Rejected);  // 取消
    pressWhenShown(question, {Qt::Key_Return});
    EXPECT_EQ(question.exec(), QDialog::Rejected);  // 否 again, not 取消 or 是
}

TEST(QuestionDialog, YesAndNoButtonsReachTheirAnswers)
{
    Question question(false);
    QTimer::singleShot(0, &question, [&] { question.yesButton()->click(); });
    EXPECT_EQ(question.exec(), kYes);
    QTimer::singleShot(0, &question, [&] { question.noButton()->click(); });
    EXPECT_EQ(question.exec(), QDialog::Rejected);
}
