#pragma once
// The progress window ("Contor") shown during long work.

#include "shell/services.h"

#include <QPointer>
#include <QWidget>

#include <memory>

class QProgressDialog;
class QWidget;

namespace vartesa {

/// Progress over a QProgressDialog without a cancel button: long work in this program runs
/// to its end, the window only shows how far it got.
class ProgressWindow final : public Progress {
public:
    explicit ProgressWindow(QWidget* parent = nullptr);
    ~ProgressWindow() override;

    void Arata(const QString& title) override;
    void Describe(const QString& text) override;
    void SetMaximum(int maximum) override;
    void Step(int n = 1) override;
    void Distruge() override;

    /// The dialog, for tests and for windows that place it.
    QProgressDialog& dialog() { return *dialog_; }

private:
    std::unique_ptr<QProgressDialog> dialog_;
    bool busy_ = false; // hourglass cursor set by Arata, not yet restored
    QPointer<QWidget> owner_; // window disabled while the work runs
};

} // namespace vartesa
