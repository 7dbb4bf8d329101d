#pragma once

#include "ChildRun.h"
#include "PeakMemory.h"

#include <algorithm>
#include <functional>

namespace bench {

// The best of several rounds of the engine against curl on the same transfer.
struct CurlRace {
    bool ok = false;      // every run of both sides succeeded
    double engine = 0;    // the engine's best time in seconds
    ChildRun curl;        // curl's best run
    double peakMiB = 0;   // the bench process's peak memory over the engine's runs
    double growthMiB = 0; // the most one engine run added to it
};

// Alternating rounds, curl first, keeping the best of each: the first reader of a file pays
// for bringing it into the page cache, and the machine's other load hits both alike.
// `engineRun` returns its seconds, or 0 or less when it failed.
inline CurlRace RaceCurl(int rounds, const std::function<ChildRun()>& curlRun,
                         const std::function<double()>& engineRun) {
    CurlRace race;
    for (int round = 0; round < rounds; ++round) {
        const ChildRun curl = curlRun();
        ResetPeakResident();
        const qint64 before = ResidentKiB();
        const double engine = engineRun();
        race.peakMiB = std::max(race.peakMiB, PeakResidentKiB() / 1024.0);
        race.growthMiB = std::max(race.growthMiB, (PeakResidentKiB() - before) / 1024.0);
        if (engine <= 0 || !curl.ok)
            return race;
        race.engine = round == 0 ? engine : std::min(race.engine, engine);
        if (round == 0 || curl.seconds < race.curl.seconds)
            race.curl = curl;
    }
    race.ok = true;
    return race;
}

} // namespace bench
