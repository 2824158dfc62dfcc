// The reference of the real program's frames: one full-view fill with the bands' two pictures on
// an off-screen context of the view's size, on the same software renderer; prints the median of
// 31 fills in milliseconds. Usage: orbivane_fill_reference WIDTHxHEIGHT. bench/spin-frames runs it
// in the same run as the program.
#include <cstdio>

#include "bench/bench_application.h"
#include "bench/bench_drawing.h"

int main(int argc, char** argv)
{
    int width = 0;
    int height = 0;
    if (argc != 2 || std::sscanf(argv[1], "%dx%d", &width, &height) != 2 || width < 16 || height < 16) {
        std::fputs("usage: orbivane_fill_reference WIDTHxHEIGHT\n", stderr);
        return 2;
    }
    Application application(false, Application::Views::None, Application::Pictures::Shipped);
    platform::EglGLBinding binding(width, height);
    if (!binding.IsAvailable())
        return 1;
    QOXGL* device = StartDrawing(binding, width, height);
    GLRing* renderer = QOXNew<GLRing>(nullptr);
    renderer->Init();
    FillView(*device, *renderer); // the pictures' first use is not timed
    std::printf("%.3f\n", MedianFillMilliseconds(*device, *renderer, 31));
    renderer->Destroy();
    device->Destroy();
    return 0;
}
