#pragma once
// Painting a laid-out report (report/report.h) on the devices: a PDF file, the default
// printer, the print preview. Every text is drawn in one family that carries the Romanian
// letters (ă â î ș ț); a text wider than its box is drawn smaller until it fits.

#include "report/report.h"

class QPainter;
class QWidget;

namespace vartesa::report {

/// The family every report is drawn in.
QString ReportFontFamily();

/// Paints `page` with the paper's top left at the device's origin, `dotsPerMm` device
/// pixels to a millimetre.
void PaintPage(QPainter& painter, const Page& page, double dotsPerMm);

/// Writes every page into the PDF file `path` (replaced). Throws vartesa::Error when the
/// file cannot be written.
void WritePdf(const Layout& layout, const QString& path);

/// Where a document goes when it is not written to a file: the print preview or the
/// default printer. The program uses ScreenOutput; tests record what would have gone out.
class Output {
public:
    virtual ~Output() = default;
    /// Sends the pages to the default printer; false when there is none or it refused them.
    virtual bool print(const Layout& layout) = 0;
    /// Shows the pages in the print preview (modal); the clerk may print from there.
    virtual void preview(const Layout& layout) = 0;
};

class ScreenOutput final : public Output {
public:
    explicit ScreenOutput(QWidget* parent = nullptr) : parent_(parent) {}
    bool print(const Layout& layout) override;
    void preview(const Layout& layout) override;

private:
    QWidget* parent_; // the preview window's owner
};

} // namespace vartesa::report
