#pragma once
// Runs engine code once for every target the processor supports and the
// build compiled, each through the ordinary run-time dispatch, so that tests
// can hold each target's bytes to a plain reference. Which targets those are
// depends on the Highway release (the plainest is HWY_SCALAR, HWY_EMU128 or
// a baseline such as SSE2), so tests assume no particular list.

#include <hwy/targets.h>

#include <cstdint>
#include <string>
#include <vector>

namespace gelcoat::test {

struct SimdTarget {
    std::int64_t bits;
    std::string name;
};

// Best first.
inline std::vector<SimdTarget> simdTargets()
{
    std::vector<SimdTarget> targets;
    for (std::int64_t t : hwy::SupportedAndGeneratedTargets())
        targets.push_back({t, hwy::TargetName(t)});
    return targets;
}

// Calls run(target) with dispatch limited to each target in turn; dispatch
// is back to normal afterwards.
template <class Run>
void forEachSimdTarget(Run run)
{
    for (const SimdTarget& t : simdTargets()) {
        hwy::SetSupportedTargetsForTest(t.bits);
        run(t);
    }
    hwy::SetSupportedTargetsForTest(0);
}

} // namespace gelcoat::test
