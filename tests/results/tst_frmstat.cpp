#include "stats/frmstat.h"

#include "resultssandbox.h"
#include "stats/resultstablemodel.h"
#include "store/resultsstore.h"
#include "testfiles.h"
#include "writeblock.h"

#include <QApplication>
#include <QHeaderView>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QTimer>

namespace {

const QStringList kColumns {"Победитель", "Попаданий юзера", "Попаданий компьютера",
                            "Уровень сложности"};
const QList<QStringList> kRows {{"Игрок", "20", "13", "Средний"},
                                {"Компьютер", "7", "20", "Сложный"},
                                {"Игрок", "20", "0", "Легкий"}};

QTableView *gridOf(const frmStat &dlg)
{
    return dlg.findChild<QTableView *>("Grid");
}

// What the grid shows: header texts, then one list of cell texts per row.
QList<QStringList> shown(QTableView *grid)
{
    const QAbstractItemModel *model = grid->model();
    QList<QStringList> rows;
    QStringList header;
    for (int c = 0; c < model->columnCount(); ++c)
        header << model->headerData(c, Qt::Horizontal).toString();
    rows << header;
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < model->columnCount(); ++c)
            row << model->index(r, c).data().toString();
        rows << row;
    }
    return rows;
}

QList<int> widths(QTableView *grid)
{
    QList<int> result {grid->verticalHeader()->width()};
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        result << grid->columnWidth(c);
    return result;
}

} // namespace

class FrmStatTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void isAFixedModalToolWindow();
    void gridShowsTheTable_data();
    void gridShowsTheTable();
    void widthsStayWhenActivatedAgain();
    void openWindowNeverKeepsTheGameFromSaving();
    void largeTableLoadsAsScrolledAndCutsLongValues();
};

void FrmStatTest::init()
{
    // Any warning but the offscreen platform's own is a failure.
    QTest::failOnWarning(QRegularExpression("^(?!This plugin does not support)"));
}

void FrmStatTest::isAFixedModalToolWindow()
{
    // A 505 x 256 tool window with a close box only, modal, its grid at (8, 8) 489 x 241.
    ResultsSandbox sandbox;
    ResultsStore store;
    store.open();
    frmStat dlg(nullptr, store.listedFile());
    QCOMPARE(dlg.windowTitle(), QString("Статистика"));
    QCOMPARE(dlg.windowFlags() & Qt::WindowType_Mask, Qt::Tool);
    QVERIFY(dlg.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!dlg.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!dlg.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(dlg.minimumSize(), QSize(505, 256));
    QCOMPARE(dlg.maximumSize(), QSize(505, 256));
    QCOMPARE(dlg.font().family(), QString("Times New Roman"));

    QTableView *grid = gridOf(dlg);
    QVERIFY(grid);
    QCOMPARE(grid->geometry(), QRect(8, 8, 489, 241));
    QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    QVERIFY(!grid->isSortingEnabled());

    bool modalWhileShown = false;
    QTimer::singleShot(0, &dlg, [&] {
        modalWhileShown = QApplication::activeModalWidget() == &dlg;
        QCOMPARE(dlg.size(), QSize(505, 256));
        dlg.reject();
    });
    dlg.exec();
    QVERIFY(modalWhileShown);
}

void FrmStatTest::gridShowsTheTable_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::newRow("three games") << "store" << kRows;
    QTest::newRow("no game finished yet") << "empty store" << QList<QStringList> {};
    QTest::newRow("store not opened") << "closed store" << QList<QStringList> {};
    QTest::newRow("another program's file") << "foreign" << QList<QStringList> {};
    QTest::newRow("tBase with other columns") << "other columns" << QList<QStringList> {};
    QTest::newRow("read-only file") << "read-only" << kRows;
    QTest::newRow("file given by path") << "path" << kRows;
    QTest::newRow("missing file given by path") << "missing path" << QList<QStringList> {};
    QTest::newRow("another program's file given by path")
        << "foreign path" << QList<QStringList> {};
}

void FrmStatTest::gridShowsTheTable()
{
    // One header row of the column names, a blank fixed column 0, the rows oldest
    // first, the described widths; read-only, and the file is left as it was.
    QFETCH(QString, setup);
    QFETCH(QList<QStringList>, rows);
    ResultsSandbox sandbox;
    const QString path = sandbox.installFile();
    if (setup.startsWith("foreign"))
        TestFiles::write(path, "PK\x03\x04 an archive, not results");
    if (setup == "other columns")
        QVERIFY(TestFiles::exec(path, {"CREATE TABLE \"tBase\" (\"Победитель\", \"Счёт\")"}));
    if (setup == "store" || setup == "read-only" || setup == "path")
        QVERIFY(TestFiles::makeStore(path, rows));
    std::optional<WriteBlock> block;
    if (setup == "read-only") {
        block.emplace(path);
        if (!block->isActive())
            QSKIP("this machine cannot make a file refuse writes");
    }
    ResultsStore store;
    if (setup == "foreign" || setup == "other columns")
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("is not a results file"));
    if (setup == "read-only")
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("is read-only"));
    if (setup != "closed store" && !setup.endsWith("path"))
        store.open();
    const QByteArray before = TestFiles::bytes(path);
    const QStringList listing = TestFiles::folderListing(sandbox.installDir());

    if (setup == "foreign path")
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("no results shown from .*Base.mdb - "
                                                "not an SQLite database"));
    std::optional<frmStat> dlg;
    if (setup.endsWith("path"))
        dlg.emplace(nullptr, path);
    else
        dlg.emplace(nullptr, store.listedFile());
    dlg->show();
    QVERIFY(QTest::qWaitForWindowExposed(&*dlg));
    QTableView *grid = gridOf(*dlg);

    QCOMPARE(shown(grid), QList<QStringList> {kColumns} + rows);
    QVERIFY(grid->horizontalHeader()->isVisible());
    QVERIFY(grid->verticalHeader()->isVisible());
    for (int r = 0; r < rows.size(); ++r) {
        QCOMPARE(grid->model()->headerData(r, Qt::Vertical).toString(), QString());
        for (int c = 0; c < kColumns.size(); ++c)
            QVERIFY(!(grid->model()->flags(grid->model()->index(r, c)) & Qt::ItemIsEditable));
    }
    QCOMPARE(widths(grid), (QList<int> {54, 74, 100, 133, 120}));
    QCOMPARE(TestFiles::bytes(path), before);
    QCOMPARE(TestFiles::folderListing(sandbox.installDir()), listing);
}

void FrmStatTest::widthsStayWhenActivatedAgain()
{
    // Each activation sets the widths anew instead of narrowing column 0 once more.
    ResultsSandbox sandbox;
    ResultsStore store;
    store.open();
    frmStat dlg(nullptr, store.listedFile());
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    for (int i = 0; i < 3; ++i) {
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(&dlg, &activate);
    }
    QCOMPARE(widths(gridOf(dlg)), (QList<int> {54, 74, 100, 133, 120}));
}

void FrmStatTest::openWindowNeverKeepsTheGameFromSaving()
{
    // The game's timers run while the window is open: a game ending then still saves
    // its row, and the next opening shows it last.
    ResultsSandbox sandbox;
    QVERIFY(TestFiles::makeStore(sandbox.installFile(), kRows));
    ResultsStore store;
    store.open();
    frmStat open(nullptr, store.listedFile());
    open.show();
    QVERIFY(QTest::qWaitForWindowExposed(&open));

    QVERIFY(store.append({ResultRow::Winner::Computer, 11, 20, "Легкий"}).stored());
    QCOMPARE(shown(gridOf(open)).size(), 1 + kRows.size());
    frmStat next(nullptr, store.listedFile());
    QCOMPARE(shown(gridOf(next)).last(), (QStringList {"Компьютер", "11", "20", "Легкий"}));
}

void FrmStatTest::largeTableLoadsAsScrolledAndCutsLongValues()
{
    // Rows come a page at a time as the grid scrolls to them, all of them, oldest
    // first; a value of a megabyte is shown cut with "…"; the file stays as it was.
    ResultsSandbox sandbox;
    const int total = 2 * ResultsTableModel::PageRows + 5;
    QList<QStringList> rows {{"Игрок" + QString(1 << 20, QChar(u'я')), "20", "1", "Легкий"}};
    for (int i = 1; i < total; ++i)
        rows << QStringList {"Компьютер", QString::number(i), "20", "Сложный"};
    QVERIFY(TestFiles::makeStore(sandbox.installFile(), rows));
    const QByteArray before = TestFiles::bytes(sandbox.installFile());

    frmStat dlg(nullptr, sandbox.installFile());
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QTableView *grid = gridOf(dlg);
    const QAbstractItemModel *model = grid->model();
    QCOMPARE(model->rowCount(), ResultsTableModel::PageRows);
    const QString cut = model->index(0, 0).data().toString();
    QCOMPARE(cut.size(), ResultsTableModel::ShownChars);
    QCOMPARE(cut, "Игрок" + QString(ResultsTableModel::ShownChars - 6, QChar(u'я')) + "…");

    for (int page = 0; page < 10 && model->canFetchMore({}); ++page) {
        grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->maximum());
        QCoreApplication::processEvents();
    }
    QCOMPARE(model->rowCount(), total);
    for (int r = 1; r < total; ++r)
        QCOMPARE(model->index(r, 1).data().toString(), QString::number(r));
    QCOMPARE(TestFiles::bytes(sandbox.installFile()), before);
}

QTEST_MAIN(FrmStatTest)
#include "tst_frmstat.moc"
