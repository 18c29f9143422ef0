#include "support/BarScene.h"

namespace tb {
namespace {

using namespace instellingen;

// The bar running with its log on over the values a test stores, its settings window open.
struct Running : test::BarScene {
    explicit Running(std::initializer_list<std::pair<const char*, int>> values = {})
        : BarScene(false) {
        desk.setCommandArguments("/debug");
        for (auto [name, value] : values) store(name, value);
        bar.Load();
        bar.btnInstellingen_Click();
    }
    frmInstellingen& w() { return *bar.InstellingenVenster(); }
    void clickOn(const NativeControl& c) {
        const Rect r = *desk.windowRect(c.hWnd());
        click({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    }
    // To the "Sneltoetsen" tab (Ctrl+Tab) and into key box i.
    void toKeyBox(int i) {
        if (w().tabInstellingen.SelectedIndex() == 0) {
            desk.setKeyDown(vkey::VkControl, true);
            desk.pressKey(vkey::VkTab);
            desk.setKeyDown(vkey::VkControl, false);
        }
        clickOn(w().txtToets[i]);
    }
    void hold(std::initializer_list<int> keys, bool down, int ms = 50) {
        for (int k : keys) desk.setKeyDown(k, down);
        desk.advance(ms);
    }
    void press(int key) { hold({key}, true), hold({key}, false); }
};

TEST(frmInstellingen, OneWindowFilledFromTheRegistryAndClosedWithTheBar) {
    Running run({{kAutoSluit, 1}, {kTrans, 90}});
    frmInstellingen& w = run.w();
    std::vector<int> checks;
    for (const CheckBox* c :
         {&w.chkMSNIngeschakeld, &w.chkStartWinamp, &w.chkSluitWinamp, &w.chkSluitTunebalk,
          &w.chkHidePlaylist, &w.chkIngeschakeld, &w.chkControl[0], &w.chkShift[4]})
        checks.push_back(c->Value());
    EXPECT_EQ(checks, (std::vector<int>{0, 0, 0, 1, 0, 0, 0, 0}));
    EXPECT_EQ(w.txtToets[4].Text() + "|" + w.txtToets[4].Tag, "|0");
    EXPECT_EQ(w.txtMSNIndeling.Text(), "\\a - \\t");
    EXPECT_EQ(w.txtMSNIndeling.MaxLength(), 254);
    EXPECT_EQ(w.lblTransparantie.Caption(), "70%") << "the trackbar ends at 70";

    const Hwnd first = w.hWnd();
    run.bar.btnInstellingen_Click();
    EXPECT_EQ(run.w().hWnd(), first);
    EXPECT_EQ(run.desk.foregroundWindow(), first);
    run.desk.sendMessage(first, wm::WmClose, 0, 0);
    run.store(kAutoSluit, 0);
    run.bar.btnInstellingen_Click();
    EXPECT_EQ(run.w().chkSluitTunebalk.Value(), 0) << "a new window reads afresh";
    run.bar.btnAfsluiten_Click();
    EXPECT_EQ(run.desk.findWindow("TunebalkInstellingen"), 0u);
}

TEST(frmInstellingen, KeyBoxesTakeTheFirstKeyDownOnceAndOnlyWhileFocused) {
    Running run;
    constexpr int kElsewhere = -1;
    struct Row {
        int box;  // clicked first; kElsewhere: a check box
        std::initializer_list<int> keys;
        const char* shows;  // in that box (elsewhere: box 4) while the keys are down
    } rows[] = {
        {2, {vkey::VkF5}, "F5"},
        {3, {vkey::VkF5}, ""},                       // the same key again: nothing
        {3, {vkey::VkControl, vkey::VkF5}, "Ctrl"},  // the lower code wins
        {4, {6}, ""},             // mouse buttons (a click's own, too) and Cancel never
        {kElsewhere, {'A'}, ""},  // the capture stopped with the focus
    };
    for (const Row& row : rows) {
        row.box == kElsewhere ? run.clickOn(run.w().chkShift[0]) : run.toKeyBox(row.box);
        run.hold(row.keys, true);
        EXPECT_EQ(run.w().txtToets[row.box == kElsewhere ? 4 : row.box].Text(), row.shows)
            << row.box;
        run.hold(row.keys, false);
    }
    EXPECT_EQ(run.w().txtToets[2].Tag, "116");
    EXPECT_EQ(run.w().chkIngeschakeld.Value(), 1) << "a focused key box switches the hotkeys on";
}

TEST(frmInstellingen, TabAndShiftTabPassThroughAKeyBoxUncaptured) {
    Running run;
    run.toKeyBox(0);
    run.clickOn(run.w().chkShift[2]);
    // Into the next key box and back out, the keys held as long as hands hold them.
    for (bool shift : {false, true}) {
        run.hold({vkey::VkShift}, shift);
        run.hold({vkey::VkTab}, true, 0);
        run.desk.pressKey(vkey::VkTab);
        run.desk.advance(50);
        run.hold({vkey::VkTab, vkey::VkShift}, false);
    }
    EXPECT_EQ(run.desk.focus(), run.w().chkShift[2].hWnd());
    EXPECT_EQ(run.w().txtToets[2].Text() + "|" + run.w().txtToets[2].Tag, "|0");
    run.toKeyBox(2);
    run.press(vkey::VkShift);
    run.hold({vkey::VkShift}, true);
    run.desk.pressKey(vkey::VkTab);
    EXPECT_EQ(run.w().txtToets[2].Text(), "Shift") << "Shift let go on its own is a key";
}

TEST(frmInstellingen, TheLoaderStopsAtACheckStateTheBoxRefusesAndTheWindowStays) {
    Running run({{kMSNPlugin, 1}, {kStartWinamp, 3}, {kSluitWinamp, 1}});
    EXPECT_NE(run.log().find("Instellingen laden (instellingen venster)\r\nERR: Instellingen laden "
                             "(instellingen venster) mislukt, foutcode 380\r\n"),
              std::string::npos);
    ASSERT_EQ(run.desk.messageBoxes().size(), 1u);
    const auto& box = run.desk.messageBoxes()[0];
    EXPECT_EQ(box.caption + "|" + box.text + "|" + std::to_string(box.flags),
              "Tunebalk|Het laden van de instellingen is mislukt.\r\n"
              "Druk op de knop opslaan om dit probleem te verhelpen.|48");  // OK, exclamation
    EXPECT_EQ(run.w().chkMSNIngeschakeld.Value() * 10 + run.w().chkSluitWinamp.Value(), 10)
        << "filled up to the failure, not after";
}

// Each way out after ticking "Playlist verbergen", previewing 35 % over the stored 20 % and
// setting F5 in the third key box.
TEST(frmInstellingen, OnlyOpslaanSavesAndTheTitleBarsCloseDoesNotReload) {
    enum Way { Opslaan, Enter, Annuleren, Esc, CloseBox, EscInAKeyBox };
    // The way out: saved or not, the bar's opacity (255 - 2.55 * percentage), still open.
    const std::tuple<Way, bool, std::uint8_t, bool> rows[] = {
        {Opslaan, true, 166, false},    {Enter, true, 166, false},
        {Annuleren, false, 204, false}, {Esc, false, 204, false},
        {CloseBox, false, 166, false},  {EscInAKeyBox, false, 166, true}};
    for (const auto& [way, saved, alpha, open] : rows) {
        Running run({{kTrans, 20}});
        frmInstellingen& w = run.w();
        run.clickOn(w.chkHidePlaylist);
        // Dragged from 20 to 35, the bar shows it before the release.
        for (auto [at, action] : {std::pair{20, MouseAction::Down}, {35, MouseAction::Move}})
            run.desk.mouse(*run.desk.trackbarPoint(w.slTransparant.hWnd(), at), action,
                           mouse::Left);
        EXPECT_EQ(w.lblTransparantie.Caption(), "35%");
        EXPECT_EQ(run.desk.window(run.bar.hWnd())->layeredAlpha, 166);
        run.desk.mouse(*run.desk.trackbarPoint(w.slTransparant.hWnd(), 35), MouseAction::Up,
                       mouse::Left);
        run.toKeyBox(2);
        run.press(vkey::VkF5);
        if (way == Enter || way == Esc) run.clickOn(w.chkShift[2]);
        if (way == Opslaan) run.clickOn(w.cmdOpslaan);
        if (way == Annuleren) run.clickOn(w.cmdAnnuleren);
        if (way == CloseBox) run.desk.sendMessage(w.hWnd(), wm::WmClose, 0, 0);
        if (way == Enter) run.desk.pressKey(vkey::VkReturn);
        if (way == Esc || way == EscInAKeyBox) run.desk.pressKey(vkey::VkEscape);
        EXPECT_EQ(w.isOpen(), open) << way;
        EXPECT_EQ(run.desk.window(run.bar.hWnd())->layeredAlpha, alpha) << way;
        const std::vector<int> kept{1, 116, 1, 35, 271}, unsaved{-1, -1, -1, 20, 542};
        EXPECT_EQ((std::vector<int>{run.stored(kVerbergPlaylist), run.stored("toets3"),
                                    run.stored(kActief), run.stored(kTrans),
                                    run.desk.windowRect(run.bar.hWnd())->width()}),
                  saved ? kept : unsaved)
            << way;
    }
}

}  // namespace
}  // namespace tb
