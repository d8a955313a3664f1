#include "KPLog.h"

Q_LOGGING_CATEGORY(kpSharedLog, "gelcoat.shared")
