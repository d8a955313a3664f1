#pragma once
// The application shell's log category.

#include <QLoggingCategory>

namespace gelcoat {
Q_DECLARE_LOGGING_CATEGORY(lcApp)
} // namespace gelcoat
