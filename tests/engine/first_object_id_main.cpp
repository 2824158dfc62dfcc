// The first object created in a process gets ID 1, and IDs keep rising after objects die.
#include <cstdio>

#include "engine/qox_object.h"

int main()
{
    QOXObject* first = QOXNew<QOXObject>(nullptr, "first");
    const auto firstID = first->GetID();
    first->Destroy();
    QOXObject* second = QOXNew<QOXObject>(nullptr, "second");
    const auto secondID = second->GetID();
    second->Destroy();
    if (firstID != 1 || secondID != 2) {
        std::fprintf(stderr, "IDs were %u and %u, expected 1 and 2\n", firstID, secondID);
        return 1;
    }
    return QOXObject::LiveInstances() == 0 ? 0 : 1;
}
