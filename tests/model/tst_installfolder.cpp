#include "files/installfolder.h"
#include "files/soundfontpath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class InstallFolderTest : public QObject
{
    Q_OBJECT

private slots:
    void layoutFollowsTheFoldersBesideTheProgram_data();
    void layoutFollowsTheFoldersBesideTheProgram();
    void soundFontIsTheGeneralMidiAlternative_data();
    void soundFontIsTheGeneralMidiAlternative();
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

QTEST_GUILESS_MAIN(InstallFolderTest)
#include "tst_installfolder.moc"
