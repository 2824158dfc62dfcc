#pragma once
// A shown Qt GL view with its binding, for tests that need a real window (the suite runs under
// Xvfb). The members are made in order: application, view, binding.
#include <QGuiApplication>

#include "platform/qt_gl_binding.h"

class QtGLWindowUnderTest {
public:
    QtGLWindowUnderTest(int width, int height) : View(), Binding(&View)
    {
        View.resize(width, height);
        View.show();
    }

private:
    int Argc = 1;
    char Name[16] = "orbivane_tests";
    char* Argv[2] = {Name, nullptr};
    QGuiApplication Application{Argc, Argv};

public:
    platform::QtGLView View;
    platform::QtGLBinding Binding;
};
