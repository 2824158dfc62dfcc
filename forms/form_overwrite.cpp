#include "forms/form_overwrite.h"

#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>


namespace {

struct AnswerButton {
    const char* Name;
    const char* Caption;
    QAModalResult Result;
};

constexpr AnswerButton kButtons[] = {
    {"BitBtn1", "Yes", QAModalResult::Ok},
    {"BitBtn2", "Cancel", QAModalResult::Cancel},
    {"BitBtn3", "Yes To All", QAModalResult::YesToAll},
    {"BitBtn4", "No", QAModalResult::No},
    {"BitBtn5", "No To All", QAModalResult::NoToAll},
};

QLabel* AddLabel(QWidget& parent, QGridLayout& grid, int row, int column, const char* name)
{
    auto* label = new QLabel(&parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    grid.addWidget(label, row, column);
    return label;
}

// The size in bytes and the time of the last change, as the user's locale writes them.
QString SizeAndTime(std::int64_t size, std::int64_t modified)
{
    const QLocale locale;
    return locale.toString(static_cast<qlonglong>(size)) + " Bytes, " +
           locale.toString(QDateTime::fromSecsSinceEpoch(modified), QLocale::ShortFormat);
}

// The buttons' results are the operation's answers, number for number.
static_assert(static_cast<int>(QAModalResult::Ok) == static_cast<int>(platform::OverwriteAnswer::Yes));
static_assert(static_cast<int>(QAModalResult::Cancel) == static_cast<int>(platform::OverwriteAnswer::Cancel));
static_assert(static_cast<int>(QAModalResult::No) == static_cast<int>(platform::OverwriteAnswer::No));
static_assert(static_cast<int>(QAModalResult::NoToAll) == static_cast<int>(platform::OverwriteAnswer::NoToAll));
static_assert(static_cast<int>(QAModalResult::YesToAll) == static_cast<int>(platform::OverwriteAnswer::YesToAll));

} // namespace

TFormOverwrite::TFormOverwrite(QWidget* parent) : TFormDialog(parent, "TFormOverwrite", "Overwrite Files?")
{
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox("Overwrite File", this);
    auto* grid = new QGridLayout(group);
    auto* text = new QLabel(
        "The following file already exists in the target directory. Do you really want to overwrite it?", group);
    text->setWordWrap(true);
    grid->addWidget(text, 0, 0, 1, 2);
    grid->addWidget(new QLabel("File Name:", group), 1, 0);
    LName = AddLabel(*group, *grid, 1, 1, "LName");
    grid->addWidget(new QLabel("Size", group), 2, 1);
    grid->addWidget(new QLabel("Old File:", group), 3, 0);
    LOldSize = AddLabel(*group, *grid, 3, 1, "LOldSize");
    grid->addWidget(new QLabel("New File:", group), 4, 0);
    LNewSize = AddLabel(*group, *grid, 4, 1, "LNewSize");
    layout->addWidget(group);
    QHBoxLayout* row = AddButtonRow(*layout);
    for (const AnswerButton& button : kButtons)
        AddButton(*row, button.Name, button.Caption, button.Result);
}

platform::OverwriteAnswer TFormOverwrite::Ask(const platform::OverwriteQuestion& question)
{
    Show(question);
    return static_cast<platform::OverwriteAnswer>(Run());
}

void TFormOverwrite::Show(const platform::OverwriteQuestion& question)
{
    LName->setText(QString::fromStdString(question.Existing));
    LOldSize->setText(SizeAndTime(question.ExistingSize, question.ExistingModified));
    LNewSize->setText(SizeAndTime(question.IncomingSize, question.IncomingModified));
}
