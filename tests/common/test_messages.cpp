#include "common/messages.h"

#include <gtest/gtest.h>

#include "support/fake_messages.h"

namespace velmora {
namespace {

using testing::FakeMessages;

TEST(Messages, CaptionsCarryTheLeadingBlank) {
    EXPECT_STREQ(MessageCaption(MessageKind::Error), " Hiba!");
    EXPECT_STREQ(MessageCaption(MessageKind::RangeError), " Hiba!");
    EXPECT_STREQ(MessageCaption(MessageKind::WarningQuestion), " Figyelmeztetés!");
    EXPECT_STREQ(MessageCaption(MessageKind::Confirmation), " Jóváhagyás kérése");
    EXPECT_STREQ(MessageCaption(MessageKind::ThreeWayQuestion), " Jóváhagyás kérése");
    EXPECT_STREQ(MessageCaption(MessageKind::Information), " Információ");
    EXPECT_STREQ(MessageCaption(MessageKind::Notice), " Hasznos információ");
}

TEST(Messages, ApproveOffAnswersConfirmationsOnly) {
    FakeMessages messages;
    messages.SetApprove(false);
    EXPECT_TRUE(messages.Confirm("Biztos kilép a programból?"));
    EXPECT_EQ(messages.Count(), 0u);
    EXPECT_FALSE(messages.ErrorQuestion("hiba?"));
    EXPECT_FALSE(messages.WarningQuestion("figyelem?"));
    EXPECT_FALSE(messages.Question("kérdés?"));
    EXPECT_EQ(messages.Count(), 3u);

    messages.SetApprove(true);
    messages.QueueAnswer(Answer::Yes);
    EXPECT_TRUE(messages.Confirm("igen?"));
    EXPECT_FALSE(messages.Confirm("nem?")) << "an unanswered question defaults to No";
}

TEST(Messages, NoticeAsksToRemindAndRespectsInfo) {
    FakeMessages messages;
    bool remind = true;
    messages.Notice("Szöveg.", remind);
    EXPECT_FALSE(remind);
    EXPECT_EQ(messages.Last().kind, MessageKind::Notice);
    EXPECT_EQ(messages.LastText(), "Szöveg.\r\rErre legközelebb is emlékeztesse a program?");

    messages.QueueAnswer(Answer::Yes);
    messages.Notice("Szöveg.", remind);
    EXPECT_TRUE(remind);

    messages.SetInfo(false);
    remind = false;
    messages.Notice("Szöveg.", remind);
    EXPECT_FALSE(remind);
    EXPECT_EQ(messages.Count(), 2u);
}

TEST(Messages, CompositeTexts) {
    FakeMessages messages;
    messages.RangeError("Hibapont", 0, 4);
    EXPECT_EQ(messages.Last().kind, MessageKind::RangeError);
    EXPECT_EQ(messages.LastText(), "Érvénytelen paraméter.\r\rHibapont értékhatárok:\r"
                                   "    - minimum : 0\r    - maximum: 4");
    messages.FileError("a számsor", "mentése");
    EXPECT_EQ(messages.LastText(), "Hiba történt a számsor állományának mentése során.");
    messages.BadFile("x.tip");
    EXPECT_EQ(messages.LastText(),
              "Érvénytelen, sérült vagy foglalt állomány.\rBetöltése nem lehetséges.\r\rx.tip");
    messages.QueueAnswer(Answer::Yes);
    EXPECT_TRUE(messages.InterruptedQuestion("Folytatja?"));
    EXPECT_EQ(messages.Last().kind, MessageKind::WarningQuestion);
    EXPECT_EQ(messages.LastText(), "Megszakított, nem befejezett variáció.\r\rFolytatja?");
    EXPECT_EQ(OpenErrorText("/a/b.tip"), "Hiba történt a(z) /a/b.tip megnyitása során.");
}

} // namespace
} // namespace velmora
