// The version as the settings window shows it (lblVersie).
#pragma once

#include <string>

namespace tb {

// "Versie: " with the major and the minor version, and the revision only when it is above 0:
// 4.2.2 reads "Versie: 4.2.2", 4.2.0 "Versie: 4.2".
std::string VersieTekst(int major, int minor, int revision);
// Of this program.
std::string VersieTekst();

}  // namespace tb
