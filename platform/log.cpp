#include "platform/log.h"

// Debug lines (one per machine input) are off unless QT_LOGGING_RULES enables them.
Q_LOGGING_CATEGORY(vtLog, "io.vantrel.Vantrel.tap", QtInfoMsg)
