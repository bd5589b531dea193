#include "support/layout_guard.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QTextDocument>

namespace vartesa::test {

namespace {

constexpr int kCellRows = 40; // grid rows looked at: the first screenful

// A text as drawn: mnemonic ampersands dropped, one width for the widest line.
int drawnWidth(const QFontMetrics& fm, QString text, bool mnemonics) {
    if (mnemonics) text.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove('&').replace('\x01', '&');
    int widest = 0;
    for (const QString& line : text.split('\n')) widest = std::max(widest, fm.horizontalAdvance(line));
    return widest;
}

QString describe(const QWidget* w, const QString& text) {
    const QString name = w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
    return name + QStringLiteral(" \"") + text + '"';
}

class Inspector {
public:
    explicit Inspector(QWidget* window) : window_(window) {
        const QString title = window->windowTitle().isEmpty() ? window->objectName() : window->windowTitle();
        prefix_ = title + QStringLiteral(": ");
    }

    void fault(const QWidget* w, const QString& text, int needed, int has) {
        faults << prefix_ + describe(w, text) + QStringLiteral(" needs %1 px, has %2").arg(needed).arg(has);
    }

    void label(const QLabel* l) {
        if (l->text().isEmpty() || l->wordWrap()) return;
        int needed = 0;
        if (l->textFormat() == Qt::RichText || (l->textFormat() == Qt::AutoText && Qt::mightBeRichText(l->text()))) {
            QTextDocument doc;
            doc.setDefaultFont(l->font());
            doc.setHtml(l->text());
            doc.setDocumentMargin(0);
            needed = int(doc.idealWidth());
        } else {
            needed = drawnWidth(l->fontMetrics(), l->text(), l->buddy() != nullptr);
        }
        const int has = l->contentsRect().width() - 2 * l->margin() - std::max(0, l->indent());
        if (needed > has) fault(l, l->text(), needed, has);
    }

    void button(const QAbstractButton* b) {
        if (b->text().isEmpty()) return;
        const int text = drawnWidth(b->fontMetrics(), b->text(), true);
        const QStyle* st = b->style();
        int needed = text;
        if (qobject_cast<const QCheckBox*>(b))
            needed += st->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, b) +
                      st->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, b);
        else if (qobject_cast<const QRadioButton*>(b))
            needed += st->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, b) +
                      st->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, b);
        else
            needed += st->pixelMetric(QStyle::PM_ButtonMargin, nullptr, b) +
                      (b->icon().isNull() ? 0 : b->iconSize().width() + 4);
        if (needed > b->width()) fault(b, b->text(), needed, b->width());
    }

    void groupTitle(const QGroupBox* g) {
        if (g->title().isEmpty()) return;
        const int needed = drawnWidth(g->fontMetrics(), g->title(), true) + 16;
        if (needed > g->width()) fault(g, g->title(), needed, g->width());
    }

    void field(const QLineEdit* e) {
        if (e->text().isEmpty() || e->echoMode() != QLineEdit::Normal) return;
        const QMargins m = e->textMargins();
        const int needed = e->fontMetrics().horizontalAdvance(e->text()) + m.left() + m.right() + 8;
        if (needed > e->width()) fault(e, e->text(), needed, e->width());
    }

    void list(const QComboBox* c) {
        if (c->currentText().isEmpty() || c->isEditable()) return;
        const int arrow = c->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, c);
        const int needed = c->fontMetrics().horizontalAdvance(c->currentText()) + arrow + 12;
        if (needed > c->width()) fault(c, c->currentText(), needed, c->width());
    }

    void grid(const QTableView* t) {
        const QAbstractItemModel* model = t->model();
        const QHeaderView* header = t->horizontalHeader();
        if (!model || header->isHidden()) return;
        const int margin = 2 * t->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
        const int cellMargin = 2 * (t->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, t) + 1);
        for (int c = 0; c < model->columnCount(); ++c) {
            if (header->isSectionHidden(c)) continue;
            const int has = header->sectionSize(c);
            const QString title = model->headerData(c, Qt::Horizontal).toString();
            const int needed = drawnWidth(header->fontMetrics(), title, false) + margin;
            if (needed > has) fault(t, title, needed, has);
            for (int r = 0; r < std::min(model->rowCount(), kCellRows); ++r) {
                const QString cell = model->index(r, c).data().toString();
                const int cellNeeded = t->fontMetrics().horizontalAdvance(cell.trimmed()) + cellMargin;
                if (!cell.trimmed().isEmpty() && cellNeeded > has) fault(t, cell.trimmed(), cellNeeded, has);
            }
        }
    }

    void page(const QScrollArea* a) {
        if (a->horizontalScrollBar()->isVisible())
            fault(a, QStringLiteral("pagina"), a->widget() ? a->widget()->width() : 0, a->viewport()->width());
    }

    void frame() {
        const Qt::WindowFlags flags = window_->windowFlags();
        if (window_->windowType() == Qt::Dialog && !(flags & Qt::FramelessWindowHint) &&
            (!(flags & Qt::CustomizeWindowHint) || (flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint))))
            faults << prefix_ + QStringLiteral("dialogul are butoane de minimizare / maximizare");
        const QRect screen(QPoint(0, 0), kClerkScreen);
        const QRect frame = window_->frameGeometry();
        if (frame.width() > screen.width() || frame.height() > screen.height())
            faults << prefix_ + QStringLiteral("fereastra de %1x%2 nu incape pe ecran").arg(frame.width()).arg(frame.height());
    }

    QStringList faults;

private:
    QWidget* window_;
    QString prefix_;
};

} // namespace

QStringList LayoutFaults(QWidget* window) {
    Inspector look(window);
    look.frame();
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window) || w->isWindow()) continue;
        if (auto* l = qobject_cast<QLabel*>(w)) look.label(l);
        else if (auto* b = qobject_cast<QAbstractButton*>(w)) look.button(b);
        else if (auto* g = qobject_cast<QGroupBox*>(w)) look.groupTitle(g);
        else if (auto* e = qobject_cast<QLineEdit*>(w)) look.field(e);
        else if (auto* c = qobject_cast<QComboBox*>(w)) look.list(c);
        else if (auto* t = qobject_cast<QTableView*>(w)) look.grid(t);
        else if (auto* a = qobject_cast<QScrollArea*>(w)) look.page(a);
    }
    return look.faults;
}

} // namespace vartesa::test
