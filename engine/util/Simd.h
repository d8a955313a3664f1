#pragma once
// Function attributes for code that may use AVX2 where the processor has
// it. Integer and IEEE float code compiled this way gives the same results
// as the default build; only the speed differs.

#if defined(__x86_64__) && defined(__GNUC__)
// Compiled twice, chosen at load time by the processor's features.
#define GELCOAT_CLONE_FOR_AVX2 __attribute__((target_clones("avx2", "default")))
#else
#define GELCOAT_CLONE_FOR_AVX2
#endif
