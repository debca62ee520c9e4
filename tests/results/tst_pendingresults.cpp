#include "store/pendingrows.h"
#include "store/resultskeeper.h"
#include "store/resultsstore.h"

#include "resultssandbox.h"
#include "testfiles.h"
#include "view/effects/resultswords.h"
#include "writeblock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <optional>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

const QStringList kWon {"Игрок", "20", "13", "Средний"};
const QStringList kLost {"Компьютер", "7", "20", "Сложный"};
const QList<QStringList> both {kWon, kLost};

// The rows waiting in the pending file, each as its results file and four values.
QList<QStringList> waiting()
{
    return TestFiles::query(PendingRows::filePath(), "SELECT * FROM \"tPending\" ORDER BY rowid");
}

int waitingRows()
{
    return TestFiles::query(PendingRows::filePath(), "SELECT count(*) FROM \"tPending\"")
        .value(0)
        .value(0)
        .toInt();
}

} // namespace

class PendingResultsTest : public QObject
{
    Q_OBJECT

private slots:
    void pendingFileTakesRowsOnlyAsARegularFile_data();
    void pendingFileTakesRowsOnlyAsARegularFile();
    void movingPendingRowsStoresEachRowOnce_data();
    void movingPendingRowsStoresEachRowOnce();
};

void PendingResultsTest::pendingFileTakesRowsOnlyAsARegularFile_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("refusal"); // what the player reads; empty: the row is kept
    QTest::newRow("no file yet") << ""
                                 << "";
    QTest::newRow("link to a file elsewhere") << "link"
                                              << "на его месте находится символическая ссылка";
    QTest::newRow("named pipe") << "pipe"
                                << "на его месте находится именованный канал";
    QTest::newRow("folder") << "folder"
                            << "на его месте находится папка";
    QTest::newRow("device") << "device"
                            << "на его месте находится файл устройства";
    QTest::newRow("data folder refuses writes") << "read-only"
                                                << "в его папку нельзя записать";
    QTest::newRow("pending file refuses writes") << "read-only file"
                                                 << "он закрыт для записи";
    QTest::newRow("a file where the data folder goes") << "file"
                                                       << "его папку нельзя создать";
}

void PendingResultsTest::pendingFileTakesRowsOnlyAsARegularFile()
{
    // A row is kept only in a regular file at the pending file's name: a link is not
    // followed, a pipe or device neither blocks nor takes it, and the refusal reads plainly.
    QFETCH(QString, setup);
    QFETCH(QString, refusal);
    ResultsSandbox sandbox;
    const QString path = PendingRows::filePath();
    const QString folder = QFileInfo(path).path();
    const QString elsewhere = QDir(sandbox.root()).filePath("notes.txt");
    TestFiles::write(elsewhere, "the player's own notes\n");
    QVERIFY(QDir().mkpath(setup == "file" ? QFileInfo(folder).path() : folder));
    if (setup == "link")
        QVERIFY(QFile::link(elsewhere, path));
    if (setup == "pipe")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
    if (setup == "folder")
        QVERIFY(QDir().mkpath(path));
    if (setup == "device"
        && ::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0644, makedev(1, 3)) != 0)
        QSKIP("needs root to make a device node");
    if (setup == "file")
        TestFiles::write(folder, "not a folder");
    if (setup == "read-only file")
        TestFiles::write(path, "");
    WriteBlock block(setup.startsWith("read-only") ? (setup == "read-only" ? folder : path)
                                                   : elsewhere);
    if (setup.startsWith("read-only") && !block.isActive())
        QSKIP("this machine cannot make a file or folder refuse writes");
    if (setup == "link" || setup == "pipe" || setup == "folder" || setup == "device")
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("pending-results.db is a .*, not a regular file"));

    PendingRows::Problem problem;
    QCOMPARE(PendingRows::add(sandbox.installFile(), {kWon}, &problem), refusal.isEmpty());
    const QString told = ResultsWords::outcome({ResultsKeeper::Outcome::Kind::Unkept,
                                                {ResultsTrouble::Kind::ReadOnly, "Base.mdb"},
                                                problem,
                                                path});
    if (!refusal.isEmpty())
        QVERIFY2(told.contains(": " + refusal + ".\n"), qPrintable(told));
    QCOMPARE(TestFiles::bytes(elsewhere), QByteArray("the player's own notes\n"));
    if (refusal.isEmpty()) {
        QCOMPARE(waiting(), QList<QStringList> {QStringList {sandbox.installFile()} + kWon});
        QVERIFY(QFileInfo(path).isFile() && !QFileInfo(path).isSymLink());
    }
}

void PendingResultsTest::movingPendingRowsStoresEachRowOnce_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QList<QStringList>>("stored");
    QTest::addColumn<int>("rowsLeft"); // rows for another results file, or damaged ones, stay
    QTest::addColumn<QString>("warning"); // said once in the log; empty: nothing
    QTest::newRow("two rows waiting") << "waiting" << both << 0 << "";
    QTest::newRow("the old text file taken over twice") << "old text" << both << 0 << "";
    QTest::newRow("the old JSON file taken over twice") << "old json" << both << 0 << "";
    QList<QStringList> many;
    for (int i = 0; i < 10000; ++i)
        many << (i % 2 ? kLost : kWon);
    QTest::newRow("an old JSON file of 10 MB, read to its end")
        << "old json, large" << many << 0 << "";
    QTest::newRow("numbers, null and objects among the old JSON file's values")
        << "old json, damaged" << QList<QStringList> {kLost} << 0
        << "line 1 of .*pending-results.jsonl is damaged and is not taken over";
    QTest::newRow("numbers and null among the pending values")
        << "damaged" << QList<QStringList> {kLost} << 1
        << "1 row\\(s\\) in .*pending-results.db are damaged and are not stored";
    QTest::newRow("a row of another results file")
        << "other file" << QList<QStringList> {kLost} << 1 << "";
    QTest::newRow("a row of a results file that is gone")
        << "gone file" << both << 0 << "results waiting for .*other/Base.mdb, which is gone";
    QTest::newRow("rows that cannot leave a read-only folder")
        << "read-only" << QList<QStringList> {} << 2 << "result not saved: .*refused the pending";
}

void PendingResultsTest::movingPendingRowsStoresEachRowOnce()
{
    // Whatever an earlier version or another copy of the game left waiting, a move stores
    // each whole row exactly once, in order, and leaves only the rows of other results files
    // that are still there, and damaged rows, said once. Rows that cannot leave the pending
    // file are told once and not tried again every moment.
    QFETCH(QString, setup);
    QFETCH(QList<QStringList>, stored);
    QFETCH(int, rowsLeft);
    QFETCH(QString, warning);
    ResultsSandbox sandbox;
    ResultsStore store;
    QCOMPARE(store.open(), ResultsStore::Status::Writable);
    const QString folder = QFileInfo(PendingRows::filePath()).path();
    QVERIFY(QDir().mkpath(folder));
    const QString otherFile = QDir(sandbox.root()).filePath("other/Base.mdb");
    QVERIFY(QDir().mkpath(QFileInfo(otherFile).path()));
    if (setup != "gone file")
        QVERIFY(TestFiles::makeStore(otherFile, {}));
    const QString oldFile = QDir(folder).filePath(setup == "old text" ? "unsaved-results.txt"
                                                                      : "pending-results.jsonl");
    QByteArray oldText;
    if (setup == "old json, damaged")
        oldText += R"({"id":"b","file":")" + store.filePath().toUtf8()
            + R"(","row":[20,null,{"a":1},"Легкий"]})" + '\n';
    for (const QStringList &row : setup == "old json, large" ? stored : both) {
        if (setup == "old text")
            oldText += (row.join('\t') + '\n').toUtf8();
        else if (setup != "old json, damaged" || row == kLost)
            oldText += R"({"id":")" + QByteArray(setup == "old json, large" ? 1000 : 1, 'a')
                + R"(","file":")" + store.filePath().toUtf8() + R"(","row":[")"
                + row.join(R"(",")").toUtf8() + "\"]}\n";
    }
    if (setup.startsWith("old")) {
        TestFiles::write(oldFile, oldText);
        if (!warning.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warning));
        PendingRows::tidyUp(store.filePath());
        QVERIFY(!QFile::exists(oldFile));
        TestFiles::write(oldFile, oldText); // as if cut short before the old file went
        warning = setup == "old json, damaged" ? warning : QString();
    } else {
        const bool elsewhere = setup == "other file" || setup == "gone file";
        QVERIFY(PendingRows::add(elsewhere ? otherFile : store.filePath(), {kWon}));
        QVERIFY(PendingRows::add(store.filePath(), {kLost}));
    }
    if (setup == "damaged")
        QVERIFY(TestFiles::exec(PendingRows::filePath(),
                                {"UPDATE \"tPending\" SET \"Попаданий юзера\" = 20, "
                                 "\"Попаданий компьютера\" = NULL WHERE rowid = 1"}));
    std::optional<WriteBlock> block;
    if (setup == "read-only") {
        block.emplace(folder);
        if (!block->isActive())
            QSKIP("this machine cannot make a folder refuse writes");
    }
    if (!warning.isEmpty())
        QTest::ignoreMessage(setup == "gone file" ? QtInfoMsg : QtWarningMsg,
                             QRegularExpression(warning));
    ResultsKeeper keeper(store);
    QSignalSpy told(&keeper, &ResultsKeeper::stillWaiting);
    // Tidied up and moved as soon as the event loop runs.
    QTRY_COMPARE_WITH_TIMEOUT(waitingRows(), rowsLeft, 60000);
    QCOMPARE(TestFiles::storedRows(sandbox.installFile()), stored);
    QVERIFY(!QFile::exists(oldFile));
    if (setup == "read-only") {
        QTRY_COMPARE(told.size(), 1);
        QCOMPARE(told.first().at(1).toString(), PendingRows::filePath());
        const QTimer *retry = keeper.findChild<QTimer *>();
        QVERIFY(!retry->isActive() || retry->interval() >= ResultsKeeper::RetryIntervalMs);
    } else {
        QCOMPARE(told.size(), 0);
    }
    // A second move finds nothing more to store.
    block.reset();
    keeper.moveWaitingRows();
    QCOMPARE(TestFiles::storedRows(sandbox.installFile()).size(),
             setup == "read-only" ? 2 : stored.size());
}

QTEST_GUILESS_MAIN(PendingResultsTest)
#include "tst_pendingresults.moc"
