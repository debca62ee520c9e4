#pragma once

#include <QLoggingCategory>

// Warnings about missing tune and hit-sound files, SoundFonts and sound servers.
Q_DECLARE_LOGGING_CATEGORY(lcSound)
