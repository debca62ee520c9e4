#pragma once

#include <QDialog>

class QTableView;
class ResultsTableModel;

// The statistics window: every stored result, oldest first, in a read-only grid.
// It reads the file afresh when it is made and holds no connection afterwards,
// so an open window never keeps the game from saving a row.
class frmStat : public QDialog
{
    Q_OBJECT

public:
    // The grid's default column width; the blank column 0 is 10 pixels narrower
    // and the winner's column 10 pixels wider.
    static constexpr int DefaultColumnWidth = 64;

    // Shows a results file (the one the store lists); only the header row when it has none
    // to show, or when the path is empty.
    frmStat(QWidget *parent, const QString &filePath);
    ~frmStat() override;

protected:
    bool event(QEvent *event) override;

private:
    void Form_Load(const QString &filePath);
    void Form_Activate();

    QTableView *Grid = nullptr;
    ResultsTableModel *m_model = nullptr;
};
