#include "common/messages.h"

#include <gtest/gtest.h>

#include <iterator>
#include <utility>

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
    messages.FileError("a számsor", "mentése");
    messages.BadFile("x.tip");
    messages.NoSpace();
    messages.NoMemory();
    messages.MissingDraws();
    messages.InterruptedWarning("Betölti?");
    messages.QueueAnswer(Answer::Yes);
    EXPECT_TRUE(messages.InterruptedQuestion("Folytatja?"));
    const std::pair<MessageKind, std::string> expected[] = {
        {MessageKind::RangeError,
         "Érvénytelen paraméter.\r\rHibapont értékhatárok:\r    - minimum : 0\r    - maximum: 4"},
        {MessageKind::Error, "Hiba történt a számsor állományának mentése során."},
        {MessageKind::Error,
         "Érvénytelen, sérült vagy foglalt állomány.\rBetöltése nem lehetséges.\r\rx.tip"},
        {MessageKind::Error, "Nincs elég szabad hely a kiválasztott meghajtón."},
        {MessageKind::Error, "Nincs elegendő szabad memória (RAM) a variáció befejezéséhez."},
        {MessageKind::Error,
         "A kijelölt állomány a húzások listájára hivatkozik.\r\rA húzások listája hiányzik."},
        {MessageKind::Warning, "Megszakított, nem befejezett variáció.\r\rBetölti?"},
        {MessageKind::WarningQuestion, "Megszakított, nem befejezett variáció.\r\rFolytatja?"},
    };
    ASSERT_EQ(messages.Count(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(messages.Log()[i].kind, expected[i].first) << i;
        EXPECT_EQ(messages.Log()[i].text, expected[i].second) << i;
    }
    EXPECT_EQ(OpenErrorText("/a/b.tip"), "Hiba történt a(z) /a/b.tip megnyitása során.");
    EXPECT_EQ(SaveErrorText("/a/b.tip"), "Hiba történt a(z) /a/b.tip mentése során.");
    EXPECT_EQ(CloseErrorText("/a/b.tip"), "Hiba történt a(z) /a/b.tip lezárása során.");
}

} // namespace
} // namespace velmora
