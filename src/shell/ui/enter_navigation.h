#pragma once
// Keyboard-first forms: Enter in a field moves to the next one, and Enter in the last field
// presses the form's accept button. One helper for every dialog.

#include <QList>
#include <QObject>

class QAbstractButton;
class QWidget;

namespace vartesa {

class EnterNavigation : public QObject {
public:
    /// `fields` in the order Enter walks them; Enter in the last presses `accept` (if any).
    /// Owned by the first field's window.
    static EnterNavigation* install(const QList<QWidget*>& fields, QAbstractButton* accept = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    EnterNavigation(const QList<QWidget*>& fields, QAbstractButton* accept, QObject* parent);
    QList<QWidget*> fields_;   // walk order
    QAbstractButton* accept_; // pressed by Enter in the last field
};

} // namespace vartesa
