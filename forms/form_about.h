#pragma once
// The about box: the program's logo, name and version, credits, where its files are, two links to
// web pages opened by the desktop, and the banana mode, which takes the box's tick however the box is closed.
#include "forms/form_dialog.h"

class QCheckBox;

class TFormAbout : public TFormDialog {
public:
    explicit TFormAbout(QWidget* parent);

    void SetBananaMode(bool on);
    bool BananaMode() const;

    static constexpr const char* kCoursePage = "https://www.khronos.org/opengl/";
    static constexpr const char* kMakerPage = "https://www.qt.io/";

private:
    QWidget* MakeLogoPanel();
    void AddLink(QLayout& layout, const char* name, const char* caption, const char* page);

    QCheckBox* CBMeisterMode = nullptr; // owned by the dialog
};
