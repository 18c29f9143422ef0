// The playlist view: five text rows over a longer list of entries, a vertical scroll slider
// beside them, one highlighted entry, and a double-click that reports the entry chosen. It
// knows nothing about Winamp; the bar fills it. The mouse wheel reaches it as the private key
// codes kKeyScrollUp and kKeyScrollDown, sent to hWnd() by the wheel forwarding.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "art/Artwork.h"
#include "controls/Control.h"
#include "controls/ucSlider.h"

namespace tb {

class Playlist : public Control, private ControlHost {
public:
    static constexpr int kRows = 5;
    static constexpr int kKeyScrollUp = 1000;    // one entry towards the start
    static constexpr int kKeyScrollDown = 1001;  // one entry towards the end
    static constexpr Color kItemColor = art::kTextColor;
    static constexpr Color kActiveColor = 0xFFFFFF;
    // Fixed size and child layout, in twips: in pixels they follow the form's density, as the
    // font and the scroll bar's pictures do.
    static constexpr std::int32_t kWidthTwips = 4095;
    static constexpr std::int32_t kHeightTwips = 1635;

    Playlist();
    Playlist(const Playlist&) = delete;
    Playlist& operator=(const Playlist&) = delete;

    void RedrawItems();
    void AddItem(const std::string& caption);
    // A missing index is ignored.
    void RemoveItem(std::int16_t index);
    std::int16_t ActiveItem() const { return activeItem_; }
    void setActiveItem(std::int16_t index);
    // The empty text for a missing entry.
    std::string ItemCaption(std::int16_t index) const;
    // Replaces an existing entry or appends a new last one; does not redraw.
    void setItemCaption(std::int16_t index, const std::string& caption);
    std::int16_t ItemCount() const { return static_cast<std::int16_t>(items_.size()); }
    bool ItemExists(std::int32_t index) const { return index >= 0 && index < ItemCount(); }
    // The top index the scroll slider stands for: Scroll.Max - Scroll.Value.
    std::int16_t calcScrollValue() const;

    // Raised for a double-click on a shown row, with the index of its entry.
    std::function<void(std::int16_t& index)> onDblClickItem;

    // The window that takes the wheel's key codes: the host form's (the view has none of its
    // own); 0 before it is placed on one. The form passes them on through keyDown.
    Hwnd hWnd() const;

    std::int16_t TopIndex() const { return topIndex_; }
    // The scroll bar; its value runs the other way from the list.
    ucSlider Scroll;

    struct Row {
        std::string caption;
        Color foreColor = kItemColor;
        bool visible = false;
    };
    const Row& row(int r) const { return rows_[static_cast<std::size_t>(r)]; }
    // A row's rectangle in form client pixels.
    Rect rowRect(int r) const;
    FontSpec Font() const { return font_; }

    void paint(Canvas& canvas) override;
    void mouseEvent(const MouseEvent& e) override;
    void keyDown(int virtualKey) override;
    void captureLost() override;

protected:
    void onAttached() override;
    void onBoundsChanged() override;

private:
    // ControlHost, for the scroll slider.
    Desktop& desktop() override { return host()->desktop(); }
    Hwnd hostWindow() override { return host() ? host()->hostWindow() : 0; }
    void invalidateControl(Control& c) override;
    void captureMouse(Control& c) override;
    void releaseMouse(Control& c) override;
    Point clientToScreen(Point client) override;
    int hostDpi() override { return dpi(); }

    // The font and the scroll bar's pictures for the form's density.
    void fitToDpi();
    void fillRows();
    void UpdateScroll();
    void setRow(int r, const std::string& caption, Color color, bool visible);
    void setRowColor(int r, Color color);
    void Scroll_Change();
    std::int32_t toPixelsX(std::int32_t twips) const;
    std::int32_t toPixelsY(std::int32_t twips) const;

    std::vector<std::string> items_;
    std::array<Row, kRows> rows_{};
    std::int16_t topIndex_ = 0;
    std::int16_t activeItem_ = 0;
    bool scrollCaptured_ = false;
    bool resizing_ = false;
    FontSpec font_;
    int layoutDpi_ = kDefaultDpi;
};

}  // namespace tb
