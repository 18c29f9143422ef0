#include "settings/InstellingenStore.h"

#include <charconv>

#include "app/AppContext.h"
#include "common/Numeric.h"
#include "common/ProgramError.h"

namespace tb {

using namespace instellingen;

namespace {

std::string foutRegel(const char* wat, const ProgramError& e) {
    return std::string("ERR: ") + wat + " mislukt, foutcode " + std::to_string(e.number());
}

// A key box's hidden code as a number. The window only ever writes decimal digits there;
// anything else is a type mismatch, a number past 32 bits an overflow.
std::int32_t codeUitTag(const std::string& tag) {
    std::int64_t value = 0;
    const char* end = tag.data() + tag.size();
    const auto [ptr, ec] = std::from_chars(tag.data(), end, value);
    if (ec == std::errc::result_out_of_range) throw ProgramError(errnum::Overflow);
    if (ec != std::errc() || ptr != end) throw ProgramError(errnum::TypeMismatch);
    if (value < INT32_MIN || value > INT32_MAX) throw ProgramError(errnum::Overflow);
    return static_cast<std::int32_t>(value);
}

}  // namespace

void InstellingenLaden(AppContext& app, InstellingenBalk& balk) {
    DebugWriter& log = app.debugWriter();
    clsRegistryAccess& reg = app.registryAccess();
    Instellingen& s = app.settings;
    log.writeLine("Instellingen laden");
    try {
        s.bMSNPlugin = reg.ReadDWORD(kSleutel, kMSNPlugin, 0) != 0;
        s.sMSNIndeling = reg.ReadString(kSleutel, kMSNIndeling, kMSNIndelingStandaard);
        if (s.bMSNPlugin) {
            balk.tmrSync().setEnabled(true);
        } else {
            balk.HidePSM();
        }
        s.sWinampPad = reg.ReadString(kWinampSleutel, "", kWinampMapStandaard) + "\\winamp.exe";
        s.bStartWinamp = reg.ReadDWORD(kSleutel, kStartWinamp, 0) != 0;
        s.bSluitWinamp = reg.ReadDWORD(kSleutel, kSluitWinamp, 0) != 0;
        s.bAutoSluit = reg.ReadDWORD(kSleutel, kAutoSluit, 0) != 0;
        s.iTransparantie = toInt16Checked(reg.ReadDWORD(kSleutel, kTrans, 0));
        if (s.iTransparantie > 70) s.iTransparantie = 70;
        balk.SetTransparantie(s.iTransparantie);
        s.bVerbergPlaylist = reg.ReadDWORD(kSleutel, kVerbergPlaylist, 0) != 0;
        balk.setBalkBreedte(s.bVerbergPlaylist ? kBreedteZonderPlaylist : kBreedteMetPlaylist);
        if (balk.breedteWijktAf(balk.BalkBreedte())) {
            balk.setWidthTwips(balk.BalkBreedte());
            if (!s.bVerbergPlaylist) balk.RefreshPlaylist();
        }
        log.writeLine("Instellingen laden OK");
    } catch (const ProgramError& e) {
        log.writeLine(foutRegel("Instellingen laden", e));
        app.desktop().messageBox(0,
                                 "Het laden van de instellingen is mislukt.\r\n"
                                 "Open het instellingen venster en druk op de knop opslaan om "
                                 "dit probleem te verhelpen.",
                                 kProgramTitle, mb::MbOk | mb::MbIconExclamation);
        return;
    }
    SneltoetsenLaden(app, balk);
}

void SneltoetsenLaden(AppContext& app, InstellingenBalk& balk) {
    DebugWriter& log = app.debugWriter();
    clsRegistryAccess& reg = app.registryAccess();
    log.writeLine("Sneltoetsen laden");
    try {
        for (int i = 0; i < kSlots; ++i) {
            Sneltoets& toets = app.settings.Sneltoetsen[static_cast<std::size_t>(i)];
            // Stored as "needs the key"; the record holds the opposite, as the scanner tests it.
            toets.CtrlOptional = reg.ReadDWORD(kSleutel, ctrlNaam(i), 0) == 0;
            toets.ShiftOptional = reg.ReadDWORD(kSleutel, shiftNaam(i), 0) == 0;
            toets.KeyCode = toInt16Checked(reg.ReadDWORD(kSleutel, toetsNaam(i), 0));
        }
        balk.tmrSneltoetsen().setEnabled(reg.ReadDWORD(kSleutel, kActief, 0) != 0);
        log.writeLine("Sneltoetsen laden OK");
    } catch (const ProgramError& e) {
        log.writeLine(foutRegel("Sneltoetsen laden", e));
    }
}

void InstellingenOpslaan(AppContext& app, const VensterWaarden& venster) {
    DebugWriter& log = app.debugWriter();
    clsRegistryAccess& reg = app.registryAccess();
    log.writeLine("Instellingen opslaan");
    try {
        reg.WriteDWORD(kSleutel, kMSNPlugin, venster.chkMSNIngeschakeld);
        reg.WriteString(kSleutel, kMSNIndeling, venster.txtMSNIndeling);
        reg.WriteDWORD(kSleutel, kStartWinamp, venster.chkStartWinamp);
        reg.WriteDWORD(kSleutel, kSluitWinamp, venster.chkSluitWinamp);
        reg.WriteDWORD(kSleutel, kAutoSluit, venster.chkSluitTunebalk);
        reg.WriteDWORD(kSleutel, kVerbergPlaylist, venster.chkHidePlaylist);
        // Only a moved slider is stored: a value that was never set stays unset.
        if (venster.slTransparant != app.settings.iTransparantie) {
            reg.WriteDWORD(kSleutel, kTrans, venster.slTransparant);
        }
        for (int i = 0; i < kSlots; ++i) {
            const auto& toets = venster.txtToets[static_cast<std::size_t>(i)];
            if (toets.Tag.empty()) continue;  // the window's loader stopped before this box
            reg.WriteDWORD(kSleutel, toetsNaam(i), codeUitTag(toets.Tag));
            reg.WriteDWORD(kSleutel, ctrlNaam(i), toets.chkControl);
            reg.WriteDWORD(kSleutel, shiftNaam(i), toets.chkShift);
        }
        reg.WriteDWORD(kSleutel, kActief, venster.chkIngeschakeld);
        log.writeLine("Instellingen opslaan OK");
    } catch (const ProgramError& e) {
        log.writeLine(foutRegel("Instellingen opslaan", e));
    }
}

}  // namespace tb
