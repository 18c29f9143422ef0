// Standard Windows controls as real child windows of a form (a dialog): check box, text box,
// push button, tab strip, trackbar, static text and picture. Their state lives in the window,
// so screen readers and the keyboard see what the program sees; each object turns its window's
// notifications into the program's events (callback fields set by the host). Programmatic
// changes raise no event, as Windows sends no notification for them (except a text box's
// onChange, which Windows sends for every change of its text).
//
// Usage: construct, set the options read at creation (Default, Cancel, Locked, WantAllKeys),
// create(parent, bounds, id, text), then use the properties. Before create and after the
// window is gone the properties read as empty and setting them does nothing.
#pragma once

#include <functional>
#include <string>

#include "platform/Desktop.h"

namespace tb {

class NativeControl : public ChildHandler {
public:
    ~NativeControl() override;
    NativeControl(const NativeControl&) = delete;
    NativeControl& operator=(const NativeControl&) = delete;

    // Creates the child window on `parent` at `bounds` (the parent's client pixels), visible,
    // in the dialog's font at the parent's density. False when it could not be created.
    bool create(Hwnd parent, const Rect& bounds, int id, const std::string& text = {});
    Hwnd hWnd() const { return hwnd_; }
    int id() const { return id_; }

    bool Visible() const;
    void setVisible(bool visible);
    bool Enabled() const;
    void setEnabled(bool enabled);
    void setFont(const FontSpec& font);
    void setBounds(const Rect& bounds);
    void SetFocus();
    bool hasFocus() const;

    std::function<void()> onGotFocus;
    std::function<void()> onLostFocus;

    // ChildHandler
    void onFocus(bool gained) override;
    void onDestroy() override { hwnd_ = 0; }

protected:
    NativeControl(Desktop& desktop, const char* className, std::uint32_t style,
                  std::uint32_t exStyle = 0)
        : desktop_(desktop), className_(className), style_(style), exStyle_(exStyle) {}
    // The creation parameters about to be used; a control adds its options.
    virtual void prepare(ChildSpec& childSpec) { (void)childSpec; }
    // After creation: what the window needs beyond its creation parameters.
    virtual void created() {}
    Desktop& desktop() const { return desktop_; }

private:
    Desktop& desktop_;
    const char* className_;
    std::uint32_t style_;
    std::uint32_t exStyle_;
    Hwnd hwnd_ = 0;
    int id_ = 0;
};

// A check box whose state is the program's: 0 unchecked, 1 checked, 2 greyed (a stored state
// the user cannot choose). The window is a three-state box that leaves its state to this
// object (BS_3STATE): a click checks an unchecked box and clears a checked or greyed one, as a
// three-state box leaves its greyed state, so the user only ever makes 0 or 1.
class CheckBox : public NativeControl {
public:
    explicit CheckBox(Desktop& desktop);
    int Value() const;
    // Throws ProgramError(380) for a state other than 0, 1 or 2, changing nothing.
    void setValue(int value);
    std::string Caption() const;
    void setCaption(const std::string& caption);

    // After a click of the user (mouse or Space) has changed the state.
    std::function<void()> onClick;

    void onCommand(int code) override;
};

class CommandButton : public NativeControl {
public:
    explicit CommandButton(Desktop& desktop);
    // Read at create: Enter presses the Default button; Esc the Cancel button (which is then
    // created with the id IDCANCEL).
    bool Default = false;
    bool Cancel = false;
    std::string Caption() const;
    void setCaption(const std::string& caption);

    std::function<void()> onClick;

    void onCommand(int code) override;

protected:
    void prepare(ChildSpec& childSpec) override;
};

class TextBox : public NativeControl {
public:
    explicit TextBox(Desktop& desktop);
    // Read at create: the user cannot change the text; the box takes every key but Tab.
    bool Locked = false;
    bool WantAllKeys = false;
    std::string Text() const;
    void setText(const std::string& text);
    // The most characters the user can enter (0: no limit of the program's).
    int MaxLength() const { return maxLength_; }
    void setMaxLength(int maxChars);
    // A hidden text that belongs to the box (the key boxes keep their key code here).
    std::string Tag;

    // The text changed, by the user or by the program (Windows tells both).
    std::function<void()> onChange;

    void onCommand(int code) override;

protected:
    void prepare(ChildSpec& childSpec) override;
    void created() override;

private:
    int maxLength_ = 0;
    std::string lastText_;
};

class TabStrip : public NativeControl {
public:
    explicit TabStrip(Desktop& desktop);
    void addTab(const std::string& caption);
    int TabCount() const;
    // The selected tab, counted from 0 (-1: none).
    int SelectedIndex() const;
    void setSelectedIndex(int index);

    // The user chose another tab (click, arrow keys, Ctrl+Tab).
    std::function<void()> onClick;

    bool onNotify(int code) override;
};

class Trackbar : public NativeControl {
public:
    explicit Trackbar(Desktop& desktop);
    int Min() const;
    int Max() const;
    void setRange(int min, int max);
    int Value() const;
    // Kept within the range.
    void setValue(int value);

    // The user moved the thumb to another position: every step of a drag, every key.
    std::function<void()> onChange;

    void onScroll(int request) override;

private:
    int lastValue_ = 0;
};

class StaticText : public NativeControl {
public:
    explicit StaticText(Desktop& desktop);
    std::string Caption() const;
    void setCaption(const std::string& caption);
};

class PictureBox : public NativeControl {
public:
    explicit PictureBox(Desktop& desktop);
    void setPicture(const Image& picture);
};

}  // namespace tb
