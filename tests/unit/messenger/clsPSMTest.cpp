// The Messenger channel against Messenger windows in the simulation: the bytes of a status
// message, when one is sent, who receives it, and the bar's choice between show and withdraw.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "messenger/NowPlaying.h"
#include "messenger/clsPSM.h"
#include "platform/sim/SimWinamp.h"
#include "settings/Instellingen.h"
#include "winamp/WinampAPI.h"

namespace tb {
namespace {

using namespace std::string_literals;
using Kinds = std::vector<std::string>;

struct MessengerWindow : WindowHandler {
    std::vector<std::size_t> cbData;
    std::vector<std::u16string> texts;  // each payload read as UTF-16 little-endian
    LResult onCopyData(Hwnd from, std::uintptr_t dwData,
                       std::span<const std::uint8_t> data) override {
        EXPECT_EQ(from, 0u);
        EXPECT_EQ(dwData, 1351u);
        std::u16string text;
        for (std::size_t i = 0; i + 1 < data.size(); i += 2)
            text += static_cast<char16_t>(data[i] | data[i + 1] << 8);
        cbData.push_back(data.size());
        texts.push_back(text);
        return 0;
    }
    // "show" or "hide" per message, from the enabled flag after the category.
    Kinds kinds() const {
        Kinds out;
        for (std::u16string_view t : texts)
            out.push_back(t.substr(t.find(u"\\0", 2) + 2, 1) == u"1" ? "show" : "hide");
        return out;
    }
};

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
        EXPECT_EQ(messenger.kinds(), rows[i].sent) << "row " << i;
    }
}

TEST_F(clsPSMTest, EveryMessengerWindowReceivesAndAHungOneCostsAtMostTheBoundedWait) {
    MessengerWindow& first = open();
    MessengerWindow& second = open();
    MessengerWindow& other = open("SomethingElse");
    psm.setPSM("One", "Music", "{0}");
    EXPECT_EQ(first.texts.size(), 1u);
    EXPECT_EQ(second.texts.size(), 1u);
    EXPECT_TRUE(other.texts.empty());

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
    const auto update = [&](bool on, model::PlayStatus status) {
        settings.bMSNPlugin = on;
        winamp.model().setStatus(status);
        PublishNowPlaying(api, settings, "Artist - Title", "0:12 / 4:05", 128, psm);
    };
    using model::PlayStatus;
    update(false, PlayStatus::Playing);
    update(true, PlayStatus::Stopped);  // nothing shown, nothing to withdraw
    update(true, PlayStatus::Playing);
    update(true, PlayStatus::Playing);
    update(false, PlayStatus::Paused);
    update(true, PlayStatus::Paused);
    EXPECT_EQ(messenger.kinds(), (Kinds{"show", "hide"}));
    EXPECT_EQ(messenger.texts[0], u"\\0Music\\01\\0{0}\\0Artist (1/12, 50%)\\0\\0\\0\\0"s + u'\0');
}

}  // namespace
}  // namespace tb
