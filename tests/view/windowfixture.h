#pragma once

#include "fakes.h"
#include "files/installfolder.h"
#include "model/randomsource.h"
#include "view/frmmain.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// A real frmMain over a temporary installation folder, with recorded sound, answered
// message boxes and a clock that ticks once per reading, so every run replays.
struct WindowFixture
{
    enum class Media { Copied, Missing };

    QTemporaryDir folder;
    RecordingSound sound;
    ScriptedPrompter prompter;
    quint64 ticks = 0;
    ClockSeededRandom random {[this] { return ++ticks; }};
    std::unique_ptr<frmMain> window;

    explicit WindowFixture(Media media = Media::Copied, bool load = true)
    {
        if (media == Media::Copied)
            copyMedia();
        InstallFolder::setPathForTesting(folder.path());
        window = std::make_unique<frmMain>(sound, random, prompter);
        if (load)
            window->Form_Load();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void copyMedia()
    {
        const QDir media(qEnvironmentVariable("SEABATTLE_SOURCE_DIR") + QStringLiteral("/media"));
        for (const QString &name : media.entryList(QDir::Files)) {
            if (!name.endsWith(QLatin1String(".txt")) && !name.endsWith(QLatin1String(".cmake")))
                QFile::copy(media.filePath(name), folder.filePath(name));
        }
    }

    frmMain &w() { return *window; }
};
