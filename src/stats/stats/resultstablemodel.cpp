#include "stats/resultstablemodel.h"

#include "stats/storedwords.h"
#include "store/resultsfile.h"
#include "store/resultsschema.h"
#include "store/sqlitedb.h"

namespace {

QString shortened(QString value)
{
    if (value.size() <= ResultsTableModel::ShownChars)
        return value;
    value.truncate(ResultsTableModel::ShownChars - 1);
    if (value.back().isHighSurrogate())
        value.chop(1);
    return value + QChar(0x2026); // …
}

} // namespace

ResultsTableModel::ResultsTableModel(QObject *parent)
    : QAbstractTableModel(parent), m_columns(ResultsSchema::columns)
{ }

ResultsTableModel::~ResultsTableModel() = default;

bool ResultsTableModel::setFile(const QString &path, QString *why)
{
    beginResetModel();
    m_rows.clear();
    m_connection = ResultsFile::openForReading(path, WindowWaitMs, why);
    m_started = false;
    m_atEnd = !m_connection;
    endResetModel();
    const bool opened = m_connection != nullptr;
    fetchMore({});
    return opened;
}

bool ResultsTableModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && !m_atEnd;
}

void ResultsTableModel::fetchMore(const QModelIndex &parent)
{
    if (!canFetchMore(parent))
        return;
    // Each page a statement of its own: the read lock ends with it.
    QList<QStringList> page;
    const QVariantList after = m_started ? QVariantList {m_lastRowid} : QVariantList {};
    if (!m_connection->exec(ResultsSchema::pageSql(m_started, ShownChars + 1, PageRows), after,
                            &page)) {
        qCWarning(lcResults).noquote() << "results cannot be listed:" << m_connection->errorText();
        m_atEnd = true;
        return;
    }
    for (QStringList &row : page) {
        m_lastRowid = row.takeFirst().toLongLong();
        for (QString &value : row)
            value = shortened(value);
    }
    m_started = true;
    m_atEnd = page.size() < PageRows;
    if (m_atEnd)
        m_connection.reset();
    if (page.isEmpty())
        return;
    beginInsertRows({}, int(m_rows.size()), int(m_rows.size() + page.size()) - 1);
    m_rows.append(std::move(page));
    endInsertRows();
}

int ResultsTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ResultsTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant ResultsTableModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    return StoredWords::shown(m_rows.at(index.row()).value(index.column()));
}

QVariant ResultsTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return QString(); // the blank fixed column
    return StoredWords::shown(m_columns.value(section));
}

Qt::ItemFlags ResultsTableModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
