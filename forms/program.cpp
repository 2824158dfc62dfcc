// orbivane: the program a user starts. Its data (pictures, fonts, settings and list files) lies
// beside the executable, or in the folder ORBIVANE_HOME names.
#include <QApplication>
#include <QIcon>

#include "forms/main.h"
#include "platform/program_folder.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName("Orbivane");
    QApplication::setWindowIcon(QIcon(QString::fromStdString(platform::ProgramFolder() + "textures/icon.png")));
    TFormMain form;
    form.show();
    return QApplication::exec();
}
