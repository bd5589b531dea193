#include "roles/ui/declaration_page_widget.h"

#include "roles/assessment.h"
#include "roles/role_register.h"
#include "roles/ui/vehicle_details_widgets.h"
#include "admin/admin_catalog.h"
#include "admin/admin_constants.h"
#include "shell/counters.h"
#include "shell/services.h"
#include "shell/startup.h"
#include "shell/ui/enter_navigation.h"
#include "shell/ui/upper_case.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace vartesa {
namespace {

using K = PageFieldKind;

const QString kDateFormat = QStringLiteral("dd.MM.yyyy");

// Digits a number control takes before the point.
int wholeDigits(const PageField& f) {
    if (f.screenDigits > 0) return f.screenDigits;
    return f.decimals > 0 ? f.width - f.decimals - 1 : f.width;
}

// A stored number as the control shows it: no trailing zeros after the point.
QString plain(QString text) {
    if (text.contains('.')) {
        while (text.endsWith('0')) text.chop(1);
        if (text.endsWith('.')) text.chop(1);
    }
    return text;
}

// Puts the list of a position control back, with the stored position shown even when the
// list has no entry for it (house orders 5 to 8), so saving writes it back unchanged.
void setPosition(QComboBox* combo, const QStringList& items, const QString& stored) {
    combo->clear();
    for (int i = 0; i < items.size(); ++i) combo->addItem(items[i], QString::number(i));
    int at = combo->findData(stored.trimmed());
    if (at < 0) {
        combo->addItem(stored.trimmed(), stored.trimmed());
        at = combo->count() - 1;
    }
    combo->setCurrentIndex(at);
}

// One run of fields with the same group heading, in table order.
struct Block {
    QString heading;
    PagePanel panel;
    std::vector<const PageField*> fields;
};

std::vector<Block> blocksOf(int page) {
    std::vector<Block> blocks;
    for (const PageField* f : FieldsOfPage(page)) {
        if (blocks.empty() || blocks.back().heading != f->group || blocks.back().panel != f->panel)
            blocks.push_back({f->group, f->panel, {}});
        blocks.back().fields.push_back(f);
    }
    return blocks;
}

} // namespace

DeclarationPageWidget::DeclarationPageWidget(Services& services, AdminConstants& constants, int page, QWidget* parent)
    : RolePageWidget(parent), s_(services), constants_(constants), page_(page) {
    setObjectName(QStringLiteral("Pagina%1").arg(page));
    const DeclarationPage& info = DeclarationPageInfo(page);
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(info.title, this);
    title->setObjectName(QStringLiteral("Titlu%1").arg(page));
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 2);
    title->setFont(bold);
    layout->addWidget(title, 0, Qt::AlignHCenter);
    if (!info.subtitle.isEmpty()) layout->addWidget(new QLabel(info.subtitle, this), 0, Qt::AlignHCenter);

    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* content = new QWidget(scroll);
    buildGroups(content);
    scroll->setWidget(content);
    layout->addWidget(scroll, 1);
    if (page == 5) {
        // The vehicle details grid of the role goes here.
        auto* host = new QWidget(this);
        host->setObjectName(QStringLiteral("VehicleDetailsHost"));
        host->setMinimumHeight(150);
        auto* hostLayout = new QVBoxLayout(host);
        hostLayout->setContentsMargins(0, 0, 0, 0);
        auto* vehicles = new VehicleDetailsGrid(services, host);
        hostLayout->addWidget(vehicles);
        layout->addWidget(host);
        setOnLoad([vehicles](qint64 id) { vehicles->setRole(id); });
    }

    modi_ = new QWidget(this);
    modi_->setObjectName(QStringLiteral("Modi%1").arg(page));
    auto* buttons = new QHBoxLayout(modi_);
    auto* saveButton = new QPushButton(QStringLiteral("Memoreaza modificarile"), modi_);
    saveButton->setObjectName(QStringLiteral("Memoreaza%1").arg(page));
    auto* cancelButton = new QPushButton(QStringLiteral("Anuleaza modificarile"), modi_);
    cancelButton->setObjectName(QStringLiteral("Anuleaza%1").arg(page));
    for (QPushButton* b : {saveButton, cancelButton}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    connect(saveButton, &QPushButton::clicked, this, &DeclarationPageWidget::save);
    connect(cancelButton, &QPushButton::clicked, this, [this] { s_.messages().guard([this] { cancel(); }); });
    modi_->hide();
    layout->addWidget(modi_);

    QList<QWidget*> walk;
    for (const PageField* f : FieldsOfPage(page))
        if (f->kind != K::HouseValue && f->kind != K::AnnexValue) walk << controls_.value(f);
    EnterNavigation::install(walk);
}

void DeclarationPageWidget::buildGroups(QWidget* content) {
    const std::vector<Block> blocks = blocksOf(page_);
    auto* grid = new QGridLayout(content);
    // Pages of many small blocks take two columns of them.
    const int across = blocks.size() > 3 ? 2 : 1;
    int at = 0;
    for (const Block& b : blocks) {
        QWidget* box = b.heading.isEmpty() ? new QWidget(content) : new QGroupBox(b.heading, content);
        auto* cells = new QGridLayout(box);
        QStringList rows, columns;
        for (const PageField* f : b.fields) {
            if (!rows.contains(f->row)) rows << f->row;
            if (!columns.contains(f->column)) columns << f->column;
        }
        for (int c = 0; c < columns.size(); ++c)
            cells->addWidget(new QLabel(columns[c], box), 0, c + 1, Qt::AlignBottom | Qt::AlignHCenter);
        for (int r = 0; r < rows.size(); ++r) cells->addWidget(new QLabel(rows[r], box), r + 1, 0);
        for (const PageField* f : b.fields) {
            QWidget* control = makeControl(*f, box);
            controls_.insert(f, control);
            cells->addWidget(control, int(rows.indexOf(f->row)) + 1, int(columns.indexOf(f->column)) + 1);
            if (f->panel == PagePanel::Natural) natural_ << control;
            if (f->panel == PagePanel::Legal) legal_ << control;
        }
        cells->setColumnStretch(int(columns.size()) + 1, 1);
        if (b.panel == PagePanel::Natural) natural_ << box;
        if (b.panel == PagePanel::Legal) legal_ << box;
        grid->addWidget(box, at / across, at % across, Qt::AlignTop);
        ++at;
    }
    grid->setRowStretch(grid->rowCount(), 1);
}

QWidget* DeclarationPageWidget::makeControl(const PageField& f, QWidget* parent) {
    QWidget* w = nullptr;
    switch (f.kind) {
    case K::Material:
    case K::HouseOrder:
    case K::Zone:
    case K::Rank: {
        auto* combo = new QComboBox(parent);
        combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        if (f.kind == K::Zone) combo->addItems(ZoneList());
        if (f.kind == K::Rank) combo->addItems(RankList());
        connect(combo, &QComboBox::currentIndexChanged, this, &DeclarationPageWidget::changed);
        w = combo;
        break;
    }
    case K::Depreciated: {
        auto* box = new QCheckBox(parent);
        connect(box, &QCheckBox::toggled, this, &DeclarationPageWidget::changed);
        w = box;
        break;
    }
    case K::Date: {
        auto* date = new QDateEdit(parent);
        date->setDisplayFormat(kDateFormat);
        date->setCalendarPopup(true);
        connect(date, &QDateEdit::dateChanged, this, &DeclarationPageWidget::changed);
        w = date;
        break;
    }
    case K::HouseValue:
    case K::AnnexValue: {
        auto* value = new QLineEdit(parent);
        value->setReadOnly(true);
        value->setFocusPolicy(Qt::NoFocus);
        value->setAlignment(Qt::AlignRight);
        value->setFixedWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("999999999.9999")) + 14);
        w = value;
        break;
    }
    case K::Number:
    case K::Year: {
        auto* edit = new QLineEdit(parent);
        // Keystrokes past the field's digits are refused with a balloon, never cut afterwards;
        // "1,5" and "1.5" are both one and a half.
        acceptTypedNumber(edit, wholeDigits(f), f.kind == K::Number ? f.decimals : 0, &s_.messages());
        edit->setAlignment(Qt::AlignRight);
        const int digits = wholeDigits(f) + (f.decimals > 0 ? f.decimals + 1 : 0);
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QString(digits + 1, '9')) + 14);
        connect(edit, &QLineEdit::textChanged, this, &DeclarationPageWidget::changed);
        w = edit;
        break;
    }
    }
    w->setObjectName(f.screen);
    w->setToolTip(f.label);
    return w;
}

BlankPageDefaults DeclarationPageWidget::defaults() const {
    return {constants_.text(DefaultZoneControl().key), constants_.text(DefaultRankControl().key),
            QDate(WorkingYear().toInt(), 1, 1)};
}

void DeclarationPageWidget::loadRole(qint64 id) {
    id_ = id;
    const std::optional<Role> role = RoleRegister(s_.database(), s_.folders.data).role(id);
    showPanels(role && role->personType.trimmed().toUpper() == kPersonLegal);
    DeclarationPages pages(s_.database(), s_.folders.data);
    fill(ShownValues(pages.load(id, page_, defaults()), defaults()));
    recomputeValues();
    setModified(false);
    if (onLoad_) onLoad_(id);
}

void DeclarationPageWidget::showPanels(bool legal) {
    // The fields themselves are hidden too, so that Enter passes over them.
    for (QWidget* w : natural_) w->setVisible(!legal);
    for (QWidget* w : legal_) w->setVisible(legal);
}

void DeclarationPageWidget::fill(const PageValues& values) {
    filling_ = true;
    for (auto it = controls_.constBegin(); it != controls_.constEnd(); ++it) {
        const PageField& f = *it.key();
        if (!f.isStored()) continue;
        const QString v = values.value(f.field);
        switch (f.kind) {
        case K::Material: setPosition(static_cast<QComboBox*>(*it), MaterialList(), v); break;
        case K::HouseOrder: setPosition(static_cast<QComboBox*>(*it), HouseOrderList(), v); break;
        case K::Zone:
        case K::Rank: {
            auto* combo = static_cast<QComboBox*>(*it);
            combo->setCurrentIndex(combo->findText(v.toUpper()));
            break;
        }
        case K::Depreciated: static_cast<QCheckBox*>(*it)->setChecked(v.toUpper() == QLatin1String("DA")); break;
        case K::Date: {
            const QDate d = QDate::fromString(v, kDateFormat);
            static_cast<QDateEdit*>(*it)->setDate(d.isValid() ? d : defaults().revaluationDate);
            break;
        }
        default: static_cast<QLineEdit*>(*it)->setText(plain(v)); break;
        }
    }
    filling_ = false;
}

PageValues DeclarationPageWidget::values() const {
    PageValues out;
    for (auto it = controls_.constBegin(); it != controls_.constEnd(); ++it) {
        const PageField& f = *it.key();
        if (!f.isStored()) continue;
        QString v;
        switch (f.kind) {
        case K::Material:
        case K::HouseOrder: v = static_cast<QComboBox*>(*it)->currentData().toString(); break;
        case K::Zone:
        case K::Rank: v = static_cast<QComboBox*>(*it)->currentText(); break;
        case K::Depreciated: v = YesNo(static_cast<QCheckBox*>(*it)->isChecked()); break;
        case K::Date: v = static_cast<QDateEdit*>(*it)->date().toString(kDateFormat); break;
        default:
            // An emptied field declares nothing.
            v = static_cast<QLineEdit*>(*it)->text().trimmed();
            if (v.isEmpty()) v = QStringLiteral("0");
            break;
        }
        out.insert(f.field, v);
    }
    return out;
}

QWidget* DeclarationPageWidget::control(const QString& field) const {
    const PageField* f = FindPageField(page_, field);
    return f ? controls_.value(f) : nullptr;
}

void DeclarationPageWidget::recomputeValues() {
    const PageValues now = values();
    for (auto it = controls_.constBegin(); it != controls_.constEnd(); ++it)
        if (it.key()->kind == K::HouseValue || it.key()->kind == K::AnnexValue)
            static_cast<QLineEdit*>(*it)->setText(PlainNumber(TaxableValue(*it.key(), now, constants_)));
}

void DeclarationPageWidget::changed() {
    if (filling_) return;
    recomputeValues();
    setModified(true);
}

void DeclarationPageWidget::setModified(bool modified) {
    modified_ = modified;
    modi_->setVisible(modified);
}

void DeclarationPageWidget::save() {
    s_.messages().guard([this] {
        try {
            CountersFile counters = s_.counters();
            DeclarationPages(s_.database(), s_.folders.data).save(id_, page_, values(), defaults(), [&] {
                CheckPageTaxesFit(s_.database(), s_.folders.data, counters, constants_, id_);
            });
            setModified(false);
        } catch (const PageRefusal& refusal) {
            if (refusal.reason == PageRefusal::Reason::YearLocked) {
                loadRole(id_);
                s_.messages().ShowErrors(refusal.title, refusal.text(), MessageKind::Warning, MessageButton::Ok);
                return;
            }
            if (!refusal.title.isEmpty()) {
                // Not one field's fault: the page stays as typed for the clerk to mend.
                s_.messages().ShowErrors(refusal.title, refusal.text(), MessageKind::Warning, MessageButton::Ok);
                return;
            }
            QWidget* at = control(refusal.field);
            if (at) at->setFocus();
            s_.messages().ShowProblemHint(refusal.text(), at);
        }
    });
}

void DeclarationPageWidget::cancel() { loadRole(id_); }

void InstallDeclarationPages(TGospodarii& window, Services& services, AdminConstants& constants) {
    for (const DeclarationPage& p : DeclarationPageList())
        window.setPage(p.number + 1, new DeclarationPageWidget(services, constants, p.number));
}

} // namespace vartesa
