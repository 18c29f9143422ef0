#include "app/frmMain.h"

#include "art/Artwork.h"
#include "common/Numeric.h"
#include "diag/modTransparant.h"
#include "hotkeys/Sneltoetsen.h"
#include "messenger/NowPlaying.h"
#include "settings/InstellingenStore.h"

namespace tb {

namespace {
// One named mutex per user session marks the running bar.
constexpr const char* kInstanceName = "Oxalmo.Tunebalk4.Instance";
}  // namespace

frmMain::frmMain(AppContext& app)
    : Form(app.desktop()),
      tmrSync(app.desktop(), 1000),
      tmrTitel(app.desktop(), 150),
      tmrPlaylist(app.desktop(), 60000),
      tmrSneltoetsen(app.desktop(), 250),
      tmrSluitTunebalk(app.desktop(), WinampCoupling::kDecideMs),
      Form_TaskBar1(app.desktop()),
      ticker(bar::kTitleDesignLeft),
      sync(app, {lblTijd, sliderProgress, sliderVolume, lblTitel, ticker, Playlist1}),
      mirror(app, Playlist1, tmrPlaylist),
      coupling(app, tmrSluitTunebalk),
      wheel(app.desktop(), [&app](std::string_view line) { app.debugWriter().writeLine(line); }),
      app_(app) {
    shellLibrary_ = desk().loadLibrary("shell32.dll");
    desk().initCommonControls();

    setBackColor(art::kBarBackColor);
    WindowSpec windowSpec;
    windowSpec.className = "TunebalkBar";
    windowSpec.caption = kCaption;
    windowSpec.exStyle = wsex::WsExTopmost | wsex::WsExToolWindow;
    windowSpec.bounds =
        Rect::fromXYWH(0, 0, twipsToPixelsX(balkBreedte_), twipsToPixelsY(kHeightTwips));
    windowSpec.visible = false;
    createWindow(windowSpec);

    SiteBarControls(*this, *this);
    // Its delayed start finds the window made; until then Center parks the bar through it.
    addControl(Form_TaskBar1);
    // The wheel's key codes arrive at the bar's window and belong to the playlist view.
    setKeyTarget(&Playlist1);
    wheel.hWndPlaylist = Playlist1.hWnd();
    bindEvents();
    fitBackground();
    Center();
    app_.mainForm = this;
}

frmMain::~frmMain() {
    if (app_.mainForm == this) app_.mainForm = nullptr;
    // The form's window goes before its controls and timers do.
    destroyWindow();
    if (shellLibrary_) desk().freeLibrary(shellLibrary_);
}

void frmMain::bindEvents() {
    sync.onRefreshPlaylist = [this] { tmrPlaylist_Timer(); };
    // The Messenger channel withdraws the line it showed; nothing when it showed none.
    coupling.onBeforeEndNow = [this] { HidePSM(); };
    tmrSync.onTimer = Handler("tmrSync_Timer", &frmMain::tmrSync_Timer);
    tmrTitel.onTimer = Handler("tmrTitel_Timer", &frmMain::tmrTitel_Timer);
    tmrPlaylist.onTimer = Handler("tmrPlaylist_Timer", &frmMain::tmrPlaylist_Timer);
    tmrSneltoetsen.onTimer = Handler("tmrSneltoetsen_Timer", &frmMain::tmrSneltoetsen_Timer);
    tmrSluitTunebalk.onTimer = Handler("tmrSluitTunebalk_Timer", &frmMain::tmrSluitTunebalk_Timer);
    btnPrev.onClick = Handler("btnPrev_Click", &frmMain::btnPrev_Click);
    btnPlay.onClick = Handler("btnPlay_Click", &frmMain::btnPlay_Click);
    btnPauze.onClick = Handler("btnPauze_Click", &frmMain::btnPauze_Click);
    btnStop.onClick = Handler("btnStop_Click", &frmMain::btnStop_Click);
    btnNext.onClick = Handler("btnNext_Click", &frmMain::btnNext_Click);
    btnHerstel.onClick = Handler("btnHerstel_Click", &frmMain::btnHerstel_Click);
    btnVerberg.onClick = Handler("btnVerberg_Click", &frmMain::btnVerberg_Click);
    btnMSN.onClick = Handler("btnMSN_Click", &frmMain::btnMSN_Click);
    btnInstellingen.onClick = Handler("btnInstellingen_Click", &frmMain::btnInstellingen_Click);
    btnAfsluiten.onClick = Handler("btnAfsluiten_Click", &frmMain::btnAfsluiten_Click);
    sliderProgress.onClick = Handler("sliderProgress_Click", &frmMain::sliderProgress_Click);
    sliderProgress.onChange = Handler("sliderProgress_Change", &frmMain::sliderProgress_Change);
    sliderProgress.onMouseDown =
        Handler("sliderProgress_MouseDown", &frmMain::sliderProgress_MouseDown);
    sliderProgress.onMouseUp = Handler("sliderProgress_MouseUp", &frmMain::sliderProgress_MouseUp);
    sliderVolume.onChange = Handler("sliderVolume_Change", &frmMain::sliderVolume_Change);
    Playlist1.onDblClickItem = Handler("Playlist1_DblClickItem", &frmMain::Playlist1_DblClickItem);
    Form_TaskBar1.onEndCloseUp =
        Handler("Form_TaskBar1_EndCloseUp", &frmMain::Form_TaskBar1_EndCloseUp);
    Form_TaskBar1.onStartOpenUp =
        Handler("Form_TaskBar1_StartOpenUp", &frmMain::Form_TaskBar1_StartOpenUp);
    onBackgroundMouse = [this](const MouseEvent& e) {
        if (e.action == MouseAction::Move)
            RunHandler(app_, "Form_MouseMove", [this] { Form_MouseMove(); });
    };
    // Every button writes its hint into the hint line while the pointer moves over it.
    for (const ControlDesign& d : BarDesign()) {
        auto* button = std::get_if<Click BarControls::*>(&d.control);
        if (!button || !d.hint) continue;
        (this->**button).onMouseMove = [this, &d, name = std::string(d.name) + "_MouseMove"] {
            RunHandler(app_, name, [&] { lblOptie.setCaption(d.hint); });
        };
    }
}

// ---- Start-up and close ----------------------------------------------------------------------

bool frmMain::Load() {
    state_ = State::Loading;
    RunHandler(app_, "Form_Load", [this] { LoadSteps(); });
    if (state_ == State::Loading) state_ = State::Loaded;
    return state_ == State::Loaded;
}

void frmMain::LoadSteps() {
    // A second bar must not touch the log, the settings or Winamp before it goes.
    if (!desk().claimSingleInstance(kInstanceName)) {
        desk().messageBox(0, "Er is al een Tunebalk sessie actief!", kProgramTitle,
                          mb::MbOk | mb::MbIconExclamation);
        Unload();
        return;
    }
    // From here the timers run, also during the start-up's own pauses for events.
    tmrSync.setEnabled(true);
    tmrTitel.setEnabled(true);
    tmrPlaylist.setEnabled(true);
    if (desk().commandArguments() == "/debug") log().enableWriter();
    log().writeLine("Tunebalk load");
    WheelHook();
    InstellingenLaden();
    desk().doEvents();
    if (!app_.settings.bVerbergPlaylist) tmrPlaylist_Timer();
    coupling.Autostart();
    if (app_.settings.bMSNPlugin) lblOptie.setCaption(MessengerState());
    log().writeLine("Tunebalk load OK");
    // The bar starts parked out of view, so its timers start as after a slide away: only the
    // Messenger keeps the synchronisation going, and the title rests. (The pointer may have
    // brought it in already while the start-up let events run.)
    if (!Form_TaskBar1.IsTaskbarOut()) Form_TaskBar1_EndCloseUp();
}

void frmMain::Show() {
    if (state_ != State::Loaded || hWnd() == 0) return;
    desk().showWindow(hWnd(), sw::SwShowNoActivate);
    desk().setTopmost(hWnd(), true);
}

void frmMain::Unload() {
    if (state_ == State::Unloaded) return;
    QueryUnload();
    destroyWindow();  // onDestroy runs the unload steps
    FormUnload();
}

bool frmMain::onCloseRequest() {
    RunHandler(app_, "Form_QueryUnload", [this] { QueryUnload(); });
    return true;
}

void frmMain::onDestroy() {
    Form::onDestroy();
    RunHandler(app_, "Form_Unload", [this] { FormUnload(); });
}

void frmMain::QueryUnload() {
    if (queryUnloadDone_) return;
    queryUnloadDone_ = true;
    coupling.CloseWithBar();
    HidePSM();
    WheelUnhook();
}

void frmMain::FormUnload() {
    if (state_ == State::Unloaded) return;
    state_ = State::Unloaded;
    mirror.Stop();
    tmrSync.setEnabled(false);
    tmrTitel.setEnabled(false);
    tmrPlaylist.setEnabled(false);
    tmrSneltoetsen.setEnabled(false);
    tmrSluitTunebalk.setEnabled(false);
    // However the bar goes, its settings window goes with it.
    InstellingenVensterSluiten();
    if (shellLibrary_) desk().freeLibrary(shellLibrary_);
    shellLibrary_ = 0;
    desk().quit(0);
}

// ---- Size and place --------------------------------------------------------------------------

void frmMain::setBalkBreedte(std::int16_t twips) { balkBreedte_ = twips; }

void frmMain::setWidthTwips(std::int32_t twips) {
    auto r = desk().windowRect(hWnd());
    if (!r) return;
    desk().moveWindow(hWnd(), Rect::fromXYWH(r->left, r->top, twipsToPixelsX(twips), r->height()));
}

void frmMain::onSize(Size outer) {
    RunHandler(app_, "Form_Resize", [&] { Form_Resize(outer); });
}

void frmMain::onDpiChanged(int dpi, const Rect&) {
    setDpi(dpi);
    RunHandler(app_, "Form_DpiChanged", [this] {
        LayoutBarControls(*this, *this);
        sync.FitTitle();
        const auto r = desk().windowRect(hWnd());
        Form_Resize(r ? Size{r->width(), r->height()} : Size{});
        Form_TaskBar1.Recenter();
    });
}

void frmMain::Form_Resize(Size outer) {
    Size wanted{twipsToPixelsX(balkBreedte_), twipsToPixelsY(kHeightTwips)};
    if (outer != wanted) {
        auto r = desk().windowRect(hWnd());
        Point at = r ? Point{r->left, r->top} : Point{};
        // Runs this rule again with the wanted size, which then only centres.
        desk().moveWindow(hWnd(), Rect::fromXYWH(at.x, at.y, wanted.cx, wanted.cy));
        return;
    }
    fitBackground();
    Center();
}

void frmMain::fitBackground() {
    auto r = hWnd() ? desk().windowRect(hWnd()) : std::nullopt;
    const Size client = r ? Size{r->width(), r->height()}
                          : Size{twipsToPixelsX(balkBreedte_), twipsToPixelsY(kHeightTwips)};
    const std::int32_t paneLeft = Playlist1.bounds().left;
    background_ = art::barBackground(client, paneLeft < client.cx ? paneLeft : 0, dpi());
    setPicture(&background_);
    // The pane lies in front of the title area's row: a long title passes under it.
    lblTitel.setClip(Rect{0, 0, paneLeft, client.cy});
    imgTopRight.setBounds(Rect::fromXYWH(client.cx - imgTopRight.bounds().width(), 0, 0, 0));
}

void frmMain::Center() { Form_TaskBar1.Center(); }

// ---- Settings --------------------------------------------------------------------------------

void frmMain::SetTransparantie(std::int16_t trans) {
    SetWindowAlpha(desk(), hWnd(), roundHalfEven16(255.0 - trans * 2.55));
}

void frmMain::InstellingenLaden() {
    // What the settings store may do to the bar.
    class Balk : public InstellingenBalk {
    public:
        explicit Balk(frmMain& bar) : bar_(bar) {}
        Timer& tmrSync() override { return bar_.tmrSync; }
        Timer& tmrSneltoetsen() override { return bar_.tmrSneltoetsen; }
        void HidePSM() override { bar_.HidePSM(); }
        void SetTransparantie(std::int16_t trans) override { bar_.SetTransparantie(trans); }
        std::int16_t BalkBreedte() override { return bar_.BalkBreedte(); }
        void setBalkBreedte(std::int16_t twips) override { bar_.setBalkBreedte(twips); }
        bool breedteWijktAf(std::int32_t twips) override {
            auto r = bar_.desk().windowRect(bar_.hWnd());
            return r && r->width() != bar_.twipsToPixelsX(twips);
        }
        void setWidthTwips(std::int32_t twips) override { bar_.setWidthTwips(twips); }
        // The playlist timer's handler refreshes and starts its minute afresh.
        void RefreshPlaylist() override { bar_.tmrPlaylist_Timer(); }

    private:
        frmMain& bar_;
    } balk(*this);
    tb::InstellingenLaden(app_, balk);
}

// ---- Handlers --------------------------------------------------------------------------------

void frmMain::tmrSync_Timer() {
    switch (sync.Tick()) {
        case PlaybackSync::Result::WinampGone:
            coupling.WinampGone();
            break;
        case PlaybackSync::Result::NewTitle:
            UpdatePSM();
            break;
        case PlaybackSync::Result::SameTitle:
            break;
    }
}

void frmMain::tmrTitel_Timer() {
    const float width = static_cast<float>(pixelsToTwipsAtDpi(lblTitel.bounds().width(), dpi()));
    lblTitel.setLeft(twipsToPixelsAtDpi(ticker.Tick(width), dpi()));
}

void frmMain::tmrPlaylist_Timer() { mirror.Tick(); }

void frmMain::tmrSneltoetsen_Timer() {
    // A hotkey does what a click on its transport button does.
    static constexpr void (frmMain::*kActies[])() = {
        &frmMain::btnPrev_Click, &frmMain::btnPlay_Click, &frmMain::btnPauze_Click,
        &frmMain::btnStop_Click, &frmMain::btnNext_Click};
    if (const auto slot = ScanSneltoetsen(desk(), app_.settings.Sneltoetsen))
        (this->*kActies[*slot])();
}

void frmMain::tmrSluitTunebalk_Timer() { coupling.Tick(); }
void frmMain::btnPrev_Click() { Winamp().Previous(); }
void frmMain::btnPlay_Click() { Winamp().Play(); }
void frmMain::btnPauze_Click() { Winamp().Pause(); }
void frmMain::btnStop_Click() { Winamp().Stop_(); }
void frmMain::btnNext_Click() { Winamp().Next_(); }

// Winamp's window by the handle of the last lookup: a handle that is 0 or gone does nothing.
void frmMain::btnHerstel_Click() { desk().showWindow(Winamp().hWnd(), sw::SwShow); }

void frmMain::btnVerberg_Click() {
    // Minimised first, so that hidden it leaves the taskbar too and comes back minimised.
    desk().showWindow(Winamp().hWnd(), sw::SwMinimize);
    desk().showWindow(Winamp().hWnd(), sw::SwHide);
}

// The switch is stored at once; the hint line keeps what it shows until the pointer crosses
// the background.
void frmMain::btnMSN_Click() {
    bool& aan = app_.settings.bMSNPlugin;
    aan = !aan;
    app_.registryAccess().WriteDWORD(instellingen::kSleutel, instellingen::kMSNPlugin, aan ? 1 : 0);
    if (aan)
        UpdatePSM();
    else
        HidePSM();
}

// One settings window at a time: an open one comes to the front.
void frmMain::btnInstellingen_Click() {
    if (!InstellingenVenster()) {
        // A closed window whose handler still waits on a message box must outlive it.
        if (instellingen_ && instellingen_->isBusy())
            retiredInstellingen_.push_back(std::move(instellingen_));
        instellingen_ = std::make_unique<frmInstellingen>(
            app_, frmInstellingen::Balk{[this] { InstellingenLaden(); },
                                        [this](std::int16_t trans) { SetTransparantie(trans); }});
    }
    instellingen_->Show();
}

void frmMain::btnAfsluiten_Click() {
    btnHerstel_Click();
    InstellingenVensterSluiten();
    Unload();
}

// Without saving, as its title bar's close does.
void frmMain::InstellingenVensterSluiten() {
    if (instellingen_) instellingen_->Unload();
}

void frmMain::sliderProgress_Click() { sync.ProgressClick(); }
void frmMain::sliderProgress_Change() { sync.ProgressChange(); }
void frmMain::sliderProgress_MouseDown(std::int16_t&) { sync.ProgressMouseDown(); }
void frmMain::sliderProgress_MouseUp(std::int16_t&) { sync.ProgressMouseUp(); }
void frmMain::sliderVolume_Change() { sync.VolumeChange(); }

// Winamp jumps to the entry and plays it; the highlight follows with the next synchronisation.
void frmMain::Playlist1_DblClickItem(std::int16_t& Index) { Winamp().SetPlaylistPos(Index, true); }
// Over the background the hint line tells the Messenger feature's state.
void frmMain::Form_MouseMove() { lblOptie.setCaption(MessengerState()); }

const char* frmMain::MessengerState() const {
    return app_.settings.bMSNPlugin ? "MSN plugin is ingeschakeld" : "MSN plugin is uitgeschakeld";
}
// Out of view the title stands still, and Winamp is watched only for the Messenger's sake.
void frmMain::Form_TaskBar1_EndCloseUp() {
    tmrSync.setEnabled(app_.settings.bMSNPlugin);
    coupling.BarHidden(tmrSync.Enabled());
    tmrTitel.setEnabled(false);
}

// Coming back, the bar catches up at once.
void frmMain::Form_TaskBar1_StartOpenUp() {
    // Inside its own boundary: the timers below come back even when it fails.
    RunHandler(app_, "tmrSync_Timer", [this] { tmrSync_Timer(); });
    coupling.BarShowing(tmrSync.Enabled());
    tmrSync.setEnabled(true);
    tmrTitel.setEnabled(true);
}

// The template fills in what the bar shows: the title, the time and the volume.
void frmMain::UpdatePSM() {
    PublishNowPlaying(Winamp(), app_.settings, lblTitel.Caption(), lblTijd.Caption(),
                      sliderVolume.Value(), app_.psm());
}

// Sends nothing unless this run has shown something.
void frmMain::HidePSM() { app_.psm().HidePSM(); }

void frmMain::WheelHook() { wheel.Hook(hWnd()); }
void frmMain::WheelUnhook() { wheel.Unhook(hWnd()); }

}  // namespace tb
