#include "platform/qt_desktop_services.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

namespace platform {

namespace {
const char* const kCaption = "Orbivane";
}

QtDesktopServices::QtDesktopServices(QWidget* parentWindow) : ParentWindow(parentWindow) {}

void QtDesktopServices::SetParentWindow(QWidget* parentWindow)
{
    ParentWindow = parentWindow;
}

void QtDesktopServices::ShowInformation(const std::string& text)
{
    QMessageBox::information(ParentWindow, kCaption, QString::fromStdString(text));
}

void QtDesktopServices::ShowError(const std::string& text)
{
    QMessageBox::critical(ParentWindow, kCaption, QString::fromStdString(text));
}

// A web address ("https://...") is opened as it is; anything else is a local file.
bool QtDesktopServices::OpenDocument(const std::string& path)
{
    const QString text = QString::fromStdString(path);
    return QDesktopServices::openUrl(text.contains("://") ? QUrl(text) : QUrl::fromLocalFile(text));
}

void QtDesktopServices::ProcessEvents()
{
    if (QCoreApplication::instance() != nullptr)
        QCoreApplication::processEvents();
}

} // namespace platform
