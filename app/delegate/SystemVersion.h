#pragma once
// The platform version the program checks at start-up: the Qt runtime's,
// as one number with a byte for each of major, minor and patch (0x060402 for
// 6.4.2), asked once and kept. 0 means unknown and is asked again next time.

#include <QString>

#include <cstdint>
#include <functional>

namespace gelcoat {

std::int32_t KPGetSystemVersion();

// "6.4.2" -> 0x060402, "6.5" -> 0x060500; 0 for anything that is not one to
// three dot-separated numbers of 0 to 255.
std::int32_t versionNumberFromString(const QString& text);

// Puts another version text in place of the Qt runtime's (a null function
// restores it) and forgets the kept number.
void setSystemVersionSourceForTesting(std::function<QString()> source);

} // namespace gelcoat
