#pragma once
// The application on a temporary program folder with the program's real dialogs, shown modally as
// the program shows them, and answered by the test once they are up: fields typed, buttons pressed.
#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <functional>
#include <string>

#include "forms/dialogs.h"
#include "tests/support/app_fixture.h"
#include "tests/support/form_fixture.h"

inline constexpr int kDialogTimeout = 5000; // milliseconds

class DialogTest : public AppTest {
protected:
    static void SetUpTestSuite() { MakeTestApplication(); }
    void SetUp() override
    {
        AppTest::SetUp();
        TheApp->Dialogs = &Dialogs;
    }
    void TearDown() override
    {
        EXPECT_EQ(Pending, 0) << "a dialog that was to be answered never opened";
        AppTest::TearDown();
    }

    // Once the next modal dialog is up (one other than the one up now), `answer` acts on it; the
    // dialog's own loop runs meanwhile, so an answer may open a further dialog.
    void WhenOpen(std::function<void(QWidget&)> answer)
    {
        ++Pending;
        Poll(QApplication::activeModalWidget(), std::move(answer), kDialogTimeout / 10);
    }
    static void Type(QWidget& dialog, const char* name, const QString& text)
    {
        auto* edit = dialog.findChild<QLineEdit*>(name);
        ASSERT_NE(edit, nullptr) << name;
        edit->setText(text);
    }
    static void Press(QWidget& dialog, const char* name)
    {
        auto* button = dialog.findChild<QAbstractButton*>(name);
        ASSERT_NE(button, nullptr) << name;
        button->click(); // also on a page not in front
    }
    std::string LastBox() const { return Desktop.Boxes.empty() ? std::string() : Desktop.Boxes.back().Text; }

    TDialogs Dialogs{nullptr};
    int Pending = 0;

private:
    void Poll(QWidget* before, std::function<void(QWidget&)> answer, int triesLeft)
    {
        QTimer::singleShot(10, [=, this] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (dialog != nullptr && dialog != before && dialog->isVisible()) {
                --Pending;
                answer(*dialog);
            } else if (triesLeft > 0) {
                Poll(before, answer, triesLeft - 1);
            }
        });
    }
};
