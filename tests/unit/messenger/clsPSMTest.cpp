// The Messenger channel against Messenger windows in the simulation: the bytes of a status
// message, when one is sent, who receives it, and the bar's choice between show and withdraw.
#include <deque>
#include <functional>

#include "messenger/NowPlaying.h"
#include "messenger/clsPSM.h"
#include "support/BarScene.h"

namespace tb {
namespace {

using namespace std::string_literals;
using test::MessengerWindow;
using Kinds = std::vector<std::string>;

// "show" or "hide" per message, from the enabled flag after the category.
Kinds kinds(const MessengerWindow& w) {
    Kinds out;
    for (std::u16string_view t : w.texts)
        out.push_back(t.substr(t.find(u"\\0", 2) + 2, 1) == u"1" ? "show" : "hide");
    return out;
}

class clsPSMTest : public ::testing::Test {
protected:
    MessengerWindow& open(const char* cls = "MsnMsgrUIManager") {
        MessengerWindow& w = windows.emplace_back();
        desk.createWindow({cls, "", {}}, &w);
        return w;
    }
    sim::SimDesktop desk;
    std::deque<MessengerWindow> windows;
    clsPSM psm{desk};
};

TEST_F(clsPSMTest, StatusMessagesCarryUtf16TextWithSeparatorsAndAClosingZero) {
    MessengerWindow& messenger = open();
    psm.setPSM("Artist - Title", "Music", "{0}");
    psm.HidePSM();
    psm.setPSM("Caf\xE9 \x80\x81 A\0B"s, "Music", "{0}");  // Windows-1252 in the simulation

    EXPECT_EQ(messenger.texts,
              (std::vector<std::u16string>{
                  u"\\0Music\\01\\0{0}\\0Artist - Title\\0\\0\\0\\0"s + u'\0',
                  u"\\0Music\\00\\0{0} - {1}\\0\\0\\0\\0\\0"s + u'\0',
                  u"\\0Music\\01\\0{0}\\0Caf\u00e9 \u20ac\u0081 A\0B\\0\\0\\0\\0"s + u'\0'}));
    EXPECT_EQ(messenger.cbData, (std::vector<std::size_t>{2 * (14 + 26), 64, 2 * (11 + 26)}));
}

TEST_F(clsPSMTest, SendsOnlyChangesAndWithdrawsOnlyWhatWasShown) {
    using Step = std::function<void(clsPSM&)>;
    const auto show = [](std::string text, std::string format = "{0}") -> Step {
        return [=](clsPSM& p) { p.setPSM(text, "Music", format); };
    };
    const Step empty = [](clsPSM& p) { p.setPSM("", "", ""); };
    const Step hide = [](clsPSM& p) { p.HidePSM(); };
    const struct {
        std::vector<Step> steps;
        Kinds sent;
    } rows[] = {
        {{show("A"), show("A")}, {"show"}},
        {{hide}, {}},
        {{show("A"), hide, hide, show("A")}, {"show", "hide", "show"}},
        {{show("A"), show("B"), show("B", "{1}")}, {"show", "show", "show"}},
        {{empty, show("A"), empty, hide}, {"show", "show"}},
    };
    MessengerWindow& messenger = open();
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        clsPSM fresh(desk);
        messenger.texts.clear();
        for (const Step& step : rows[i].steps) step(fresh);
        EXPECT_EQ(kinds(messenger), rows[i].sent) << "row " << i;
    }
}

TEST_F(clsPSMTest, EveryMessengerWindowReceivesAndAHungOneCostsAtMostTheBoundedWait) {
    MessengerWindow& first = open();
    MessengerWindow& second = open();
    MessengerWindow& other = open("SomethingElse");
    psm.setPSM("One", "Music", "{0}");
    EXPECT_EQ(first.texts.size() * 10 + second.texts.size() + other.texts.size(), 11u);

    // A plain send to it would never return.
    desk.setHung(desk.findWindow("MsnMsgrUIManager"), sim::SimDesktop::kHungForever);
    std::uint64_t start = desk.tickCountMs();
    psm.setPSM("Two", "Music", "{0}");
    EXPECT_LE(desk.tickCountMs() - start, clsPSM::kSendTimeoutMs);
    desk.advance(5000);  // hung long enough for the system to give up on it at once
    start = desk.tickCountMs();
    psm.HidePSM();
    EXPECT_EQ(desk.tickCountMs(), start);
    EXPECT_EQ(first.texts.size() + second.texts.size(), 4u) << "the other window got all three";
}

TEST_F(clsPSMTest, TheBarPublishesWhilePlayingAndWithdrawsOnlyWithTheFeatureOn) {
    MessengerWindow& messenger = open();
    sim::SimWinamp winamp(desk);
    WinampAPI api(desk);
    Instellingen settings;
    settings.sMSNIndeling = "\\a (\\p, \\v)";
    using enum model::PlayStatus;
    const std::pair<bool, model::PlayStatus> updates[] = {
        {false, Playing}, {true, Stopped},  // nothing shown, nothing to withdraw
        {true, Playing},  {true, Playing}, {false, Paused}, {true, Paused}};
    for (auto [on, status] : updates) {
        settings.bMSNPlugin = on;
        winamp.model().setStatus(status);
        PublishNowPlaying(api, settings, "Artist - Title", "0:12 / 4:05", 128, psm);
    }
    EXPECT_EQ(kinds(messenger), (Kinds{"show", "hide"}));
    EXPECT_EQ(messenger.texts[0], u"\\0Music\\01\\0{0}\\0Artist (1/12, 50%)\\0\\0\\0\\0"s + u'\0');
}

}  // namespace
}  // namespace tb
