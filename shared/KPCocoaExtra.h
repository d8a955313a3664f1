#pragma once
// The shared interface library: panels, alerts, screens, links, string
// tables, the about panel, the progress panel and the version checker.
// Its names carry the prefix KP; the few without it (the y-up geometry of
// UpGeometry.h) live in namespace kp.  Nothing in it knows the application:
// the application hands over its identity at start (KPSetApplicationIdentity)
// and installs its delegate in KPApplicationDelegate.

#include "shared/KPAboutPanel.h"
#include "shared/KPAlertPanel.h"
#include "shared/KPApplicationDelegate.h"
#include "shared/KPApplicationIcon.h"
#include "shared/KPClock.h"
#include "shared/KPFormat.h"
#include "shared/KPLocalizedString.h"
#include "shared/KPPanel.h"
#include "shared/KPProgressPanel.h"
#include "shared/KPScreen.h"
#include "shared/KPSystemFont.h"
#include "shared/KPTextLinks.h"
#include "shared/KPVersionChecker.h"
