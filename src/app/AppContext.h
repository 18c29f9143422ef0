// The program-wide objects, hung off one object that a test can create fresh. Objects the
// program creates on first use are lazy accessors here, not hidden globals.
#pragma once

#include <cstdint>
#include <memory>

#include "diag/DebugWriter.h"
#include "messenger/clsPSM.h"
#include "platform/Desktop.h"
#include "platform/Registry.h"
#include "settings/Instellingen.h"
#include "settings/clsRegistryAccess.h"
#include "winamp/WinampAPI.h"

namespace tb {

class frmMain;

// The program's own title: the caption of its message boxes.
constexpr const char* kProgramTitle = "Tunebalk";

class AppContext {
public:
    AppContext(Desktop& desktop, Registry& registry) : desktop_(desktop), registry_(registry) {}
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    Desktop& desktop() { return desktop_; }

    // The one registry access of the program, created on first use.
    clsRegistryAccess& registryAccess() {
        if (!registryAccess_)
            registryAccess_ = std::make_unique<clsRegistryAccess>(registry_, desktop_);
        return *registryAccess_;
    }

    // The one Winamp client, created on first use; every handler talks to Winamp through it.
    WinampAPI& winamp() {
        if (!winamp_) winamp_ = std::make_unique<WinampAPI>(desktop_);
        return *winamp_;
    }

    // The diagnostic log, created on first use (its file name carries that moment).
    DebugWriter& debugWriter() {
        if (!debugWriter_) debugWriter_ = std::make_unique<DebugWriter>(desktop_);
        return *debugWriter_;
    }
    // Program end: the writer writes its end line and closes the file.
    void releaseDebugWriter() { debugWriter_.reset(); }
    bool hasDebugWriter() const { return debugWriter_ != nullptr; }

    // The Messenger status channel, created on first use. It remembers what it published, so
    // the program keeps this one for its whole run.
    clsPSM& psm() {
        if (!psm_) psm_ = std::make_unique<clsPSM>(desktop_);
        return *psm_;
    }

    Instellingen settings;
    // The last key code the settings window's key capture wrote into a key box. It outlives the
    // window: the same key is not taken again until another was, also in a window opened later.
    std::int16_t iLaatsteToets = 0;
    // The bar window while it exists.
    frmMain* mainForm = nullptr;

private:
    Desktop& desktop_;
    Registry& registry_;
    std::unique_ptr<DebugWriter> debugWriter_;
    std::unique_ptr<clsRegistryAccess> registryAccess_;
    std::unique_ptr<WinampAPI> winamp_;
    std::unique_ptr<clsPSM> psm_;
};

}  // namespace tb
