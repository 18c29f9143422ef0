#include <gtest/gtest.h>

#include "app/Versie.h"

namespace tb {
namespace {

TEST(VersieTekst, ShowsTheRevisionOnlyAboveZero) {
    struct Row {
        int major, minor, revision;
        const char* text;
    } rows[] = {{4, 2, 2, "Versie: 4.2.2"},
                {4, 2, 0, "Versie: 4.2"},
                {4, 0, 0, "Versie: 4.0"},
                {10, 12, 305, "Versie: 10.12.305"}};
    for (const Row& r : rows) EXPECT_EQ(VersieTekst(r.major, r.minor, r.revision), r.text);
    EXPECT_EQ(VersieTekst(), "Versie: 4.2.2") << "the program's own version";
}

}  // namespace
}  // namespace tb
