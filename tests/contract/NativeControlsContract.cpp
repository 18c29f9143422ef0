// Standard controls on a dialog, the same on the simulated and the real desktop: what they
// hold, what the user's keys and clicks do to them, what they tell, and a window's own timer.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/ProgramError.h"
#include "contract/ContractHost.h"
#include "controls/NativeControls.h"

namespace tb::test {
namespace {

// Every event of the controls, in order, as "name+" (got focus), "name-" (lost it), "name!"
// (click or change).
using Journal = std::vector<std::string>;

class NativeControlsContract : public ::testing::Test {
protected:
    void SetUp() override {
        dialog_ = desk().createWindow({.className = "TbContractDialog",
                                       .caption = "Contract dialog",
                                       .bounds = Rect::fromXYWH(100, 100, 420, 260),
                                       .dialog = true,
                                       .boundsAreClient = true},
                                      &handler_);
        ASSERT_NE(dialog_, 0u);
    }
    void TearDown() override { desk().destroyWindow(dialog_); }

    Desktop& desk() { return host_->desktop(); }
    void show() {
        desk().showWindow(dialog_, sw::SwShowNormal);
        desk().setForegroundWindow(dialog_);
        desk().waitEventsUntil(desk().tickCountMs() + 50);
    }
    template <class C>
    C& add(C& c, const std::string& name, Rect r, int id, const std::string& text = {}) {
        EXPECT_TRUE(c.create(dialog_, r, id, text)) << name;
        c.onGotFocus = [this, name] { journal_.push_back(name + "+"); };
        c.onLostFocus = [this, name] { journal_.push_back(name + "-"); };
        return c;
    }
    // The middle of a control on the screen.
    Point middle(const NativeControl& c) {
        const Rect r = desk().windowRect(c.hWnd()).value_or(Rect{});
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    std::function<void()> note(const std::string& what) {
        return [this, what] { journal_.push_back(what); };
    }

    std::unique_ptr<ContractHost> host_ = makeContractHost();
    WindowHandler handler_;
    Hwnd dialog_ = 0;
    Journal journal_;
};

TEST_F(NativeControlsContract, ControlsAreChildWindowsOfTheirClassAtTheirPlace) {
    CheckBox check(desk());
    TextBox text(desk());
    StaticText label(desk());
    TabStrip tabs(desk());
    Trackbar slider(desk());
    struct Row {
        NativeControl& control;
        const char* cls;
        Rect bounds;
        std::string text;
    } rows[] = {
        {check, "Button", {10, 10, 200, 30}, "Playlist verbergen"},
        {text, "Edit", {10, 40, 200, 62}, "\\a - \\t"},
        {label, "Static", {10, 70, 200, 90}, "Versie: 4.2.2 & meer"},
        {tabs, "SysTabControl32", {210, 10, 410, 200}, ""},
        {slider, "msctls_trackbar32", {10, 100, 200, 130}, ""},
    };
    for (Row& row : rows) {
        ASSERT_TRUE(row.control.create(dialog_, row.bounds, 100, row.text)) << row.cls;
        const Hwnd h = row.control.hWnd();
        EXPECT_TRUE(desk().isWindow(h)) << row.cls;
        EXPECT_EQ(desk().windowClass(h).size(), std::string(row.cls).size()) << row.cls;
        EXPECT_EQ(desk().windowText(h), row.text) << row.cls;
        // The dialog's client area begins where it was asked to: the frame lies around it.
        EXPECT_EQ(desk().windowRect(h), row.bounds.offset(100, 100)) << row.cls;
        EXPECT_FALSE(desk().isWindowVisible(h)) << "the dialog is still hidden: " << row.cls;
    }
    show();
    EXPECT_TRUE(label.Visible());
    label.setVisible(false);
    EXPECT_FALSE(label.Visible());
    desk().destroyWindow(dialog_);
    EXPECT_EQ(check.hWnd(), 0u) << "the control knows its window is gone";
}

TEST_F(NativeControlsContract, CheckBoxesKeepTheStatesTheyAcceptAndClicksToggleOnlyOnOff) {
    CheckBox box(desk());
    add(box, "box", {10, 10, 200, 30}, 101, "Ingeschakeld");
    box.onClick = note("click");
    ChildSpec twoState{
        ctlclass::kButton, "auto", {10, 40, 200, 60}, bs::BsAutoCheckBox | ws::WsVisible, 0, 102};
    const Hwnd autoBox = desk().createChild(dialog_, twoState, nullptr);
    ASSERT_NE(autoBox, 0u);

    struct Row {
        int state;
        bool accepted;
        int threeState;  // what the program's box reads afterwards
        int twoState;    // what an ordinary two-state box reads
    } rows[] = {{1, true, 1, 1},  {2, true, 2, 1},   {0, true, 0, 0},
                {3, false, 0, 0}, {-1, false, 0, 0}, {256, false, 0, 0}};
    for (const Row& row : rows) {
        EXPECT_EQ(desk().setCheckState(box.hWnd(), row.state), row.accepted) << row.state;
        EXPECT_EQ(desk().setCheckState(autoBox, row.state), row.accepted) << row.state;
        EXPECT_EQ(box.Value(), row.threeState) << row.state;
        EXPECT_EQ(desk().checkState(autoBox), row.twoState) << row.state;
    }
    EXPECT_FALSE(desk().setCheckState(dialog_, 1)) << "no check box";
    try {
        box.setValue(3);
        ADD_FAILURE() << "a state of 3 was taken";
    } catch (const ProgramError& e) {
        EXPECT_EQ(e.number(), errnum::InvalidPropertyValue);
    }
    EXPECT_TRUE(journal_.empty()) << "the program's own changes tell nothing";

    show();
    box.setValue(2);
    host_->click(middle(box));  // greyed -> clear
    EXPECT_EQ(box.Value(), 0);
    host_->pressKey(vkey::VkSpace);  // the click gave it the focus
    EXPECT_EQ(box.Value(), 1);
    host_->click(middle(box));
    EXPECT_EQ(box.Value(), 0);
    EXPECT_EQ(journal_, (Journal{"box+", "click", "click", "click"}));
}

TEST_F(NativeControlsContract, TrackbarStaysInItsRangeAndTellsTheUsersMovesOnly) {
    struct Recorder : Trackbar {
        using Trackbar::Trackbar;
        std::vector<int> requests;
        void onScroll(int request) override {
            requests.push_back(request);
            Trackbar::onScroll(request);
        }
    } slider(desk());
    add(slider, "slider", {10, 10, 300, 45}, 103);
    slider.setRange(0, 70);
    EXPECT_EQ(desk().trackbarRange(slider.hWnd()), (std::pair{0, 70}));
    int changes = 0;
    slider.onChange = [&] { ++changes; };
    for (auto [set, read] : {std::pair{35, 35}, {90, 70}, {-5, 0}, {0, 0}}) {
        slider.setValue(set);
        EXPECT_EQ(slider.Value(), read) << set;
    }
    EXPECT_EQ(changes, 0);

    show();
    slider.SetFocus();
    using namespace tbr;
    struct Row {
        int key;
        int value;
        std::vector<int> requests;
    } rows[] = {
        {vkey::VkRight, 1, {TbLineDown, TbEndTrack}},
        {vkey::VkNext, 15, {TbPageDown, TbEndTrack}},
        {vkey::VkEnd, 70, {TbBottom, TbEndTrack}},
        {vkey::VkRight, 70, {TbEndTrack}},  // at the end: nothing moves
        {vkey::VkPrior, 56, {TbPageUp, TbEndTrack}},
        {vkey::VkLeft, 55, {TbLineUp, TbEndTrack}},
        {vkey::VkHome, 0, {TbTop, TbEndTrack}},
    };
    int expectedChanges = 0;
    int before = 0;
    for (const Row& row : rows) {
        slider.requests.clear();
        host_->pressKey(row.key);
        EXPECT_EQ(slider.Value(), row.value) << row.key;
        EXPECT_EQ(slider.requests, row.requests) << row.key;
        expectedChanges += row.value != before;
        before = row.value;
        EXPECT_EQ(changes, expectedChanges) << row.key;
    }
}

TEST_F(NativeControlsContract, TabsSwitchByClickAndCtrlTab) {
    TabStrip tabs(desk());
    add(tabs, "tabs", {10, 10, 400, 200}, 104);
    for (const char* t : {"Algemeen", "Sneltoetsen", "MSN Plugin", "Info"}) tabs.addTab(t);
    EXPECT_EQ(tabs.TabCount(), 4);
    EXPECT_EQ(tabs.SelectedIndex(), 0);
    int clicks = 0;
    tabs.onClick = [&] { ++clicks; };
    tabs.setSelectedIndex(2);
    EXPECT_EQ(tabs.SelectedIndex(), 2);
    tabs.setSelectedIndex(7);
    EXPECT_EQ(tabs.SelectedIndex(), 2) << "no such tab";
    EXPECT_EQ(clicks, 0);

    show();
    for (auto [shift, selected] : {std::pair{false, 3}, {false, 0}, {true, 3}, {true, 2}}) {
        host_->pressKey(vkey::VkTab, shift, true);
        EXPECT_EQ(tabs.SelectedIndex(), selected);
    }
    EXPECT_EQ(clicks, 4);
    const Rect item = desk().tabItemRect(tabs.hWnd(), 1).value();
    const Rect at = desk().windowRect(tabs.hWnd()).value();
    host_->click({at.left + (item.left + item.right) / 2, at.top + (item.top + item.bottom) / 2});
    EXPECT_EQ(tabs.SelectedIndex(), 1);
    EXPECT_EQ(clicks, 5);
}

TEST_F(NativeControlsContract, TabAndShiftTabWalkTheTabStopsInOrderAndClicksFocus) {
    TextBox a(desk());
    CheckBox b(desk()), hidden(desk());
    CommandButton disabled(desk()), ok(desk()), cancel(desk());
    StaticText label(desk());
    add(a, "a", {10, 10, 150, 32}, 201);
    add(label, "label", {160, 10, 300, 30}, 202, "Optie");
    add(b, "b", {10, 40, 150, 60}, 203, "Ctrl +");
    add(hidden, "hidden", {10, 70, 150, 90}, 204, "Shift +");
    add(disabled, "disabled", {10, 100, 100, 125}, 205, "?");
    ok.Default = true;
    add(ok, "ok", {110, 200, 200, 225}, 206, "Opslaan");
    cancel.Cancel = true;
    add(cancel, "cancel", {210, 200, 300, 225}, 207, "Annuleren");
    hidden.setVisible(false);
    disabled.setEnabled(false);

    show();
    EXPECT_EQ(desk().focus(), a.hWnd()) << "a dialog starts on its first tab stop";
    for (int i = 0; i < 4; ++i) host_->pressKey(vkey::VkTab);
    host_->pressKey(vkey::VkTab, true);
    host_->click(middle(b));
    host_->click(middle(label));  // a static takes no focus
    EXPECT_EQ(desk().focus(), b.hWnd());
    EXPECT_EQ(journal_, (Journal{"a+", "a-", "b+", "b-", "ok+", "ok-", "cancel+", "cancel-", "a+",
                                 "a-", "cancel+", "cancel-", "b+"}));
}

TEST_F(NativeControlsContract, EnterAndEscPressDefaultAndCancelExceptInABoxThatWantsAllKeys) {
    TextBox text(desk()), keyBox(desk());
    CommandButton ok(desk()), cancel(desk()), other(desk());
    keyBox.Locked = true;
    keyBox.WantAllKeys = true;
    add(text, "text", {10, 10, 150, 32}, 301);
    add(keyBox, "key", {10, 40, 150, 62}, 302);
    add(other, "other", {10, 100, 100, 125}, 303, "?");
    ok.Default = true;
    add(ok, "ok", {110, 200, 200, 225}, 304, "Opslaan");
    cancel.Cancel = true;
    add(cancel, "cancel", {210, 200, 300, 225}, 305, "Annuleren");
    EXPECT_EQ(cancel.id(), dlg::IdCancel);
    for (auto* b : {&ok, &cancel, &other}) b->onClick = note(b->Caption());
    show();

    struct Row {
        NativeControl* focus;
        int key;
        bool shift;
        std::string pressed;  // "" for none
        Hwnd focusAfter;
    } rows[] = {
        {&text, vkey::VkReturn, false, "Opslaan", text.hWnd()},
        {&text, vkey::VkEscape, false, "Annuleren", text.hWnd()},
        {&other, vkey::VkReturn, false, "?", other.hWnd()},  // a focused push button
        {&keyBox, vkey::VkReturn, false, "", keyBox.hWnd()},
        {&keyBox, vkey::VkEscape, false, "", keyBox.hWnd()},
        {&keyBox, vkey::VkF5, false, "", keyBox.hWnd()},
        {&keyBox, vkey::VkTab, false, "", other.hWnd()},
        {&keyBox, vkey::VkTab, true, "", text.hWnd()},
    };
    for (const Row& row : rows) {
        row.focus->SetFocus();
        journal_.clear();
        host_->pressKey(row.key, row.shift);
        std::string pressed;
        for (const std::string& e : journal_)
            if (e.back() != '+' && e.back() != '-') pressed += e;
        EXPECT_EQ(pressed, row.pressed)
            << row.key << " in " << desk().windowText(row.focus->hWnd());
        EXPECT_EQ(desk().focus(), row.focusAfter) << row.key;
    }
    // The title bar's close is no Esc: the window goes without pressing "Annuleren".
    journal_.clear();
    desk().sendMessage(dialog_, wm::WmClose, 0, 0);
    EXPECT_FALSE(desk().isWindow(dialog_));
    EXPECT_EQ(std::count(journal_.begin(), journal_.end(), "Annuleren"), 0);
}

TEST_F(NativeControlsContract, TextBoxesTakeTypingUpToTheirLimitAndTellEveryChange) {
    TextBox text(desk()), locked(desk());
    locked.Locked = true;
    add(text, "text", {10, 10, 200, 32}, 401);
    add(locked, "locked", {10, 40, 200, 62}, 402);
    text.setMaxLength(4);
    int changes = 0;
    text.onChange = [&] { ++changes; };
    locked.onChange = [&] { ++changes; };
    text.setText("\\a - \\t");
    EXPECT_EQ(text.Text(), "\\a - \\t") << "the limit is the user's";
    EXPECT_EQ(changes, 1);
    text.setText("");
    show();
    text.SetFocus();
    host_->typeText("abcdef");
    EXPECT_EQ(text.Text(), "abcd");
    EXPECT_EQ(changes, 2 + 4);
    locked.SetFocus();
    host_->typeText("xy");
    EXPECT_EQ(locked.Text(), "");
    EXPECT_EQ(changes, 6);
}

TEST_F(NativeControlsContract, AWindowTimerWithIdZeroTicksIsReplacedAndDiesWithItsWindow) {
    int first = 0, second = 0;
    ASSERT_TRUE(desk().setWindowTimer(dialog_, 0, 1, [&] { ++first; }));
    desk().waitEventsUntil(desk().tickCountMs() + 200);
    EXPECT_GE(first, 3);
    EXPECT_LE(first, 21) << "no faster than every 10 ms";
    ASSERT_TRUE(desk().setWindowTimer(dialog_, 0, 1, [&] { ++second; }));
    const int firstBefore = first;
    desk().waitEventsUntil(desk().tickCountMs() + 100);
    EXPECT_EQ(first, firstBefore) << "the same id replaced it";
    EXPECT_GE(second, 1);
    EXPECT_TRUE(desk().killWindowTimer(dialog_, 0));
    EXPECT_FALSE(desk().killWindowTimer(dialog_, 0));
    const int secondBefore = second;
    desk().waitEventsUntil(desk().tickCountMs() + 100);
    EXPECT_EQ(second, secondBefore);

    ASSERT_TRUE(desk().setWindowTimer(dialog_, 7, 10, [&] { ++second; }));
    desk().destroyWindow(dialog_);
    desk().waitEventsUntil(desk().tickCountMs() + 100);
    EXPECT_EQ(second, secondBefore);
    EXPECT_FALSE(desk().setWindowTimer(dialog_, 0, 1, [] {}));
}

}  // namespace
}  // namespace tb::test
