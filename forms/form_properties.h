#pragma once
// The properties box (Alt+Enter): path, type, size, size on disk, owner, permissions and dates of
// one entry, read when it opens. A counted folder shows the size of everything below it.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "forms/form_dialog.h"

class TFormProperties : public TFormDialog {
public:
    // `path` is the entry's (a folder's without its last "/"); `countedBytes` the size the ring
    // counted for it, -1 when none.
    TFormProperties(QWidget* parent, const std::string& path, std::int64_t countedBytes);

    // The rows shown: caption and value, in order.
    const std::vector<std::pair<QString, QString>>& Rows() const { return Lines; }

private:
    std::vector<std::pair<QString, QString>> Lines;
};
