#pragma once
// The engine's text log: every line is appended to console.txt in the program folder (opened and
// closed per line, so the log is complete on disk after every line) and handed to the listeners.
#include <functional>
#include <string>
#include <vector>

#include "engine/qox_object.h"

// A listener: the object that registered it and the operation to call with each line.
struct TCallProcAddLine {
    const void* Owner = nullptr;
    std::function<void(const std::string& text)> Call;
};

class QOXConsole : public QOXObject {
    QOX_CLASS(QOXConsole)
public:
    QOXConsole(QOXObject* parent, const std::string& name);

    struct TSettings {
        std::string FileName = "console";
        std::vector<TCallProcAddLine> CallProcs;
        int LastCallProc = -1;
    };

    void Open(const std::string& baseName, bool enabled);
    void AddLine(const std::string& text);
    void AddBlank();
    void AddSeparator();

    void AddCallProc(const void* owner, std::function<void(const std::string& text)> call);
    void RemoveCallProc(const void* owner); // clears every entry of that owner; slots stay
    void ClearCallProcs();

    std::string LogFileName() const;

    TSettings Settings;
    bool Enabled = true;

protected:
    void BeforeDestroy() override;

private:
    void AppendToFile(const std::string& text);
};
