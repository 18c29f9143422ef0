// The bar window: the program's one main window and its start-up object.
#pragma once

#include <cstdint>
#include <memory>

#include "app/AppContext.h"
#include "app/Form.h"
#include "common/Timer.h"
#include "controls/Click.h"
#include "controls/ImageBox.h"
#include "controls/Label.h"
#include "controls/Playlist.h"
#include "controls/ucSlider.h"

namespace tb {

class WinampAPI;

class frmMain : public Form {
public:
    // Creation: loads "shell32.dll", initialises the common controls and creates the
    // (hidden) window.
    explicit frmMain(AppContext& app);
    ~frmMain() override;

    // The loading steps. False when the bar refused to start (another instance runs); the bar
    // is then already unloaded.
    bool Load();
    void Show();
    // Runs the close request and the unload, once.
    void Unload();
    bool isLoaded() const { return state_ == State::Loaded || state_ == State::Loading; }

    std::int16_t BalkBreedte() const { return balkBreedte_; }
    void setBalkBreedte(std::int16_t twips);
    // Sets the bar's width and height in twips (what assigning the form's Width does).
    void setWidthTwips(std::int32_t twips);
    // Opacity from a transparency percentage (0 = opaque); outside 0..100 it changes nothing,
    // and far below 0 (where the opacity leaves 16 bits) it throws ProgramError 6.
    void SetTransparantie(std::int16_t trans);
    // Reads the settings from the registry and applies them to the bar (the settings store).
    void InstellingenLaden();

    // The bar's one Winamp client, created on first use.
    WinampAPI& Winamp();

    void btnAfsluiten_Click();

    // Design captions and look.
    static constexpr const char* kCaption = "Tunebalk4";
    static constexpr const char* kProgramTitle = "Tunebalk";
    static constexpr Color kTextColor = 0xD3C8A6;
    static constexpr std::int32_t kHeightTwips = 1440;
    static constexpr std::int16_t kWidthWithPlaylist = 8130;
    static constexpr std::int16_t kWidthWithoutPlaylist = 4065;

    ImageBox imgTopLeft;
    ImageBox imgTopRight;
    Label lblTitel;
    Label lblTijd;
    Label lblOptie;
    Click btnPrev;
    Click btnPlay;
    Click btnPauze;
    Click btnStop;
    Click btnNext;
    Click btnVerberg;
    Click btnHerstel;
    Click btnMSN;
    Click btnInstellingen;
    Click btnAfsluiten;
    ucSlider sliderProgress;
    ucSlider sliderVolume;
    Playlist Playlist1;

    Timer tmrSync;
    Timer tmrTitel;
    Timer tmrPlaylist;
    Timer tmrSneltoetsen;
    Timer tmrSluitTunebalk;

    // WindowHandler
    void onSize(Size outer) override;
    bool onCloseRequest() override;
    void onDestroy() override;

private:
    enum class State { Created, Loading, Loaded, Unloaded };

    DebugWriter& log() { return app_.debugWriter(); }
    Desktop& desk() { return app_.desktop(); }

    void loadDesign();
    void layoutControls();
    // The background picture and the right corner follow the bar's width.
    void fitBackground();
    void Center();
    void QueryUnload();
    void FormUnload();

    // Steps owned by other subsystems; each is filled where that subsystem lives.
    void WheelHook();
    void WheelUnhook();
    void tmrPlaylist_Timer();
    void AutostartWinamp();
    void HidePSM();
    void btnHerstel_Click();

    AppContext& app_;
    State state_ = State::Created;
    bool queryUnloadDone_ = false;
    std::int16_t balkBreedte_ = kWidthWithPlaylist;
    std::uintptr_t shellLibrary_ = 0;
    std::unique_ptr<WinampAPI> winamp_;
    Image background_;
};

}  // namespace tb
