#pragma once
// The folders recently opened as rings and the main window's placement, kept between sessions in
// the recent file.
#include <string>
#include <vector>

#include "engine/qox_object.h"

namespace lists {
class ListFileReader;
}

// The main window as the recent file sees it; the main window implements it.
class QAFWindowPlacement {
public:
    virtual ~QAFWindowPlacement() = default;
    virtual bool IsMaximized() const = 0;
    virtual int Left() const = 0;
    virtual int Top() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void Place(int left, int top, int width, int height) = 0;
    virtual void SetMaximized(bool maximized) = 0;
};

// The recent folders, oldest first.
struct TQRecent {
    std::vector<std::string> Folders;
    int Last() const { return static_cast<int>(Folders.size()) - 1; }
};

class QAFRecent : public QOXObject {
    QOX_CLASS(QAFRecent)
public:
    static constexpr std::size_t kMaxFolders = 21;

    struct TSettings {
        bool Maximize = false;
        int Left = 0;
        int Top = 0;
        int Width = 0;
        int Height = 0;
        TQRecent Recent;
    };

    explicit QAFRecent(QOXObject* parent);

    void Load(const std::string& name);
    void Save(const std::string& name);

    void AddFolder(const std::string& folder);
    bool Contains(const std::string& folder) const;
    // Appends to `items` every stored folder it does not hold yet, oldest first.
    void FillBox(std::vector<std::string>& items) const;
    void Trim();

    TSettings Settings;
    QAFWindowPlacement* Window = nullptr; // not owned; the main window

protected:
    void BeforeDestroy() override;

private:
    void ReadAppearance(lists::ListFileReader& reader);
    void ReadFolders(lists::ListFileReader& reader);
    void PlaceWindow() const;
    void TakeWindowPlacement();
};
