// Printing the receipt and the role page.

#include "cash/ui/document_printing.h"

#include "cash/receipt.h"
#include "db/error.h"
#include "report/ui/report_output.h"
#include "admin/admin_constants.h"
#include "shell/file_helpers.h"
#include "shell/services.h"
#include "shell/startup.h"

#include <QApplication>
#include <QDebug>

namespace vartesa {

namespace {

void reportPrinterFailure(Services& s, const QString& title, const QString& advice) {
    s.messages().showError(title, QStringLiteral("Imprimanta nu este pregatita sau nu este instalata!") + advice);
}

// "Chit<n>.pdf" of the program folder, handed to the desktop.
void showAsPdf(Services& s, const report::Layout& layout) {
    const QString path = FreeTempFileName(s.folders.program, QStringLiteral("Chit"), QStringLiteral(".pdf"));
    if (path.isEmpty()) throw Error(QStringLiteral("Nu mai este loc pentru alt fisier Chit.pdf."), s.folders.program);
    report::WritePdf(layout, path);
    s.desktop().openFile(path);
}

} // namespace

void PrintReceipt(Services& s, const AdminConstants& constants, qint64 idchit, const QString& table,
                  report::Output& output) {
    const ReceiptDocument receipt = ReadReceipt(s.database(), table, idchit);
    if (receipt.lines.empty()) {
        s.messages().showError(kReceiptPrintTitle, QStringLiteral("Chitanta nu contine nimic!"));
        return;
    }
    const report::Layout layout = report::LayOut(ReceiptReport(receipt, TownHallFrom(constants)));
    qInfo().noquote() << QStringLiteral("Am format chitanta. O arat!");
    if (constants.isChecked(QStringLiteral("FormatPDF"))) {
        showAsPdf(s, layout);
    } else if (constants.isChecked(QStringLiteral("PreviewC"))) {
        output.preview(layout);
    } else if (!output.print(layout)) {
        reportPrinterFailure(s, kReceiptPrintTitle, QStringLiteral("\rIntrati la istoric chitante si listati din nou!"));
    }
}

void PrintStoredReceipt(Services& s, const AdminConstants& constants, qint64 idchit) {
    report::ScreenOutput output(QApplication::activeWindow());
    PrintReceipt(s, constants, idchit, s.folders.data + QStringLiteral("/Chitante.dbf"), output);
}

void PrintRolePage(Services& s, const RolePageRole& role, bool preview, report::Output& output) {
    const RolePage page = BuildRolePage(s.database(), s.folders.data, role, WorkingYear().toInt(), s.clock().today());
    const report::Layout layout = report::LayOut(RolePageReport(page));
    if (preview)
        output.preview(layout);
    else if (!output.print(layout))
        reportPrinterFailure(s, QStringLiteral("Pagina de ROL"), {});
}

} // namespace vartesa
