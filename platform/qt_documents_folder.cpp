#include "platform/documents_folder.h"

#include <QStandardPaths>
#include <QString>

#include "platform/directory_listing.h"
#include "platform/system_folders.h"

namespace platform {

std::string DocumentsFolder()
{
    const std::string documents =
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
    if (documents.empty() || !IsDirectory(documents))
        return HomeFolder();
    return documents.back() == '/' ? documents : documents + "/";
}

} // namespace platform
