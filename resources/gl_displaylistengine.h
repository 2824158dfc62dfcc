#pragma once
// The register of compiled display lists. Removed lists leave empty slots, which the next list
// takes; empty slots at the end are dropped.
#include <GL/gl.h>

#include <vector>

#include "engine/qox_object.h"

class QRDisplayList;

class GLDisplayListEngine : public QOXObject {
    QOX_CLASS(GLDisplayListEngine)
public:
    explicit GLDisplayListEngine(QOXObject* owner);

    void Init();
    int IndexOf(const QRDisplayList* list) const;
    GLuint BeginList(QRDisplayList* list, int mode);
    void EndList();
    static void DeleteList(GLuint id);
    void CallList(GLuint id);
    void Remove(QRDisplayList* list);
    void Clear();

    std::vector<QRDisplayList*> Lists; // not owned, except lists whose parent is this engine
    int Last = -1;

protected:
    void BeforeDestroy() override;
};
