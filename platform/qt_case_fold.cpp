#include <QString>

#include "platform/case_fold.h"

namespace platform {

std::string FoldCase(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toCaseFolded().toStdString();
}

} // namespace platform
