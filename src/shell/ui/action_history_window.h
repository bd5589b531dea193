#pragma once
// "Istoric actiuni": the action log, read only, in the order it was written.

#include <QDialog>

class QLabel;
class QTableView;

namespace vartesa {
namespace db {
class Database;
class QueryModel;
} // namespace db

class TIstoric : public QDialog {
public:
    TIstoric(db::Database& db, QWidget* parent = nullptr);
    /// Loads the log at `logPath` (no table: an empty grid) and shows the window modally.
    void ShowActionHistory(const QString& logPath);
    /// Loads without showing; for ShowActionHistory and tests.
    void load(const QString& logPath);
    QTableView* grid() const { return grid_; }

private:
    void placeBand();

    db::Database& db_;
    db::QueryModel* model_; // rows of Log.dbf
    QTableView* grid_;      // "Data", "Ora", "Nume operator", "ROL", "Actiune"
    QLabel* band_;          // "Data si ora" over the first two columns
};

} // namespace vartesa
