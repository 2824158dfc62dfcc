#pragma once
// A compiled OpenGL display list: geometry code compiles it once (BeginCompile, drawing calls,
// EndCompile) and calls it every frame. Compiling again deletes the previous list first.
#include "resources/resource_main.h"

enum DisplayListMode : int { CompileOnly = 0, CompileAndExecute = 1 };

inline constexpr ResourceKind kDisplayListKind{"RESOURCE DISPLAYLIST", "Creating Display List: ",
                                               "Deleting Display List: ", ResourceKind::Naming::GivenName};

class QRDisplayList : public QOXResource {
    QOX_CLASS(QRDisplayList)
public:
    explicit QRDisplayList(QOXObject* owner);

    void BeginCompile(int mode);
    void EndCompile();
    void Call();

    unsigned ListId = 0;

protected:
    void ReleaseData() override;
};
