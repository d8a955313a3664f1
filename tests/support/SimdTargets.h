#pragma once
// Runs engine code once for every vector target the processor supports and
// the build compiled (scalar included), each through the ordinary run-time
// dispatch, so tests can compare the targets' bytes.

#include <hwy/targets.h>

#include <cstdint>
#include <string>
#include <vector>

namespace gelcoat::test {

struct SimdTarget {
    std::int64_t bits;
    std::string name;
};

// Best first; the last is the plain scalar code every other must match.
inline std::vector<SimdTarget> simdTargets()
{
    std::vector<SimdTarget> targets;
    for (std::int64_t t : hwy::SupportedAndGeneratedTargets())
        targets.push_back({t, hwy::TargetName(t)});
    return targets;
}

inline bool isScalarTarget(std::int64_t bits)
{
    return bits == HWY_SCALAR || bits == HWY_EMU128;
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
