#pragma once
// Operations on in-memory scripts (QXScript): an array of lines of at most 55 characters.
#include <string>

#include "engine/qox_constant.h"
#include "engine/qox_object.h"

class QOXScript : public QOXObject {
    QOX_CLASS(QOXScript)
public:
    QOXScript(QOXObject* parent, const std::string& name);

    void Clear(QXScript& script) const;
    void Init(QXScript& script) const { Clear(script); }
    void SetLength(QXScript& script, int count) const;
    void SetLine(QXScript& script, int index, const std::string& text) const;
    void AddLine(QXScript& script, const std::string& text) const;
    bool Contains(const QXScript& script, const std::string& text) const;
};
