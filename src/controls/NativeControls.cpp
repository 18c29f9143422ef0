#include "controls/NativeControls.h"

#include "common/ProgramError.h"

namespace tb {

// ---- NativeControl ------------------------------------------------------------------------------

NativeControl::~NativeControl() {
    if (hwnd_ != 0) desktop_.destroyWindow(hwnd_);
}

bool NativeControl::create(Hwnd parent, const Rect& bounds, int id, const std::string& text) {
    if (hwnd_ != 0) return true;
    ChildSpec childSpec;
    childSpec.className = className_;
    childSpec.text = text;
    childSpec.bounds = bounds;
    childSpec.style = style_ | ws::WsVisible;
    childSpec.exStyle = exStyle_;
    childSpec.id = id;
    prepare(childSpec);
    hwnd_ = desktop_.createChild(parent, childSpec, this);
    if (hwnd_ == 0) return false;
    id_ = childSpec.id;
    desktop_.setFont(hwnd_, desktop_.dialogFont(desktop_.windowDpi(parent)));
    created();
    return true;
}

bool NativeControl::Visible() const { return hwnd_ != 0 && desktop_.isWindowVisible(hwnd_); }

void NativeControl::setVisible(bool visible) {
    if (hwnd_ != 0) desktop_.showWindow(hwnd_, visible ? sw::SwShowNoActivate : sw::SwHide);
}

bool NativeControl::Enabled() const { return hwnd_ != 0 && desktop_.isWindowEnabled(hwnd_); }

void NativeControl::setEnabled(bool enabled) {
    if (hwnd_ != 0) desktop_.enableWindow(hwnd_, enabled);
}

void NativeControl::setFont(const FontSpec& font) {
    if (hwnd_ != 0) desktop_.setFont(hwnd_, font);
}

void NativeControl::setBounds(const Rect& bounds) {
    if (hwnd_ != 0) desktop_.moveWindow(hwnd_, bounds);
}

void NativeControl::SetFocus() {
    if (hwnd_ != 0) desktop_.setFocus(hwnd_);
}

bool NativeControl::hasFocus() const { return hwnd_ != 0 && desktop_.focus() == hwnd_; }

void NativeControl::onFocus(bool gained) {
    const auto& event = gained ? onGotFocus : onLostFocus;
    if (event) event();
}

// ---- CheckBox -----------------------------------------------------------------------------------

CheckBox::CheckBox(Desktop& desktop)
    : NativeControl(desktop, ctlclass::kButton, bs::Bs3State | ws::WsTabStop) {}

int CheckBox::Value() const { return hWnd() != 0 ? desktop().checkState(hWnd()) : 0; }

void CheckBox::setValue(int value) {
    if (value < bst::BstUnchecked || value > bst::BstIndeterminate) {
        throw ProgramError(errnum::InvalidPropertyValue);
    }
    if (hWnd() != 0) desktop().setCheckState(hWnd(), value);
}

std::string CheckBox::Caption() const { return hWnd() != 0 ? desktop().windowText(hWnd()) : ""; }

void CheckBox::setCaption(const std::string& caption) {
    if (hWnd() != 0) desktop().setWindowText(hWnd(), caption);
}

void CheckBox::onCommand(int code) {
    if (code != bn::BnClicked) return;
    desktop().setCheckState(hWnd(),
                            Value() == bst::BstUnchecked ? bst::BstChecked : bst::BstUnchecked);
    if (onClick) onClick();
}

// ---- CommandButton ------------------------------------------------------------------------------

CommandButton::CommandButton(Desktop& desktop)
    : NativeControl(desktop, ctlclass::kButton, bs::BsPushButton | ws::WsTabStop) {}

void CommandButton::prepare(ChildSpec& childSpec) {
    if (Default) childSpec.style |= bs::BsDefPushButton;
    if (Cancel) childSpec.id = dlg::IdCancel;
}

std::string CommandButton::Caption() const {
    return hWnd() != 0 ? desktop().windowText(hWnd()) : "";
}

void CommandButton::setCaption(const std::string& caption) {
    if (hWnd() != 0) desktop().setWindowText(hWnd(), caption);
}

void CommandButton::onCommand(int code) {
    // Esc reaches the cancel button also while it is disabled.
    if (code == bn::BnClicked && Enabled() && onClick) onClick();
}

// ---- TextBox ------------------------------------------------------------------------------------

TextBox::TextBox(Desktop& desktop)
    : NativeControl(desktop, ctlclass::kEdit, es::EsAutoHScroll | ws::WsTabStop,
                    wsex::WsExClientEdge) {}

void TextBox::prepare(ChildSpec& childSpec) {
    if (Locked) childSpec.style |= es::EsReadOnly;
    childSpec.wantAllKeys = WantAllKeys;
}

void TextBox::created() {
    lastText_ = Text();
    if (maxLength_ > 0) desktop().setTextLimit(hWnd(), maxLength_);
}

std::string TextBox::Text() const { return hWnd() != 0 ? desktop().windowText(hWnd()) : ""; }

void TextBox::setText(const std::string& text) {
    if (hWnd() != 0) desktop().setWindowText(hWnd(), text);
}

void TextBox::setMaxLength(int maxChars) {
    maxLength_ = maxChars < 0 ? 0 : maxChars;
    if (hWnd() != 0) desktop().setTextLimit(hWnd(), maxLength_);
}

void TextBox::onCommand(int code) {
    if (code != en::EnChange) return;
    // Some edit controls report a keystroke the limit refused as a change.
    std::string text = Text();
    if (text == lastText_) return;
    lastText_ = std::move(text);
    if (onChange) onChange();
}

// ---- TabStrip -----------------------------------------------------------------------------------

TabStrip::TabStrip(Desktop& desktop)
    : NativeControl(desktop, ctlclass::kTabControl, ws::WsTabStop | ws::WsClipSiblings) {}

void TabStrip::addTab(const std::string& caption) {
    if (hWnd() != 0) desktop().insertTab(hWnd(), TabCount(), caption);
}

int TabStrip::TabCount() const { return hWnd() != 0 ? desktop().tabCount(hWnd()) : 0; }

int TabStrip::SelectedIndex() const { return hWnd() != 0 ? desktop().tabSelection(hWnd()) : -1; }

void TabStrip::setSelectedIndex(int index) {
    if (hWnd() != 0) desktop().setTabSelection(hWnd(), index);
}

bool TabStrip::onNotify(int code) {
    if (code == tcn::TcnSelChange && onClick) onClick();
    return false;
}

// ---- Trackbar -----------------------------------------------------------------------------------

Trackbar::Trackbar(Desktop& desktop)
    : NativeControl(desktop, ctlclass::kTrackbar, tbs::TbsAutoTicks | ws::WsTabStop) {}

int Trackbar::Min() const {
    const auto range = hWnd() != 0 ? desktop().trackbarRange(hWnd()) : std::nullopt;
    return range ? range->first : 0;
}

int Trackbar::Max() const {
    const auto range = hWnd() != 0 ? desktop().trackbarRange(hWnd()) : std::nullopt;
    return range ? range->second : 0;
}

void Trackbar::setRange(int min, int max) {
    if (hWnd() == 0) return;
    desktop().setTrackbarRange(hWnd(), min, max);
    lastValue_ = Value();
}

int Trackbar::Value() const { return hWnd() != 0 ? desktop().trackbarPos(hWnd()) : 0; }

void Trackbar::setValue(int value) {
    if (hWnd() == 0) return;
    desktop().setTrackbarPos(hWnd(), value);
    lastValue_ = Value();
}

void Trackbar::onScroll(int request) {
    (void)request;
    // Whatever the request, what counts is whether the thumb now stands elsewhere.
    const int value = Value();
    if (value == lastValue_) return;
    lastValue_ = value;
    if (onChange) onChange();
}

// ---- StaticText, PictureBox ---------------------------------------------------------------------

StaticText::StaticText(Desktop& desktop)
    : NativeControl(desktop, ctlclass::kStatic, ss::SsLeft | ss::SsNoPrefix) {}

std::string StaticText::Caption() const { return hWnd() != 0 ? desktop().windowText(hWnd()) : ""; }

void StaticText::setCaption(const std::string& caption) {
    if (hWnd() != 0) desktop().setWindowText(hWnd(), caption);
}

PictureBox::PictureBox(Desktop& desktop)
    : NativeControl(desktop, ctlclass::kStatic, ss::SsBitmap) {}

void PictureBox::setPicture(const Image& picture) {
    if (hWnd() != 0) desktop().setPicture(hWnd(), picture);
}

}  // namespace tb
