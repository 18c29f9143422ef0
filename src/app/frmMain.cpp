#include "app/frmMain.h"

#include "art/Artwork.h"
#include "common/Numeric.h"
#include "diag/modTransparant.h"
#include "settings/InstellingenStore.h"
#include "winamp/WinampAPI.h"

namespace tb {

namespace {
// One named mutex per user session marks the running bar.
constexpr const char* kInstanceName = "Oxalmo.Tunebalk4.Instance";

FontSpec labelFont(bool bold) {
    FontSpec f;
    f.face = "Tahoma";
    f.heightPx = 11;  // 8 point at 96 dpi
    f.bold = bold;
    return f;
}

// The stored designs of the bar's two sliders: horizontal picture sliders.
PropertyBag sliderDesign(std::int32_t max, std::int32_t value, const Image& thumb,
                         const Image& rail) {
    PropertyBag bag;
    bag.WriteProperty("SliderImage", &thumb, Picture{});
    bag.WriteProperty("Orientation", 0, 1);
    bag.WriteProperty("RailImage", &rail, Picture{});
    bag.WriteProperty("RailStyle", ucSlider::kPictureMode, 0);
    bag.WriteProperty("Max", max, 10);
    bag.WriteProperty("Value", value, 0);
    return bag;
}

PropertyBag buttonDesign(std::int32_t style) {
    PropertyBag bag;
    bag.WriteProperty("ButtonStyle", style, 0);
    return bag;
}
}  // namespace

frmMain::frmMain(AppContext& app)
    : Form(app.desktop()),
      tmrSync(app.desktop(), 1000),
      tmrTitel(app.desktop(), 150),
      tmrPlaylist(app.desktop(), 60000),
      tmrSneltoetsen(app.desktop(), 250),
      tmrSluitTunebalk(app.desktop(), 30000),
      app_(app) {
    shellLibrary_ = desk().loadLibrary("shell32.dll");
    desk().initCommonControls();

    setBackColor(art::kBarBackColor);
    loadDesign();
    lblTitel.setFont(labelFont(true));
    lblTitel.setForeColor(kTextColor);
    lblTitel.setAutoSize(true);
    lblTitel.setCaption("Oxalmo Tunebalk 4");
    lblTijd.setFont(labelFont(false));
    lblTijd.setForeColor(kTextColor);
    lblTijd.setCaption("0:00 / 0:00");
    lblOptie.setFont(labelFont(false));
    lblOptie.setForeColor(kTextColor);
    lblOptie.setCaption("MSN plugin is uitgeschakeld");

    WindowSpec windowSpec;
    windowSpec.className = "TunebalkBar";
    windowSpec.caption = kCaption;
    windowSpec.exStyle = wsex::WS_EX_TOPMOST | wsex::WS_EX_TOOLWINDOW;
    windowSpec.bounds =
        Rect::fromXYWH(0, 0, twipsToPixelsX(balkBreedte_), twipsToPixelsY(kHeightTwips));
    windowSpec.visible = false;
    createWindow(windowSpec);

    // Painted in this order; the pointer finds the last one added first.
    Control* controls[] = {
        &imgTopLeft, &imgTopRight,     &lblTitel,     &lblTijd,        &lblOptie,     &btnPrev,
        &btnPlay,    &btnPauze,        &btnStop,      &btnNext,        &btnVerberg,   &btnHerstel,
        &btnMSN,     &btnInstellingen, &btnAfsluiten, &sliderProgress, &sliderVolume, &Playlist1};
    for (Control* c : controls) addControl(*c);
    // The wheel's key codes arrive at the bar's window and belong to the playlist view.
    setKeyTarget(&Playlist1);
    btnAfsluiten.onClick = [this] { btnAfsluiten_Click(); };
    layoutControls();
    Center();
    app_.mainForm = this;
}

frmMain::~frmMain() {
    if (app_.mainForm == this) app_.mainForm = nullptr;
    // The form's window goes before its controls and timers do.
    destroyWindow();
    if (shellLibrary_) desk().freeLibrary(shellLibrary_);
}

void frmMain::loadDesign() {
    imgTopLeft.setPicture(&art::topLeft());
    imgTopRight.setPicture(&art::topRight());
    Click* buttons[] = {&btnPrev,    &btnPlay,    &btnPauze, &btnStop,         &btnNext,
                        &btnHerstel, &btnVerberg, &btnMSN,   &btnInstellingen, &btnAfsluiten};
    for (std::int32_t style = 0; style < 10; ++style)
        buttons[style]->ReadProperties(buttonDesign(style));
    sliderProgress.ReadProperties(sliderDesign(100, 0, art::progressThumb(), art::progressRail()));
    sliderVolume.ReadProperties(sliderDesign(255, 255, art::volumeThumb(), art::volumeRail()));
}

void frmMain::layoutControls() {
    placeTwips(lblTitel, 1080, 120, 0, 240);
    placeTwips(lblTijd, 1440, 360, 1335, 255);
    placeTwips(lblOptie, 120, 800, 3855, 240);
    struct Place {
        Control* control;
        std::int32_t left, top, width, height;
    } design[] = {
        {&btnPrev, 120, 1080, 315, 330},
        {&btnPlay, 435, 1080, 315, 330},
        {&btnPauze, 750, 1080, 315, 330},
        {&btnStop, 1065, 1080, 315, 330},
        {&btnNext, 1380, 1080, 315, 330},
        {&btnVerberg, 1920, 1080, 315, 330},
        {&btnHerstel, 2235, 1080, 315, 330},
        {&btnMSN, 2760, 1080, 315, 330},
        {&btnInstellingen, 3280, 1080, 315, 330},
        {&btnAfsluiten, 3600, 1080, 315, 330},
        {&sliderProgress, 90, 650, 2760, 165},
        {&sliderVolume, 2985, 650, 930, 150},
        {&Playlist1, 4060, 0, 4095, Playlist::kHeightTwips},
    };
    for (const Place& p : design) placeTwips(*p.control, p.left, p.top, p.width, p.height);
    imgTopLeft.setBounds(Rect::fromXYWH(0, 0, 0, 0));
    fitBackground();
}

void frmMain::fitBackground() {
    auto r = hWnd() ? desk().windowRect(hWnd()) : std::nullopt;
    const Size client = r ? Size{r->width(), r->height()}
                          : Size{twipsToPixelsX(balkBreedte_), twipsToPixelsY(kHeightTwips)};
    const std::int32_t paneLeft = Playlist1.bounds().left;
    background_ = art::barBackground(client, paneLeft < client.cx ? paneLeft : 0);
    setPicture(&background_);
    imgTopRight.setBounds(Rect::fromXYWH(client.cx - imgTopRight.bounds().width(), 0, 0, 0));
}

WinampAPI& frmMain::Winamp() {
    if (!winamp_) winamp_ = std::make_unique<WinampAPI>(desk());
    return *winamp_;
}

bool frmMain::Load() {
    state_ = State::Loading;
    // A second bar must not touch the log, the settings or Winamp before it goes.
    if (!desk().claimSingleInstance(kInstanceName)) {
        desk().messageBox(0, "Er is al een Tunebalk sessie actief!", kProgramTitle,
                          mb::MB_OK | mb::MB_ICONEXCLAMATION);
        Unload();
        return false;
    }
    if (desk().commandArguments() == "/debug") log().enableWriter();
    log().writeLine("Tunebalk load");
    WheelHook();
    InstellingenLaden();
    desk().doEvents();
    if (!app_.settings.bVerbergPlaylist) tmrPlaylist_Timer();
    AutostartWinamp();
    if (app_.settings.bMSNPlugin) lblOptie.setCaption("MSN plugin is ingeschakeld");
    log().writeLine("Tunebalk load OK");
    if (state_ == State::Loading) state_ = State::Loaded;
    tmrSync.setEnabled(true);
    tmrTitel.setEnabled(true);
    tmrPlaylist.setEnabled(true);
    return state_ == State::Loaded;
}

void frmMain::Show() {
    if (state_ != State::Loaded || hWnd() == 0) return;
    desk().showWindow(hWnd(), sw::SW_SHOWNOACTIVATE);
    desk().setTopmost(hWnd(), true);
}

void frmMain::setBalkBreedte(std::int16_t twips) { balkBreedte_ = twips; }

void frmMain::setWidthTwips(std::int32_t twips) {
    auto r = desk().windowRect(hWnd());
    if (!r) return;
    desk().moveWindow(hWnd(), Rect::fromXYWH(r->left, r->top, twipsToPixelsX(twips), r->height()));
}

void frmMain::onSize(Size outer) {
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

void frmMain::Center() {
    auto r = desk().windowRect(hWnd());
    if (!r) return;
    Size screen = desk().screenSize();
    std::int32_t left = (screen.cx - r->width()) / 2;
    if (r->left != left || r->top != 0)
        desk().moveWindow(hWnd(), Rect::fromXYWH(left, 0, r->width(), r->height()));
}

void frmMain::SetTransparantie(std::int16_t trans) {
    SetWindowAlpha(desk(), hWnd(), roundHalfEven16(255.0 - trans * 2.55));
}

void frmMain::btnAfsluiten_Click() {
    btnHerstel_Click();
    Unload();
}

void frmMain::Unload() {
    if (state_ == State::Unloaded) return;
    QueryUnload();
    destroyWindow();  // onDestroy runs the unload steps
    FormUnload();
}

bool frmMain::onCloseRequest() {
    QueryUnload();
    return true;
}

void frmMain::onDestroy() {
    Form::onDestroy();
    FormUnload();
}

void frmMain::QueryUnload() {
    if (queryUnloadDone_) return;
    queryUnloadDone_ = true;
    if (Winamp().IsRunning() && app_.settings.bSluitWinamp) Winamp().EndWinamp();
    HidePSM();
    WheelUnhook();
}

void frmMain::FormUnload() {
    if (state_ == State::Unloaded) return;
    state_ = State::Unloaded;
    tmrSync.setEnabled(false);
    tmrTitel.setEnabled(false);
    tmrPlaylist.setEnabled(false);
    tmrSneltoetsen.setEnabled(false);
    tmrSluitTunebalk.setEnabled(false);
    if (shellLibrary_) desk().freeLibrary(shellLibrary_);
    shellLibrary_ = 0;
    desk().quit(0);
}

void frmMain::AutostartWinamp() {
    if (Winamp().IsRunning() || !app_.settings.bStartWinamp) return;
    log().writeLine("Autostart Winamp");
    const std::string& path = app_.settings.sWinampPad;
    if (desk().fileExists(path)) desk().startProgramMinimized(path);
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

void frmMain::WheelHook() {}
void frmMain::WheelUnhook() {}
void frmMain::tmrPlaylist_Timer() {}
void frmMain::HidePSM() {}
void frmMain::btnHerstel_Click() {}

}  // namespace tb
