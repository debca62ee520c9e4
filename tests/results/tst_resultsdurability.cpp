#include "resultssandbox.h"
#include "testfiles.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTest>
#include <QThread>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QStringList kLevels {"Легкий", "Средний", "Сложный"};
constexpr int kWritable = 2; // ResultsStore::Status::Writable as the helper prints it

QString winnerOf(const QString &who)
{
    return who == "player" ? QString("Игрок") : QString("Компьютер");
}

QProcess *startWriter(const ResultsSandbox &sandbox, const QString &who, int count, QObject *parent,
                      const QStringList &prefix = {}, const QStringList &suffix = {})
{
    auto *writer = new QProcess(parent);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", sandbox.dataHome());
    writer->setProcessEnvironment(env);
    const QStringList args
        = QStringList {sandbox.installDir(), who, QString::number(count)} + suffix;
    if (prefix.isEmpty()) {
        writer->start(RESULTS_HELPER, args);
    } else {
        writer->start(prefix.first(), prefix.mid(1) + QStringList {RESULTS_HELPER} + args);
    }
    return writer;
}

// The row number a helper encoded in the row, or -1 when the row is not whole and
// consistent: winner, two decimal counts and the level that belongs to them.
int rowNumber(const QStringList &row, const QString &winner)
{
    static const QRegularExpression decimal("^[0-9]{1,2}$");
    if (row.size() != 4 || row[0] != winner || !decimal.match(row[1]).hasMatch()
        || !decimal.match(row[2]).hasMatch() || row[1].toInt() > 20)
        return -1;
    const int i = row[2].toInt() * 21 + row[1].toInt();
    return row[3] == kLevels[i % 3] ? i : -1;
}

// Row numbers of consecutive rows from `first` on, as long as they are whole.
QList<int> rowNumbers(const QList<QStringList> &rows, qsizetype first, const QString &winner)
{
    QList<int> numbers;
    for (qsizetype r = first; r < rows.size(); ++r)
        numbers << rowNumber(rows[r], winner);
    return numbers;
}

QList<int> upTo(int count)
{
    QList<int> numbers;
    for (int i = 0; i < count; ++i)
        numbers << i;
    return numbers;
}

// Every row of both writers once, each writer's in its own order.
void everyRowOnceInOrder(const QString &path, int each)
{
    const QList<QStringList> rows = TestFiles::storedRows(path);
    QCOMPARE(rows.size(), 2 * each);
    for (const QString who : {"player", "computer"}) {
        QList<QStringList> own;
        for (const QStringList &row : rows) {
            if (row[0] == winnerOf(who))
                own << row;
        }
        QCOMPARE(rowNumbers(own, 0, winnerOf(who)), upTo(each));
    }
}

// Whether the process holds a lock on each of the files (as /proc/locks lists them).
bool holdsLocks(qint64 pid, const QStringList &files)
{
    QFile locks("/proc/locks");
    if (!locks.open(QIODevice::ReadOnly))
        return false;
    const QByteArray table = locks.readAll();
    for (const QString &file : files) {
        struct stat info = {};
        if (::stat(QFile::encodeName(file).constData(), &info) != 0)
            return false;
        const QRegularExpression held(
            QString(" %1 [0-9a-f]+:[0-9a-f]+:%2 ").arg(pid).arg(qulonglong(info.st_ino)));
        if (!held.match(QString::fromLatin1(table)).hasMatch())
            return false;
    }
    return true;
}

int lastAcknowledged(const QByteArray &output)
{
    const QList<QByteArray> lines = output.split('\n');
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        if (line->startsWith("ok "))
            return line->mid(3).toInt();
    }
    return 0;
}

} // namespace

class ResultsDurabilityTest : public QObject
{
    Q_OBJECT

private slots:
    void killedWriterLeavesOnlyWholeRows();
    void twoGamesWritingAtOnceKeepEveryRow();
    void gameStoppedWhileMovingWaitingRowsLosesNone();
    void sqliteToolReadsTheFile();
    void playerWithoutWriteAccess_data();
    void playerWithoutWriteAccess();
};

void ResultsDurabilityTest::killedWriterLeavesOnlyWholeRows()
{
    // A game killed at any moment leaves a sound file holding every row it reported
    // stored, each one whole; the next game recovers the interrupted write and goes on.
    ResultsSandbox sandbox;
    const QString path = sandbox.installFile();
    const QString copy = QDir(sandbox.root()).filePath("copy.mdb");
    qsizetype durable = 0;
    int journalsLeft = 0;
    // The moments of the kills come from a seed that is printed first, so that a failure can
    // be replayed with SEABATTLE_KILL_SEED set to it.
    bool seedGiven = false;
    quint32 seed = qEnvironmentVariable("SEABATTLE_KILL_SEED").toUInt(&seedGiven);
    if (!seedGiven)
        seed = QRandomGenerator::system()->generate();
    qInfo("kill moments from seed %u (replay with SEABATTLE_KILL_SEED=%u)", seed, seed);
    QRandomGenerator moments(seed);
    for (int round = 0; round < 30; ++round) {
        const QString who = round % 2 ? "player" : "computer";
        QProcess *writer = startWriter(sandbox, who, -1, this);
        QVERIFY(writer->waitForStarted());
        QThread::msleep(moments.bounded(40, 250));
        writer->kill();
        QVERIFY(writer->waitForFinished());
        const QByteArray output = writer->readAllStandardOutput();
        QCOMPARE(writer->readAllStandardError(), QByteArray());
        if (output.startsWith("ready "))
            QCOMPARE(output.split(' ').at(1).toInt(), kWritable);
        delete writer;

        // Judge a copy, so the next writer meets the interrupted write itself.
        const bool journal = QFile::exists(path + "-journal");
        journalsLeft += journal;
        QFile::remove(copy);
        QFile::remove(copy + "-journal");
        QFile::copy(path, copy);
        if (journal)
            QFile::copy(path + "-journal", copy + "-journal");
        if (!QFile::exists(copy))
            continue; // killed before the file was made
        QCOMPARE(TestFiles::query(copy, "PRAGMA integrity_check"), QList<QStringList> {{"ok"}});
        const QList<QStringList> rows = TestFiles::storedRows(copy);
        QVERIFY2(rows.size() >= durable + lastAcknowledged(output), qPrintable(output));
        QCOMPARE(rowNumbers(rows, durable, winnerOf(who)), upTo(int(rows.size() - durable)));
        durable = rows.size();
    }
    QVERIFY(durable > 0);
    qInfo("%lld rows after 30 kills, %d of which left a journal", qlonglong(durable), journalsLeft);
}

void ResultsDurabilityTest::twoGamesWritingAtOnceKeepEveryRow()
{
    // Two copies of the game finishing games at the same moments, from the very first run
    // on and on a machine whose every core is busy, both keep every row, once and in each
    // copy's own order, and neither tells the player anything: a file that is only busy is
    // waited for, never reported.
    QList<QProcess *> hogs;
    auto stopHogs = qScopeGuard([&] {
        for (QProcess *hog : hogs) {
            hog->kill();
            hog->waitForFinished();
        }
    });
    for (int core = 0; core < QThread::idealThreadCount(); ++core) {
        auto *hog = new QProcess(this);
        hog->setStandardOutputFile(QProcess::nullDevice());
        hog->start("yes", {});
        QVERIFY(hog->waitForStarted());
        hogs << hog;
    }
    ResultsSandbox sandbox;
    QProcess *player = startWriter(sandbox, "player", 40, this, {}, {"keeper"});
    QProcess *computer = startWriter(sandbox, "computer", 40, this, {}, {"keeper"});
    for (QProcess *writer : {player, computer}) {
        QVERIFY(writer->waitForFinished(180000));
        // Nothing for the player, and no warning at all.
        QCOMPARE(writer->readAllStandardError(), QByteArray());
        QCOMPARE(writer->exitStatus(), QProcess::NormalExit);
        QCOMPARE(writer->exitCode(), 0);
    }
    everyRowOnceInOrder(sandbox.installFile(), 40);
}

void ResultsDurabilityTest::gameStoppedWhileMovingWaitingRowsLosesNone()
{
    // Two copies of the game finish games while a third program reads the results file, so
    // that every commit waits: their rows wait in the pending file, and each move of them
    // waits, half done, for the reader. One copy is stopped (SIGSTOP) in the middle of such a
    // move, holding both files' locks, and resumed later; the other plays on meanwhile. No
    // row is lost or doubled, each copy's own keep their order, and nobody is told a thing.
    ResultsSandbox sandbox;
    const QString path = sandbox.installFile();
    QVERIFY(TestFiles::makeStore(path, {}));
    QSqlDatabase reader = QSqlDatabase::addDatabase("QSQLITE", "reader");
    auto drop = qScopeGuard([&] {
        reader.close();
        reader = {};
        QSqlDatabase::removeDatabase("reader");
    });
    reader.setDatabaseName(path);
    QVERIFY(reader.open());
    QSqlQuery read(reader);
    QVERIFY(read.exec("BEGIN") && read.exec("SELECT count(*) FROM \"tBase\"") && read.next());

    QProcess *player = startWriter(sandbox, "player", 40, this, {}, {"keeper"});
    QProcess *computer = startWriter(sandbox, "computer", 40, this, {}, {"keeper"});
    QVERIFY(player->waitForStarted() && computer->waitForStarted());
    const QString pending = QDir(sandbox.dataHome()).filePath("seabattle/pending-results.db");
    qint64 stopped = 0;
    const QDeadlineTimer deadline(8000);
    while (!stopped && !deadline.hasExpired()) {
        for (QProcess *writer : {player, computer}) {
            const qint64 pid = writer->processId();
            if (pid == 0 || !holdsLocks(pid, {path, pending}))
                continue;
            ::kill(pid_t(pid), SIGSTOP);
            if (holdsLocks(pid, {path, pending})) {
                stopped = pid;
                break;
            }
            ::kill(pid_t(pid), SIGCONT);
        }
        QThread::usleep(500);
    }
    QVERIFY2(stopped, "no copy of the game was found in the middle of a move within 8 s");
    read.finish();
    QVERIFY(read.exec("COMMIT"));
    // The other copy plays on for a while, its rows kept in its memory while the stopped
    // one holds both files.
    QThread::msleep(1000);
    ::kill(pid_t(stopped), SIGCONT);
    for (QProcess *writer : {player, computer}) {
        QVERIFY(writer->waitForFinished(120000));
        QCOMPARE(writer->readAllStandardError(), QByteArray());
        QCOMPARE(writer->exitCode(), 0);
    }
    everyRowOnceInOrder(path, 40);
}

void ResultsDurabilityTest::sqliteToolReadsTheFile()
{
    // The file is plain SQLite: the command-line tool lists the rows the game wrote.
    const QString tool = QStandardPaths::findExecutable("sqlite3");
    if (tool.isEmpty())
        QSKIP("the sqlite3 tool is not installed");
    ResultsSandbox sandbox;
    QProcess *writer = startWriter(sandbox, "player", 2, this);
    QVERIFY(writer->waitForFinished());
    QCOMPARE(writer->exitCode(), 0);

    QProcess sqlite;
    sqlite.start(tool, {sandbox.installFile(), "select * from tBase"});
    QVERIFY(sqlite.waitForFinished());
    QCOMPARE(sqlite.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(sqlite.readAllStandardOutput()),
             QString("Игрок|0|0|Легкий\nИгрок|1|0|Средний\n"));
}

void ResultsDurabilityTest::playerWithoutWriteAccess_data()
{
    QTest::addColumn<bool>("folderWritable");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::newRow("system-wide installation")
        << false << 0 << "cannot be written: results are kept in";
    QTest::newRow("read-only file in an open folder")
        << true << 1 << "Base.mdb is read-only - its results are shown";
}

void ResultsDurabilityTest::playerWithoutWriteAccess()
{
    // A real unprivileged player: results of an installation owned by someone else go
    // to the player's own data folder, starting with the installation's rows; a
    // read-only file in a folder the player may write is only read.
    if (::geteuid() != 0 || QStandardPaths::findExecutable("setpriv").isEmpty())
        QSKIP("needs root and setpriv to play the game as another user");
    QFETCH(bool, folderWritable);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    ResultsSandbox sandbox;
    const QStringList seed {"Компьютер", "3", "20", "Сложный"};
    QVERIFY(TestFiles::makeStore(sandbox.installFile(), {seed}));
    QVERIFY(QDir().mkpath(sandbox.dataHome()));
    const auto open = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
        | QFileDevice::ReadOther | QFileDevice::ExeOther;
    QFile::setPermissions(sandbox.root(), open);
    QFile::setPermissions(sandbox.installDir(),
                          folderWritable ? open | QFileDevice::WriteOther : open);
    QFile::setPermissions(sandbox.dataHome(), open | QFileDevice::WriteOther);
    const QByteArray before = TestFiles::bytes(sandbox.installFile());

    QProcess *writer
        = startWriter(sandbox, "player", 1, this,
                      {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"});
    QVERIFY(writer->waitForFinished());
    const QString errors = QString::fromLocal8Bit(writer->readAllStandardError());
    QVERIFY2(errors.contains(message), qPrintable(errors));
    QCOMPARE(writer->exitCode(), exitCode);

    QCOMPARE(TestFiles::bytes(sandbox.installFile()), before);
    const QString userFile = QDir(sandbox.dataHome()).filePath("seabattle/Base.mdb");
    if (folderWritable) {
        QVERIFY(!QFile::exists(userFile));
    } else {
        QCOMPARE(TestFiles::storedRows(userFile),
                 (QList<QStringList> {seed, {"Игрок", "0", "0", "Легкий"}}));
    }
}

QTEST_GUILESS_MAIN(ResultsDurabilityTest)
#include "tst_resultsdurability.moc"
