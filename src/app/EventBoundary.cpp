#include "app/EventBoundary.h"

#include <string>

#include "common/ProgramError.h"

namespace tb {

void LogHandlerError(AppContext& app, std::string_view handler, const std::exception& e) noexcept {
    try {
        std::string line = "ERR: ";
        line.append(handler).append(" mislukt, foutcode ").append(std::to_string(ErrorNumber(e)));
        app.debugWriter().writeLine(line);
    } catch (...) {
        // Out of memory for the line itself: the program goes on without it.
    }
}

}  // namespace tb
