#include "sound/soundlog.h"

Q_LOGGING_CATEGORY(lcSound, "seabattle.sound")
