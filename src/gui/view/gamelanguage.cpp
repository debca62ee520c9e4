#include "view/gamelanguage.h"

#include <QCoreApplication>
#include <QList>
#include <QTranslator>

GameLanguage::Language GameLanguage::chosen(const Environment &environment)
{
    // The first set of LC_ALL, LC_MESSAGES and LANG is the messages' locale; LANGUAGE, a list
    // of preferences, counts only beside a real one, as gettext reads it.
    QByteArray locale = environment.lcAll;
    if (locale.isEmpty())
        locale = environment.lcMessages;
    if (locale.isEmpty())
        locale = environment.lang;
    if (locale.isEmpty() || locale == "C" || locale.startsWith("C.") || locale == "POSIX")
        return Language::Russian;
    QList<QByteArray> preferences = environment.language.split(':');
    preferences << locale;
    for (const QByteArray &preference : std::as_const(preferences)) {
        qsizetype end = 0; // "en_GB.UTF-8@euro" -> "en"
        while (end < preference.size() && preference.at(end) >= 'a' && preference.at(end) <= 'z')
            ++end;
        const QByteArray language = preference.left(end);
        if (language == "en")
            return Language::English;
        if (language == "ru")
            return Language::Russian;
    }
    return Language::Russian;
}

void GameLanguage::install(QCoreApplication &application)
{
    if (chosen({qgetenv("LANGUAGE"), qgetenv("LC_ALL"), qgetenv("LC_MESSAGES"), qgetenv("LANG")})
        != Language::English)
        return;
    // Compiled in: the words cannot go missing from an installation.
    auto *english = new QTranslator(&application);
    if (english->load(QStringLiteral(":/i18n/seabattle_en.qm")))
        QCoreApplication::installTranslator(english);
}
