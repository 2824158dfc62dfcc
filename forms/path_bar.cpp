#include "forms/path_bar.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDir>
#include <QStringListModel>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStackedLayout>
#include <QToolButton>

namespace {

constexpr int kMostCompletions = 2000;

// The folders on the way down to `folder`: "/", "/home/", "/home/ann/", ...
std::vector<std::string> StepsOf(const std::string& folder)
{
    std::vector<std::string> steps;
    for (std::size_t slash = folder.find('/'); slash != std::string::npos; slash = folder.find('/', slash + 1))
        steps.push_back(folder.substr(0, slash + 1));
    return steps;
}

} // namespace

TPathBar::TPathBar(QWidget* parent) : QWidget(parent)
{
    setObjectName("PathBar");
    Pages = new QStackedLayout(this);
    Buttons = new QWidget(this);
    ButtonRow = new QHBoxLayout(Buttons);
    ButtonRow->setContentsMargins(2, 2, 2, 2);
    ButtonRow->setSpacing(1);
    Edit = new QLineEdit(this);
    Edit->setObjectName("PathEdit");
    Pages->addWidget(Buttons);
    Pages->addWidget(Edit);
    auto* completer = new QCompleter(this);
    completer->setModel(new QStringListModel(completer));
    completer->setCaseSensitivity(Qt::CaseSensitive);
    Edit->setCompleter(completer);
    Edit->installEventFilter(this);
    connect(Edit, &QLineEdit::returnPressed, this, [this] { TextEntered(); });
    connect(Edit, &QLineEdit::textEdited, this, [this](const QString& text) { OfferFolders(text); });
}

void TPathBar::ShowFolder(const std::string& folder)
{
    if (folder == Folder)
        return;
    Folder = folder;
    Rebuild();
}

void TPathBar::BeginEdit()
{
    OfferedFolder.reset(); // the folders may have changed since the last edit
    Edit->setText(QString::fromStdString(Folder));
    Pages->setCurrentWidget(Edit);
    Edit->setFocus(Qt::ShortcutFocusReason);
    Edit->selectAll();
}

void TPathBar::EndEdit()
{
    if (!Editing())
        return;
    Edit->completer()->popup()->hide();
    Pages->setCurrentWidget(Buttons);
    if (OnEditEnded)
        OnEditEnded();
}

bool TPathBar::Editing() const
{
    return Pages->currentWidget() == Edit;
}

QStringList TPathBar::Steps() const
{
    QStringList steps;
    for (const QToolButton* button : Buttons->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly))
        steps.push_back(button->text());
    return steps;
}

void TPathBar::ChooseStep(int index)
{
    const std::vector<std::string> steps = StepsOf(Folder);
    if (index >= 0 && static_cast<std::size_t>(index) < steps.size() && OnChoose)
        OnChoose(steps[static_cast<std::size_t>(index)]);
}

std::string TPathBar::ExpandHome(const std::string& text)
{
    if (text != "~" && !text.starts_with("~/"))
        return text;
    return QDir::homePath().toStdString() + text.substr(1);
}

// Escape ends the edit; so does a click elsewhere in the window, but not a box about the text
// typed or the completer's list of folders.
bool TPathBar::eventFilter(QObject* watched, QEvent* event)
{
    const bool listShown = Edit->completer()->popup()->isVisible();
    if (watched != Edit || listShown)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        EndEdit();
        return true;
    }
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            EndEdit();
    }
    return QWidget::eventFilter(watched, event);
}

// One button per folder on the way; the buttons never take the keyboard from the view.
void TPathBar::Rebuild()
{
    for (QToolButton* button : Buttons->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly))
        delete button;
    while (ButtonRow->count() > 0)
        delete ButtonRow->takeAt(0);
    const std::vector<std::string> steps = StepsOf(Folder);
    for (std::size_t index = 0; index < steps.size(); ++index) {
        const std::string& step = steps[index];
        const std::size_t previous = index == 0 ? 0 : steps[index - 1].size();
        std::string caption = index == 0 ? "/" : step.substr(previous, step.size() - previous - 1);
        auto* button = new QToolButton(Buttons);
        button->setText(QString::fromStdString(caption).replace('&', "&&"));
        button->setFocusPolicy(Qt::NoFocus);
        button->setCheckable(index + 1 == steps.size());
        button->setChecked(index + 1 == steps.size());
        connect(button, &QToolButton::clicked, this, [this, index] { ChooseStep(static_cast<int>(index)); });
        ButtonRow->addWidget(button);
    }
    ButtonRow->addStretch(1);
}

void TPathBar::TextEntered()
{
    std::string folder = ExpandHome(Edit->text().toStdString());
    if (folder.empty() || !OnChoose)
        return;
    if (folder.front() != '/')
        folder = Folder + folder; // below the folder shown
    if (OnChoose(folder))
        EndEdit();
}

// The sub-folders of the folder typed so far (up to its last "/"), written as the text begins, so
// that "~/Do" is completed to "~/Documents/". The folder is read once for each folder typed.
void TPathBar::OfferFolders(const QString& text)
{
    const qsizetype slash = text.lastIndexOf('/');
    const QString typedFolder = slash < 0 ? QString() : text.left(slash + 1);
    if (typedFolder == OfferedFolder)
        return;
    OfferedFolder = typedFolder;
    std::string folder = ExpandHome(typedFolder.toStdString());
    if (!folder.starts_with("/"))
        folder = Folder + folder;
    const QStringList names = QDir(QString::fromStdString(folder))
                                  .entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    QStringList offered;
    for (const QString& name : names.mid(0, kMostCompletions))
        offered.push_back(typedFolder + name + "/");
    static_cast<QStringListModel*>(Edit->completer()->model())->setStringList(offered);
}
