// Where events enter the program: a click, a timer tick, a message of the bar's window. An error
// that escapes the handler stops here; it is logged as "ERR: " + the handler's name +
// " mislukt, foutcode " + its number (ErrorNumber), and the program goes on.
//
// Program errors are std::exceptions. Anything else passes through: the simulation ends the
// process and reports a stuck event loop that way, and those must reach the test.
#pragma once

#include <exception>
#include <string_view>
#include <utility>

#include "app/AppContext.h"

namespace tb {

// Writes the "ERR: ..." line for `e`, which escaped the handler `handler`. Never throws.
void LogHandlerError(AppContext& app, std::string_view handler, const std::exception& e) noexcept;

template <class F>
void RunHandler(AppContext& app, std::string_view handler, F&& body) {
    try {
        std::forward<F>(body)();
    } catch (const std::exception& e) {
        LogHandlerError(app, handler, e);
    }
}

}  // namespace tb
