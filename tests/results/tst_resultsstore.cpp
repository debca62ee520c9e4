#include "store/resultsstore.h"
#include "store/sqlitedb.h"

#include "files/installfolder.h"
#include "resultssandbox.h"
#include "testfiles.h"
#include "view/effects/resultswords.h"
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
#include <QUrl>

#include <thread>

#include <sqlite3.h>

#include <sys/stat.h>
#include <unistd.h>

Q_DECLARE_METATYPE(ResultsStore::Status)

namespace {

const QStringList kColumns {"Победитель", "Попаданий юзера", "Попаданий компьютера",
                            "Уровень сложности"};
const QStringList kWon {"Игрок", "20", "13", "Средний"};
const QStringList kLost {"Компьютер", "7", "20", "Сложный"};
const QStringList kHolders {"Игрок", "20", "1", "Легкий"};
const QStringList kEasy {"Игрок", "20", "0", "Легкий"};

// The row whose columns the file must then hold.
ResultRow rowOf(const QStringList &columns)
{
    return {columns[0] == "Игрок" ? ResultRow::Winner::Player : ResultRow::Winner::Computer,
            columns[1].toInt(), columns[2].toInt(), columns[3]};
}

bool append(ResultsStore &store, const QStringList &row)
{
    return store.append(rowOf(row)).stored();
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
    void endlessStatementIsInterrupted();
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
    QTest::addColumn<QString>("warning");
    QTest::addColumn<QString>("notice"); // its first sentence, %1 the installation's file
    const QString notOurs = "Файл %1 не является файлом результатов этой игры.";
    const QString notOursOrDamaged
        = "Файл %1 не является файлом результатов этой игры или поврежден.";
    QTest::newRow("text file") << "text"
                               << "is not a results file of this game, or it is damaged "
                                  "\\(not an SQLite database\\)"
                               << notOursOrDamaged;
    // An earlier version kept the notices seen in a text file of their own: megabytes of other
    // notices never hide this one, and this one seen there is not told again.
    QTest::newRow("text file, notices seen filling megabytes")
        << "text, long notices seen"
        << "not an SQLite database" << notOursOrDamaged;
    QTest::newRow("text file, seen as an earlier version kept it")
        << "text, seen earlier"
        << "not an SQLite database" << notOursOrDamaged;
    QTest::newRow("file shorter than a header") << "short"
                                                << "not an SQLite database" << notOursOrDamaged;
    QTest::newRow("tBase with other columns") << "other columns"
                                              << "has the columns Имя, Очки" << notOurs;
    QTest::newRow("tBase with a fifth column") << "fifth column"
                                               << "Уровень сложности, Дата" << notOurs;
    QTest::newRow("damaged database after a good header") << "damaged"
                                                          << "Base.mdb is damaged"
                                                          << "Файл результатов %1 поврежден.";
    // Nothing a file brings along may act on a row, hold the game or hide the rows.
    QTest::newRow("tBase with an endless trigger") << "endless trigger"
                                                   << "it holds the trigger spin" << notOurs;
    QTest::newRow("tBase with a trigger that deletes each row")
        << "deleting trigger"
        << "it holds the trigger wipe" << notOurs;
    QTest::newRow("a view tBase with an INSTEAD OF trigger")
        << "view"
        << "it holds the (view tBase|trigger swallow)" << notOurs;
    QTest::newRow("tBase with a unique index") << "index"
                                               << "it holds the index once" << notOurs;
    QTest::newRow("link to another results file")
        << "link"
        << "Base.mdb is a symbolic link, not a regular file"
        << "На месте файла результатов %1 находится символическая ссылка.";
    QTest::newRow("folder") << "folder"
                            << "Base.mdb is a folder, not a regular file"
                            << "На месте файла результатов %1 находится папка.";
    QTest::newRow("named pipe") << "pipe"
                                << "Base.mdb is a named pipe, not a regular file"
                                << "На месте файла результатов %1 находится именованный канал.";
}

void ResultsStoreTest::foreignFileIsNeverChanged()
{
    // A Base.mdb that is not ours, or not a file at all, keeps every byte and gets no journal
    // beside it, and no link is followed. The results go to the data folder, and the player
    // is told once, with what is known of the file and where the results go.
    QFETCH(QString, setup);
    QFETCH(QString, warning);
    QFETCH(QString, notice);
    ResultsSandbox sandbox;
    const QString path = sandbox.installFile();
    const QString elsewhere = QDir(sandbox.root()).filePath("elsewhere.mdb");
    const QString tBase = "CREATE TABLE \"tBase\" (\"Победитель\" TEXT, \"Попаданий юзера\" TEXT, "
                          "\"Попаданий компьютера\" TEXT, \"Уровень сложности\" TEXT%1)";
    if (setup.startsWith("text"))
        TestFiles::write(path, "Standard Jet DB\nnot ours at all\n");
    const QString seen = QFileInfo(sandbox.userFile()).path() + "/notices-shown";
    if (setup.contains("notices seen"))
        QVERIFY(QDir().mkpath(QFileInfo(seen).path()));
    if (setup.contains("long notices seen"))
        TestFiles::write(seen, QByteArray("/elsewhere/Base.mdb\n").repeated(100000));
    if (setup == "short")
        TestFiles::write(path, "SQLite");
    if (setup == "other columns")
        QVERIFY(TestFiles::exec(path,
                                {"CREATE TABLE \"tBase\" (\"Имя\", \"Очки\")",
                                 "INSERT INTO \"tBase\" VALUES ('Ваня', 3)"}));
    if (setup == "fifth column")
        QVERIFY(TestFiles::exec(path, {tBase.arg(", \"Дата\" TEXT")}));
    const QString endless = "SELECT count(*) FROM (WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL "
                            "SELECT x + 1 FROM c) SELECT x FROM c)";
    if (setup == "endless trigger")
        QVERIFY(TestFiles::exec(path,
                                {tBase.arg(""),
                                 "CREATE TRIGGER spin BEFORE INSERT ON "
                                 "\"tBase\" BEGIN "
                                     + endless + "; END"}));
    if (setup == "deleting trigger")
        QVERIFY(TestFiles::exec(path,
                                {tBase.arg(""),
                                 "CREATE TRIGGER wipe AFTER INSERT ON "
                                 "\"tBase\" BEGIN DELETE FROM \"tBase\"; END"}));
    if (setup == "view")
        QVERIFY(TestFiles::exec(
            path,
            {tBase.arg("").replace("\"tBase\"", "kept"),
             "CREATE VIEW \"tBase\" AS SELECT * FROM kept",
             "CREATE TRIGGER swallow INSTEAD OF INSERT ON \"tBase\" BEGIN SELECT 1; END"}));
    if (setup == "index")
        QVERIFY(TestFiles::exec(path,
                                {tBase.arg(""),
                                 "CREATE UNIQUE INDEX once ON \"tBase\" "
                                 "(\"Уровень сложности\")"}));
    if (setup == "damaged")
        TestFiles::write(path, QByteArray("SQLite format 3\0", 16) + QByteArray(4080, '\x5a'));
    if (setup == "link") {
        QVERIFY(TestFiles::makeStore(elsewhere, {kLost}));
        QVERIFY(QFile::link(elsewhere, path));
    }
    if (setup == "folder")
        QVERIFY(QDir().mkpath(path));
    if (setup == "pipe")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
    const bool regular = setup != "folder" && setup != "pipe";
    const QByteArray before = regular ? TestFiles::bytes(path) : QByteArray();
    const QByteArray elsewhereBefore = TestFiles::bytes(elsewhere);

    ResultsStore store;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warning));
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression("is not used: results are kept in"));
    QCOMPARE(store.open(), ResultsStore::Status::Writable);
    QCOMPARE(store.filePath(), sandbox.userFile());
    QCOMPARE(ResultsWords::takeNotice(store),
             notice.arg(path) + " Игра оставляет его без изменений.\nРезультаты игр сохраняются "
                 + "в файле " + sandbox.userFile() + ".");
    QVERIFY(!store.takeNotice());
    QVERIFY(append(store, kWon));
    QCOMPARE(TestFiles::storedRows(sandbox.userFile()), QList<QStringList> {kWon});

    if (regular)
        QCOMPARE(TestFiles::bytes(path), before);
    QCOMPARE(TestFiles::bytes(elsewhere), elsewhereBefore);
    QCOMPARE(TestFiles::folderListing(sandbox.installDir()), QStringList {"Base.mdb"});
    QVERIFY(!QFile::exists(elsewhere + "-journal"));
    // The next start finds the same file and says nothing more to the player.
    if (setup.contains("seen earlier")) {
        const QString pending = QFileInfo(seen).path() + "/pending-results.db";
        const QString key = TestFiles::query(pending, "SELECT key FROM tTaken").value(0).value(0);
        QVERIFY(!key.isEmpty() && QFile::remove(pending));
        TestFiles::write(seen, "/elsewhere/Base.mdb\n" + QUrl::toPercentEncoding(key) + "\n");
    }
    ResultsStore again;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warning));
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression("is not used: results are kept in"));
    again.open();
    QVERIFY(!again.takeNotice());
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
    expectWarning("result not saved: .*Base.mdb is read-only");
    QVERIFY(!append(store, kEasy));

    QCOMPARE(TestFiles::bytes(sandbox.installFile()), before);
    QCOMPARE(TestFiles::folderListing(sandbox.installDir()), QStringList {"Base.mdb"});
}

void ResultsStoreTest::readOnlyInstallFolderUsesTheDataFolder_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QList<QStringList>>("carried");
    QTest::addColumn<bool>("systemWide");
    QTest::addColumn<QString>("notice"); // its first sentence
    const QString readOnly = "Папка игры <folder> закрыта для записи.";
    QList<QStringList> many;
    for (int i = 0; i < 3000; ++i)
        many << QStringList {"Игрок", QString(400, QChar(u'я')), QString::number(i), "Легкий"};
    QTest::newRow("no file in the installation")
        << "" << QList<QStringList> {} << false << readOnly;
    QTest::newRow("installation with results")
        << "" << QList<QStringList> {kWon, kLost} << false << readOnly;
    QTest::newRow("installation with a foreign file")
        << "foreign" << QList<QStringList> {} << false
        << "Файл <file> не является файлом результатов этой игры или поврежден. Игра оставляет "
           "его без изменений.";
    QTest::newRow("installation with megabytes of results, copied in steps")
        << "large" << many << false << readOnly;
    QTest::newRow("system-wide installation") << "" << QList<QStringList> {kWon} << true << "";
    // A copy never fills the disk, and a killed one leaves nothing for good.
    QTest::newRow("installation with a sparse file of 20 GB, refused")
        << "sparse" << QList<QStringList> {} << false << readOnly;
    QTest::newRow("leftovers of a killed copy")
        << "leftovers" << QList<QStringList> {kWon} << false << readOnly;
}

void ResultsStoreTest::readOnlyInstallFolderUsesTheDataFolder()
{
    // An installation folder that refuses writes: the player's rows go to Base.mdb in the
    // player's data folder, which starts as a copy of the installation's results; the
    // installation is untouched. A large file is copied between the window's events, its
    // rows listed from the installation meanwhile. A portable copy tells the player once
    // where the results go; a system-wide installation, whose results belong there, not at all.
    QFETCH(QString, setup);
    QFETCH(QList<QStringList>, carried);
    QFETCH(bool, systemWide);
    QFETCH(QString, notice);
    ResultsSandbox sandbox;
    InstallFolder::setPathForTesting(sandbox.installDir(), systemWide);
    if (!carried.isEmpty())
        QVERIFY(TestFiles::makeStore(sandbox.installFile(), carried));
    if (setup == "foreign")
        TestFiles::write(sandbox.installFile(), "a spreadsheet, say");
    if (setup == "sparse") {
        QVERIFY(TestFiles::makeStore(sandbox.installFile(), {kWon}));
        QVERIFY(QFile::resize(sandbox.installFile(), qint64(20) << 30));
        expectWarning("earlier results in .* cannot be taken over: .* is a sparse file");
    }
    const QStringList listing = TestFiles::folderListing(sandbox.installDir());
    const QByteArray before
        = setup == "sparse" ? QByteArray() : TestFiles::bytes(sandbox.installFile());
    WriteBlock block(sandbox.installDir());
    if (!block.isActive())
        QSKIP("this machine cannot make a folder refuse writes");

    static QStringList *said = nullptr;
    QStringList log;
    QtMessageHandler testsOwn = nullptr;
    if (systemWide) {
        said = &log;
        testsOwn = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext &, const QString &text) { said->append(text); });
    } else {
        QTest::ignoreMessage(QtInfoMsg,
                             QRegularExpression("(cannot be written|is not used): results are kept "
                                                "in "
                                                + QRegularExpression::escape(sandbox.userFile())));
    }
    if (setup == "foreign")
        expectWarning("is not a results file of this game, or it is damaged");
    if (setup == "large") {
        // A game ended while the copy is made leaves nothing under the file's name.
        ResultsStore cut;
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression("results are kept in"));
        QCOMPARE(cut.open(), ResultsStore::Status::Preparing);
    }
    const QString userFolder = QFileInfo(sandbox.userFile()).path();
    QCOMPARE(TestFiles::folderListing(userFolder).filter("Base.mdb"), QStringList());
    if (setup == "leftovers") {
        QVERIFY(QDir().mkpath(userFolder));
        TestFiles::write(userFolder + "/Base.mdb.part.Xy12Zq", QByteArray(4096, 'p'));
        TestFiles::write(userFolder + "/Base.mdb.part.Xy12Zq-journal", QByteArray(512, 'j'));
        TestFiles::write(userFolder + "/Base.mdb.part.Ab34Cd-journal", QByteArray(512, 'j'));
    }
    ResultsStore store;
    const ResultsStore::Status opened = store.open();
    if (setup == "large") {
        QCOMPARE(opened, ResultsStore::Status::Preparing);
        QCOMPARE(store.listedFile(), sandbox.installFile());
        QCOMPARE(store.append(rowOf(kEasy)).refusal(), ResultsTrouble::Refusal::Busy);
        QTRY_COMPARE_WITH_TIMEOUT(store.status(), ResultsStore::Status::Writable, 60000);
    }
    QCOMPARE(store.status(), ResultsStore::Status::Writable);
    QCOMPARE(store.filePath(), sandbox.userFile());
    QVERIFY(sandbox.userFile().startsWith(sandbox.dataHome()));
    const QString told = ResultsWords::takeNotice(store);
    if (systemWide)
        qInstallMessageHandler(testsOwn);
    notice.replace("<folder>", sandbox.installDir()).replace("<file>", sandbox.installFile());
    QCOMPARE(told,
             notice.isEmpty()
                 ? QString()
                 : notice + "\nРезультаты игр сохраняются в файле " + sandbox.userFile() + ".");
    QCOMPARE(log, QStringList());
    QVERIFY(append(store, kEasy));

    QCOMPARE(TestFiles::storedRows(sandbox.userFile()), carried + QList<QStringList> {kEasy});
    QCOMPARE(TestFiles::folderListing(userFolder).filter("Base.mdb"), QStringList {"Base.mdb"});
    QCOMPARE(TestFiles::folderListing(sandbox.installDir()), listing);
    if (setup != "sparse")
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
    // Another connection holding the write lock delays the row, never loses it: it lands
    // once the lock goes, or the call says false and why, without a warning: busy is only slow.
    QFETCH(int, lockWaitMs);
    QFETCH(bool, stored);
    ResultsSandbox sandbox;
    ResultsStore store;
    store.open();
    const QString path = sandbox.installFile();

    LockHolder holder(path, 700, kHolders);
    const ResultsTrouble trouble = store.append(rowOf(kWon), lockWaitMs);
    QCOMPARE(trouble.stored(), stored);
    if (!stored) {
        QCOMPARE(trouble.kind, ResultsTrouble::Kind::Busy);
        QCOMPARE(trouble.path, path);
    }
    holder.release();

    if (!stored)
        QVERIFY(append(store, kWon)); // the lock is gone: the row lands
    QCOMPARE(TestFiles::storedRows(path), (QList<QStringList> {kHolders, kWon}));
}

void ResultsStoreTest::lockAtStartUpDoesNotCostTheSession()
{
    // A lock that outlasts the wait at start-up leaves the store unopened for the
    // moment, quietly; the first result after the lock is gone is stored all the same.
    ResultsSandbox sandbox;
    const QString path = sandbox.installFile();
    QVERIFY(TestFiles::makeStore(path, {}));
    LockHolder holder(path, -1, {});
    ResultsStore store;
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

void ResultsStoreTest::endlessStatementIsInterrupted()
{
    // No statement can hold the window for good: one that would never end is interrupted at
    // its time limit, and the connection goes on working.
    ResultsSandbox sandbox;
    SqliteDb db(sandbox.installFile(), SqliteDb::Mode::ReadWrite, 0);
    db.setTimeLimit(200);
    QVERIFY(!db.exec("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) "
                     "SELECT count(*) FROM c"));
    QCOMPARE(db.errorCode(), SQLITE_INTERRUPT);
    QList<QStringList> rows;
    QVERIFY(db.exec("SELECT 6 * 7", {}, &rows));
    QCOMPARE(rows, QList<QStringList> {{"42"}});
}

QTEST_GUILESS_MAIN(ResultsStoreTest)
#include "tst_resultsstore.moc"
