#include "battledriver.h"
#include "windowfixture.h"

#include "sound/gamesound.h"
#include "view/prompter.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

using namespace WindowDriver;
using namespace BattleDriver;

namespace {
const char *const gameFiles[] = {
    "XField.bmp", "Ship11.bmp",   "Ship12.bmp", "Ship21.bmp", "Ship22.bmp",
    "Ship31.bmp", "Ship32.bmp",   "Ship41.bmp", "Ship42.bmp", "picBoom.bmp",
    "Sn.cur",     "seasound.mid", "Boom.wav",   "Base.mdb",
};
const char *const damages[] = {"missing", "empty", "half", "random bytes", "directory"};

void damage(const QString &path, const QString &how)
{
    QByteArray bytes;
    {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            bytes = file.readAll();
    }
    QFile::remove(path);
    if (how == "missing")
        return;
    if (how == "directory") {
        QDir().mkpath(path);
        return;
    }
    if (how == "half")
        bytes.truncate(bytes.size() / 2);
    else if (how == "empty")
        bytes.clear();
    else {
        bytes.resize(qMax<qsizetype>(bytes.size(), 4096));
        QRandomGenerator generator(7);
        for (char &byte : bytes)
            byte = char(generator.bounded(256));
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}
} // namespace

class BadMediaTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void everyDamagedFileLeavesTheGamePlayable_data();
    void everyDamagedFileLeavesTheGamePlayable();

private:
    QTemporaryDir m_cache;
    // The game's own renderer, so that a damaged tune goes through it.
    const QString m_renderer
        = QDir(qEnvironmentVariable("SEABATTLE_GAME_DIR")).filePath("seabattle-tune");
};

void BadMediaTest::initTestCase()
{
    // The tune's renderings go to a cache of this run's own, not the user's.
    QVERIFY(m_cache.isValid());
    QVERIFY(QFileInfo(m_renderer).isExecutable());
    qputenv("XDG_CACHE_HOME", QFile::encodeName(m_cache.path()));
}

// Whatever happens to one of the game's files, it starts, plays a whole game with the
// real sound through the real window, and ends it without a crash.
void BadMediaTest::everyDamagedFileLeavesTheGamePlayable_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("how");
    for (const char *file : gameFiles)
        for (const char *how : damages)
            QTest::addRow("%s %s", file, how)
                << QString::fromLatin1(file) << QString::fromLatin1(how);
}

void BadMediaTest::everyDamagedFileLeavesTheGamePlayable()
{
    QFETCH(QString, file);
    QFETCH(QString, how);
    WindowFixture fixture(WindowFixture::Media::Copied, false);
    if (file == "Base.mdb") {
        // A results file left by an earlier run, then damaged.
        QFile seed(fixture.folder.filePath(file));
        QVERIFY(seed.open(QIODevice::WriteOnly));
        seed.close();
    }
    damage(fixture.folder.filePath(file), how);
    QTest::failOnWarning(QRegularExpression("ASSERT|Segmentation"));

    GameSound sound(m_renderer);
    frmMain window(sound, fixture.random, fixture.prompter);
    window.Form_Load();
    window.show();
    layOutAndChooseLevel(window, 2);
    moveToCell(window, compCell(5, 5));
    pressCell(window, compCells(window, CellState::Empty).first());
    tickComputer(window);
    for (int index : compCells(window, CellState::Ship)) {
        moveToCell(window, index);
        pressCell(window, index);
        tickComputer(window);
        if (window.game().isOver())
            break;
    }
    QVERIFY(window.game().isOver());
    effects(window).tmrBoom_Timer();
    effects(window).tmrMuz_Timer();
    click(find<QCheckBox>(window, "chMusic"));
    QVERIFY(fixture.prompter.shown.last().startsWith("|Вы"));
    // The tune's renderer, a child of the game, has ended and the game has taken its outcome.
    const auto rendering = [] {
        QFile children(
            QStringLiteral("/proc/self/task/%1/children").arg(QCoreApplication::applicationPid()));
        return children.open(QIODevice::ReadOnly) && !children.readAll().trimmed().isEmpty();
    };
    QTRY_VERIFY_WITH_TIMEOUT(!rendering(), 60000);
}

QTEST_MAIN(BadMediaTest)
#include "tst_badmedia.moc"
