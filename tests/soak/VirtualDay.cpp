// tunebalk_soak: the bar at work in the simulation for virtual hours (default a day), a sample
// of what it holds every virtual hour. Exits non-zero when a count grew or the heap grew by more
// than the slack after the first hour, or the bar's kept frame was not what a whole paint draws.
//
//   tunebalk_soak [HOURS] [--slack-kib N]
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "support/Soak.h"

int main(int argc, char** argv) {
    const std::uint64_t hours = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 24;
    std::size_t slackKib = 64;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "--slack-kib")
            slackKib = std::strtoull(argv[i + 1], nullptr, 10);
    if (hours == 0) {
        std::fprintf(stderr, "usage: tunebalk_soak [HOURS] [--slack-kib N]\n");
        return 2;
    }
    tb::test::Soak soak(hours);
    bool grew = false;
    std::optional<tb::test::SoakSample> first;
    soak.run(hours * 60, 60, [&](const tb::test::SoakSample& s) {
        if (!first) first = s;
        const bool bad = !s.sameCounts(*first) || !s.frameCurrent ||
                         s.heapBytes > first->heapBytes + slackKib * 1024;
        grew = grew || bad;
        std::printf("%s%s\n", s.line().c_str(), bad ? "  <- grew" : "");
        std::fflush(stdout);
    });
    const auto escaped = soak.desk.escapedErrors().size();
    std::printf("track %d of %zu, %zu escaped errors: %s\n", soak.winamp.model().current(),
                soak.winamp.model().playlist().size(), escaped, grew || escaped ? "GREW" : "flat");
    return grew || escaped ? 1 : 0;
}
