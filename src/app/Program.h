// The program's life: create the bar, load it, run until it is unloaded, release the log.
#pragma once

#include "platform/Desktop.h"

namespace tb {

int RunTunebalk(Desktop& desktop);

}  // namespace tb
