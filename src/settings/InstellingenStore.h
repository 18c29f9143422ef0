// The settings store: the one place that knows the program's registry layout, and the
// procedures that load the settings into the running bar and save the settings window.
#pragma once

#include <array>
#include <cstdint>
#include <string>

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
}  // namespace instellingen

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

// Writes the settings window's values to the registry, in the documented order. Never throws:
// a failure ends it with its log line.
void InstellingenOpslaan(AppContext& app, const VensterWaarden& venster);

}  // namespace tb
