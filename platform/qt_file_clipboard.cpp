#include "platform/qt_file_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace platform {

void QtFileClipboard::Put(const ClipboardFiles& files)
{
    QGuiApplication::clipboard()->setMimeData(NewMimeData(ClipboardPayloads(files)));
}

// Another program that copies anything takes the clipboard over: the window system then tells us
// that we no longer own it.
bool QtFileClipboard::HoldsOurs() const
{
    return QGuiApplication::clipboard()->ownsClipboard();
}

std::optional<ClipboardFiles> QtFileClipboard::Files() const
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr)
        return std::nullopt;
    return FilesOfPayloads(FilePayloadsOf(*data));
}

void QtFileClipboard::Clear()
{
    QGuiApplication::clipboard()->clear();
}

QMimeData* NewMimeData(const MimePayloads& payloads)
{
    auto* data = new QMimeData();
    for (const auto& [format, bytes] : payloads)
        data->setData(QString::fromStdString(format), QByteArray::fromStdString(bytes));
    return data;
}

MimePayloads FilePayloadsOf(const QMimeData& data)
{
    MimePayloads payloads;
    for (const char* format : {kUriListFormat, kGnomeFilesFormat, kKdeCutFormat}) {
        if (data.hasFormat(format))
            payloads[format] = data.data(format).toStdString();
    }
    return payloads;
}

} // namespace platform
