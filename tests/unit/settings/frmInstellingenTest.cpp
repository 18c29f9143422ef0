#include <gtest/gtest.h>

#include "app/frmMain.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimRegistry.h"

namespace tb {
namespace {

using namespace instellingen;

constexpr int kF9 = 0x78;

// The bar running on a desktop of its own, with its log on.
struct Running {
    Running() {
        desk.setExeFolder("C:\\Apps");
        desk.setCommandArguments("/debug");
    }
    bool start() { return bar.Load() && (bar.Show(), true); }
    frmInstellingen& open() {
        bar.btnInstellingen_Click();
        return *bar.Instellingen();
    }
    void store(const std::string& name, std::int32_t value) {
        app.registryAccess().WriteDWORD(kSleutel, name, value);
    }
    std::int32_t stored(const std::string& name) {
        return app.registryAccess().ReadDWORD(kSleutel, name, -1);
    }
    void click(const NativeControl& c) {
        const Rect r = *desk.windowRect(c.hWnd());
        const Point middle{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        desk.mouse(middle, MouseAction::Down, mouse::Left);
        desk.mouse(middle, MouseAction::Up, mouse::Left);
    }
    // Keys held together for a while, as a user presses them, then let go.
    void hold(std::initializer_list<int> keys) {
        for (int k : keys) desk.setKeyDown(k, true);
        desk.advance(50);
        for (int k : keys) desk.setKeyDown(k, false);
        desk.advance(50);
    }
    void ctrlTab() {
        desk.setKeyDown(vkey::VK_CONTROL, true);
        desk.pressKey(vkey::VK_TAB);
        desk.setKeyDown(vkey::VK_CONTROL, false);
    }
    std::uint8_t barAlpha() { return desk.window(bar.hWnd())->layeredAlpha.value_or(0); }
    std::string log() { return desk.files().readFile(app.debugWriter().filePath()).value_or(""); }

    sim::SimDesktop desk;
    sim::SimRegistry registry;
    AppContext app{desk, registry};
    frmMain bar{app};
};

TEST(frmInstellingen, AFreshRegistryShowsEveryDefaultOnFourTabs) {
    Running run;
    ASSERT_TRUE(run.start());
    frmInstellingen& w = run.open();
    EXPECT_EQ(run.desk.windowText(w.hWnd()), "Instellingen");
    EXPECT_EQ(w.tabInstellingen.TabCount(), 4);
    for (const CheckBox* c : {&w.chkMSNIngeschakeld, &w.chkStartWinamp, &w.chkSluitWinamp,
                              &w.chkSluitTunebalk, &w.chkHidePlaylist, &w.chkIngeschakeld})
        EXPECT_EQ(c->Value(), 0) << c->Caption();
    for (int i = 0; i < kSlots; ++i) {
        EXPECT_EQ(w.txtToets[i].Text(), "");
        EXPECT_EQ(w.txtToets[i].Tag, "0");
        EXPECT_EQ(w.chkControl[i].Value() + w.chkShift[i].Value(), 0);
    }
    EXPECT_EQ(w.txtMSNIndeling.Text(), "\\a - \\t");
    EXPECT_EQ(w.txtMSNIndeling.MaxLength(), 254);
    EXPECT_EQ(w.slTransparant.Value(), 0);
    EXPECT_EQ(w.lblTransparantie.Caption(), "0%");
    EXPECT_EQ(w.lblVersie.Caption(), "Versie: 4.2.2");
}

TEST(frmInstellingen, KeyBoxesTakeTheFirstKeyDownOnceAndOnlyWhileFocused) {
    Running run;
    ASSERT_TRUE(run.start());
    frmInstellingen& w = run.open();
    run.ctrlTab();
    constexpr int kElsewhere = -1;
    struct Row {
        int focus;  // the key box clicked first, or kElsewhere
        std::initializer_list<int> keys;
        int box;
        const char* shows;  // while the keys are down
    } rows[] = {
        {2, {vkey::VK_F5}, 2, "F5"},
        {3, {vkey::VK_F5}, 3, ""},                        // the same key again: nothing
        {3, {vkey::VK_CONTROL, vkey::VK_F5}, 3, "Ctrl"},  // the lower code wins
        {4, {1}, 4, ""},                                  // mouse buttons and Cancel never
        {4, {2}, 4, ""},
        {4, {3}, 4, ""},
        {4, {4}, 4, ""},
        {4, {5}, 4, ""},
        {4, {6}, 4, ""},
        {kElsewhere, {'A'}, 4, ""},  // the capture stopped with the focus
    };
    for (const Row& row : rows) {
        run.click(row.focus == kElsewhere ? static_cast<NativeControl&>(w.chkShift[0])
                                          : w.txtToets[row.focus]);
        for (int k : row.keys) run.desk.setKeyDown(k, true);
        run.desk.advance(50);
        EXPECT_EQ(w.txtToets[row.box].Text(), row.shows) << row.box << " " << *row.keys.begin();
        for (int k : row.keys) run.desk.setKeyDown(k, false);
        run.desk.advance(50);
    }
    EXPECT_EQ(w.txtToets[2].Tag, "116");
    EXPECT_EQ(w.chkIngeschakeld.Value(), 1) << "a focused key box switches the hotkeys on";
}

TEST(frmInstellingen, TabAndShiftTabPassThroughAKeyBoxUncaptured) {
    Running run;
    ASSERT_TRUE(run.start());
    frmInstellingen& w = run.open();
    run.ctrlTab();
    run.click(w.txtToets[1]);
    run.hold({kF9});
    // Tab into the next row's key box and out again backwards, the keys held as long as users
    // hold them: neither Tab nor Shift stays in either box.
    run.click(w.chkShift[2]);
    for (bool shift : {false, true}) {
        run.desk.setKeyDown(vkey::VK_SHIFT, shift);
        run.desk.advance(50);
        run.desk.setKeyDown(vkey::VK_TAB, true);
        run.desk.pressKey(vkey::VK_TAB);
        run.desk.advance(50);
        run.desk.setKeyDown(vkey::VK_TAB, false);
        run.desk.setKeyDown(vkey::VK_SHIFT, false);
        run.desk.advance(50);
    }
    EXPECT_EQ(run.desk.focus(), w.chkShift[2].hWnd());
    EXPECT_EQ(w.txtToets[2].Text(), "");
    EXPECT_EQ(w.txtToets[2].Tag, "0");
    run.click(w.txtToets[2]);
    run.hold({kF9});
    EXPECT_EQ(w.txtToets[2].Text(), "") << "F9 was the last key taken";
    run.hold({vkey::VK_SHIFT});
    EXPECT_EQ(w.txtToets[2].Text(), "Shift") << "Shift alone is a key";
}

TEST(frmInstellingen, TheLoaderStopsAtACheckStateTheBoxRefusesAndTheWindowStays) {
    Running run;
    run.store(kMSNPlugin, 1);
    run.store(kStartWinamp, 3);
    run.store(kSluitWinamp, 1);
    ASSERT_TRUE(run.start());
    frmInstellingen& w = run.open();
    EXPECT_NE(run.log().find("Instellingen laden (instellingen venster)\r\n"
                             "ERR: Instellingen laden (instellingen venster) mislukt, foutcode "
                             "380\r\n"),
              std::string::npos);
    ASSERT_EQ(run.desk.messageBoxes().size(), 1u);
    const auto& box = run.desk.messageBoxes()[0];
    EXPECT_EQ(box.text,
              "Het laden van de instellingen is mislukt.\r\n"
              "Druk op de knop opslaan om dit probleem te verhelpen.");
    EXPECT_EQ(box.caption, "Tunebalk");
    EXPECT_EQ(box.flags, mb::MB_OK | mb::MB_ICONEXCLAMATION);
    EXPECT_TRUE(w.isOpen());
    EXPECT_EQ(w.chkMSNIngeschakeld.Value(), 1);
    EXPECT_EQ(w.chkSluitWinamp.Value(), 0) << "the steps after the failure did not run";
    EXPECT_EQ(w.txtToets[0].Tag, "");
}

// Each way out of the window, after ticking "Playlist verbergen", previewing 35 % over a stored
// 20 % and setting F5 in the third key box.
TEST(frmInstellingen, OnlyOpslaanSavesAndTheTitleBarsCloseDoesNotReload) {
    enum Way { ClickOpslaan, Enter, ClickAnnuleren, Esc, CloseBox, EscInAKeyBox };
    struct Row {
        Way way;
        bool saved;
        std::uint8_t alpha;  // 255 - 2.55 * percentage
        bool open;
    } rows[] = {
        {ClickOpslaan, true, 166, false},    {Enter, true, 166, false},
        {ClickAnnuleren, false, 204, false}, {Esc, false, 204, false},
        {CloseBox, false, 166, false},       {EscInAKeyBox, false, 166, true},
    };
    for (const Row& row : rows) {
        Running run;
        run.store(kTrans, 20);
        ASSERT_TRUE(run.start());
        frmInstellingen& w = run.open();
        run.click(w.chkHidePlaylist);
        run.desk.mouse(*run.desk.trackbarPoint(w.slTransparant.hWnd(), 20), MouseAction::Down,
                       mouse::Left);
        run.desk.mouse(*run.desk.trackbarPoint(w.slTransparant.hWnd(), 35), MouseAction::Up,
                       mouse::Left);
        EXPECT_EQ(w.lblTransparantie.Caption(), "35%");
        EXPECT_EQ(run.barAlpha(), 166) << "the preview shows at once";
        run.ctrlTab();
        run.click(w.txtToets[2]);
        run.hold({vkey::VK_F5});
        switch (row.way) {
            case ClickOpslaan:
                run.click(w.cmdOpslaan);
                break;
            case ClickAnnuleren:
                run.click(w.cmdAnnuleren);
                break;
            case Enter:
            case Esc:
                run.click(w.chkShift[2]);
                run.desk.pressKey(row.way == Enter ? vkey::VK_RETURN : vkey::VK_ESCAPE);
                break;
            case CloseBox:
                run.desk.sendMessage(w.hWnd(), wm::WM_CLOSE, 0, 0);
                break;
            case EscInAKeyBox:
                run.desk.pressKey(vkey::VK_ESCAPE);
                break;
        }
        EXPECT_EQ(w.isOpen(), row.open) << row.way;
        EXPECT_EQ(run.barAlpha(), row.alpha) << row.way;
        EXPECT_EQ(run.stored(kVerbergPlaylist), row.saved ? 1 : -1) << row.way;
        EXPECT_EQ(run.stored("toets3"), row.saved ? 116 : -1) << row.way;
        EXPECT_EQ(run.stored(kActief), row.saved ? 1 : -1) << row.way;
        EXPECT_EQ(run.stored(kTrans), row.saved ? 35 : 20) << row.way;
        EXPECT_EQ(run.desk.windowRect(run.bar.hWnd())->width(), row.saved ? 271 : 542) << row.way;
    }
}

TEST(frmInstellingen, OneWindowAtATimeReadAfreshAndClosedWithTheBar) {
    Running run;
    ASSERT_TRUE(run.start());
    const Hwnd first = run.open().hWnd();
    EXPECT_EQ(run.open().hWnd(), first) << "the open one comes to the front";
    EXPECT_EQ(run.desk.foregroundWindow(), first);
    EXPECT_EQ(run.desk.findWindowEx(first, "TunebalkInstellingen"), 0u);
    run.desk.sendMessage(first, wm::WM_CLOSE, 0, 0);
    run.store(kAutoSluit, 1);
    frmInstellingen& second = run.open();
    EXPECT_EQ(second.chkSluitTunebalk.Value(), 1);
    const Hwnd again = second.hWnd();
    run.bar.btnAfsluiten_Click();
    EXPECT_FALSE(run.desk.isWindow(again));
    EXPECT_EQ(run.desk.findWindow("TunebalkInstellingen"), 0u);
}

}  // namespace
}  // namespace tb
