#pragma once
// Qt needs characters in UTF-8. Started in a locale with another encoding
// (the C locale of a container, a cron job or `env -i`), Qt 6.8 switches
// the character type to a UTF-8 locale itself and says so in four lines on
// stderr, which would then open every run's messages.

namespace gelcoat {

// Makes the same switch quietly, before the QCoreApplication is made: the
// character type becomes C.UTF-8, in the process and in the environment
// that Qt reads it from again; every other category stays as the
// environment names it. Does nothing when the environment's locale already
// uses UTF-8, or when C.UTF-8 is not installed (Qt then says what it can
// do). Returns whether it switched.
bool useUtf8CharacterTypes();

} // namespace gelcoat
