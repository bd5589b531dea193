#include "cash/ui/account_grid_model.h"

#include "cash/account_entry.h"

#include <QLineEdit>
#include <QPainter>
#include <QRegularExpressionValidator>

namespace vartesa {

namespace {

const char* const kEntered = "ACHITAT";

bool isAmount(const QVariant& v) { return v.metaType().id() == QMetaType::LongLong; }

} // namespace

const std::vector<ShownColumn>& ShownColumns(AccountGrid grid) {
    static const std::vector<ShownColumn> taxes = {
        {"GRUPA", "Denumire impozit"}, {"RAM1", "Ramasite"},    {"SUMA", "Valoare initiala"},
        {"RED1", "Bonificatie"},       {"CUR1", "Rest de plata"}, {"MAJOR1", "Majorari"},
        {"DEPLATA", "Total de plata"}, {kEntered, "ACHITA"}};
    static const std::vector<ShownColumn> debits = {
        {"DINDATA", "Din data"}, {"GRUPA", "Denumire impozit"}, {"NR", "Nr."},
        {"DOCJUS", "Explicatii"}, {"CATEG", "Categoria"},       {"SUMAINI", "Valoare"},
        {"SUMAC", "Rest de plata"}, {"MAJOR", "Majorari"},      {"DEPLATA", "Total de plata"},
        {kEntered, "ACHITA"}};
    static const std::vector<ShownColumn> claims = {
        {"DINDATA", "Din data"}, {"GRUPA", "Denumire creanta"}, {"NR", "Nr."},
        {"DOCJUS", "Explicatii"}, {"CUR1", "Curent"},           {"REST1", "Restanta"},
        {"REDUC", "Reducere"},   {"DEPLATA", "Total de plata"}, {kEntered, "ACHITA"}};
    switch (grid) {
    case AccountGrid::Taxes: return taxes;
    case AccountGrid::Debits: return debits;
    case AccountGrid::Claims: break;
    }
    return claims;
}

AccountGridModel::AccountGridModel(AccountGrid grid, QObject* parent) : QAbstractTableModel(parent), grid_(grid) {
    const QStringList& all = AccountColumns(grid);
    for (const ShownColumn& c : ShownColumns(grid)) {
        sources_.push_back(int(all.indexOf(QLatin1String(c.column))));
        if (qstrcmp(c.column, kEntered) == 0) entered_ = int(sources_.size()) - 1;
    }
}

void AccountGridModel::setGrids(AccountGrids* grids) {
    beginResetModel();
    grids_ = grids;
    rows_ = grids ? grids->rows(grid_) : std::vector<AccountRow*>{};
    endResetModel();
}

AccountRow* AccountGridModel::row(int r) const { return r >= 0 && r < int(rows_.size()) ? rows_[size_t(r)] : nullptr; }

int AccountGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(rows_.size()); }
int AccountGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(sources_.size()); }

// The cells of a row, by its grid's kind.
static QVariant cellOf(AccountGrid grid, const AccountRow* r, int source) {
    switch (grid) {
    case AccountGrid::Taxes: return static_cast<const TaxRow*>(r)->cell(source);
    case AccountGrid::Debits: return static_cast<const DebitRow*>(r)->cell(source);
    case AccountGrid::Claims: break;
    }
    return static_cast<const ClaimRow*>(r)->cell(source);
}

QVariant AccountGridModel::data(const QModelIndex& index, int role) const {
    const AccountRow* r = row(index.row());
    if (!r || index.column() < 0 || index.column() >= columnCount()) return {};
    const QVariant v = cellOf(grid_, r, sources_[size_t(index.column())]);
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == entered_ && r->entered == 0) return QString(); // blank until typed
        if (v.metaType().id() == QMetaType::QDate) return v.toDate().toString(QStringLiteral("dd.MM.yyyy"));
        return v;
    case Qt::EditRole:
        return index.column() == entered_ ? QVariant(r->entered == 0 ? QString() : QString::number(r->entered)) : v;
    case Qt::TextAlignmentRole:
        return isAmount(v) ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

bool AccountGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    AccountRow* r = row(index.row());
    if (!r || role != Qt::EditRole || index.column() != entered_) return false;
    const QString text = value.toString().trimmed();
    bool ok = true;
    const qint64 typed = text.isEmpty() || text == QLatin1String("-") ? 0 : text.toLongLong(&ok);
    if (!ok) return false; // what cannot be read leaves the amount as it was
    if (const std::optional<QString> refusal = EntryRefusal(grid_, *r, typed)) {
        if (onRefused) onRefused(index.row(), *refusal);
        return false;
    }
    EnterAmount(grid_, *r, typed);
    posted(index.row());
    return true;
}

void AccountGridModel::toggle(int r) {
    AccountRow* target = row(r);
    if (!target) return;
    ToggleAmount(grid_, *target);
    posted(r);
}

void AccountGridModel::posted(int r) {
    emit dataChanged(index(r, entered_), index(r, entered_));
    if (onEntered) onEntered(r);
}

Qt::ItemFlags AccountGridModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.column() == entered_) f |= Qt::ItemIsEditable;
    return f;
}

QVariant AccountGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount()) return {};
    return QString::fromLatin1(ShownColumns(grid_)[size_t(section)].caption);
}

QWidget* AmountDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QStringLiteral("AchitatEd"));
    edit->setAlignment(Qt::AlignRight);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?\\d{0,6}")), edit));
    return edit;
}

BandedHeader::BandedHeader(std::vector<HeaderBand> bands, QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent), bands_(std::move(bands)) {
    setSectionsClickable(false);
    setDefaultAlignment(Qt::AlignCenter);
}

QSize BandedHeader::sizeHint() const {
    QSize s = QHeaderView::sizeHint();
    s.setHeight(2 * s.height());
    return s;
}

const HeaderBand* BandedHeader::bandOf(int logicalIndex) const {
    for (const HeaderBand& b : bands_)
        if (logicalIndex >= b.first && logicalIndex <= b.last) return &b;
    return nullptr;
}

void BandedHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    const HeaderBand* b = bandOf(logicalIndex);
    if (!b) {
        QHeaderView::paintSection(painter, rect, logicalIndex);
        return;
    }
    const int half = rect.height() / 2;
    QHeaderView::paintSection(painter, rect.adjusted(0, half, 0, 0), logicalIndex);
    // The band is drawn whole in every section under it, each keeping only its own part.
    const int left = sectionViewportPosition(b->first);
    const int right = sectionViewportPosition(b->last) + sectionSize(b->last);
    QStyleOptionHeader band;
    initStyleOption(&band);
    band.rect = QRect(left, rect.top(), right - left, half);
    band.text = b->text;
    band.textAlignment = Qt::AlignCenter;
    band.section = b->first;
    painter->save();
    painter->setClipRect(QRect(rect.left(), rect.top(), rect.width(), half));
    style()->drawControl(QStyle::CE_Header, &band, painter, this);
    painter->restore();
}

} // namespace vartesa
