#include "shared/KPLog.h"

Q_LOGGING_CATEGORY(kpSharedLog, "kp.shared")
