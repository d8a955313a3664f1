#pragma once
// The shared interface library: panels, alerts, screens, links, string
// tables, the about panel, the progress panel and the version checker.
// Its names carry the prefix KP; the few without it (the y-up geometry of
// UpGeometry.h) live in namespace kp.  Nothing in it knows the application:
// the application hands over its identity at start (KPSetApplicationIdentity)
// and installs its delegate in KPApplicationDelegate.

#include "KPAboutPanel.h"
#include "KPAlertPanel.h"
#include "KPApplicationDelegate.h"
#include "KPApplicationIcon.h"
#include "KPClock.h"
#include "KPFormat.h"
#include "KPLocalizedString.h"
#include "KPPanel.h"
#include "KPProgressPanel.h"
#include "KPScreen.h"
#include "KPSystemFont.h"
#include "KPTextLinks.h"
#include "KPVersionChecker.h"
