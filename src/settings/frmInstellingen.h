// The settings window: a dialog of standard controls on four tabs in which the user edits every
// setting of the store, previews the transparency on the bar, and sets a hotkey's key by pressing
// it. It fills itself from the registry when it is created; "Opslaan" saves, reloads and closes,
// "Annuleren" reloads and closes, the title bar's close does neither. The bar reaches it through
// Balk only. Its design is in twips, and it lays itself out again on a monitor of another
// density: places, fonts, icon and pictures.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/AppContext.h"
#include "app/Form.h"
#include "controls/NativeControls.h"
#include "settings/InstellingenStore.h"

namespace tb {

class frmInstellingen : public Form {
public:
    // What the window may do to the bar.
    struct Balk {
        // Reads the stored settings and applies them to the bar.
        std::function<void()> InstellingenLaden;
        // Shows the bar at a transparency percentage (the preview).
        std::function<void(std::int16_t)> SetTransparantie;
    };

    // Creates the window (hidden) and fills it from the registry.
    frmInstellingen(AppContext& app, Balk balk);
    ~frmInstellingen() override;

    // Shows the window and brings it to the front.
    void Show();
    // False once it was closed, by whatever way.
    bool isOpen() const { return hWnd() != 0; }
    // Closes the window without saving or reloading.
    void Unload();
    // A handler of the window is running (a message box of it may let other events in).
    bool isBusy() const { return running_ > 0; }

    // ---- Handlers ----------------------------------------------------------------------------
    void InstellingenLadenVenster();
    void cmdOpslaan_Click();
    void cmdAnnuleren_Click();
    void cmdWatisdit_Click();
    void cmdMSNHelp_Click();
    void slTransparant_Change();
    void tabInstellingen_Click();
    void txtToets_GotFocus(int index);
    void txtToets_LostFocus(int index);
    void KeyCaptureTimerProc();
    // The first key code 0 to 255 that the system reports down or pressed; 0 for none.
    int GetPressedKey();
    // What the controls hold, as the store saves it.
    VensterWaarden Waarden() const;

    static constexpr const char* kCaption = "Instellingen";
    static constexpr TimerId kKeyCaptureTimer = 0;

    // ---- Controls, by tab --------------------------------------------------------------------
    TabStrip tabInstellingen;
    // "Algemeen"
    StaticText lblTransparant;
    Trackbar slTransparant;
    StaticText lblTransparantie;
    CheckBox chkStartWinamp;
    CheckBox chkSluitWinamp;
    CheckBox chkSluitTunebalk;
    CheckBox chkHidePlaylist;
    // "Sneltoetsen"
    CheckBox chkIngeschakeld;
    CommandButton cmdWatisdit;
    StaticText lblOptie;
    StaticText lblToets;
    std::array<PictureBox, instellingen::kSlots> imgSnel;
    std::array<StaticText, instellingen::kSlots> lblSnel;
    std::array<CheckBox, instellingen::kSlots> chkControl;
    std::array<CheckBox, instellingen::kSlots> chkShift;
    std::array<TextBox, instellingen::kSlots> txtToets;
    // "MSN Plugin"
    CheckBox chkMSNIngeschakeld;
    CommandButton cmdMSNHelp;
    StaticText lblMSNIndeling;
    TextBox txtMSNIndeling;
    std::array<StaticText, 6> lblLegenda;
    // "Info"
    PictureBox Image1;
    StaticText lblTitel;
    StaticText lblVersie;
    StaticText lblOmschrijving;

    CommandButton cmdOpslaan;
    CommandButton cmdAnnuleren;

    // The key box that has the focus.
    std::int16_t iToetsIndex = 0;

private:
    // A key box's state before a capture that may be taken back.
    struct Capture {
        int index = 0;
        std::string text;
        std::string tag;
        std::int16_t laatsteToets = 0;
    };

    // A control's place in twips on the window, and whether it writes in bold.
    struct Placed {
        NativeControl* control;
        std::int32_t left, top, width, height;
        bool bold = false;
    };

    void createControls();
    // Places, fonts and pictures at the window's density.
    void layoutForDpi() override;
    void applyLayout();
    FontSpec font(bool bold);
    void bindEvents();
    void showTab(int index);
    Rect twips(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height);
    // An event's entry: the handler runs inside the error boundary under its own name.
    std::function<void()> Handler(const char* name, void (frmInstellingen::*handler)());

    AppContext& app_;
    Balk balk_;
    int running_ = 0;
    // The controls of each tab, shown only while their tab is selected.
    std::array<std::vector<NativeControl*>, 4> pages_;
    std::vector<Placed> layout_;
    // Keys that were down when the key box got the focus (the Tab that brought it there).
    std::bitset<256> heldAtFocus_;
    // A Shift captured and still held: Shift+Tab out of the box takes it back.
    std::optional<Capture> shiftCapture_;
};

}  // namespace tb
