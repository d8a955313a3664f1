#pragma once
// Function attributes for code that may use AVX2 where the processor has
// it. Integer and IEEE float code compiled this way gives the same results
// as the default build; only the speed differs.

// ThreadSanitizer builds take the default only: the loader runs the clones'
// resolvers before the sanitizer's runtime has started.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__SANITIZE_THREAD__)
// Compiled twice, chosen at load time by the processor's features.
#define GELCOAT_CLONE_FOR_AVX2 __attribute__((target_clones("avx2", "default")))
#else
#define GELCOAT_CLONE_FOR_AVX2
#endif
