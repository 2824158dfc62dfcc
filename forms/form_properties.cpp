#include "forms/form_properties.h"

#include <QDateTime>
#include <QFile>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QMimeDatabase>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/entry_properties.h"
#include "presentation/gl_scene_app.h"

namespace {

QString Bytes(std::int64_t bytes)
{
    return QString("%1 (%2 bytes)").arg(QString::fromStdString(SizeText(bytes)), QLocale().toString(static_cast<qlonglong>(bytes)));
}

QString Moment(std::int64_t seconds)
{
    return QLocale().toString(QDateTime::fromSecsSinceEpoch(seconds), QLocale::LongFormat);
}

QString TypeText(const platform::EntryProperties& entry, const QString& path)
{
    switch (entry.Type) {
    case platform::EntryType::Folder:
        return "Folder";
    case platform::EntryType::Link:
        return "Link to " + QFile::decodeName(QByteArray::fromStdString(entry.LinkTarget));
    case platform::EntryType::File:
        return QMimeDatabase().mimeTypeForFile(path).comment();
    case platform::EntryType::Other:
        return "Special file";
    case platform::EntryType::Missing:
        break;
    }
    return "Not found";
}

} // namespace

TFormProperties::TFormProperties(QWidget* parent, const std::string& path, std::int64_t countedBytes)
    : TFormDialog(parent, "TFormProperties", "Properties")
{
    const platform::EntryProperties entry = platform::ReadEntryProperties(path);
    const QString shownPath = QFile::decodeName(QByteArray::fromStdString(path));
    Lines.emplace_back("Path:", shownPath);
    Lines.emplace_back("Type:", TypeText(entry, shownPath));
    if (entry.Type != platform::EntryType::Missing) {
        const bool counted = entry.Type == platform::EntryType::Folder && countedBytes >= 0;
        Lines.emplace_back("Size:", Bytes(counted ? countedBytes : entry.Size));
        Lines.emplace_back("Size on disk:", Bytes(entry.SizeOnDisk));
        Lines.emplace_back("Owner:", QString::fromStdString(entry.Owner + ":" + entry.Group));
        Lines.emplace_back("Permissions:", QString::fromStdString(platform::PermissionText(entry.Mode)));
        Lines.emplace_back("Modified:", Moment(entry.Modified));
        Lines.emplace_back("Accessed:", Moment(entry.Accessed));
        Lines.emplace_back("Changed:", Moment(entry.Changed));
    }
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout();
    for (const auto& [caption, value] : Lines) {
        auto* label = new QLabel(value, this);
        label->setObjectName(QString(caption).remove(':').remove(' '));
        label->setTextFormat(Qt::PlainText);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(caption, label);
    }
    layout->addLayout(form);
    AddButton(*AddButtonRow(*layout), "BitBtn1", "Close", QAModalResult::Ok)->setDefault(true);
}
