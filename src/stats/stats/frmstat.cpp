#include "stats/frmstat.h"

#include "files/oncelog.h"
#include "stats/resultstablemodel.h"
#include "store/resultsfile.h"

#include <QEvent>
#include <QHeaderView>
#include <QTableView>

#ifdef __GLIBC__
#include <malloc.h>
#endif

frmStat::frmStat(QWidget *parent, const QString &filePath)
    : QDialog(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(tr("Статистика"));
    setFixedSize(505, 256);
    setModal(true);
    QFont font(QStringLiteral("Times New Roman"));
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(13);
    setFont(font);

    m_model = new ResultsTableModel(this);

    Grid = new QTableView(this);
    Grid->setObjectName(QStringLiteral("Grid"));
    Grid->setGeometry(8, 8, 489, 241);
    Grid->setModel(m_model);
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->setSortingEnabled(false);
    Grid->setWordWrap(false);
    QHeaderView *header = Grid->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    // The vertical header is the grid's blank fixed column 0.
    QHeaderView *blank = Grid->verticalHeader();
    blank->setSectionResizeMode(QHeaderView::Fixed);
    blank->setSectionsClickable(false);
    blank->setHighlightSections(false);
    blank->setDefaultSectionSize(18);
    Form_Load(filePath);
    Form_Activate();
}

frmStat::~frmStat()
{
    // The rows and the connection go with the window, and so does the memory they
    // took: the allocator would otherwise keep it for the rest of the run.
    delete Grid;
    delete m_model;
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

void frmStat::Form_Load(const QString &filePath)
{
    if (filePath.isEmpty())
        return;
    // A refused file is never read: only the header row then.
    QString why;
    const ResultsFile::Kind kind
        = ResultsFile::inspect(filePath, &why, ResultsTableModel::WindowWaitMs);
    if (kind == ResultsFile::Kind::Missing || kind == ResultsFile::Kind::Blank
        || kind == ResultsFile::Kind::NoTable)
        return; // no game stored yet
    if (kind == ResultsFile::Kind::Store && m_model->setFile(filePath, &why))
        return;
    // Told once a run, not at every opening of the window.
    static OnceLog told(lcResults);
    told.say(QStringLiteral("no results shown from %1 - %2").arg(filePath, why));
}

void frmStat::Form_Activate()
{
    // Absolute widths, so activating the window again does not move them.
    Grid->verticalHeader()->setFixedWidth(DefaultColumnWidth - 10);
    Grid->setColumnWidth(0, DefaultColumnWidth + 10);
    Grid->setColumnWidth(1, 100);
    Grid->setColumnWidth(2, 133);
    Grid->setColumnWidth(3, 120);
}

bool frmStat::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    return QDialog::event(event);
}
