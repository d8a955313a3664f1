// gelcoat-render chooses its Highway target itself. libhwy, when it is
// loaded, times its clock's resolution for benchmarks this program never
// runs: several milliseconds of every run, longer than a small render.
// With the two functions the dispatch needs defined here, the linker
// (--as-needed) leaves the library out. The window and the tests keep it.
//
// Every target gives the same bytes (the tests check each one), so the
// choice is only about speed; AVX-512 is left to the library's own choice.

#include <hwy/targets.h>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace hwy {

namespace {

#if defined(__x86_64__) || defined(__i386__)
bool bit(unsigned value, int index) { return (value >> index) & 1u; }

std::int64_t x86Targets()
{
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid(1, &a, &b, &c, &d))
        return 0;
    const bool sse2 = bit(d, 25) && bit(d, 26);
    const bool ssse3 = sse2 && bit(c, 0) && bit(c, 9);
    const bool sse4 = ssse3 && bit(c, 19) && bit(c, 20) && bit(c, 1) && bit(c, 25) && bit(c, 23);
    // AVX needs the system to save the YMM registers (XCR0 bits 1 and 2).
    bool avx = bit(c, 27) && bit(c, 28);
    if (avx) {
        unsigned xcr0Low = 0, xcr0High = 0;
        __asm__("xgetbv" : "=a"(xcr0Low), "=d"(xcr0High) : "c"(0));
        avx = (xcr0Low & 6u) == 6u;
    }
    const bool fmaF16cMovbe = bit(c, 12) && bit(c, 29) && bit(c, 22);
    unsigned b7 = 0, c7 = 0, d7 = 0, a7 = 0;
    const bool leaf7 = __get_cpuid_count(7, 0, &a7, &b7, &c7, &d7);
    const bool avx2Bmi = leaf7 && bit(b7, 5) && bit(b7, 3) && bit(b7, 8);
    unsigned a8 = 0, b8 = 0, c8 = 0, d8 = 0;
    const bool lzcnt = __get_cpuid(0x80000001u, &a8, &b8, &c8, &d8) && bit(c8, 5);

    std::int64_t targets = 0;
    if (ssse3)
        targets |= HWY_SSSE3;
    if (sse4)
        targets |= HWY_SSE4;
    if (sse4 && avx && fmaF16cMovbe && avx2Bmi && lzcnt)
        targets |= HWY_AVX2;
    return targets;
}
#endif

} // namespace

HWY_DLLEXPORT std::int64_t SupportedTargets()
{
    std::int64_t targets = HWY_EMU128 | HWY_SCALAR;
#if defined(__x86_64__) || defined(__i386__)
    targets |= x86Targets();
#endif
    return targets;
}

HWY_DLLEXPORT ChosenTarget& GetChosenTarget()
{
    static ChosenTarget chosen;
    return chosen;
}

} // namespace hwy
