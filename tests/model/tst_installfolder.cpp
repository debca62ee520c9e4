#include "files/installfolder.h"
#include "files/playerfolders.h"
#include "files/soundfontpath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class InstallFolderTest : public QObject
{
    Q_OBJECT

private slots:
    void layoutFollowsTheFoldersBesideTheProgram_data();
    void layoutFollowsTheFoldersBesideTheProgram();
    void soundFontIsTheGeneralMidiAlternative_data();
    void soundFontIsTheGeneralMidiAlternative();
    void playerFoldersFollowTheXdgRules_data();
    void playerFoldersFollowTheXdgRules();
};

void InstallFolderTest::layoutFollowsTheFoldersBesideTheProgram_data()
{
    // Paths relative to a scratch root: the folders and files laid out there, the folder of
    // the program, and the layout expected (media, helpers).
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("media");
    QTest::addColumn<QString>("helpers");
    QTest::addColumn<bool>("systemWide");

    const QString own; // the program's own folder
    const QString media = QStringLiteral("usr/share/games/seabattle");
    const QString helpers = QStringLiteral("usr/lib/games/seabattle");
    const QStringList installed {"usr/games", media, helpers};
    const QStringList installedFiles {"usr/games/seabattle", media + "/XField.bmp",
                                      helpers + "/seabattle-tune"};
    const QStringList portable {"games/seabattle", "games/seabattle-tune", "games/XField.bmp"};

    QTest::newRow("build folder or portable copy")
        << QStringList {"game"} << QStringList {"game/seabattle", "game/XField.bmp"} << "game"
        << own << own << false;
    QTest::newRow("installed under a prefix")
        << installed << installedFiles << "usr/games" << media << helpers << true;
    QTest::newRow("installed, the helper's folder missing")
        << QStringList {"usr/games", media} << QStringList {"usr/games/seabattle"} << "usr/games"
        << media << helpers << true;
    QTest::newRow("portable copy in a folder named games")
        << QStringList {"games", "share/games"} << portable << "games" << own << own << false;
    QTest::newRow("a file where the installed media folder would be")
        << QStringList {"games", "share/games"} << portable + QStringList {"share/games/seabattle"}
        << "games" << own << own << false;
}

void InstallFolderTest::layoutFollowsTheFoldersBesideTheProgram()
{
    // The game finds its media and its helper programs from its own folder alone: beside it
    // (a folder of its own, which may hold its results), or in the installed places (which
    // make it a system-wide game whose results live in the player's data folder).
    QFETCH(QStringList, folders);
    QFETCH(QStringList, files);
    QFETCH(QString, program);
    QFETCH(QString, media);
    QFETCH(QString, helpers);
    QFETCH(bool, systemWide);

    QTemporaryDir root;
    QVERIFY(root.isValid());
    for (const QString &folder : folders)
        QVERIFY(QDir(root.path()).mkpath(folder));
    for (const QString &name : files) {
        QFile file(root.filePath(name));
        QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(name));
    }
    const QString programFolder = root.filePath(program);
    const auto expected = [&](const QString &relative) {
        return relative.isEmpty() ? programFolder : root.filePath(relative);
    };

    const InstallFolder::Layout layout = InstallFolder::layoutOf(programFolder);
    QCOMPARE(layout.media, expected(media));
    QCOMPARE(layout.helpers, expected(helpers));
    QCOMPARE(layout.systemWide, systemWide);
}

void InstallFolderTest::soundFontIsTheGeneralMidiAlternative_data()
{
    // Below a scratch root: the SoundFonts laid out there (a name with "->" is a link to the
    // name after it, as Debian's alternatives are) and the one expected, or none.
    QTest::addColumn<QStringList>("laidOut");
    QTest::addColumn<QString>("expected");

    const QString sf2 = QStringLiteral("usr/share/sounds/sf2/default-GM.sf2");
    const QString sf3 = QStringLiteral("usr/share/sounds/sf3/default-GM.sf3");
    QTest::newRow("SoundFont 2 alone") << QStringList {sf2} << sf2;
    QTest::newRow("SoundFont 3 alone") << QStringList {sf3} << sf3;
    QTest::newRow("both: SoundFont 2 first") << QStringList {sf3, sf2} << sf2;
    QTest::newRow("a link to an installed SoundFont")
        << QStringList {"usr/share/sounds/sf3/MuseScore.sf3", sf3 + "->MuseScore.sf3"} << sf3;
    QTest::newRow("the SoundFont 2 link's target removed")
        << QStringList {sf2 + "->FluidR3_GM.sf2", sf3} << sf3;
    QTest::newRow("a folder at the SoundFont 2 name") << QStringList {sf2 + "/", sf3} << sf3;
    QTest::newRow("none") << QStringList {} << QString();
}

void InstallFolderTest::soundFontIsTheGeneralMidiAlternative()
{
    // The tune plays on whichever General MIDI SoundFont Debian's alternatives point at, the
    // SoundFont 2 one first; a broken alternative or something other than a file is passed over.
    QFETCH(QStringList, laidOut);
    QFETCH(QString, expected);

    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QDir base(root.path());
    for (const QString &entry : laidOut) {
        const QString name = entry.section(QStringLiteral("->"), 0, 0);
        const QString target = entry.section(QStringLiteral("->"), 1);
        QVERIFY(base.mkpath(QFileInfo(base.filePath(name)).path()));
        if (name.endsWith('/'))
            QVERIFY(base.mkpath(name));
        else if (!target.isEmpty())
            QVERIFY(QFile::link(target, base.filePath(name)));
        else
            QVERIFY(QFile(base.filePath(name)).open(QIODevice::WriteOnly));
    }
    QCOMPARE(SoundFontPath::find(root.path()),
             expected.isEmpty() ? QString() : base.filePath(expected));
}

void InstallFolderTest::playerFoldersFollowTheXdgRules_data()
{
    // HOME, XDG_DATA_HOME and XDG_CACHE_HOME ("-" unset), where "<t>" is a fresh folder holding
    // the folder "home", the file "file" and the folder "h\xff" (a name that is not UTF-8); the
    // data and cache homes expected, "|" between them; why the home cannot serve.
    QTest::addColumn<QByteArrayList>("variables");
    QTest::addColumn<QString>("homes");
    QTest::addColumn<QString>("problem");
    const QString inHome = "<t>/home/.local/share|<t>/home/.cache";
    QTest::newRow("a home") << QByteArrayList {"<t>/home", "-", "-"} << inHome << "";
    QTest::newRow("XDG homes") << QByteArrayList {"<t>/home", "<t>/d", "<t>/c"} << "<t>/d|<t>/c"
                               << "";
    QTest::newRow("relative or empty XDG homes ignored")
        << QByteArrayList {"<t>/home", "d", ""} << inHome << "";
    QTest::newRow("XDG home not in UTF-8 ignored")
        << QByteArrayList {"<t>/home", "<t>/h\xff", "-"} << inHome << "";
    // No home: nothing beside it, nothing under the root.
    QTest::newRow("HOME unset") << QByteArrayList {"-", "-", "-"} << "|"
                                << "HOME is not set";
    QTest::newRow("HOME not in UTF-8") << QByteArrayList {"<t>/h\xff", "-", "-"} << "|"
                                       << "HOME is not valid UTF-8";
    QTest::newRow("HOME relative") << QByteArrayList {"home", "-", "-"} << "|"
                                   << "HOME \\(home\\) is not an absolute path";
    QTest::newRow("HOME a file") << QByteArrayList {"<t>/file", "-", "-"} << "|"
                                 << "is not a folder of the player's";
    QTest::newRow("HOME the root") << QByteArrayList {"/", "-", "-"} << "|"
                                   << "is not a folder of the player's";
    QTest::newRow("HOME unset, XDG homes given")
        << QByteArrayList {"-", "<t>/d", "<t>/c"} << "<t>/d|<t>/c"
        << "HOME is not set";
}

void InstallFolderTest::playerFoldersFollowTheXdgRules()
{
    QFETCH(QByteArrayList, variables);
    QFETCH(QString, homes);
    QFETCH(QString, problem);
    QTemporaryDir temporary;
    QVERIFY(temporary.isValid());
    const QByteArray t = QFile::encodeName(temporary.path());
    QVERIFY(QDir(temporary.path()).mkdir("home"));
    QVERIFY(::mkdir(t + "/h\xff", 0700) == 0);
    QFile(temporary.filePath("file")).open(QIODevice::WriteOnly);
    const char *names[] = {"HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"};
    QByteArrayList before;
    for (int i = 0; i < 3; ++i) {
        before.append(qgetenv(names[i]));
        if (variables[i] == "-")
            qunsetenv(names[i]);
        else
            qputenv(names[i], QByteArray(variables[i]).replace("<t>", t));
    }
    const QString got = PlayerFolders::data() + '|' + PlayerFolders::cache();
    const QString gotProblem = PlayerFolders::homeProblem();
    const QString notice = PlayerFolders::homeNotice();
    for (int i = 0; i < 3; ++i)
        qputenv(names[i], before[i]);

    const QString game = "/" + QCoreApplication::applicationName();
    QStringList expected = homes.split('|');
    for (QString &home : expected)
        home = home.isEmpty() ? home : home.replace("<t>", temporary.path()) + game;
    QCOMPARE(got, expected.join('|'));
    QVERIFY2(problem.isEmpty() ? gotProblem.isEmpty()
                               : gotProblem.contains(QRegularExpression(problem)),
             qPrintable(gotProblem));
    // The player is told when results have no place of their own.
    QCOMPARE(notice.isEmpty(), !expected[0].isEmpty());
    QVERIFY(notice.isEmpty() || notice.startsWith("Домашняя папка недоступна: "));
}

QTEST_GUILESS_MAIN(InstallFolderTest)
#include "tst_installfolder.moc"
