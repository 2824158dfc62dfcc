#pragma once
// What the application asks of the parts that have a window or a picture: the main window
// (captions, status bar, busy pointer, menu ticks), the scene (the ring title) and the cursor.
// Each is optional: without one the application does its own work and nothing is shown.
#include <string>

#include "app/app_constant.h"

struct QASettings;
class QOXRing;

class QAWindowLink {
public:
    virtual ~QAWindowLink() = default;
    virtual void SetCaption(const std::string& caption) = 0;
    virtual void SetStatusText(QAStatusPanel panel, const std::string& text) = 0;
    virtual void SetBusy(bool busy) = 0;
    // The menu ticks that mirror settings.
    virtual void SettingsLoaded(const QASettings& settings) = 0;
};

class QASceneLink {
public:
    virtual ~QASceneLink() = default;
    virtual void ShowRingTitle(const std::string& title) = 0;
};

class QACursorLink {
public:
    virtual ~QACursorLink() = default;
    virtual void RingChanged(QOXRing* ring) = 0;
    // Brings the current ring's view to the picked element again.
    virtual void RefocusPicked() = 0;
};
