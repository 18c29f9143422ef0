// The program's life: create the bar, load it, run until it is unloaded, release the log.
#pragma once

#include "platform/Desktop.h"
#include "platform/Registry.h"

namespace tb {

int RunTunebalk(Desktop& desktop, Registry& registry);

}  // namespace tb
