// The program-wide objects, hung off one object that a test can create fresh. Objects the
// program creates on first use are lazy accessors here, not hidden globals.
#pragma once

#include <memory>

#include "diag/DebugWriter.h"
#include "platform/Desktop.h"
#include "settings/Instellingen.h"

namespace tb {

class frmMain;

class AppContext {
public:
    explicit AppContext(Desktop& desktop) : desktop_(desktop) {}
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    Desktop& desktop() { return desktop_; }

    // The diagnostic log, created on first use (its file name carries that moment).
    DebugWriter& debugWriter() {
        if (!debugWriter_) debugWriter_ = std::make_unique<DebugWriter>(desktop_);
        return *debugWriter_;
    }
    // Program end: the writer writes its end line and closes the file.
    void releaseDebugWriter() { debugWriter_.reset(); }
    bool hasDebugWriter() const { return debugWriter_ != nullptr; }

    Instellingen settings;
    // The bar window while it exists.
    frmMain* mainForm = nullptr;

private:
    Desktop& desktop_;
    std::unique_ptr<DebugWriter> debugWriter_;
};

}  // namespace tb
