#pragma once
// The services a benchmark runs with: no window, no question, no progress; an error the
// code reports is printed, so a failing run does not pass for a fast one.

#include "shell/services.h"

#include <QString>

#include <cstdio>
#include <memory>

namespace vartesa::bench {

class QuietMessages final : public Messages {
public:
    MessageResult ShowErrors(const QString& title, const QString& text, MessageKind, MessageButtons) override {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
        return MessageResult::Renunt;
    }
    void ShowProblemHint(const QString&, QObject*) override {}
};

class QuietProgress final : public Progress {
public:
    void Arata(const QString&) override {}
    void Describe(const QString&) override {}
    void SetMaximum(int) override {}
    void Step(int) override {}
    void Distruge() override {}
};

class NoDesktop final : public Desktop {
public:
    bool openFile(const QString&) override { return true; }
};

/// Services over `program` (program and machine folder) and the data folder `data`.
inline std::unique_ptr<Services> QuietServices(const QString& program, const QString& data) {
    Folders f;
    f.program = f.machine = program;
    f.data = f.defaultData = data;
    return std::make_unique<Services>(f, std::make_unique<QuietMessages>(), std::make_unique<QuietProgress>(),
                                      std::make_unique<NoDesktop>(), std::make_unique<SystemClock>());
}

} // namespace vartesa::bench
