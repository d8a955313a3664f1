#pragma once
// This program's identity as the build settings give it, in the form the
// shared library takes it.

#include "shared/KPApplicationDelegate.h"

namespace gelcoat {

const KPApplicationIdentity& programIdentity();

} // namespace gelcoat
