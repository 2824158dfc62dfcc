// The least a Qt program with an OpenGL window does before its first frame, as a whole process: a
// 1024 x 768 QOpenGLWindow that clears and swaps. When the first frame has been swapped it writes
// a line to the file it is given, as orbivane --frame-stats does, and then waits to be ended.
// bench/start-up times both from their start to that line.
#include <QGuiApplication>
#include <QOpenGLFunctions>
#include <QOpenGLWindow>

#include <cstdio>

class ClearingWindow : public QOpenGLWindow {
public:
    explicit ClearingWindow(const char* path) : Path(path)
    {
        connect(this, &QOpenGLWindow::frameSwapped, this, [this] {
            if (Written)
                return;
            Written = true;
            if (std::FILE* file = std::fopen(Path, "w")) {
                std::fputs("0 0\n", file);
                std::fclose(file);
            }
        });
    }

protected:
    void paintGL() override
    {
        QOpenGLFunctions* gl = context()->functions();
        gl->glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
        gl->glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

private:
    const char* Path;
    bool Written = false;
};

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: orbivane_bare_qt_window FILE\n", stderr);
        return 2;
    }
    QGuiApplication application(argc, argv);
    ClearingWindow window(argv[1]);
    window.resize(1024, 768);
    window.show();
    return QGuiApplication::exec();
}
