#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

// The rows of tBase as the statistics grid shows them: read-only text, the
// column names as the header row and blank row headers for the fixed column 0.
class ResultsTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit ResultsTableModel(QObject *parent = nullptr);

    void setRows(QList<QStringList> rows);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    QStringList m_columns;
    QList<QStringList> m_rows;
};
