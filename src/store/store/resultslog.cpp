#include "store/resultslog.h"

Q_LOGGING_CATEGORY(lcResults, "seabattle.results")
