#include "results/resultsstore.h"

#include "model/installfolder.h"
#include "resultssandbox.h"
#include "testfiles.h"
#include "writeblock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSemaphore>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

#include <thread>

#include <unistd.h>

Q_DECLARE_METATYPE(ResultsStore::Status)

namespace {

const QStringList kColumns {"Победитель", "Попаданий юзера", "Попаданий компьютера",
                            "Уровень сложности"};
const QStringList kWon {"Игрок", "20", "13", "Средний"};
const QStringList kLost {"Компьютер", "7", "20", "Сложный"};
const QStringList kHolders {"Игрок", "20", "1", "Легкий"};
const QStringList kEasy {"Игрок", "20", "0", "Легкий"};

bool append(ResultsStore &store, const QStringList &row)
{
    return store.append(row[0], row[1], row[2], row[3]);
}

// Holds the write lock on a file from a thread of its own, as another copy of the
// game would, with a row of its own if given; lets go after holdMs or release().
class LockHolder
{
public:
    LockHolder(const QString &path, int holdMs, const QStringList &row)
        : m_thread([=, this] { hold(path, holdMs, row); })
    {
        m_locked.acquire();
    }
    ~LockHolder() { release(); }

    void release()
    {
        if (!m_thread.joinable())
            return;
        m_release.release();
        m_thread.join();
    }

private:
    void hold(const QString &path, int holdMs, const QStringList &row)
    {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "holder");
            db.setDatabaseName(path);
            db.open();
            QSqlQuery query(db);
            query.exec("BEGIN EXCLUSIVE");
            if (!row.isEmpty())
                query.exec("INSERT INTO \"tBase\" VALUES ('" + row.join("', '") + "')");
            m_locked.release();
            m_release.tryAcquire(1, holdMs);
            query.exec("COMMIT");
        }
        QSqlDatabase::removeDatabase("holder");
    }

    QSemaphore m_locked;
    QSemaphore m_release;
    std::thread m_thread;
};

void expectWarning(const char *pattern)
{
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QString::fromUtf8(pattern)));
}

} // namespace

class ResultsStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void firstRunCreatesTheTable_data();
    void firstRunCreatesTheTable();
    void rowsKeepTheirValuesAndOrderAcrossRuns();
    void appendBeforeOpenIsReported();
    void foreignFileIsNeverChanged_data();
    void foreignFileIsNeverChanged();
    void readOnlyFileIsOnlyRead();
    void readOnlyInstallFolderUsesTheDataFolder_data();
    void readOnlyInstallFolderUsesTheDataFolder();
    void nothingWritableStillShowsTheInstallationsRows();
    void missingInstallFolderUsesTheDataFolder();
    void lockedFileWaitsThenStoresOrReports_data();
    void lockedFileWaitsThenStoresOrReports();
    void lockAtStartUpDoesNotCostTheSession();
    void fileRemovedOrReplacedWhileRunning_data();
    void fileRemovedOrReplacedWhileRunning();
    void fullDiskRefusesRowsAloudAndKeepsTheStoredOnes();
};

void ResultsStoreTest::init()
{
    // Every warning a test does not expect is a failure: one clear warning per problem.
    QTest::failOnWarning(QRegularExpression(".*"));
}

void ResultsStoreTest::firstRunCreatesTheTable_data()
{
    QTest::addColumn<QString>("setup");
    QTest::newRow("no file") << "";
    QTest::newRow("empty file") << "empty";
    QTest::newRow("database without tBase") << "other table";
}

void ResultsStoreTest::firstRunCreatesTheTable()
{
    // A fresh installation gets tBase with the four text columns, names and order
    // exact, and whatever else an existing database holds stays.
    QFETCH(QString, setup);
    ResultsSandbox sandbox;
    if (setup == "empty")
        TestFiles::write(sandbox.installFile(), {});
    if (setup == "other table")
        QVERIFY(TestFiles::exec(sandbox.installFile(),
                                {"CREATE TABLE other(x)", "INSERT INTO other VALUES (7)"}));

    ResultsStore store;
    QCOMPARE(store.open(), ResultsStore::Status::Writable);
    QCOMPARE(store.filePath(), sandbox.installFile());

    const auto info = TestFiles::query(sandbox.installFile(), "PRAGMA table_info(\"tBase\")");
    QCOMPARE(info.size(), 4);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(info[i][1], kColumns[i]);
        QCOMPARE(info[i][2], QString("TEXT"));
    }
    if (setup == "other table")
        QCOMPARE(TestFiles::query(sandbox.installFile(), "SELECT x FROM other"),
                 QList<QStringList> {{"7"}});
}

void ResultsStoreTest::rowsKeepTheirValuesAndOrderAcrossRuns()
{
    // Every append adds exactly its row, as text, after the earlier ones; the next
    // run of the game appends to the same table.
    ResultsSandbox sandbox;
    {
        ResultsStore store;
        store.open();
        QVERIFY(append(store, kWon));
        QVERIFY(append(store, kLost));
    }
    ResultsStore store;
    QCOMPARE(store.open(), ResultsStore::Status::Writable);
    QVERIFY(append(store, kEasy));

    QCOMPARE(TestFiles::storedRows(sandbox.installFile()),
             (QList<QStringList> {kWon, kLost, kEasy}));
    const auto types = TestFiles::query(
        sandbox.installFile(),
        "SELECT DISTINCT typeof(\"Победитель\") || typeof(\"Попаданий юзера\") || "
        "typeof(\"Попаданий компьютера\") || typeof(\"Уровень сложности\") FROM \"tBase\"");
    QCOMPARE(types, QList<QStringList> {{"texttexttexttext"}});
}

void ResultsStoreTest::appendBeforeOpenIsReported()
{
    // A store that was never opened refuses the row aloud.
    ResultsSandbox sandbox;
    ResultsStore store;
    expectWarning("result not saved: the results file is not open");
    QVERIFY(!append(store, kWon));
    QVERIFY(!QFile::exists(sandbox.installFile()));
}

void ResultsStoreTest::foreignFileIsNeverChanged_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<ResultsStore::Status>("status");
    QTest::addColumn<QString>("warning");
    const auto moved = ResultsStore::Status::Writable;
    QTest::newRow("text file") << "text" << moved
                               << "is not a results file of this game \\(not an SQLite database\\)";
    QTest::newRow("file shorter than a header") << "short" << moved << "not an SQLite database";
    QTest::newRow("tBase with other columns")
        << "other columns" << moved << "has the columns Имя, Очки";
    QTest::newRow("tBase with a fifth column")
        << "fifth column" << moved << "Уровень сложности, Дата";
    QTest::newRow("damaged database after a good header")
        << "damaged" << ResultsStore::Status::Unavailable << "cannot be read";
}

void ResultsStoreTest::foreignFileIsNeverChanged()
{
    // A Base.mdb that is not ours keeps every byte and gets no journal beside it.
    // Another program's file sends the results to the data folder, and the player
    // is told so once, naming that folder; a damaged one refuses rows aloud.
    QFETCH(QString, setup);
    QFETCH(ResultsStore::Status, status);
    QFETCH(QString, warning);
    ResultsSandbox sandbox;
    const QString path = sandbox.installFile();
    const QString tBase = "CREATE TABLE \"tBase\" (\"Победитель\" TEXT, \"Попаданий юзера\" TEXT, "
                          "\"Попаданий компьютера\" TEXT, \"Уровень сложности\" TEXT%1)";
    if (setup == "text")
        TestFiles::write(path, "Standard Jet DB\nnot ours at all\n");
    if (setup == "short")
        TestFiles::write(path, "SQLite");
    if (setup == "other columns")
        QVERIFY(TestFiles::exec(path,
                                {"CREATE TABLE \"tBase\" (\"Имя\", \"Очки\")",
                                 "INSERT INTO \"tBase\" VALUES ('Ваня', 3)"}));
    if (setup == "fifth column")
        QVERIFY(TestFiles::exec(path, {tBase.arg(", \"Дата\" TEXT")}));
    if (setup == "damaged")
        TestFiles::write(path, QByteArray("SQLite format 3\0", 16) + QByteArray(4080, '\x5a'));
    const QByteArray before = TestFiles::bytes(path);

    ResultsStore store;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warning));
    QCOMPARE(store.open(), status);
    if (status == ResultsStore::Status::Writable) {
        QCOMPARE(store.filePath(), sandbox.userFile());
        const QString notice = store.takeNotice();
        QVERIFY2(notice.contains(QDir::toNativeSeparators(QFileInfo(sandbox.userFile()).path()))
                     && notice.contains("другой программе"),
                 qPrintable(notice));
        QVERIFY(store.takeNotice().isEmpty());
        QVERIFY(append(store, kWon));
        QCOMPARE(TestFiles::storedRows(sandbox.userFile()), QList<QStringList> {kWon});
    } else {
        expectWarning("result not saved:");
        QVERIFY(!append(store, kWon));
        QVERIFY(!store.failure().isEmpty());
    }

    QCOMPARE(TestFiles::bytes(path), before);
    QCOMPARE(TestFiles::folderListing(sandbox.installDir()), QStringList {"Base.mdb"});
}

void ResultsStoreTest::readOnlyFileIsOnlyRead()
{
    // A read-only results file is shown but never written; its rows stay as they were.
    ResultsSandbox sandbox;
    QVERIFY(TestFiles::makeStore(sandbox.installFile(), {kWon, kLost}));
    const QByteArray before = TestFiles::bytes(sandbox.installFile());
    WriteBlock block(sandbox.installFile());
    if (!block.isActive())
        QSKIP("this machine cannot make a file refuse writes");

    ResultsStore store;
    expectWarning("Base.mdb is read-only - its results are shown, new ones cannot be saved");
    QCOMPARE(store.open(), ResultsStore::Status::ReadOnly);
    QCOMPARE(store.filePath(), sandbox.installFile());
    QVERIFY(store.isReadable());
    expectWarning("result not saved: .*Base.mdb is read-only");
    QVERIFY(!append(store, kEasy));

    QCOMPARE(TestFiles::bytes(sandbox.installFile()), before);
    QCOMPARE(TestFiles::folderListing(sandbox.installDir()), QStringList {"Base.mdb"});
}

void ResultsStoreTest::readOnlyInstallFolderUsesTheDataFolder_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QList<QStringList>>("carried");
    QTest::newRow("no file in the installation") << "" << QList<QStringList> {};
    QTest::newRow("installation with results") << "results" << QList<QStringList> {kWon, kLost};
    QTest::newRow("installation with a foreign file") << "foreign" << QList<QStringList> {};
}

void ResultsStoreTest::readOnlyInstallFolderUsesTheDataFolder()
{
    // A system-wide installation: the player's rows go to Base.mdb in the player's data
    // folder, which starts with the installation's results; the installation is untouched.
    QFETCH(QString, setup);
    QFETCH(QList<QStringList>, carried);
    ResultsSandbox sandbox;
    if (setup == "results")
        QVERIFY(TestFiles::makeStore(sandbox.installFile(), carried));
    if (setup == "foreign")
        TestFiles::write(sandbox.installFile(), "a spreadsheet, say");
    const QStringList listing = TestFiles::folderListing(sandbox.installDir());
    const QByteArray before = TestFiles::bytes(sandbox.installFile());
    WriteBlock block(sandbox.installDir());
    if (!block.isActive())
        QSKIP("this machine cannot make a folder refuse writes");

    ResultsStore store;
    QTest::ignoreMessage(QtInfoMsg,
                         QRegularExpression("cannot be written: results are kept in "
                                            + QRegularExpression::escape(sandbox.userFile())));
    if (setup == "foreign")
        expectWarning("earlier results in .* cannot be taken over: not an SQLite database");
    QCOMPARE(store.open(), ResultsStore::Status::Writable);
    QCOMPARE(store.filePath(), sandbox.userFile());
    QVERIFY(sandbox.userFile().startsWith(sandbox.dataHome()));
    QVERIFY(append(store, kEasy));

    QCOMPARE(TestFiles::storedRows(sandbox.userFile()), carried + QList<QStringList> {kEasy});
    QCOMPARE(TestFiles::folderListing(sandbox.installDir()), listing);
    QCOMPARE(TestFiles::bytes(sandbox.installFile()), before);
}

void ResultsStoreTest::nothingWritableStillShowsTheInstallationsRows()
{
    // With no folder to write to, the installation's results are still shown and
    // the lost chance to save is reported, not hidden.
    ResultsSandbox sandbox;
    QVERIFY(TestFiles::makeStore(sandbox.installFile(), {kWon}));
    QVERIFY(QDir().mkpath(sandbox.dataHome()));
    WriteBlock installBlock(sandbox.installDir());
    WriteBlock dataBlock(sandbox.dataHome());
    if (!installBlock.isActive() || !dataBlock.isActive())
        QSKIP("this machine cannot make a folder refuse writes");

    ResultsStore store;
    expectWarning("neither .* nor .* can be written - results of this session cannot be saved");
    QCOMPARE(store.open(), ResultsStore::Status::ReadOnly);
    QCOMPARE(store.filePath(), sandbox.installFile());
    expectWarning("result not saved: neither");
    QVERIFY(!append(store, kEasy));
    QCOMPARE(TestFiles::storedRows(sandbox.installFile()), QList<QStringList> {kWon});
}

void ResultsStoreTest::missingInstallFolderUsesTheDataFolder()
{
    // A vanished installation folder is not recreated; the data folder is, and takes the rows.
    ResultsSandbox sandbox;
    const QString absent = QDir(sandbox.root()).filePath("absent");
    InstallFolder::setPathForTesting(absent);

    ResultsStore store;
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression("absent cannot be written"));
    QCOMPARE(store.open(), ResultsStore::Status::Writable);
    QVERIFY(append(store, kWon));
    QCOMPARE(TestFiles::storedRows(sandbox.userFile()), QList<QStringList> {kWon});
    QVERIFY(!QFileInfo::exists(absent));
}

void ResultsStoreTest::lockedFileWaitsThenStoresOrReports_data()
{
    QTest::addColumn<int>("lockWaitMs");
    QTest::addColumn<bool>("stored");
    QTest::newRow("the game's own short wait") << 0 << false;
    QTest::newRow("a wait that outlasts the lock") << 5000 << true;
}

void ResultsStoreTest::lockedFileWaitsThenStoresOrReports()
{
    // Another program holding the write lock delays the row, never loses it silently:
    // it lands once the lock goes, or the call says false and tells why.
    QFETCH(int, lockWaitMs);
    QFETCH(bool, stored);
    ResultsSandbox sandbox;
    ResultsStore store;
    store.open();
    const QString path = sandbox.installFile();

    LockHolder holder(path, 700, kHolders);
    if (!stored)
        expectWarning("result not saved: .*Base.mdb is locked by another program");
    const bool ok = store.append(kWon[0], kWon[1], kWon[2], kWon[3], lockWaitMs);
    QCOMPARE(ok, stored);
    QCOMPARE(store.failure().isEmpty(), stored);
    if (!stored)
        QVERIFY2(store.failure().contains("занят другой программой"), qPrintable(store.failure()));
    holder.release();

    if (!stored)
        QVERIFY(append(store, kWon)); // the lock is gone: the row lands
    QCOMPARE(TestFiles::storedRows(path), (QList<QStringList> {kHolders, kWon}));
}

void ResultsStoreTest::lockAtStartUpDoesNotCostTheSession()
{
    // A lock that outlasts the wait at start-up leaves the store unopened for the
    // moment; the first result after the lock is gone is stored all the same.
    ResultsSandbox sandbox;
    const QString path = sandbox.installFile();
    QVERIFY(TestFiles::makeStore(path, {}));
    LockHolder holder(path, -1, {});
    ResultsStore store;
    expectWarning("Base.mdb is locked by another program - results are saved once it is free");
    const ResultsStore::Status status = store.open();
    holder.release();
    QCOMPARE(status, ResultsStore::Status::Unavailable);

    QVERIFY(append(store, kWon));
    QCOMPARE(store.status(), ResultsStore::Status::Writable);
    QCOMPARE(TestFiles::storedRows(path), QList<QStringList> {kWon});
}

void ResultsStoreTest::fileRemovedOrReplacedWhileRunning_data()
{
    QTest::addColumn<bool>("replace");
    QTest::newRow("removed") << false;
    QTest::newRow("replaced by another program's file") << true;
}

void ResultsStoreTest::fileRemovedOrReplacedWhileRunning()
{
    // Rows never go into a file that is no longer at the path: a removed file is made
    // again, a file put in its place is judged like any file found at start-up.
    QFETCH(bool, replace);
    ResultsSandbox sandbox;
    ResultsStore store;
    store.open();
    QVERIFY(append(store, kLost));
    QVERIFY(QFile::remove(sandbox.installFile()));
    if (replace)
        TestFiles::write(sandbox.installFile(), "notes of another program");
    const QByteArray before = TestFiles::bytes(sandbox.installFile());

    QTest::ignoreMessage(QtInfoMsg, QRegularExpression("was replaced or removed"));
    if (replace) {
        expectWarning("is not a results file of this game");
        expectWarning("result not saved:");
    }
    QCOMPARE(append(store, kWon), !replace);
    if (replace)
        QCOMPARE(TestFiles::bytes(sandbox.installFile()), before);
    else
        QCOMPARE(TestFiles::storedRows(sandbox.installFile()), QList<QStringList> {kWon});
}

void ResultsStoreTest::fullDiskRefusesRowsAloudAndKeepsTheStoredOnes()
{
    // A full disk makes append say false and warn; every row stored before stays whole,
    // and once there is room again the next result is stored.
    ResultsSandbox sandbox;
    if (::geteuid() != 0
        || QProcess::execute("mount",
                             {"-t", "tmpfs", "-o", "size=64k", "tmpfs", sandbox.installDir()})
            != 0)
        QSKIP("needs root to mount a small file system");
    auto unmount = qScopeGuard([&] { QProcess::execute("umount", {sandbox.installDir()}); });
    const QString filler = QDir(sandbox.installDir()).filePath("filler");
    TestFiles::write(filler, QByteArray(16 * 1024, 'x'));

    ResultsStore store;
    QCOMPARE(store.open(), ResultsStore::Status::Writable);
    expectWarning("result not saved: .*Base.mdb refused the row \\(database or disk is full");
    int stored = 0;
    while (stored < 100000 && append(store, kWon))
        ++stored;
    QVERIFY(stored > 0);
    QCOMPARE(TestFiles::query(sandbox.installFile(), "PRAGMA integrity_check"),
             QList<QStringList> {{"ok"}});
    QCOMPARE(TestFiles::storedRows(sandbox.installFile()), QList<QStringList>(stored, kWon));

    QVERIFY(QFile::remove(filler));
    QVERIFY(append(store, kLost));
    QCOMPARE(TestFiles::storedRows(sandbox.installFile()).last(), kLost);
}

QTEST_GUILESS_MAIN(ResultsStoreTest)
#include "tst_resultsstore.moc"
