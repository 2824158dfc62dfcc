#include "forms/form_view_edit.h"

#include <QEvent>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "engine/qox_file.h"
#include "engine/qox_main.h"
#include "lists/list_file.h"
#include "lists/view_generic.h"

namespace {

constexpr int kColorPanelSize = 24;
constexpr int kNumberWidth = 60;
constexpr int kMemoHeight = 120;

QLineEdit* NamedEdit(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

// The lookup lowers a file's extension before comparing, so what is typed is stored in lower case;
// blank lines are left out.
std::vector<std::string> ExtensionLines(const std::vector<std::string>& memo)
{
    std::vector<std::string> lines;
    for (const std::string& line : memo) {
        const std::size_t first = line.find_first_not_of(" \t");
        if (first != std::string::npos)
            lines.push_back(lists::LowerCase(line.substr(first, line.find_last_not_of(" \t") + 1 - first)));
    }
    return lines;
}

} // namespace

TFormViewEdit::TFormViewEdit(QWidget* parent) : TFormDialog(parent, "TFormViewEdit", "Configure View")
{
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox("View", this);
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel("Name:", group), 0, 0);
    EName = NamedEdit(group, "EName");
    EName->setMaxLength(static_cast<int>(kStringName));
    grid->addWidget(EName, 0, 1);
    grid->addWidget(new QLabel("Color:", group), 1, 0);
    grid->addWidget(MakeColorGroup(), 1, 1);
    grid->addWidget(new QLabel("Texture:", group), 2, 0);
    grid->addWidget(MakeTextureRow(), 2, 1);
    grid->addWidget(new QLabel("Extensions:", group), 3, 0, Qt::AlignTop);
    MemoExt = new QPlainTextEdit(group);
    MemoExt->setObjectName("MemoExt");
    MemoExt->setFixedHeight(kMemoHeight);
    grid->addWidget(MemoExt, 3, 1);
    layout->addWidget(group);
    AddOkCancel(*layout);
}

QWidget* TFormViewEdit::MakeColorGroup()
{
    auto* row = new QWidget(this);
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(0, 0, 0, 0);
    for (auto [field, name] : {std::pair{&Colour.Red, "ER"}, {&Colour.Green, "EG"}, {&Colour.Blue, "EB"}}) {
        *field = NamedEdit(row, name);
        (*field)->setFixedWidth(kNumberWidth);
        line->addWidget(*field);
    }
    auto* panel = new QFrame(row);
    panel->setObjectName("EColor");
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setFixedSize(kColorPanelSize, kColorPanelSize);
    panel->setCursor(Qt::PointingHandCursor);
    panel->setToolTip("Choose the colour");
    panel->installEventFilter(this);
    line->addWidget(panel);
    line->addStretch();
    Colour.Panel = panel;
    return row;
}

QWidget* TFormViewEdit::MakeTextureRow()
{
    auto* row = new QWidget(this);
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(0, 0, 0, 0);
    ETexture = NamedEdit(row, "ETexture");
    line->addWidget(ETexture);
    auto* load = new QPushButton("...", row);
    load->setObjectName("BtnLoadTexture");
    connect(load, &QPushButton::clicked, this, [this] { BtnLoadTextureClick(); });
    line->addWidget(load);
    return row;
}

void TFormViewEdit::LoadView(const QVGeneric& view)
{
    PutText(*EName, view.GetName());
    PutColor(Colour, view.Colour);
    PutText(*ETexture, view.Texture);
    PutScript(*MemoExt, view.Extensions());
}

void TFormViewEdit::TakeView(QVGeneric& view) const
{
    view.SetName(FieldText(*EName, kStringName));
    ReadColor(Colour, view.Colour);
    view.SetExtensions(ExtensionLines(MemoLines(*MemoExt)));
    view.SetTexture(FieldText(*ETexture, kStringL));
}

void TFormViewEdit::BtnLoadTextureClick()
{
    QOXFileSystem* files = Engine()->FileSystem;
    QFileDialog dialog(this, "Open Texture File", QString::fromStdString(files->TexturesPath),
                       "Supported Image Files (*.bmp *.jpg *.tga *.png)");
    dialog.setObjectName("OpenTextureDialog");
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const std::string file = dialog.selectedFiles().front().toStdString();
    if (file.rfind(files->BasePath, 0) != 0) {
        Engine()->Message("Textures are read from the program folder \"" + files->BasePath + "\"; \"" + file +
                          "\" lies outside it!");
        return;
    }
    PutText(*ETexture, files->RelativeName(file, false));
}

void TFormViewEdit::EColorChange()
{
    PickColor(Colour, this);
}

bool TFormViewEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Colour.Panel && event->type() == QEvent::MouseButtonRelease) {
        EColorChange();
        return true;
    }
    return TFormDialog::eventFilter(watched, event);
}
