#include "settings/frmInstellingen.h"

#include <utility>

#include "app/EventBoundary.h"
#include "app/Versie.h"
#include "art/Artwork.h"
#include "common/Numeric.h"
#include "common/ProgramError.h"
#include "hotkeys/modKeyCode.h"

namespace tb {

using namespace instellingen;

namespace {

// Control arrays: every element built on the same desktop.
template <class C, std::size_t... I>
std::array<C, sizeof...(I)> controls(Desktop& desktop, std::index_sequence<I...>) {
    return {[&desktop](std::size_t) { return C(desktop); }(I)...};
}
template <class C, std::size_t N>
std::array<C, N> controls(Desktop& desktop) {
    return controls<C>(desktop, std::make_index_sequence<N>{});
}

enum Tab { Algemeen, Sneltoetsen, MSNPlugin, Info };

// The design, in twips: the client area, and the tab control whose origin the pages' controls
// are placed from.
constexpr std::int32_t kClientWidth = 5085, kClientHeight = 4080;
constexpr std::int32_t kTabLeft = 120, kTabTop = 120, kTabWidth = 4845, kTabHeight = 3375;
// Inside a page: the margin, the content's width and the top line.
constexpr std::int32_t kMargin = 240, kContentWidth = kTabWidth - 2 * kMargin, kTopLine = 480;
constexpr std::int32_t kHelpSize = 345, kHelpLeft = kTabWidth - kMargin - kHelpSize;
// Heights of one line of each kind of control.
constexpr std::int32_t kLabelHeight = 225, kCheckHeight = 255, kEditHeight = 315;
// The hotkey rows and their columns.
constexpr std::int32_t kHeaderTop = 900, kFirstRowTop = 1260, kRowPitch = 360;
constexpr std::int32_t kNameLeft = 600, kCtrlLeft = 1680, kShiftLeft = 2520, kKeyLeft = 3420;

constexpr const char* kSnel[kSlots] = {"Vorige", "Start", "Pauze", "Stop", "Volgende"};
constexpr const char* kLegenda[6] = {"Legenda",
                                     "\\a - Artiest",
                                     "\\t - Titel",
                                     "\\l - Lengte van nummer",
                                     "\\v - Volume niveau",
                                     "\\p - Playlist positie (bijvoorbeeld: 12/52)"};

bool isShift(int code) { return code == vkey::VkShift || code == 160 || code == 161; }

}  // namespace

frmInstellingen::frmInstellingen(AppContext& app, Balk balk)
    : Form(app.desktop()),
      tabInstellingen(app.desktop()),
      lblTransparant(app.desktop()),
      slTransparant(app.desktop()),
      lblTransparantie(app.desktop()),
      chkStartWinamp(app.desktop()),
      chkSluitWinamp(app.desktop()),
      chkSluitTunebalk(app.desktop()),
      chkHidePlaylist(app.desktop()),
      chkIngeschakeld(app.desktop()),
      cmdWatisdit(app.desktop()),
      lblOptie(app.desktop()),
      lblToets(app.desktop()),
      imgSnel(controls<PictureBox, kSlots>(app.desktop())),
      lblSnel(controls<StaticText, kSlots>(app.desktop())),
      chkControl(controls<CheckBox, kSlots>(app.desktop())),
      chkShift(controls<CheckBox, kSlots>(app.desktop())),
      txtToets(controls<TextBox, kSlots>(app.desktop())),
      chkMSNIngeschakeld(app.desktop()),
      cmdMSNHelp(app.desktop()),
      lblMSNIndeling(app.desktop()),
      txtMSNIndeling(app.desktop()),
      lblLegenda(controls<StaticText, 6>(app.desktop())),
      Image1(app.desktop()),
      lblTitel(app.desktop()),
      lblVersie(app.desktop()),
      lblOmschrijving(app.desktop()),
      cmdOpslaan(app.desktop()),
      cmdAnnuleren(app.desktop()),
      app_(app),
      balk_(std::move(balk)) {
    Desktop& desk = desktop();
    setBackColor(desk.sysColor(syscolor::ColorBtnFace));
    WindowSpec windowSpec;
    windowSpec.className = "TunebalkInstellingen";
    windowSpec.caption = kCaption;
    windowSpec.dialog = true;
    windowSpec.boundsAreClient = true;
    const Size client{twipsToPixelsX(kClientWidth), twipsToPixelsY(kClientHeight)};
    const Size screen = desk.screenSize();
    windowSpec.bounds = Rect::fromXYWH((screen.cx - client.cx) / 2, (screen.cy - client.cy) / 2,
                                       client.cx, client.cy);
    createWindow(windowSpec);
    if (hWnd() == 0) return;
    createControls();
    applyLayout();
    bindEvents();
    showTab(Algemeen);
    lblVersie.setCaption(VersieTekst());
    RunHandler(app_, "Form_Load", [this] { InstellingenLadenVenster(); });
}

frmInstellingen::~frmInstellingen() {
    // The window and its controls go while every member their last events reach still lives.
    destroyWindow();
}

Rect frmInstellingen::twips(std::int32_t left, std::int32_t top, std::int32_t width,
                            std::int32_t height) {
    return Rect::fromXYWH(twipsToPixelsX(left), twipsToPixelsY(top), twipsToPixelsX(width),
                          twipsToPixelsY(height));
}

void frmInstellingen::createControls() {
    int id = 100;
    // Created in the order Tab walks them (on no page: -1); a page's controls are placed from
    // the tab's origin.
    auto place = [&](int page, NativeControl& c, std::int32_t left, std::int32_t top,
                     std::int32_t width, std::int32_t height, const std::string& text = {}) {
        c.create(hWnd(), twips(left, top, width, height), id++, text);
        layout_.push_back({&c, left, top, width, height});
        if (page >= 0) pages_[static_cast<std::size_t>(page)].push_back(&c);
    };
    auto add = [&](int page, NativeControl& c, std::int32_t left, std::int32_t top,
                   std::int32_t width, std::int32_t height, const std::string& text = {}) {
        place(page, c, kTabLeft + left, kTabTop + top, width, height, text);
    };
    auto bold = [&] { layout_.back().bold = true; };

    place(-1, tabInstellingen, kTabLeft, kTabTop, kTabWidth, kTabHeight);
    for (const char* tab : {"Algemeen", "Sneltoetsen", "MSN Plugin", "Info"})
        tabInstellingen.addTab(tab);

    add(Algemeen, lblTransparant, kMargin, kTopLine, kContentWidth, kLabelHeight,
        "Tunebalk transparantie");
    add(Algemeen, slTransparant, kMargin - 75, 720, 3720, 450);
    slTransparant.setRange(0, 70);
    add(Algemeen, lblTransparantie, 3960, 810, 645, kLabelHeight, "0%");
    const std::pair<CheckBox*, const char*> algemeen[] = {
        {&chkStartWinamp, "Start Winamp wanneer Tunebalk gestart wordt"},
        {&chkSluitWinamp, "Sluit Winamp wanneer Tunebalk gesloten wordt"},
        {&chkSluitTunebalk, "Sluit Tunebalk 30 seconden nadat Winamp afgesloten is"},
        {&chkHidePlaylist, "Playlist verbergen"},
    };
    std::int32_t top = 1440;
    for (const auto& [check, caption] : algemeen) {
        add(Algemeen, *check, kMargin, top, kContentWidth, kCheckHeight, caption);
        top += 360;
    }

    add(Sneltoetsen, chkIngeschakeld, kMargin, kTopLine, 2400, kCheckHeight, "Ingeschakeld");
    add(Sneltoetsen, cmdWatisdit, kHelpLeft, kTopLine - 45, kHelpSize, kHelpSize, "?");
    add(Sneltoetsen, lblOptie, kMargin, kHeaderTop, kCtrlLeft - kMargin, kLabelHeight, "Optie");
    bold();
    add(Sneltoetsen, lblToets, kCtrlLeft, kHeaderTop, kTabWidth - kMargin - kCtrlLeft, kLabelHeight,
        "Sneltoets");
    bold();
    for (std::size_t i = 0; i < kSlots; ++i) {
        const std::int32_t row = kFirstRowTop + kRowPitch * static_cast<std::int32_t>(i);
        add(Sneltoetsen, imgSnel[i], kMargin, row + 15, 240, 240);
        add(Sneltoetsen, lblSnel[i], kNameLeft, row + 30, kCtrlLeft - kNameLeft, kLabelHeight,
            kSnel[i]);
        add(Sneltoetsen, chkControl[i], kCtrlLeft, row + 15, kShiftLeft - kCtrlLeft, kCheckHeight,
            "Ctrl +");
        add(Sneltoetsen, chkShift[i], kShiftLeft, row + 15, kKeyLeft - kShiftLeft, kCheckHeight,
            "Shift +");
        // A key box shows the key's name and keeps its code; the user sets it by pressing it.
        txtToets[i].Locked = true;
        txtToets[i].WantAllKeys = true;
        add(Sneltoetsen, txtToets[i], kKeyLeft, row - 15, kTabWidth - kMargin - kKeyLeft,
            kEditHeight);
    }

    add(MSNPlugin, chkMSNIngeschakeld, kMargin, kTopLine, 2400, kCheckHeight, "Ingeschakeld");
    add(MSNPlugin, cmdMSNHelp, kHelpLeft, kTopLine - 45, kHelpSize, kHelpSize, "?");
    add(MSNPlugin, lblMSNIndeling, kMargin, 960, kContentWidth, kLabelHeight,
        "Indeling van je persoonlijk bericht");
    // No longer than what reads back whole: a longer template would come back as the default.
    txtMSNIndeling.setMaxLength(static_cast<int>(kMSNIndelingMaxLengte));
    add(MSNPlugin, txtMSNIndeling, kMargin, 1200, kContentWidth, kEditHeight,
        kMSNIndelingStandaard);
    for (std::size_t i = 0; i < lblLegenda.size(); ++i) {
        const std::int32_t line = i == 0 ? 1680 : 1680 + 240 * static_cast<std::int32_t>(i) + 60;
        add(MSNPlugin, lblLegenda[i], kMargin, line, kContentWidth, kLabelHeight, kLegenda[i]);
        if (i == 0) bold();
    }

    add(Info, Image1, kMargin, kTopLine, 720, 720);
    add(Info, lblTitel, 1200, 540, kTabWidth - kMargin - 1200, 255, "Oxalmo Tunebalk 4");
    bold();
    add(Info, lblVersie, 1200, 840, kTabWidth - kMargin - 1200, kLabelHeight);
    add(Info, lblOmschrijving, kMargin, 1500, kContentWidth, 900,
        "Tunebalk is de applicatie om Winamp sneller en makkelijker te bedienen. Zo wordt het "
        "luisteren van muziek achter de pc nog leuker.");

    cmdOpslaan.Default = true;
    place(-1, cmdOpslaan, 2640, 3600, 1095, 375, "Opslaan");
    cmdAnnuleren.Cancel = true;
    place(-1, cmdAnnuleren, 3840, 3600, 1095, 375, "Annuleren");
}

FontSpec frmInstellingen::font(bool bold) {
    FontSpec f = desktop().dialogFont(dpi());
    f.bold = bold;
    return f;
}

void frmInstellingen::applyLayout() {
    Desktop& desk = desktop();
    desk.setWindowIcon(hWnd(), art::settingsIcon(dpi()));
    const FontSpec normal = font(false), bold = font(true);
    for (const Placed& p : layout_) {
        p.control->setBounds(twips(p.left, p.top, p.width, p.height));
        p.control->setFont(p.bold ? bold : normal);
    }
    for (std::size_t i = 0; i < kSlots; ++i)
        imgSnel[i].setPicture(art::actionIcon(static_cast<int>(i), dpi()));
    Image1.setPicture(art::logo(dpi()));
}

void frmInstellingen::layoutForDpi() {
    RunHandler(app_, "Form_DpiChanged", [this] { applyLayout(); });
}

std::function<void()> frmInstellingen::Handler(const char* name,
                                               void (frmInstellingen::*handler)()) {
    return [this, name, handler] {
        ++running_;
        RunHandler(app_, name, [&] { (this->*handler)(); });
        --running_;
    };
}

void frmInstellingen::bindEvents() {
    cmdOpslaan.onClick = Handler("cmdOpslaan_Click", &frmInstellingen::cmdOpslaan_Click);
    cmdAnnuleren.onClick = Handler("cmdAnnuleren_Click", &frmInstellingen::cmdAnnuleren_Click);
    cmdWatisdit.onClick = Handler("cmdWatisdit_Click", &frmInstellingen::cmdWatisdit_Click);
    cmdMSNHelp.onClick = Handler("cmdMSNHelp_Click", &frmInstellingen::cmdMSNHelp_Click);
    slTransparant.onChange =
        Handler("slTransparant_Change", &frmInstellingen::slTransparant_Change);
    tabInstellingen.onClick =
        Handler("tabInstellingen_Click", &frmInstellingen::tabInstellingen_Click);
    for (int i = 0; i < kSlots; ++i) {
        TextBox& box = txtToets[static_cast<std::size_t>(i)];
        box.onGotFocus = [this, i] {
            RunHandler(app_, "txtToets_GotFocus", [&] { txtToets_GotFocus(i); });
        };
        box.onLostFocus = [this, i] {
            RunHandler(app_, "txtToets_LostFocus", [&] { txtToets_LostFocus(i); });
        };
    }
}

void frmInstellingen::Show() {
    if (!isOpen()) return;
    desktop().showWindow(hWnd(), sw::SwShowNormal);
    desktop().setForegroundWindow(hWnd());
}

void frmInstellingen::Unload() { destroyWindow(); }

void frmInstellingen::showTab(int index) {
    for (std::size_t page = 0; page < pages_.size(); ++page)
        for (NativeControl* c : pages_[page]) c->setVisible(static_cast<int>(page) == index);
}

// ---- Loading and saving ----------------------------------------------------------------------

void frmInstellingen::InstellingenLadenVenster() {
    DebugWriter& log = app_.debugWriter();
    clsRegistryAccess& reg = app_.registryAccess();
    log.writeLine("Instellingen laden (instellingen venster)");
    try {
        chkMSNIngeschakeld.setValue(reg.ReadDWORD(kSleutel, kMSNPlugin, 0));
        txtMSNIndeling.setText(reg.ReadString(kSleutel, kMSNIndeling, kMSNIndelingStandaard));
        chkStartWinamp.setValue(reg.ReadDWORD(kSleutel, kStartWinamp, 0));
        chkSluitWinamp.setValue(reg.ReadDWORD(kSleutel, kSluitWinamp, 0));
        chkSluitTunebalk.setValue(reg.ReadDWORD(kSleutel, kAutoSluit, 0));
        chkHidePlaylist.setValue(reg.ReadDWORD(kSleutel, kVerbergPlaylist, 0));
        // The trackbar keeps a stored value beyond 0..70 at its end; the label tells what it shows.
        slTransparant.setValue(reg.ReadDWORD(kSleutel, kTrans, 0));
        lblTransparantie.setCaption(std::to_string(slTransparant.Value()) + "%");
        for (int i = 0; i < kSlots; ++i) {
            const auto slot = static_cast<std::size_t>(i);
            chkControl[slot].setValue(reg.ReadDWORD(kSleutel, ctrlNaam(i), 0));
            chkShift[slot].setValue(reg.ReadDWORD(kSleutel, shiftNaam(i), 0));
            const std::int32_t code = reg.ReadDWORD(kSleutel, toetsNaam(i), 0);
            txtToets[slot].Tag = std::to_string(code);
            txtToets[slot].setText(KeyCodeToName(toInt16Checked(code)));
        }
        chkIngeschakeld.setValue(reg.ReadDWORD(kSleutel, kActief, 0));
        log.writeLine("Instellingen laden (instellingen venster) OK");
    } catch (const std::exception& e) {
        log.writeLine("ERR: Instellingen laden (instellingen venster) mislukt, foutcode " +
                      std::to_string(ErrorNumber(e)));
        desktop().messageBox(hWnd(),
                             "Het laden van de instellingen is mislukt.\r\n"
                             "Druk op de knop opslaan om dit probleem te verhelpen.",
                             kProgramTitle, mb::MbOk | mb::MbIconExclamation);
    }
}

VensterWaarden frmInstellingen::Waarden() const {
    VensterWaarden w;
    w.chkMSNIngeschakeld = chkMSNIngeschakeld.Value();
    w.txtMSNIndeling = txtMSNIndeling.Text();
    w.chkStartWinamp = chkStartWinamp.Value();
    w.chkSluitWinamp = chkSluitWinamp.Value();
    w.chkSluitTunebalk = chkSluitTunebalk.Value();
    w.chkHidePlaylist = chkHidePlaylist.Value();
    w.slTransparant = slTransparant.Value();
    for (std::size_t i = 0; i < w.txtToets.size(); ++i)
        w.txtToets[i] = {txtToets[i].Tag, chkControl[i].Value(), chkShift[i].Value()};
    w.chkIngeschakeld = chkIngeschakeld.Value();
    return w;
}

// ---- Handlers --------------------------------------------------------------------------------

void frmInstellingen::cmdOpslaan_Click() {
    InstellingenOpslaan(app_, Waarden());
    if (balk_.InstellingenLaden) balk_.InstellingenLaden();
    Unload();
}

// The reload takes back the preview.
void frmInstellingen::cmdAnnuleren_Click() {
    if (balk_.InstellingenLaden) balk_.InstellingenLaden();
    Unload();
}

void frmInstellingen::cmdWatisdit_Click() {
    desktop().messageBox(hWnd(),
                         "Doormiddel van sneltoetsen kan je Winamp bedienen door de ingestelde "
                         "toetsen combinatie in te drukken.\r\n"
                         "Bijvoorbeeld als je een computer spelletje aan het spelen bent en "
                         "Winamp nog op de achtergrond speelt.",
                         "Wat zijn sneltoetsen", mb::MbOk | mb::MbIconInformation);
}

void frmInstellingen::cmdMSNHelp_Click() {
    desktop().messageBox(hWnd(),
                         "Door de MSN plugin in te schakelen wordt de muziek die je in Winamp "
                         "speelt in persoonlijk bericht weergegeven.\r\n"
                         "Hiervoor moet de optie \"Laat zien naar welke nummers ik luister\" in "
                         "MSN ingeschakeld zijn!",
                         "Wat is de MSN plugin?", mb::MbOk | mb::MbIconInformation);
}

void frmInstellingen::slTransparant_Change() {
    const int value = slTransparant.Value();
    lblTransparantie.setCaption(std::to_string(value) + "%");
    if (balk_.SetTransparantie) balk_.SetTransparantie(static_cast<std::int16_t>(value));
}

void frmInstellingen::tabInstellingen_Click() { showTab(tabInstellingen.SelectedIndex()); }

// ---- Key capture -----------------------------------------------------------------------------

void frmInstellingen::txtToets_GotFocus(int index) {
    Desktop& desk = desktop();
    iToetsIndex = static_cast<std::int16_t>(index);
    for (int code = 0; code < 256; ++code)
        heldAtFocus_[static_cast<std::size_t>(code)] = desk.asyncKeyState(code) < 0;
    shiftCapture_.reset();
    desk.setWindowTimer(hWnd(), kKeyCaptureTimer, 1,
                        Handler("KeyCaptureTimerProc", &frmInstellingen::KeyCaptureTimerProc));
    chkIngeschakeld.setValue(bst::BstChecked);
}

void frmInstellingen::txtToets_LostFocus(int) {
    Desktop& desk = desktop();
    desk.killWindowTimer(hWnd(), kKeyCaptureTimer);
    // Shift+Tab leaves the box: the Shift it caught on the way out was no key the user chose.
    if (shiftCapture_ && desk.asyncKeyState(vkey::VkTab) < 0) {
        TextBox& box = txtToets[static_cast<std::size_t>(shiftCapture_->index)];
        box.setText(shiftCapture_->text);
        box.Tag = shiftCapture_->tag;
        app_.iLaatsteToets = shiftCapture_->laatsteToets;
    }
    shiftCapture_.reset();
}

int frmInstellingen::GetPressedKey() {
    for (int code = 0; code <= 255; ++code)
        if (desktop().asyncKeyState(code) != 0) return code;
    return 0;
}

void frmInstellingen::KeyCaptureTimerProc() {
    Desktop& desk = desktop();
    // A key that was down when the focus came (the Tab that brought it) counts once let go.
    for (int code = 0; code < 256; ++code) {
        const auto bit = static_cast<std::size_t>(code);
        if (heldAtFocus_[bit] && desk.asyncKeyState(code) >= 0) heldAtFocus_[bit] = false;
    }
    // A Shift let go on its own was meant.
    if (shiftCapture_ && desk.asyncKeyState(vkey::VkShift) >= 0) shiftCapture_.reset();
    const int code = GetPressedKey();
    if (code == app_.iLaatsteToets || code <= 7 || heldAtFocus_[static_cast<std::size_t>(code)])
        return;
    TextBox& box = txtToets[static_cast<std::size_t>(iToetsIndex)];
    if (!isShift(code)) {
        shiftCapture_.reset();
    } else if (!shiftCapture_) {
        shiftCapture_ = Capture{iToetsIndex, box.Text(), box.Tag, app_.iLaatsteToets};
    }
    const auto key = static_cast<std::int16_t>(code);
    box.setText(KeyCodeToName(key));
    box.Tag = std::to_string(code);
    app_.iLaatsteToets = key;
}

}  // namespace tb
