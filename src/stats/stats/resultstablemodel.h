#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

#include <memory>

class SqliteDb;

// The rows of tBase as the statistics grid shows them: read-only text, the
// column names as the header row and blank row headers for the fixed column 0.
//
// Rows are read a page at a time as the grid scrolls to them, each page by a
// statement of its own, so no lock outlives a page and a game ending meanwhile
// still saves. A value longer than ShownChars is read only that far and shown
// cut, so no table, however large, can stall the window or swamp its memory.
class ResultsTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    static constexpr int PageRows = 256;
    static constexpr int ShownChars = 100;
    // The longest wait for another connection's lock while the window is shown.
    static constexpr int WindowWaitMs = 100;

    explicit ResultsTableModel(QObject *parent = nullptr);
    ~ResultsTableModel() override;

    // Shows the rows of this results file, reading its first page; false (and
    // `why`) when it cannot be read.
    bool setFile(const QString &path, QString *why = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

private:
    QStringList m_columns;
    QList<QStringList> m_rows;
    std::unique_ptr<SqliteDb> m_connection;
    qint64 m_lastRowid = 0; // of the last row read, once m_started
    bool m_started = false;
    bool m_atEnd = true;
};
