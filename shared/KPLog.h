#pragma once
// The shared library's log lines.

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(kpSharedLog)
