#pragma once
// The shared interface library: panels, alerts, screens, links, string
// tables, the about panel, the progress panel and the version checker.

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
