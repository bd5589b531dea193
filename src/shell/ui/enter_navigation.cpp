#include "enter_navigation.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

namespace vartesa {

EnterNavigation::EnterNavigation(const QList<QWidget*>& fields, QAbstractButton* accept, QObject* parent)
    : QObject(parent), fields_(fields), accept_(accept) {
    for (QWidget* f : fields_) {
        f->installEventFilter(this);
        // A drop-down list's popup and a spin box's editor see the key first.
        if (auto* combo = qobject_cast<QComboBox*>(f); combo && combo->isEditable()) combo->lineEdit()->installEventFilter(this);
    }
}

EnterNavigation* EnterNavigation::install(const QList<QWidget*>& fields, QAbstractButton* accept) {
    QObject* owner = fields.isEmpty() ? nullptr : fields.first()->window();
    return new EnterNavigation(fields, accept, owner);
}

bool EnterNavigation::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
    if (key->modifiers() & ~Qt::KeypadModifier) return false;
    qsizetype at = -1;
    for (qsizetype i = 0; i < fields_.size(); ++i)
        if (fields_[i] == watched || fields_[i]->isAncestorOf(qobject_cast<QWidget*>(watched))) at = i;
    if (at < 0) return false;
    for (qsizetype next = at + 1; next < fields_.size(); ++next) {
        if (fields_[next]->isEnabled() && !fields_[next]->isHidden()) {
            fields_[next]->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    if (accept_) accept_->click();
    return true;
}

} // namespace vartesa
