#pragma once
// The problem window and the problem balloon: the Messages the clerk sees.

#include "shell/services.h"

#include <QFrame>
#include <QPointer>

#include <vector>

class QWidget;

namespace vartesa {

/// Width of the band the problem window spreads its buttons over, and of each button.
constexpr int kButtonArea = 342;
constexpr int kButtonWidth = 73;

/// Left edge of each of `count` buttons: the whole part of (342 - 73 n) / (n + 1) is the gap,
/// and the k-th button starts at k gap + (k - 1) 73. Two buttons: 65 and 203; one: 134.
std::vector<int> buttonPositions(int count);

/// One line of a problem message and whether it is bold.
struct MessageLine {
    QString text;
    bool bold = false;
};

/// Splits a message at carriage returns; a line holding the character 1 turns bold on from
/// there, a line holding the character 2 turns it off; both characters are dropped.
std::vector<MessageLine> messageLines(const QString& text);

/// The balloon next to a field: "Problema !" and the text; closes itself after 5 seconds,
/// or sooner when the window of its field goes away or another modal window opens, so it
/// never stands over the next dialog.
class ProblemHint final : public QFrame {
public:
    ProblemHint(const QString& text, QWidget* anchor);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> window_; // the window of the field it points at
};

/// Shows each ShowErrors call as a small modal dialog over `parent` (or the active window)
/// with the Romanian buttons, and each problem hint as a balloon next to its field.
class MessageWindow final : public Messages {
public:
    explicit MessageWindow(QWidget* parent = nullptr) : parent_(parent) {}

    MessageResult ShowErrors(const QString& title, const QString& text, MessageKind kind,
                             MessageButtons buttons) override;
    MessageResult ShowErrorsEnterOn(const QString& title, const QString& text, MessageKind kind,
                                    MessageButtons buttons, MessageButton enterButton) override;
    void ShowProblemHint(const QString& text, QObject* anchor) override;

private:
    QWidget* parent_; // window the dialogs centre on; the active window when null
};

} // namespace vartesa
