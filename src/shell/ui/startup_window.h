#pragma once
// The start-up window: the first window of a run, showing the version while the program
// prepares its data. It is the window a second start brings forward.

#include <QWidget>

class QLabel;

namespace vartesa {

class StartupWindow final : public QWidget {
    Q_OBJECT
public:
    explicit StartupWindow(QWidget* parent = nullptr);

    /// Status line: "Incarcare date" at first, then what is being loaded.
    void setStatus(const QString& text);

private:
    QLabel* version_;  // version string, set once
    QLabel* purpose_;  // what the program is for
    QLabel* status_;   // what start-up is doing now
};

} // namespace vartesa
