#include <gtest/gtest.h>

#include <vector>

#include "platform/sim/SimDesktop.h"

namespace tb::sim {
namespace {

struct Answering : WindowHandler {
    std::vector<std::uint32_t> messages;
    std::vector<Size> sizes;
    int destroys = 0;
    void onSize(Size s) override { sizes.push_back(s); }
    std::optional<LResult> onMessage(std::uint32_t msg, WParam w, LParam) override {
        messages.push_back(msg);
        return static_cast<LResult>(w + 1);
    }
    void onDestroy() override { ++destroys; }
};

WindowSpec windowSpec(std::string cls, Rect r = {0, 0, 100, 50}, std::uint32_t ex = 0) {
    WindowSpec s;
    s.className = std::move(cls);
    s.bounds = r;
    s.exStyle = ex;
    return s;
}

TEST(SimDesktop, ZOrderPutsTheTopmostBandFirstAndTheNewestOnTop) {
    SimDesktop desk;
    const Hwnd a = desk.createWindow(windowSpec("W"), nullptr);
    const Hwnd t = desk.createWindow(windowSpec("W", {}, wsex::WS_EX_TOPMOST), nullptr);
    const Hwnd b = desk.createWindow(windowSpec("w"), nullptr);
    EXPECT_EQ(desk.zOrder(), (std::vector<Hwnd>{t, b, a}));
    EXPECT_EQ(desk.findWindowEx(t, "W"), b) << "class names ignore case";
    EXPECT_EQ(desk.findWindowEx(b, "W"), a);
    EXPECT_EQ(desk.findWindowEx(a, "W"), 0u);
    EXPECT_EQ(desk.findWindowEx(0x999, "W"), 0u) << "after a handle that is no window";

    desk.setForegroundWindow(a);  // activation raises within the band
    EXPECT_EQ(desk.zOrder(), (std::vector<Hwnd>{t, a, b}));
    desk.setTopmost(b, true);
    desk.setTopmost(a, false);  // already in the lower band: stays put
    EXPECT_EQ(desk.zOrder(), (std::vector<Hwnd>{b, t, a}));
    EXPECT_NE(desk.exStyle(b) & wsex::WS_EX_TOPMOST, 0u);

    desk.destroyWindow(t);
    const Hwnd c = desk.createWindow(windowSpec("W"), nullptr);
    EXPECT_TRUE(c != a && c != b && c != t && c != 0) << "handles are never reused";
}

TEST(SimDesktop, HungWindowMakesSendsWaitOnTheVirtualClock) {
    SimDesktop desk;
    Answering player;
    const Hwnd hw = desk.createWindow(windowSpec("Winamp v1.x"), &player);
    const auto t0 = desk.tickCountMs();
    desk.setHung(hw, t0 + 3000);

    EXPECT_EQ(desk.sendMessageTimeout(hw, wm::WM_USER, 1, 104, 1000), std::nullopt);
    EXPECT_EQ(desk.tickCountMs(), t0 + 1000) << "the time-out was spent";
    EXPECT_TRUE(desk.postMessage(hw, wm::WM_USER + 1, 0, 0));
    desk.doEvents();
    EXPECT_TRUE(player.messages.empty()) << "posts wait for the hang to end";
    EXPECT_EQ(desk.sendMessageTimeout(hw, wm::WM_USER, 1, 104, 5000), 2) << "answers at 3 s";
    EXPECT_EQ(desk.tickCountMs(), t0 + 3000);
    desk.doEvents();
    EXPECT_EQ(player.messages, (std::vector<std::uint32_t>{wm::WM_USER, wm::WM_USER + 1}));

    desk.setHung(hw, t0 + 20'000);
    EXPECT_EQ(desk.sendMessage(hw, wm::WM_USER, 4, 0), 5) << "a plain send blocks until then";
    EXPECT_EQ(desk.tickCountMs(), t0 + 20'000);

    desk.setHung(hw, t0 + 60'000);
    desk.advance(6000);  // unresponsive for 6 s: SMTO_ABORTIFHUNG gives up at once
    const auto t1 = desk.tickCountMs();
    EXPECT_EQ(desk.sendMessageTimeout(hw, wm::WM_USER, 1, 0, 2000), std::nullopt);
    EXPECT_EQ(desk.tickCountMs(), t1);

    desk.setHung(hw, SimDesktop::kHungForever);
    EXPECT_THROW(desk.sendMessage(hw, wm::WM_USER, 0, 0), SimStuck);
}

TEST(SimDesktop, PostsFailWhenTheQueueIsFullOrTheMessageCarriesPointers) {
    SimDesktop desk;
    const ProcessId pid = desk.createProcess("winamp.exe");
    const Hwnd hw = desk.createWindowIn(pid, windowSpec("Winamp v1.x"), nullptr);
    desk.setPostQueueLimit(pid, 2);
    EXPECT_TRUE(desk.postMessage(hw, wm::WM_COMMAND, 40045, 0));
    EXPECT_TRUE(desk.postMessage(hw, wm::WM_COMMAND, 40046, 0));
    EXPECT_FALSE(desk.postMessage(hw, wm::WM_COMMAND, 40047, 0));
    desk.doEvents();
    EXPECT_TRUE(desk.postMessage(hw, wm::WM_COMMAND, 40047, 0));
    EXPECT_FALSE(desk.postMessage(hw, wm::WM_COPYDATA, 0, 0));
    ASSERT_FALSE(desk.messageLog().empty());
    EXPECT_EQ(desk.messageLog().back().w, 40047u);
}

TEST(SimDesktop, KilledProcessLosesWindowsMemoryAndReads) {
    SimDesktop desk;
    Answering player;
    const ProcessId pid = desk.createProcess("winamp.exe");
    Hwnd hw = 0;
    {
        auto as = desk.actAs(pid);
        hw = desk.createWindow(windowSpec("Winamp v1.x"), &player);
    }
    EXPECT_EQ(desk.windowProcessId(hw), pid);
    EXPECT_EQ(player.sizes, std::vector<Size>{(Size{100, 50})}) << "reported while created";
    const Hwnd mine = desk.createWindow(windowSpec("Mine"), nullptr);  // the scope ended
    EXPECT_EQ(desk.windowProcessId(mine), desk.selfProcessId());

    desk.processes().writeMemory(pid, 0x5000, std::string_view("Song\0", 5));
    const ProcessHandle h = desk.openProcessForRead(pid);
    ASSERT_NE(h, 0u);
    EXPECT_EQ(desk.openProcessHandleCount(), 1);
    std::uint8_t buf[5] = {};
    EXPECT_EQ(desk.readProcessMemory(h, 0x5000, buf), 5u);
    desk.setForeground(hw);

    EXPECT_TRUE(desk.killProcess(pid));
    EXPECT_FALSE(desk.isWindow(hw));
    EXPECT_EQ(player.destroys, 0) << "a dead process runs no code";
    EXPECT_EQ(desk.foregroundWindow(), 0u);
    EXPECT_EQ(desk.readProcessMemory(h, 0x5000, buf), 0u);
    EXPECT_EQ(desk.openProcessForRead(pid), 0u);
    desk.closeHandle(h);
    desk.closeHandle(h);
    EXPECT_EQ(desk.openProcessHandleCount(), 0);
    EXPECT_EQ(desk.processes().badCloseCount(), 1);
    EXPECT_FALSE(desk.killProcess(desk.selfProcessId()));
}

TEST(SimDesktop, MemoryReadsArePageGranularAndAllOrNothing) {
    SimDesktop desk;
    SimProcesses& mem = desk.processes();
    const ProcessId pid = desk.createProcess("p");
    mem.writeMemory(pid, 0x10FFE, std::string_view("abcd"));  // spans two pages
    const ProcessHandle h = desk.openProcessForRead(pid);
    std::uint8_t buf[8] = {};
    struct Case {
        std::uint64_t at;
        std::size_t n;
        std::size_t got;
    } reads[] = {{0x10FFE, 4, 4}, {0x10000, 8, 8}, {0x11FFC, 8, 0}, {0xFFFC, 8, 0}, {0, 0, 0}};
    for (const auto& c : reads) {
        EXPECT_EQ(desk.readProcessMemory(h, c.at, std::span(buf, c.n)), c.got) << c.at;
    }
    mem.protectMemory(pid, 0x11000, 1);
    EXPECT_EQ(desk.readProcessMemory(h, 0x10FFE, std::span(buf, 4)), 0u);
    EXPECT_EQ(desk.readProcessMemory(h, 0x10FFE, std::span(buf, 2)), 2u);
    mem.freeMemory(pid, 0x10000, 1);
    EXPECT_EQ(desk.readProcessMemory(h, 0x10FFE, std::span(buf, 2)), 0u);
    mem.setOpenDenied(pid, true);
    EXPECT_EQ(desk.openProcessForRead(pid), 0u);
    desk.closeHandle(h);
}

TEST(SimDesktop, ShowWindowTracksVisibilityMinimisingAndActivation) {
    SimDesktop desk;
    const Hwnd a = desk.createWindow(windowSpec("A"), nullptr);
    const Hwnd b = desk.createWindow(windowSpec("B"), nullptr);
    desk.showWindow(a, sw::SW_SHOWNOACTIVATE);
    EXPECT_EQ(desk.foregroundWindow(), 0u);
    desk.showWindow(b, sw::SW_SHOWMINIMIZED);
    EXPECT_TRUE(desk.window(b)->minimized);
    EXPECT_EQ(desk.foregroundWindow(), b);
    EXPECT_EQ(desk.windowFromPoint({5, 5}), a) << "a minimised window is not under any point";
    desk.showWindow(b, sw::SW_RESTORE);
    EXPECT_FALSE(desk.window(b)->minimized);
    EXPECT_EQ(desk.windowFromPoint({5, 5}), b);
    desk.showWindow(b, sw::SW_HIDE);
    EXPECT_EQ(desk.foregroundWindow(), 0u);

    desk.setForeground(a);
    const ProcessId other = desk.createProcess("other.exe");
    auto as = desk.actAs(other);
    desk.showWindow(desk.createWindow(windowSpec("C"), nullptr), sw::SW_SHOWNORMAL);
    EXPECT_EQ(desk.foregroundWindow(), a) << "another process can't steal the foreground";
}

}  // namespace
}  // namespace tb::sim
