#include "engine/qox_script.h"

#include <algorithm>

#include "engine/qox_main.h"

QOXScript::QOXScript(QOXObject* parent, const std::string& name) : QOXObject(parent, name) {}

void QOXScript::Clear(QXScript& script) const
{
    script.Lines.clear();
    script.Last = -1;
}

void QOXScript::SetLength(QXScript& script, int count) const
{
    if (count < 1) {
        Clear(script);
        return;
    }
    script.Lines.resize(static_cast<std::size_t>(count));
    script.Last = count - 1;
}

void QOXScript::SetLine(QXScript& script, int index, const std::string& text) const
{
    if (index > script.Last || index < 0) {
        Engine()->Error("QX_SCRIPT", "Tried to add a line beyond end of script!");
        return;
    }
    script.Lines[static_cast<std::size_t>(index)] = CutText(text, kStringText);
}

void QOXScript::AddLine(QXScript& script, const std::string& text) const
{
    script.Lines.push_back(CutText(text, kStringText));
    script.Last = static_cast<int>(script.Lines.size()) - 1;
}

bool QOXScript::Contains(const QXScript& script, const std::string& text) const
{
    return std::find(script.Lines.begin(), script.Lines.end(), text) != script.Lines.end();
}
