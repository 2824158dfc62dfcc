#pragma once
// One favourite: a named folder that the Favorites menu opens as a ring.
#include <string>

#include "engine/qox_object.h"

class QFGeneric : public QOXObject {
    QOX_CLASS(QFGeneric)
public:
    // `owner` keeps the favourite in its list and frees it.
    explicit QFGeneric(QOXObject* owner);

    std::string Folder; // the folder, normally ending with "/"; never cut
};
