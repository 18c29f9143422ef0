#include <gtest/gtest.h>

#include "app/AppContext.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimRegistry.h"
#include "settings/InstellingenStore.h"

namespace tb {
namespace {

using namespace instellingen;

// A bar that writes what is done to it into the log, so that the log shows the steps and the
// store's own lines in one order.
struct LogBalk : InstellingenBalk {
    explicit LogBalk(AppContext& context)
        : app(context), sync(app.desktop(), 1000), sneltoetsen(app.desktop(), 250) {}
    Timer& tmrSync() override { return sync; }
    Timer& tmrSneltoetsen() override { return sneltoetsen; }
    void HidePSM() override { say("HidePSM"); }
    void SetTransparantie(std::int16_t trans) override {
        say("SetTransparantie " + std::to_string(trans));
    }
    std::int16_t BalkBreedte() override { return breedte; }
    void setBalkBreedte(std::int16_t twips) override {
        breedte = twips;
        say("BalkBreedte " + std::to_string(twips));
    }
    bool breedteWijktAf(std::int32_t twips) override { return twips != venster; }
    void setWidthTwips(std::int32_t twips) override {
        venster = twips;
        say("Width " + std::to_string(twips));
    }
    void RefreshPlaylist() override { say("RefreshPlaylist"); }
    void say(const std::string& what) { app.debugWriter().writeLine(what); }

    AppContext& app;
    Timer sync;
    Timer sneltoetsen;
    std::int16_t breedte = 0;
    std::int32_t venster = kBreedteMetPlaylist;  // the window's width in twips
};

class InstellingenStoreTest : public ::testing::Test {
protected:
    InstellingenStoreTest() {
        desk.setExeFolder("C:\\Apps");
        app.debugWriter().enableWriter();
    }
    // The log after its start line.
    std::string log() {
        const std::string text = desk.files().readFile(app.debugWriter().filePath()).value_or("");
        return text.substr(text.find("\r\n") + 2);
    }
    void put(const std::string& name, std::int32_t value) {
        app.registryAccess().WriteDWORD(kSleutel, name, value);
    }
    std::int32_t get(const std::string& name) {
        return app.registryAccess().ReadDWORD(kSleutel, name, -999);
    }
    bool has(const std::string& name) { return app.registryAccess().ValueExists(kSleutel, name); }
    void laden() { InstellingenLaden(app, balk); }

    sim::SimDesktop desk;
    sim::SimRegistry registry;
    AppContext app{desk, registry};
    LogBalk balk{app};
};

TEST_F(InstellingenStoreTest, AFreshRegistryLoadsEveryDefaultInOrder) {
    balk.venster = kBreedteZonderPlaylist;  // the pane comes back: width, then a refresh
    balk.sneltoetsen.setEnabled(true);
    app.settings.bStartWinamp = true;
    laden();
    EXPECT_EQ(log(),
              "Instellingen laden\r\nHidePSM\r\nSetTransparantie 0\r\nBalkBreedte 8130\r\n"
              "Width 8130\r\nRefreshPlaylist\r\nInstellingen laden OK\r\n"
              "Sneltoetsen laden\r\nSneltoetsen laden OK\r\n");
    const Instellingen& s = app.settings;
    EXPECT_FALSE(s.bMSNPlugin || s.bStartWinamp || s.bSluitWinamp || s.bAutoSluit ||
                 s.bVerbergPlaylist || s.iTransparantie || balk.sync.Enabled() ||
                 balk.sneltoetsen.Enabled());
    EXPECT_EQ(s.sMSNIndeling, "\\a - \\t");
    EXPECT_EQ(s.sWinampPad, "C:\\Program files\\Winamp\\winamp.exe");
    for (const Sneltoets& t : s.Sneltoetsen)
        EXPECT_TRUE(t.CtrlOptional && t.ShiftOptional && t.KeyCode == 0);
    EXPECT_TRUE(desk.messageBoxes().empty());
}

TEST_F(InstellingenStoreTest, StoredValuesLoadWithTheFlagsInvertedAndTransparencyAtMost70) {
    put(kMSNPlugin, 1);
    app.registryAccess().WriteString(kSleutel, kMSNIndeling, "\\t (\\l)");
    app.registryAccess().WriteString(kWinampSleutel, "@", "D:\\Winamp");
    put(kStartWinamp, 1);
    put(kSluitWinamp, 2);
    put(kAutoSluit, -1);
    put(kVerbergPlaylist, 1);
    put("ctrl2", 1);
    put("shift4", 1);
    put("toets3", 116);
    put("toets5", -3);
    put(kActief, 1);
    balk.venster = kBreedteMetPlaylist;  // the pane goes: a new width, no refresh
    laden();
    EXPECT_EQ(log(),
              "Instellingen laden\r\nSetTransparantie 0\r\nBalkBreedte 4065\r\nWidth 4065\r\n"
              "Instellingen laden OK\r\nSneltoetsen laden\r\nSneltoetsen laden OK\r\n");
    const Instellingen& s = app.settings;
    EXPECT_TRUE(s.bMSNPlugin && s.bStartWinamp && s.bSluitWinamp && s.bAutoSluit &&
                s.bVerbergPlaylist && balk.sync.Enabled() && balk.sneltoetsen.Enabled());
    EXPECT_EQ(s.sMSNIndeling, "\\t (\\l)");
    EXPECT_EQ(s.sWinampPad, "D:\\Winamp\\winamp.exe");
    // Per slot: Ctrl optional, Shift optional, the code.
    std::string slots;
    for (const Sneltoets& t : s.Sneltoetsen)
        slots += std::to_string(t.CtrlOptional) + std::to_string(t.ShiftOptional) + " " +
                 std::to_string(t.KeyCode) + "|";
    EXPECT_EQ(slots, "11 0|01 0|11 116|10 0|11 -3|");

    // "trans" as stored -> as applied; the width already fits, so nothing more happens.
    const std::pair<std::int32_t, std::int16_t> trans[] = {{70, 70}, {90, 70}, {35, 35}, {-5, -5}};
    for (const auto& [stored, applied] : trans) {
        put(kTrans, stored);
        laden();
        EXPECT_EQ(s.iTransparantie, applied) << stored;
        EXPECT_NE(log().rfind("SetTransparantie " + std::to_string(applied) +
                              "\r\nBalkBreedte 4065\r\nInstellingen laden OK"),
                  std::string::npos)
            << stored;
    }
}

TEST_F(InstellingenStoreTest, A16BitOverflowStopsTheLoadAtThatStep) {
    put(kMSNPlugin, 1);
    put(kTrans, 40000);
    put(kActief, 1);
    laden();
    EXPECT_EQ(log(), "Instellingen laden\r\nERR: Instellingen laden mislukt, foutcode 6\r\n");
    EXPECT_TRUE(app.settings.bMSNPlugin) << "the steps before it are done";
    EXPECT_FALSE(balk.sneltoetsen.Enabled()) << "no hotkeys loaded";
    ASSERT_EQ(desk.messageBoxes().size(), 1u);
    EXPECT_EQ(desk.messageBoxes()[0].text,
              "Het laden van de instellingen is mislukt.\r\nOpen het instellingen venster en "
              "druk op de knop opslaan om dit probleem te verhelpen.");
    EXPECT_EQ(desk.messageBoxes()[0].caption, "Tunebalk");
    EXPECT_EQ(desk.messageBoxes()[0].flags, mb::MbOk | mb::MbIconExclamation);

    // A key code past 16 bits stops the hotkeys alone, without a message box.
    put(kTrans, 10);
    put("toets2", 32768);
    put(kActief, 0);
    balk.sneltoetsen.setEnabled(true);
    laden();
    EXPECT_NE(log().find("Sneltoetsen laden\r\nERR: Sneltoetsen laden mislukt, foutcode 6\r\n"),
              std::string::npos);
    EXPECT_TRUE(balk.sneltoetsen.Enabled()) << "stopped before the timer's step";
    EXPECT_EQ(desk.messageBoxes().size(), 1u);
}

VensterWaarden everythingTicked() {
    VensterWaarden w;
    w.chkMSNIngeschakeld = 1;
    w.txtMSNIndeling = "\\a: \\t";
    w.chkStartWinamp = 1;
    w.chkSluitWinamp = 1;
    w.chkSluitTunebalk = 2;
    w.chkHidePlaylist = 1;
    w.slTransparant = 35;
    for (std::size_t i = 0; i < w.txtToets.size(); ++i) {
        w.txtToets[i] = {std::to_string(112 + i), 1, static_cast<std::int32_t>(i % 2)};
    }
    w.chkIngeschakeld = 1;
    return w;
}

TEST_F(InstellingenStoreTest, SavingWritesTheControlsButNotAnUntouchedSliderOrAnEmptyKeyBox) {
    put("toets2", 65);
    put("ctrl2", 1);
    put("shift2", 1);
    VensterWaarden w = everythingTicked();
    w.slTransparant = 0;  // what the last load applied: "trans" was missing
    w.txtToets[1] = {"", 0, 0};
    InstellingenOpslaan(app, w);
    EXPECT_EQ(log(), "Instellingen opslaan\r\nInstellingen opslaan OK\r\n");
    std::vector<std::string> names;
    std::vector<RegValue> values;
    EXPECT_EQ(app.registryAccess().EnumValues(kSleutel, names, values, reg::RegSz), 1);
    EXPECT_EQ(names, std::vector<std::string>{kMSNIndeling});
    EXPECT_EQ(app.registryAccess().EnumValues(kSleutel, names, values, reg::RegDword), 21);
    EXPECT_FALSE(has(kTrans));
    EXPECT_EQ(get(kAutoSluit), 2);
    EXPECT_EQ(get("toets1") * 100 + get("ctrl1") * 10 + get("shift1"), 11210);
    EXPECT_EQ(get("toets2") * 100 + get("ctrl2") * 10 + get("shift2"), 6511) << "kept";

    w.slTransparant = 35;
    InstellingenOpslaan(app, w);
    EXPECT_EQ(get(kTrans), 35);

    // A code the window could not have written stops the save where it stands.
    w.txtToets[3].Tag = "F5";
    put(kActief, 0);
    InstellingenOpslaan(app, w);
    EXPECT_NE(log().rfind("Instellingen opslaan\r\nERR: Instellingen opslaan mislukt, foutcode "
                          "13\r\n"),
              std::string::npos);
    EXPECT_EQ(get(kActief), 0);
}

}  // namespace
}  // namespace tb
