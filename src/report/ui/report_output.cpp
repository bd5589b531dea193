// Painting reports on PDF files, the printer and the preview.

#include "report/ui/report_output.h"

#include "db/error.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>

#include <algorithm>
#include <functional>

namespace vartesa::report {

namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kSmallestPoints = 3; // a text is never shrunk below this size
constexpr int kPdfResolution = 600;

int alignmentFlags(Align align) {
    switch (align) {
    case Align::Center: return Qt::AlignHCenter | Qt::AlignVCenter;
    case Align::Right: return Qt::AlignRight | Qt::AlignVCenter;
    case Align::Left: break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

// The font of an item, smaller when its widest line does not fit the box.
QFont fittedFont(const TextItem& item, const QRectF& box, QPaintDevice* device) {
    QFont font(ReportFontFamily());
    font.setPointSizeF(item.font.points);
    font.setBold(item.font.bold);
    // No ligatures: "fi" stays two letters, so the PDF's text reads and searches as typed.
    font.setStyleStrategy(QFont::PreferNoShaping);
    double widest = 0;
    const QFontMetricsF metrics(font, device);
    for (const QString& line : item.text.split(QLatin1Char('\n'))) widest = std::max(widest, metrics.horizontalAdvance(line));
    if (widest > box.width() && widest > 0)
        font.setPointSizeF(std::max(kSmallestPoints, item.font.points * box.width() / widest * 0.98));
    return font;
}

QRectF scaled(const QRectF& mm, double k) { return {mm.x() * k, mm.y() * k, mm.width() * k, mm.height() * k}; }

void paintAll(QPainter& painter, const Layout& layout, double dotsPerMm, const std::function<bool()>& newPage) {
    for (size_t i = 0; i < layout.pages.size(); ++i) {
        if (i > 0 && !newPage()) throw Error(QStringLiteral("Pagina urmatoare nu a putut fi inceputa."));
        PaintPage(painter, layout.pages[i], dotsPerMm);
    }
}

// The printer's pages are the paper itself: the layout's own margins place everything.
void preparePrinter(QPrinter& printer, const Layout& layout) {
    printer.setFullPage(true);
    printer.setDocName(layout.title);
    printer.setPageSize(QPageSize(layout.paper, QPageSize::Millimeter));
    printer.setPageOrientation(layout.paper.width() > layout.paper.height() ? QPageLayout::Landscape
                                                                              : QPageLayout::Portrait);
}

void paintOnPrinter(QPrinter& printer, const Layout& layout) {
    QPainter painter;
    if (!painter.begin(&printer)) throw Error(QStringLiteral("Imprimanta nu a primit documentul."));
    paintAll(painter, layout, printer.resolution() / kMmPerInch, [&] { return printer.newPage(); });
}

} // namespace

QString ReportFontFamily() { return QStringLiteral("DejaVu Sans"); }

void PaintPage(QPainter& painter, const Page& page, double dotsPerMm) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    for (const LineItem& l : page.lines) {
        painter.setPen(QPen(Qt::black, std::max(1.0, l.width * dotsPerMm)));
        painter.drawLine(QLineF(l.line.p1() * dotsPerMm, l.line.p2() * dotsPerMm));
    }
    painter.setPen(Qt::black);
    for (const TextItem& t : page.texts) {
        const QRectF box = scaled(t.box, dotsPerMm);
        painter.setFont(fittedFont(t, box, painter.device()));
        painter.drawText(box, alignmentFlags(t.align), t.text);
    }
    painter.restore();
}

void WritePdf(const Layout& layout, const QString& path) {
    QPdfWriter writer(path);
    writer.setResolution(kPdfResolution);
    writer.setPageSize(QPageSize(layout.paper, QPageSize::Millimeter));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setTitle(layout.title);
    writer.setCreator(QStringLiteral("Vartesa"));
    QPainter painter;
    if (!painter.begin(&writer)) throw Error(QStringLiteral("Fisierul PDF nu poate fi scris."), path);
    paintAll(painter, layout, kPdfResolution / kMmPerInch, [&] { return writer.newPage(); });
    if (!painter.end()) throw Error(QStringLiteral("Fisierul PDF nu poate fi scris."), path);
}

bool ScreenOutput::print(const Layout& layout) {
    if (QPrinterInfo::defaultPrinter().isNull()) return false;
    QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    if (!printer.isValid()) return false;
    preparePrinter(printer, layout);
    try {
        paintOnPrinter(printer, layout);
    } catch (const Error&) {
        return false;
    }
    return printer.printerState() != QPrinter::Error && printer.printerState() != QPrinter::Aborted;
}

void ScreenOutput::preview(const Layout& layout) {
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer, layout);
    QPrintPreviewDialog dialog(&printer, parent_);
    dialog.setWindowTitle(layout.title);
    // As large as the paper wants, within the screen the clerk has.
    QSize size(1000, 800);
    if (const QScreen* screen = dialog.screen()) size = size.boundedTo(screen->availableGeometry().size() * 0.92);
    dialog.resize(size);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&layout](QPrinter* target) {
                         try {
                             paintOnPrinter(*target, layout);
                         } catch (const Error&) {
                             // the preview then shows what was painted; printing from it reports its own failure
                         }
                     });
    dialog.exec();
}

} // namespace vartesa::report
