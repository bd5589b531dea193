#pragma once
// The problem window and the problem balloon: the Messages the clerk sees.

#include "shell/services.h"

class QWidget;

namespace vartesa {

/// Shows each ShowErrors call as a small modal dialog over `parent` (or the active window)
/// with the Romanian buttons, and each problem hint as a balloon next to its field.
class MessageWindow final : public Messages {
public:
    explicit MessageWindow(QWidget* parent = nullptr) : parent_(parent) {}

    MessageResult ShowErrors(const QString& title, const QString& text, MessageKind kind,
                             MessageButtons buttons) override;
    void ShowProblemHint(const QString& text, QObject* anchor) override;

private:
    QWidget* parent_; // window the dialogs centre on; the active window when null
};

} // namespace vartesa
