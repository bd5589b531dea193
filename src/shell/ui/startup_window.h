#pragma once
// The start-up window: the first window of a run, showing the version while the program
// prepares its data. It is the window a second start brings forward.

#include "shell/startup.h"

#include <QWidget>

#include <functional>

class QLabel;
class QProgressBar;

namespace vartesa {

class StartupWindow final : public QWidget, public StartupView {
    Q_OBJECT
public:
    explicit StartupWindow(QWidget* parent = nullptr);

    /// Status line: "Incarcare date" at first, then what is being loaded.
    void setStatus(const QString& text) override;
    /// Moves the bar (0 to 100) forward and lets the window repaint.
    void advance(int step) override;
    int progress() const;

    /// Work to run one second after the window is first shown (the start-up sequence).
    void runWhenShown(std::function<void()> work) { work_ = std::move(work); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* version_;  // version string, set once
    QLabel* purpose_;  // what the program is for
    QLabel* status_;   // what start-up is doing now
    QProgressBar* bar_; // 0 to 100
    std::function<void()> work_; // the start-up sequence, run once
};

} // namespace vartesa
