#pragma once
// The desktop services of a running Qt application: QMessageBox for the boxes, the desktop's
// "open" handler for documents, and the Qt event loop for pending window messages.
#include "platform/desktop_services.h"

class QWidget;

namespace platform {

class QtDesktopServices : public DesktopServices {
public:
    explicit QtDesktopServices(QWidget* parentWindow = nullptr);

    void SetParentWindow(QWidget* parentWindow);
    void ShowInformation(const std::string& text) override;
    void ShowError(const std::string& text) override;
    bool OpenDocument(const std::string& path) override;
    void ProcessEvents() override;

private:
    QWidget* ParentWindow = nullptr; // not owned; the main window
};

} // namespace platform
