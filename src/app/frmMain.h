// The bar window: the program's one main window and its start-up object. It owns the controls
// (their design is the table in BarDesign), the timers and the bar's subsystems, keeps the
// start-up and close order, and binds every event to a handler of the program's name. Handlers
// are a few lines: they call a subsystem and copy its result into the controls.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "app/AppContext.h"
#include "app/BarDesign.h"
#include "app/EventBoundary.h"
#include "app/Form.h"
#include "app/PlaybackSync.h"
#include "app/PlaylistMirror.h"
#include "app/TitleTicker.h"
#include "app/WinampCoupling.h"
#include "common/Timer.h"
#include "diag/WheelHook.h"
#include "dock/Form_TaskBar.h"
#include "settings/frmInstellingen.h"

namespace tb {

class frmMain : public Form, public BarControls {
public:
    // Creation: loads "shell32.dll", initialises the common controls and creates the (hidden)
    // window with its controls.
    explicit frmMain(AppContext& app);
    ~frmMain() override;

    // The loading steps. False when the bar refused to start (another instance runs); the bar
    // is then already unloaded.
    bool Load();
    void Show();
    // Runs the close request and the unload, once.
    void Unload();
    bool isLoaded() const { return state_ == State::Loaded || state_ == State::Loading; }

    // ---- Operations other parts of the program call ----------------------------------------
    std::int16_t BalkBreedte() const { return balkBreedte_; }
    void setBalkBreedte(std::int16_t twips);
    // Sets the bar's width in twips (what assigning the form's Width does; the resize rule
    // keeps the height).
    void setWidthTwips(std::int32_t twips);
    // Opacity from a transparency percentage (0 = opaque); outside 0..100 it changes nothing,
    // and far below 0 (where the opacity leaves 16 bits) it throws ProgramError 6.
    void SetTransparantie(std::int16_t trans);
    // Reads the settings from the registry and applies them to the bar (the settings store).
    void InstellingenLaden();
    // The Messenger's now-playing line: publish the playing track, withdraw it.
    void UpdatePSM();
    void HidePSM();
    // Parks the bar hidden and centred at the top edge (the dock's Center).
    void Center();
    // The bar's one Winamp client (the program's, created on first use).
    WinampAPI& Winamp() { return app_.winamp(); }
    // The settings window while it is open; nullptr otherwise.
    frmInstellingen* InstellingenVenster() {
        return instellingen_ && instellingen_->isOpen() ? instellingen_.get() : nullptr;
    }

    // ---- Handlers, bound to their events in the constructor --------------------------------
    void tmrSync_Timer();
    void tmrTitel_Timer();
    void tmrPlaylist_Timer();
    void tmrSneltoetsen_Timer();
    void tmrSluitTunebalk_Timer();
    void btnPrev_Click();
    void btnPlay_Click();
    void btnPauze_Click();
    void btnStop_Click();
    void btnNext_Click();
    void btnHerstel_Click();
    void btnVerberg_Click();
    void btnMSN_Click();
    void btnInstellingen_Click();
    void btnAfsluiten_Click();
    void sliderProgress_Click();
    void sliderProgress_Change();
    void sliderProgress_MouseDown(std::int16_t& Shift);
    void sliderProgress_MouseUp(std::int16_t& Shift);
    void sliderVolume_Change();
    void Playlist1_DblClickItem(std::int16_t& Index);
    void Form_MouseMove();
    // The dock's events: the bar has slid out of view; the bar starts to come back.
    void Form_TaskBar1_EndCloseUp();
    void Form_TaskBar1_StartOpenUp();

    // Design captions and look.
    static constexpr const char* kCaption = "Tunebalk4";
    static constexpr std::int32_t kHeightTwips = 1440;
    static constexpr std::int16_t kWidthWithPlaylist = 8130;
    static constexpr std::int16_t kWidthWithoutPlaylist = 4065;

    Timer tmrSync;
    Timer tmrTitel;
    Timer tmrPlaylist;
    Timer tmrSneltoetsen;
    Timer tmrSluitTunebalk;
    // Hides the bar at the top edge and slides it into view.
    Form_TaskBar Form_TaskBar1;

    // The bar's subsystems.
    TitleTicker ticker;
    PlaybackSync sync;
    PlaylistMirror mirror;
    WinampCoupling coupling;
    tb::WheelHook wheel;

    // WindowHandler
    void onSize(Size outer) override;
    // On a monitor of another density the bar keeps its layout at the new size and the dock
    // centres it again, in view or hidden as it was, wherever the system suggests.
    void onDpiChanged(int dpi, const Rect& suggested) override;
    bool onCloseRequest() override;
    void onDestroy() override;

private:
    enum class State { Created, Loading, Loaded, Unloaded };

    DebugWriter& log() { return app_.debugWriter(); }
    Desktop& desk() { return app_.desktop(); }

    // An event's entry: the handler runs inside the error boundary under its own name.
    template <class... Args>
    std::function<void(Args...)> Handler(const char* name, void (frmMain::*handler)(Args...)) {
        return [this, name, handler](Args... args) {
            RunHandler(app_, name, [&] { (this->*handler)(args...); });
        };
    }
    void bindEvents();
    void LoadSteps();
    void Form_Resize(Size outer);
    // The background picture and the right corner follow the bar's width.
    void fitBackground();
    void QueryUnload();
    void FormUnload();
    void WheelHook();
    void WheelUnhook();
    void InstellingenVensterSluiten();
    const char* MessengerState() const;

    AppContext& app_;
    State state_ = State::Created;
    bool queryUnloadDone_ = false;
    std::int16_t balkBreedte_ = kWidthWithPlaylist;
    std::uintptr_t shellLibrary_ = 0;
    Image background_;
    // The settings window, from its opening; a closed one is replaced at the next opening.
    std::unique_ptr<frmInstellingen> instellingen_;
    std::vector<std::unique_ptr<frmInstellingen>> retiredInstellingen_;
};

}  // namespace tb
