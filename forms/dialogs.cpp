#include "forms/dialogs.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>

#include "forms/preferences_box.h"

namespace {

QStringList ToStringList(const std::vector<std::string>& texts)
{
    QStringList list;
    for (const std::string& text : texts)
        list.append(QString::fromStdString(text));
    return list;
}

QADialogResult ResultOf(bool accepted)
{
    return accepted ? QADialogResult::Ok : QADialogResult::Cancel;
}

} // namespace

QADialogResult TDialogs::NewRing(const std::vector<std::string>& folderBox, std::string& text)
{
    QInputDialog dialog(Parent);
    dialog.setObjectName("TFormRingNew");
    dialog.setWindowTitle("Create new Ring from Directory");
    dialog.setLabelText("Name:");
    dialog.setComboBoxItems(ToStringList(folderBox));
    dialog.setComboBoxEditable(true);
    dialog.setTextValue(QString());
    const bool accepted = dialog.exec() == QDialog::Accepted;
    text = dialog.textValue().toStdString();
    return ResultOf(accepted);
}

QADialogResult TDialogs::Preferences(QASettings& settings)
{
    TPreferencesBox box(Parent, settings);
    if (box.exec() != QDialog::Accepted)
        return QADialogResult::Cancel;
    box.TakeSettings(settings);
    return QADialogResult::Ok;
}

// The box's option takes effect however the box is closed.
void TDialogs::About(bool& bananaMode)
{
    QDialog box(Parent);
    box.setObjectName("TFormAbout");
    box.setWindowTitle("About");
    auto* layout = new QVBoxLayout(&box);
    layout->addWidget(new QLabel("Orbivane", &box));
    layout->addWidget(new QLabel("Version 0.1.0.0", &box));
    layout->addWidget(new QLabel("(c) 2026 The Orbivane developers", &box));
    auto* option = new QCheckBox("Unlock super secret Banana-Mode:", &box);
    option->setObjectName("CBMeisterMode");
    option->setChecked(bananaMode);
    layout->addWidget(option);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    layout->addWidget(buttons);
    box.exec();
    bananaMode = option->isChecked();
}

QADialogResult TDialogs::AddFavorite(const std::string& folder, std::string& name)
{
    QInputDialog dialog(Parent);
    dialog.setObjectName("TFormAddFavorite");
    dialog.setWindowTitle("Add Favorite");
    dialog.setLabelText("Folder: " + QString::fromStdString(folder) + "\nName:");
    dialog.setTextValue(QString::fromStdString(name));
    const bool accepted = dialog.exec() == QDialog::Accepted;
    name = dialog.textValue().toStdString();
    return ResultOf(accepted);
}

QADialogResult TDialogs::ConfigureViews(QOXViewEngine&)
{
    return NotBuiltYet("Configure Views");
}

QADialogResult TDialogs::ConfigureFavorites(QOXFavoriteEngine&)
{
    return NotBuiltYet("Configure Favorites");
}

QADialogResult TDialogs::NotBuiltYet(const char* caption) const
{
    QMessageBox::information(Parent, caption,
                             "This editor is not built yet. Edit the list file in the program folder instead.");
    return QADialogResult::Cancel;
}
