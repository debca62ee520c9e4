#pragma once

#include <QLoggingCategory>

// Every complaint about the results file goes here, on standard error.
Q_DECLARE_LOGGING_CATEGORY(lcResults)
