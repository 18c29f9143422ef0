// The settings store against the real registry: what it saves, it loads back.
#include <gtest/gtest.h>

#include "app/AppContext.h"
#include "platform/sim/SimDesktop.h"
#include "platform/win32/Win32Registry.h"
#include "settings/InstellingenStore.h"

namespace tb::test {
namespace {

using namespace instellingen;

struct StilleBalk : InstellingenBalk {
    explicit StilleBalk(Desktop& desk) : sync(desk, 1000), sneltoetsen(desk, 250) {}
    Timer& tmrSync() override { return sync; }
    Timer& tmrSneltoetsen() override { return sneltoetsen; }
    void HidePSM() override {}
    void SetTransparantie(std::int16_t) override {}
    std::int16_t BalkBreedte() override { return breedte; }
    void setBalkBreedte(std::int16_t twips) override { breedte = twips; }
    bool breedteWijktAf(std::int32_t) override { return false; }
    void setWidthTwips(std::int32_t) override {}
    void RefreshPlaylist() override {}
    Timer sync;
    Timer sneltoetsen;
    std::int16_t breedte = 0;
};

// The program's own key is used: the values it held before the test are put back afterwards.
class InstellingenRegistryTest : public ::testing::Test {
protected:
    struct Value {
        std::string name;
        std::uint32_t type;
        std::vector<std::uint8_t> data;
    };
    static constexpr const char* kSubKey = "Software\\Oxalmo\\Tunebalk";

    void SetUp() override {
        HKey key = 0;
        if (registry.openKeyEx(reg::HkeyCurrentUser, kSubKey, reg::KeyRead, key) == 0) {
            std::vector<char> name(16384);
            std::vector<std::uint8_t> data(1 << 16);
            for (std::uint32_t i = 0;; ++i) {
                std::uint32_t nameSize = static_cast<std::uint32_t>(name.size());
                std::uint32_t size = static_cast<std::uint32_t>(data.size()), type = 0;
                if (registry.enumValue(key, i, name, nameSize, &type, data, &size) != 0) break;
                saved_.push_back({std::string(name.data(), nameSize), type,
                                  std::vector<std::uint8_t>(data.begin(), data.begin() + size)});
            }
            registry.closeKey(key);
        }
        reg().KillKey(kSleutel);
    }
    void TearDown() override {
        reg().KillKey(kSleutel);
        HKey key = 0;
        if (saved_.empty() || registry.createKey(reg::HkeyCurrentUser, kSubKey, key) != 0) return;
        for (const Value& v : saved_) registry.setValueEx(key, v.name, v.type, v.data);
        registry.closeKey(key);
    }
    clsRegistryAccess& reg() { return app.registryAccess(); }
    sim::SimDesktop desk;  // the store's log and message boxes only
    win32::Win32Registry registry;
    AppContext app{desk, registry};
    StilleBalk balk{desk};
    std::vector<Value> saved_;
};

TEST_F(InstellingenRegistryTest, WhatIsSavedLoadsBack) {
    VensterWaarden w;
    w.chkMSNIngeschakeld = 1;
    w.txtMSNIndeling = std::string(kMSNIndelingMaxLengte - 2, 'x') + "\\t";
    w.chkSluitWinamp = 1;
    w.chkHidePlaylist = 1;
    w.slTransparant = 35;
    w.txtToets[2] = {"116", 1, 0};
    w.chkIngeschakeld = 1;
    InstellingenOpslaan(app, w);

    InstellingenLaden(app, balk);
    const Instellingen& s = app.settings;
    EXPECT_TRUE(s.bMSNPlugin && s.bSluitWinamp && s.bVerbergPlaylist);
    EXPECT_FALSE(s.bStartWinamp || s.bAutoSluit);
    EXPECT_EQ(s.sMSNIndeling, w.txtMSNIndeling);
    EXPECT_EQ(s.iTransparantie, 35);
    EXPECT_EQ(balk.breedte, kBreedteZonderPlaylist);
    EXPECT_EQ(s.Sneltoetsen[2].KeyCode, 116);
    EXPECT_FALSE(s.Sneltoetsen[2].CtrlOptional);
    EXPECT_TRUE(s.Sneltoetsen[2].ShiftOptional);
    EXPECT_TRUE(balk.sync.Enabled() && balk.sneltoetsen.Enabled());

    // One byte more than the read takes whole: the default comes back.
    w.txtMSNIndeling += "!";
    InstellingenOpslaan(app, w);
    InstellingenLaden(app, balk);
    EXPECT_EQ(s.sMSNIndeling, kMSNIndelingStandaard);
}

}  // namespace
}  // namespace tb::test
