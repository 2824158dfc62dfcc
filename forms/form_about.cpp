#include "forms/form_about.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/app_command_line.h"
#include "app/app_constant.h"
#include "engine/qox_file.h"
#include "engine/qox_main.h"

namespace {

constexpr int kLogoSize = 96;

QLabel* NamedLabel(QWidget* parent, const char* name, const char* text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

} // namespace

TFormAbout::TFormAbout(QWidget* parent) : TFormDialog(parent, "TFormAbout", "About")
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeLogoPanel());
    auto* banana = new QGroupBox("Banana Mode", this);
    auto* row = new QHBoxLayout(banana);
    row->addWidget(new QLabel("Unlock super secret Banana-Mode:", banana));
    CBMeisterMode = new QCheckBox(banana);
    CBMeisterMode->setObjectName("CBMeisterMode");
    row->addWidget(CBMeisterMode);
    row->addStretch();
    layout->addWidget(banana);
    AddButton(*AddButtonRow(*layout), "OKButton", "OK", mrOk)->setDefault(true);
}

void TFormAbout::SetBananaMode(bool on)
{
    CBMeisterMode->setChecked(on);
}

bool TFormAbout::BananaMode() const
{
    return CBMeisterMode->isChecked();
}

QWidget* TFormAbout::MakeLogoPanel()
{
    auto* panel = new QFrame(this);
    panel->setObjectName("Panel1");
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* row = new QHBoxLayout(panel);
    auto* logo = new QLabel(panel);
    logo->setObjectName("ProgramIcon");
    logo->setFixedSize(kLogoSize, kLogoSize);
    logo->setScaledContents(true);
    logo->setPixmap(QPixmap(QString::fromStdString(Engine()->FileSystem->TexturesPath + "icon.png")));
    row->addWidget(logo, 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout();
    row->addLayout(texts);
    texts->addWidget(NamedLabel(panel, "ProductName", "Orbivane"));
    texts->addWidget(NamedLabel(panel, "Version", (std::string("Version ") + kAppVersion).c_str()));
    texts->addWidget(NamedLabel(panel, "Copyright", "Free software, (c) 2026 the Orbivane developers"));
    texts->addWidget(NamedLabel(panel, "Comments",
                                "Your folders as rings: drawn with OpenGL,\n"
                                "windows by Qt, pictures read with libpng and libjpeg."));
    // Which layout is in use and where the settings, lists and log are, to be copied from.
    auto* files = NamedLabel(panel, "Files", "");
    files->setText(QString::fromStdString(FilesText(Engine()->FileSystem->Folders())).trimmed());
    files->setTextInteractionFlags(Qt::TextSelectableByMouse);
    texts->addWidget(files);
    AddLink(*texts, "LinkCourse", "How the rings are drawn: OpenGL", kCoursePage);
    AddLink(*texts, "LinkMaker", "The toolkit of the windows: Qt", kMakerPage);
    return panel;
}

// A link label with a hand pointer; the desktop opens its page.
void TFormAbout::AddLink(QLayout& layout, const char* name, const char* caption, const char* page)
{
    auto* link = NamedLabel(this, name, "");
    link->setText(QString("<a href=\"%1\">%2</a>").arg(page, caption));
    link->setTextFormat(Qt::RichText);
    link->setCursor(Qt::PointingHandCursor);
    link->setAlignment(Qt::AlignCenter);
    connect(link, &QLabel::linkActivated, this,
            [](const QString& address) { Engine()->FileSystem->ShellOpen(address.toStdString()); });
    layout.addWidget(link);
}
