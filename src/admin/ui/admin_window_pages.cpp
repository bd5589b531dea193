// The pages of the administrator window generated from the catalog of stored controls.

#include "admin_window.h"

#include "admin/admin_catalog.h"
#include "shell/ui/upper_case.h"
#include "shell/ui/window_looks.h"

#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vartesa {

namespace {

QLabel* heading(const QString& text, bool bold, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    if (bold) {
        QFont f = label->font();
        f.setBold(true);
        label->setFont(f);
    }
    return label;
}

// A field of its kind: a free text, a list of its items, or a number that takes at most
// the control's digits before and after the comma (or point).
QWidget* makeField(const AdminControl& c, QWidget* parent) {
    QWidget* field = nullptr;
    if (c.kind == SettingKind::List) {
        auto* combo = new QComboBox(parent);
        combo->addItems(c.items);
        field = combo;
    } else {
        auto* edit = new QLineEdit(parent);
        if (c.kind == SettingKind::Text) {
            edit->setMaxLength(40); // VALOARE of Ini.dbf
            fitCharacters(edit, 40, false);
        } else {
            acceptTypedNumber(edit, c.integerDigits, c.decimals, nullptr); // "0,5" and "0.5" alike
            edit->setAlignment(Qt::AlignRight);
            edit->setMaximumWidth(90);
        }
        field = edit;
    }
    field->setObjectName(c.key);
    if (!c.hint.isEmpty()) field->setToolTip(c.hint);
    return field;
}

// One block of consecutive controls sharing a group: column captions across the top,
// one row per label.
void addBlock(QVBoxLayout* layout, const std::vector<const AdminControl*>& block, QWidget* page,
              QHash<QString, QWidget*>& controls, QList<QWidget*>& order) {
    const QString& group = block.front()->group;
    if (!group.isEmpty()) layout->addWidget(heading(group, true, page));
    QStringList columns, rows;
    for (const AdminControl* c : block) {
        if (!columns.contains(c->column)) columns << c->column;
        if (!rows.contains(c->label)) rows << c->label;
    }
    auto* grid = new QGridLayout;
    const bool captions = !(columns.size() == 1 && columns.front().isEmpty());
    if (captions)
        for (int col = 0; col < columns.size(); ++col)
            grid->addWidget(heading(columns[col], false, page), 0, col + 1, Qt::AlignCenter);
    const int top = captions ? 1 : 0;
    for (int row = 0; row < rows.size(); ++row) grid->addWidget(new QLabel(rows[row], page), top + row, 0);
    for (const AdminControl* c : block) {
        QWidget* field = makeField(*c, page);
        grid->addWidget(field, top + int(rows.indexOf(c->label)), int(columns.indexOf(c->column)) + 1);
        controls.insert(c->key.toUpper(), field);
        order << field;
    }
    // Fields stand next to their labels; what room is left goes to the right of them.
    grid->setColumnStretch(int(columns.size()) + 1, 1);
    layout->addLayout(grid);
}

} // namespace

QWidget* BuildConstantsPage(AdminPage page, QHash<QString, QWidget*>& controls, QList<QWidget*>& order,
                            QPushButton** explanations) {
    const AdminPageInfo& info = AdminPages().at(std::size_t(page));
    auto* widget = new QWidget;
    auto* layout = new QVBoxLayout(widget);
    auto* top = new QHBoxLayout;
    auto* titles = new QVBoxLayout;
    if (!info.title.isEmpty()) titles->addWidget(heading(info.title, true, widget));
    if (!info.subtitle.isEmpty()) titles->addWidget(heading(info.subtitle, false, widget));
    top->addLayout(titles, 1);
    if (explanations) *explanations = nullptr;
    if (info.hasExplanations) {
        auto* button = new QPushButton(AdminExplanationsTitle(), widget);
        button->setObjectName(QStringLiteral("ExplicatiiBut"));
        top->addWidget(button, 0, Qt::AlignTop);
        if (explanations) *explanations = button;
    }
    layout->addLayout(top);

    std::vector<const AdminControl*> block;
    for (const AdminControl& c : AdminControls()) {
        if (c.page != page) continue;
        if (!block.empty() && block.front()->group != c.group) {
            addBlock(layout, block, widget, controls, order);
            block.clear();
        }
        block.push_back(&c);
    }
    if (!block.empty()) addBlock(layout, block, widget, controls, order);
    layout->addStretch(1);
    return widget;
}

} // namespace vartesa
