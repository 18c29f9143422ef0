// Anchors the platform value types in a translation unit of their own.
#include "platform/Types.h"
