#pragma once

#include <QByteArray>

class QCoreApplication;

// The game speaks English to a player whose desktop puts English before Russian, and
// Russian, its own language, to everyone else: the C locale, an unset environment and
// any third language included.
namespace GameLanguage {

enum class Language { Russian, English };

// The locale variables as the C library reads them for messages.
struct Environment
{
    QByteArray language; // LANGUAGE, a colon-separated list of preferences
    QByteArray lcAll;
    QByteArray lcMessages;
    QByteArray lang;
};

Language chosen(const Environment &environment);

// Installs the English words when the environment asks for them; before any text is made.
void install(QCoreApplication &application);

} // namespace GameLanguage
