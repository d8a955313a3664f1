#include "app/delegate/AppLog.h"

namespace gelcoat {
Q_LOGGING_CATEGORY(lcApp, "gelcoat.app")
} // namespace gelcoat
