// The settings store: the one place that knows the program's registry layout, and the
// procedures that load the settings into the running bar and save the settings window.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/Timer.h"

namespace tb {

class AppContext;

// Where the settings live and their value names. All values are REG_DWORD except the
// now-playing template, a REG_SZ.
namespace instellingen {
constexpr const char* kSleutel = "HKEY_CURRENT_USER\\Software\\Oxalmo\\Tunebalk";
// Winamp's install folder is this key's default value; the program never writes there.
constexpr const char* kWinampSleutel = "HKEY_CURRENT_USER\\Software\\Winamp";
constexpr const char* kWinampMapStandaard = "C:\\Program files\\Winamp";
constexpr const char* kMSNPlugin = "msnplugin";
constexpr const char* kMSNIndeling = "msnpluginformat";
constexpr const char* kMSNIndelingStandaard = "\\a - \\t";
// The longest template that reads back whole, in bytes of the ANSI code page (characters in the
// single-byte ones): the read takes at most 255 bytes with the terminating NUL, and a longer
// value falls back to the default. The template box accepts no more. (Leading spaces do not
// read back either.)
constexpr std::size_t kMSNIndelingMaxLengte = 254;
constexpr const char* kStartWinamp = "startwinamp";
constexpr const char* kSluitWinamp = "sluitwinamp";
constexpr const char* kAutoSluit = "AutoSluit";
constexpr const char* kTrans = "trans";
constexpr const char* kVerbergPlaylist = "verbergplaylist";
constexpr const char* kActief = "actief";
constexpr int kSlots = 5;
// "ctrl1" .. "ctrl5", "shift1" .. "shift5", "toets1" .. "toets5" for slot index 0 .. 4.
inline std::string ctrlNaam(int slot) { return "ctrl" + std::to_string(slot + 1); }
inline std::string shiftNaam(int slot) { return "shift" + std::to_string(slot + 1); }
inline std::string toetsNaam(int slot) { return "toets" + std::to_string(slot + 1); }
// The bar's width in twips without and with its playlist pane.
constexpr std::int16_t kBreedteZonderPlaylist = 4065;
constexpr std::int16_t kBreedteMetPlaylist = 8130;
}  // namespace instellingen

// The running bar as loading the settings reaches it. The bar implements it; the store knows
// nothing else of the bar.
class InstellingenBalk {
public:
    virtual ~InstellingenBalk() = default;
    virtual Timer& tmrSync() = 0;
    virtual Timer& tmrSneltoetsen() = 0;
    // Withdraws the Messenger personal message.
    virtual void HidePSM() = 0;
    virtual void SetTransparantie(std::int16_t trans) = 0;
    virtual std::int16_t BalkBreedte() = 0;
    virtual void setBalkBreedte(std::int16_t twips) = 0;
    // True when the window is not `twips` wide, as far as whole pixels tell.
    virtual bool breedteWijktAf(std::int32_t twips) = 0;
    // Sets the window's width; the bar's resize rule follows.
    virtual void setWidthTwips(std::int32_t twips) = 0;
    virtual void RefreshPlaylist() = 0;
};

// What the settings window's controls hold when "Opslaan" saves them: check box states (0, 1
// or 2, as stored), the template, the transparency slider and the key boxes' hidden codes.
struct VensterWaarden {
    std::int32_t chkMSNIngeschakeld = 0;
    std::string txtMSNIndeling;
    std::int32_t chkStartWinamp = 0;
    std::int32_t chkSluitWinamp = 0;
    std::int32_t chkSluitTunebalk = 0;
    std::int32_t chkHidePlaylist = 0;
    std::int32_t slTransparant = 0;
    struct Sneltoets {
        // The key box's hidden text `Tag`: the key code in decimal, empty when it holds none.
        std::string Tag;
        std::int32_t chkControl = 0;
        std::int32_t chkShift = 0;
    };
    std::array<Sneltoets, instellingen::kSlots> txtToets{};
    std::int32_t chkIngeschakeld = 0;
};

// Reads every setting into app.settings and applies it to the bar: Messenger state, opacity,
// width (with a playlist refresh when the pane comes back), then the hotkeys. A failure stops it
// with its log line and a message box, and the hotkeys are then left as they were.
void InstellingenLaden(AppContext& app, InstellingenBalk& balk);
// Reads the hotkey table and switches the hotkey timer; a failure stops it with its log line.
void SneltoetsenLaden(AppContext& app, InstellingenBalk& balk);
// Writes the settings window's values to the registry. Never throws: a failure ends it with its
// log line. A key box without a code writes nothing for its slot; an unchanged transparency
// is not written.
void InstellingenOpslaan(AppContext& app, const VensterWaarden& venster);

}  // namespace tb
