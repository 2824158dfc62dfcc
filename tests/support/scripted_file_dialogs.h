#pragma once
// The overwrite dialog and the progress window of file operations, played by a script: modal
// windows cannot be answered in unattended tests. Each records what it was shown.
#include <deque>
#include <functional>
#include <vector>

#include "platform/file_operation.h"

class ScriptedOverwrite : public platform::OverwritePrompt {
public:
    platform::OverwriteAnswer Ask(const platform::OverwriteQuestion& question) override
    {
        Questions.push_back(question);
        if (OnAsk)
            OnAsk(question);
        if (Answers.empty())
            return platform::OverwriteAnswer::No;
        const platform::OverwriteAnswer answer = Answers.front();
        Answers.pop_front();
        return answer;
    }

    std::deque<platform::OverwriteAnswer> Answers; // then No
    std::vector<platform::OverwriteQuestion> Questions;
    std::function<void(const platform::OverwriteQuestion&)> OnAsk;
};

class ScriptedProgress : public platform::ProgressView {
public:
    void Show() override { ++Shown; }
    void Report(const platform::ProgressReport& report) override { Reports.push_back(report); }
    void Hide() override { ++Hidden; }
    void ProcessEvents() override
    {
        ++Events;
        if (OnEvents)
            OnEvents(*this);
    }
    bool CancelRequested() const override { return Cancel; }

    int Shown = 0;
    int Hidden = 0;
    int Events = 0;
    bool Cancel = false;
    std::vector<platform::ProgressReport> Reports;
    // Runs while the window's events are handled: the user's clicks, other programs at work.
    std::function<void(ScriptedProgress&)> OnEvents;
};
