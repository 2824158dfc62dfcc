#pragma once
// The desktop's clipboard and drags through Qt: needs the GUI application.
#include "platform/file_clipboard.h"

class QMimeData;

namespace platform {

class QtFileClipboard : public FileClipboard {
public:
    void Put(const ClipboardFiles& files) override;
    bool HoldsOurs() const override;
    std::optional<ClipboardFiles> Files() const override;
    void Clear() override;
};

// The payloads as Qt's MIME data, for the clipboard or a drag; the caller owns it (or hands it on).
QMimeData* NewMimeData(const MimePayloads& payloads);
// The file formats among Qt's MIME data.
MimePayloads FilePayloadsOf(const QMimeData& data);

} // namespace platform
