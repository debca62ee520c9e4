#include "results/resultstablemodel.h"

#include "results/resultsfile.h"
#include "results/resultslog.h"
#include "results/resultsschema.h"
#include "results/sqlconnection.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

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
    : QAbstractTableModel(parent), m_columns(ResultsSchema::columns())
{ }

ResultsTableModel::~ResultsTableModel() = default;

bool ResultsTableModel::setFile(const QString &path, QString *why)
{
    beginResetModel();
    m_rows.clear();
    m_connection = ResultsFile::openForReading(path, SqlConnection::WindowWaitMs, why);
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
    QList<QStringList> page;
    {
        QSqlQuery query(m_connection->database());
        query.setForwardOnly(true);
        query.prepare(ResultsSchema::pageSql(m_started, ShownChars + 1, PageRows));
        if (m_started)
            query.addBindValue(m_lastRowid);
        if (!query.exec()) {
            qCWarning(lcResults).noquote()
                << "results cannot be listed:" << query.lastError().text();
            m_atEnd = true;
            return;
        }
        const int count = int(m_columns.size());
        while (query.next()) {
            m_lastRowid = query.value(0).toLongLong();
            QStringList row;
            for (int column = 1; column <= count; ++column)
                row << shortened(query.value(column).toString());
            page << row;
        }
    } // the statement ends here, and with it the read lock
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
    return m_rows.at(index.row()).value(index.column());
}

QVariant ResultsTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return QString(); // the blank fixed column
    return m_columns.value(section);
}

Qt::ItemFlags ResultsTableModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
