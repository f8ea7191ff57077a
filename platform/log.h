#pragma once
#include <QLoggingCategory>

// The program's one log channel: the application id as subsystem, "tap" as category.
// Lines go through Qt's logging (stderr, or the journal where Qt routes there) with their level:
// qCInfo = default, qCWarning/qCCritical = error, qCDebug = debug.
Q_DECLARE_LOGGING_CATEGORY(vtLog)
