#pragma once
// "Chitante anulate": every cancelled document with its lines as they were, ordered by any
// column, and the report "CENTRALIZATOR CHITANTE ANULATE".

#include "cash/cancelled_receipts.h"

#include <QDialog>

#include <functional>

class QPushButton;
class QTableView;

namespace vartesa {

class AdminConstants;
class Services;
class TextRowsModel;

class TFChitAnulate : public QDialog {
public:
    TFChitAnulate(Services& services, AdminConstants& constants, QWidget* parent = nullptr);

    /// The report engine's preview of a report over rows; "&Listeaza" shows it.
    void setPreviewReport(std::function<void(const ReportRows&)> preview) { preview_ = std::move(preview); }

    /// Opens the screen modally; with no cancelled document it says so and does not open.
    void OpenCancelledReceipts();
    /// Reads the documents; false (after the message) when there is none.
    bool prepare();

    void GridAfterScroll();
    void ListeazaClick();
    /// A click on a column title: the list is ordered by that column, the selection kept.
    void SortByColumn(int column);

    QTableView* Grid;
    QTableView* LiniiGrid;
    QPushButton* ListeazaB;
    QPushButton* InchideB;

private:
    void showDocuments(qint64 select);
    qint64 selectedId() const;

    Services& s_;
    AdminConstants& constants_;
    std::vector<CancelledDocument> documents_;
    TextRowsModel* documentsModel_;
    TextRowsModel* linesModel_;
    std::function<void(const ReportRows&)> preview_;
};

} // namespace vartesa
