#include "results/pendingresults.h"
#include "results/resultskeeper.h"
#include "results/resultsstore.h"

#include "resultssandbox.h"
#include "testfiles.h"
#include "writeblock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

const QStringList kWon {"Игрок", "20", "13", "Средний"};
const QStringList kLost {"Компьютер", "7", "20", "Сложный"};

QList<QByteArray> lines(const QString &path)
{
    QList<QByteArray> found = TestFiles::bytes(path).split('\n');
    found.removeAll(QByteArray());
    return found;
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
    const QString path = PendingResults::filePath();
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
    WriteBlock block(setup == "read-only" ? folder : elsewhere);
    if (setup == "read-only" && !block.isActive())
        QSKIP("this machine cannot make a folder refuse writes");
    if (setup == "link" || setup == "pipe" || setup == "folder" || setup == "device")
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("pending-results.jsonl is a .*, "
                                                "not a regular file"));

    const PendingResults::Row row {PendingResults::newId(), sandbox.installFile(), kWon};
    PendingResults::Problem problem;
    QCOMPARE(PendingResults::add({row}, &problem), refusal.isEmpty());
    QCOMPARE(refusal.isEmpty() ? QString() : problem.forPlayer(), refusal);
    QCOMPARE(TestFiles::bytes(elsewhere), QByteArray("the player's own notes\n"));
    if (refusal.isEmpty()) {
        QCOMPARE(PendingResults::rows().size(), 1);
        QCOMPARE(PendingResults::rows().first().values, kWon);
        QVERIFY(QFileInfo(path).isFile() && !QFileInfo(path).isSymLink());
    } else {
        QVERIFY(PendingResults::rows().isEmpty());
    }
}

void PendingResultsTest::movingPendingRowsStoresEachRowOnce_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QList<QStringList>>("stored");
    QTest::addColumn<int>("linesLeft"); // rows for another results file stay
    QTest::newRow("two rows waiting") << "waiting" << QList<QStringList> {kWon, kLost} << 0;
    QTest::newRow("a move cut short after the commit")
        << "committed" << QList<QStringList> {kWon, kLost} << 0;
    QTest::newRow("the old text file taken over twice")
        << "old text" << QList<QStringList> {kWon, kLost} << 0;
    QTest::newRow("a row of another results file")
        << "other file" << QList<QStringList> {kLost} << 1;
    QTest::newRow("a line cut short by a crash") << "torn" << QList<QStringList> {kWon, kLost} << 0;
}

void PendingResultsTest::movingPendingRowsStoresEachRowOnce()
{
    // Whatever state a crash or an earlier version left the pending file in, a move stores
    // each of its rows exactly once, in order, and shortens the file only by what it stored.
    QFETCH(QString, setup);
    QFETCH(QList<QStringList>, stored);
    QFETCH(int, linesLeft);
    ResultsSandbox sandbox;
    ResultsStore store;
    QCOMPARE(store.open(), ResultsStore::Status::Writable);
    const QString path = PendingResults::filePath();
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    const QString oldText = QFileInfo(path).dir().filePath("unsaved-results.txt");
    QList<PendingResults::Row> rows;
    for (const QStringList &values : {kWon, kLost})
        rows << PendingResults::Row {PendingResults::newId(), store.filePath(), values};
    if (setup == "other file")
        rows.first().file = QDir(sandbox.root()).filePath("other/Base.mdb");
    if (setup == "torn")
        TestFiles::write(path, R"({"id":"cut","file":")");
    if (setup == "old text") {
        const QByteArray text = (kWon.join('\t') + '\n' + kLost.join('\t') + '\n').toUtf8();
        TestFiles::write(oldText, text);
        PendingResults::tidyUp(store.filePath());
        QVERIFY(!QFile::exists(oldText));
        TestFiles::write(oldText, text); // as if cut short before the old file went
        PendingResults::tidyUp(store.filePath());
        QCOMPARE(lines(path).size(), 4);
    } else {
        QVERIFY(PendingResults::add(rows));
    }
    if (setup == "committed") {
        QSet<QString> taken;
        QVERIFY(store.appendPending(PendingResults::rows(), &taken));
        QCOMPARE(taken.size(), 2);
    }

    ResultsKeeper keeper(store);
    keeper.moveWaitingRows();
    QCOMPARE(TestFiles::storedRows(sandbox.installFile()), stored);
    QCOMPARE(lines(path).size(), linesLeft);
    if (linesLeft == 0)
        QVERIFY(!QFile::exists(path));
    QVERIFY(!QFile::exists(oldText));
    // A second move finds nothing more to store.
    keeper.moveWaitingRows();
    QCOMPARE(TestFiles::storedRows(sandbox.installFile()).size(), stored.size());
}

QTEST_GUILESS_MAIN(PendingResultsTest)
#include "tst_pendingresults.moc"
