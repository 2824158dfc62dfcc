// orbivane: the program a user starts. Its data (pictures, fonts, settings and list files) lies
// beside the executable, or in the folder ORBIVANE_HOME names.
#include <QApplication>
#include <QIcon>

#include <iostream>

#include "app/app_main.h"
#include "forms/main.h"
#include "platform/program_folder.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName("Orbivane");
    QApplication::setWindowIcon(QIcon(QString::fromStdString(platform::ProgramFolder() + "textures/icon.png")));
    // "--frame-stats FILE": a line per drawn frame (milliseconds of work, elements drawn).
    const QStringList arguments = QApplication::arguments();
    const qsizetype frameStats = arguments.indexOf("--frame-stats");
    if (frameStats > 0 && frameStats + 1 >= arguments.size()) {
        std::cerr << "orbivane: --frame-stats needs a file\n";
        return 2;
    }
    TFormMain form;
    if (frameStats > 0)
        form.Application->FrameStats.Open(arguments[frameStats + 1].toStdString());
    form.show();
    return QApplication::exec();
}
