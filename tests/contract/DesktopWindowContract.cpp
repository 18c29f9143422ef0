// Window, message and timer behaviour that the simulated and the real desktop share.
#include <gtest/gtest.h>

#include <deque>
#include <set>
#include <string>
#include <vector>

#include "contract/ContractHost.h"

namespace tb::test {
namespace {

struct Handler : WindowHandler {
    struct Msg {
        std::uint32_t msg;
        WParam w;
        LParam l;
    };
    std::vector<Msg> messages;
    std::vector<Size> sizes;
    std::vector<std::pair<int, Rect>> densities;
    std::vector<int> keys;
    std::vector<MouseEvent> mice;
    int destroys = 0;
    Hwnd copyFrom = 0;
    std::uintptr_t copyData = 0;
    std::string copyBytes;

    std::optional<LResult> onMessage(std::uint32_t msg, WParam w, LParam l) override {
        if (msg < wm::WmUser) return std::nullopt;
        messages.push_back({msg, w, l});
        return static_cast<LResult>(w * 2 + 1);
    }
    void onSize(Size outer) override { sizes.push_back(outer); }
    void onDpiChanged(int dpi, const Rect& suggested) override {
        densities.push_back({dpi, suggested});
    }
    void onKeyDown(int virtualKey) override { keys.push_back(virtualKey); }
    void onMouse(const MouseEvent& e) override { mice.push_back(e); }
    void onDestroy() override { ++destroys; }
    LResult onCopyData(Hwnd from, std::uintptr_t dwData,
                       std::span<const std::uint8_t> data) override {
        copyFrom = from;
        copyData = dwData;
        copyBytes.assign(data.begin(), data.end());
        return 42;
    }
};

struct Hook : MessageHook {
    std::vector<std::uint32_t> seen;
    std::optional<LResult> onHookedMessage(Hwnd, std::uint32_t msg, WParam w, LParam) override {
        if (msg < wm::WmUser && msg != wm::WmKeyDown) return std::nullopt;
        seen.push_back(msg);
        if (msg == wm::WmUser + 9) return static_cast<LResult>(w + 1000);
        return std::nullopt;
    }
};

class DesktopWindowContract : public ::testing::Test {
protected:
    void TearDown() override {
        for (Hwnd hwnd : created_) desk().destroyWindow(hwnd);
    }
    Desktop& desk() { return host_->desktop(); }
    std::string uniqueClass(const char* suffix) {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        return std::string("TbContract_") + info->name() + "_" + suffix;
    }
    Hwnd make(const std::string& cls, WindowHandler* handler, Rect bounds = {100, 100, 300, 150},
              std::uint32_t exStyle = 0, bool visible = false) {
        const Hwnd hwnd =
            desk().createWindow({cls, "Contract " + cls, bounds, exStyle, visible}, handler);
        created_.push_back(hwnd);
        return hwnd;
    }
    // A handle that named a window once and names none now.
    Hwnd staleHandle() {
        const Hwnd hwnd = make(uniqueClass("stale"), nullptr);
        desk().destroyWindow(hwnd);
        return hwnd;
    }

    // Handlers and hooks outlive the windows, which TearDown destroys.
    Handler& newHandler() { return handlers_.emplace_back(); }
    Hook& newHook() { return hooks_.emplace_back(); }

    std::unique_ptr<ContractHost> host_ = makeContractHost();
    std::deque<Handler> handlers_;
    std::deque<Hook> hooks_;
    std::vector<Hwnd> created_;
};

TEST_F(DesktopWindowContract, FindsWindowsByClassTopmostFirstAndNamesThem) {
    const std::string cls = uniqueClass("a");
    EXPECT_EQ(desk().findWindow(cls), 0u);
    const Hwnd first = make(cls, nullptr);
    const Hwnd top = make(cls, nullptr, {0, 0, 50, 50}, wsex::WsExTopmost);
    const Hwnd last = make(cls, nullptr);  // newer, but in the lower band
    make(uniqueClass("other"), nullptr);

    std::set<Hwnd> found;
    for (Hwnd h = desk().findWindowEx(0, cls); h != 0; h = desk().findWindowEx(h, cls)) {
        EXPECT_TRUE(found.insert(h).second) << "found twice";
        ASSERT_LE(found.size(), 3u);
    }
    EXPECT_EQ(found, (std::set<Hwnd>{first, top, last}));
    EXPECT_EQ(desk().findWindow(cls), top);
    EXPECT_EQ(desk().windowClass(first), cls);
    EXPECT_EQ(desk().windowText(first), "Contract " + cls);
    EXPECT_EQ(desk().windowProcessId(first), host_->selfProcessId());
}

TEST_F(DesktopWindowContract, DestroyedWindowIsGoneForEveryCall) {
    Handler& h = newHandler();
    const Hwnd hwnd = make(uniqueClass("d"), &h);
    desk().destroyWindow(hwnd);
    EXPECT_EQ(h.destroys, 1);
    EXPECT_FALSE(desk().isWindow(hwnd));
    EXPECT_EQ(desk().sendMessage(hwnd, wm::WmUser, 1, 0), 0);
    EXPECT_EQ(desk().sendMessageTimeout(hwnd, wm::WmUser, 1, 0, 100), std::nullopt);
    EXPECT_FALSE(desk().postMessage(hwnd, wm::WmUser, 1, 0));
    const std::uint8_t bytes[] = {1, 2};
    EXPECT_EQ(desk().sendCopyData(hwnd, 0, 1, bytes), 0);
    EXPECT_EQ(desk().sendCopyDataTimeout(hwnd, 0, 1, bytes, 100), std::nullopt);
    EXPECT_EQ(desk().windowRect(hwnd), std::nullopt);
    EXPECT_EQ(desk().windowProcessId(hwnd), 0u);
    EXPECT_FALSE(desk().moveWindow(hwnd, {0, 0, 10, 10}));
    EXPECT_EQ(desk().windowText(hwnd), "");
    EXPECT_EQ(h.destroys, 1);
}

TEST_F(DesktopWindowContract, SendsAndPostsReachTheHandler) {
    Handler& h = newHandler();
    const Hwnd hwnd = make(uniqueClass("m"), &h);
    EXPECT_EQ(desk().sendMessage(hwnd, wm::WmUser + 1, 20, 5), 41);
    EXPECT_EQ(desk().sendMessageTimeout(hwnd, wm::WmUser + 2, 3, 0, 1000), 7);
    ASSERT_EQ(h.messages.size(), 2u);
    EXPECT_EQ(h.messages[0].l, 5);

    EXPECT_TRUE(desk().postMessage(hwnd, wm::WmUser + 3, 8, -1));
    EXPECT_EQ(h.messages.size(), 2u) << "a post waits for the event loop";
    desk().doEvents();
    ASSERT_EQ(h.messages.size(), 3u);
    EXPECT_EQ(h.messages[2].msg, wm::WmUser + 3);
    EXPECT_EQ(h.messages[2].w, 8u);
    EXPECT_EQ(h.messages[2].l, -1);

    EXPECT_EQ(desk().sendMessage(hwnd, wm::WmKeyDown, 1001, 0), 0);
    EXPECT_EQ(h.keys, std::vector<int>{1001});
}

TEST_F(DesktopWindowContract, CopyDataArrivesWithItsBytes) {
    Handler& h = newHandler();
    const Hwnd to = make(uniqueClass("to"), &h);
    const Hwnd from = make(uniqueClass("from"), nullptr);
    const std::string text("now playing\0tail", 16);
    const std::span bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    EXPECT_EQ(desk().sendCopyData(to, from, 0x547, bytes), 42);
    EXPECT_TRUE(h.copyFrom == from && h.copyData == 0x547u && h.copyBytes == text);
    h.copyBytes.clear();
    EXPECT_EQ(desk().sendCopyDataTimeout(to, 0, 1351, bytes, 1000), 42);
    EXPECT_TRUE(h.copyFrom == 0u && h.copyData == 1351u && h.copyBytes == text);
}

TEST_F(DesktopWindowContract, HookSeesMessagesFirstAndMayAnswerThem) {
    Handler& h = newHandler();
    Hook& hook = newHook();
    const Hwnd hwnd = make(uniqueClass("h"), &h);
    EXPECT_TRUE(desk().setMessageHook(hwnd, &hook));
    EXPECT_FALSE(desk().setMessageHook(hwnd, &hook)) << "one hook per window";

    EXPECT_EQ(desk().sendMessage(hwnd, wm::WmUser + 9, 5, 0), 1005);
    EXPECT_TRUE(h.messages.empty()) << "an answered message stops at the hook";
    EXPECT_EQ(desk().sendMessage(hwnd, wm::WmUser + 1, 5, 0), 11);
    desk().postMessage(hwnd, wm::WmUser + 2, 0, 0);
    desk().doEvents();
    desk().sendMessage(hwnd, wm::WmKeyDown, 1000, 0);
    EXPECT_EQ(hook.seen, (std::vector<std::uint32_t>{wm::WmUser + 9, wm::WmUser + 1, wm::WmUser + 2,
                                                     wm::WmKeyDown}));
    EXPECT_EQ(h.messages.size(), 2u);
    EXPECT_EQ(h.keys, std::vector<int>{1000});

    EXPECT_TRUE(desk().removeMessageHook(hwnd));
    EXPECT_FALSE(desk().removeMessageHook(hwnd));
    EXPECT_EQ(desk().sendMessage(hwnd, wm::WmUser + 9, 5, 0), 11);
    EXPECT_EQ(hook.seen.size(), 4u);
}

TEST_F(DesktopWindowContract, MouseMessagesTellTheirButtonsPointAndTheModifierKeysHeld) {
    constexpr WParam kLeft = 0x0001, kShift = 0x0004, kControl = 0x0008;  // MK_ flags
    constexpr int kAlt = 0x12;                                            // VK_MENU
    using enum MouseAction;
    using mouse::Left, mouse::Right;
    Handler& h = newHandler();
    const Hwnd hwnd = make(uniqueClass("k"), &h);
    const struct {
        std::uint32_t msg;
        WParam w;
        bool altHeld;
        Point at;
        MouseAction action;
        int button, buttons;
        const char* modifiers;  // s Shift, c Ctrl, a Alt
    } cases[] = {
        {wm::WmLButtonDown, kLeft, false, {5, 7}, Down, Left, Left, ""},
        {wm::WmRButtonUp, kShift, false, {-3, 2}, Up, Right, 0, "s"},
        {wm::WmMouseMove, kLeft | kControl, true, {300, -1}, Move, 0, Left, "ca"},
        {wm::WmLButtonDblClk, kLeft | kShift | kControl, true, {}, DoubleClick, Left, Left, "sca"},
    };
    for (const auto& c : cases) {
        h.mice.clear();
        host_->holdKey(kAlt, c.altHeld);
        desk().sendMessage(hwnd, c.msg, c.w,
                           static_cast<LParam>((c.at.x & 0xFFFF) | (c.at.y & 0xFFFF) << 16));
        host_->holdKey(kAlt, false);
        ASSERT_EQ(h.mice.size(), 1u) << c.msg;
        const MouseEvent& e = h.mice[0];
        EXPECT_TRUE(e.action == c.action && e.button == c.button && e.buttons == c.buttons &&
                    e.pos == c.at)
            << c.msg;
        const std::string modifiers =
            std::string(e.shift ? "s" : "") + (e.ctrl ? "c" : "") + (e.alt ? "a" : "");
        EXPECT_EQ(modifiers, c.modifiers) << c.msg;
    }
}

TEST_F(DesktopWindowContract, MovesAndResizesTellingTheHandlerOfNewSizesOnly) {
    Handler& h = newHandler();
    const Hwnd hwnd = make(uniqueClass("r"), &h, {100, 100, 300, 150});
    EXPECT_EQ(desk().windowRect(hwnd), (Rect{100, 100, 300, 150}));
    h.sizes.clear();  // whatever creation reported

    EXPECT_TRUE(desk().moveWindow(hwnd, {120, 130, 320, 180}));  // same size
    EXPECT_EQ(desk().windowRect(hwnd), (Rect{120, 130, 320, 180}));
    EXPECT_TRUE(h.sizes.empty());

    EXPECT_TRUE(desk().moveWindow(hwnd, {0, -40, 271, 56}));
    EXPECT_EQ(desk().windowRect(hwnd), (Rect{0, -40, 271, 56}));
    EXPECT_EQ(h.sizes, std::vector<Size>{(Size{271, 96})});
}

TEST_F(DesktopWindowContract, AWindowHasTheSystemsDensityHearsOfANewOneAndFontsFollowIt) {
    Handler& h = newHandler();
    const Hwnd hwnd = make(uniqueClass("dpi"), &h);
    const int dpi = desk().windowDpi(hwnd);
    EXPECT_EQ(dpi, desk().windowDpi(0));
    Rect suggested{20, 30, 170, 105};
    desk().sendMessage(hwnd, wm::WmDpiChanged, 144 | (144 << 16),
                       reinterpret_cast<LParam>(&suggested));
    EXPECT_EQ(h.densities, (std::vector<std::pair<int, Rect>>{{144, suggested}}));
    EXPECT_EQ(desk().windowRect(hwnd), (Rect{100, 100, 300, 150})) << "nothing moves by itself";
    const FontSpec font = desk().dialogFont(dpi), twice = desk().dialogFont(2 * dpi);
    EXPECT_EQ(twice.face, font.face);
    EXPECT_NEAR(twice.heightPx, 2 * font.heightPx, 1);
}

TEST_F(DesktopWindowContract, ShowsHidesAndFindsVisibleWindowsUnderAPoint) {
    const Rect r{40, 40, 140, 90};
    const Hwnd hwnd = make(uniqueClass("v"), nullptr, r, wsex::WsExTopmost);
    EXPECT_FALSE(desk().isWindowVisible(hwnd));
    EXPECT_NE(desk().windowFromPoint({60, 60}), hwnd);
    EXPECT_FALSE(desk().showWindow(hwnd, sw::SwShowNoActivate)) << "was hidden";
    EXPECT_TRUE(desk().isWindowVisible(hwnd));
    EXPECT_EQ(desk().windowFromPoint({60, 60}), hwnd);
    EXPECT_NE(desk().windowFromPoint({140, 60}), hwnd) << "right edge is outside";
    EXPECT_TRUE(desk().showWindow(hwnd, sw::SwHide)) << "was visible";
    EXPECT_FALSE(desk().isWindowVisible(hwnd));
    EXPECT_NE(desk().windowFromPoint({60, 60}), hwnd);
}

TEST_F(DesktopWindowContract, TopmostLayeredAndToolStyles) {
    const Hwnd hwnd = make(uniqueClass("s"), nullptr, {0, 0, 100, 40}, wsex::WsExToolWindow);
    const std::uint32_t ours = wsex::WsExTopmost | wsex::WsExLayered | wsex::WsExToolWindow;
    EXPECT_EQ(desk().exStyle(hwnd) & ours, wsex::WsExToolWindow);

    EXPECT_TRUE(desk().setTopmost(hwnd, true));
    EXPECT_EQ(desk().exStyle(hwnd) & ours, wsex::WsExToolWindow | wsex::WsExTopmost);
    // The style word can't move a window between the bands.
    EXPECT_TRUE(desk().setExStyle(hwnd, desk().exStyle(hwnd) & ~wsex::WsExTopmost));
    EXPECT_NE(desk().exStyle(hwnd) & wsex::WsExTopmost, 0u);
    EXPECT_TRUE(desk().setTopmost(hwnd, false));
    EXPECT_EQ(desk().exStyle(hwnd) & wsex::WsExTopmost, 0u);

    EXPECT_FALSE(desk().setLayeredAlpha(hwnd, 128)) << "not layered yet";
    EXPECT_TRUE(desk().setExStyle(hwnd, desk().exStyle(hwnd) | wsex::WsExLayered));
    EXPECT_EQ(desk().exStyle(hwnd) & ours, wsex::WsExToolWindow | wsex::WsExLayered);
    EXPECT_TRUE(desk().setLayeredAlpha(hwnd, 153));
    EXPECT_TRUE(desk().setLayeredAlpha(hwnd, 255));
}

TEST_F(DesktopWindowContract, TimersTickWhileWaitingAndStopOrStartOthersFromTheirCallbacks) {
    int ticks = 0, once = 0, started = 0;
    const TimerId steady = desk().startTimer(50, [&] { ++ticks; });
    TimerId first = 0, second = 0;
    first = desk().startTimer(20, [&] {
        ++once;
        desk().stopTimer(first);  // its own callback must survive this
        second = desk().startTimer(50, [&] { ++started; });
    });
    EXPECT_TRUE(steady != 0 && first != 0 && steady != first);
    const std::uint64_t start = desk().tickCountMs();
    desk().waitEventsUntil(start + 600);
    EXPECT_GE(desk().tickCountMs(), start + 600);
    EXPECT_LT(desk().tickCountMs(), start + 2000);
    EXPECT_TRUE(ticks >= 4 && ticks <= 13) << ticks;
    EXPECT_EQ(once, 1);
    EXPECT_GE(started, 4);

    desk().stopTimer(steady);
    desk().stopTimer(second);
    const int before = ticks + started;
    desk().waitEventsUntil(desk().tickCountMs() + 200);
    EXPECT_EQ(ticks + started, before);
}

}  // namespace
}  // namespace tb::test
