#pragma once
// The register of compiled display lists. Removed lists leave empty slots, which the next list
// takes; empty slots at the end are dropped.
#include <GL/gl.h>

#include "engine/qox_object.h"
#include "resources/resource_list.h"

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

    // Owned as a child; refers to the lists (owned only by their parents, which may be this engine).
    QRList<QRDisplayList>* Lists = nullptr;

protected:
    void BeforeDestroy() override;
    void ChildRemoved(QOXObject* child) override;
};
