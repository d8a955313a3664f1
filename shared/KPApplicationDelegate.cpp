#include "KPApplicationDelegate.h"

KPApplicationDelegateInterface* KPApplicationDelegate = nullptr;
