// The user manual: it shows only pictures that exist, names every item of the main menu, and F1
// in the view opens it through the desktop.
#include <QAction>
#include <QDesktopServices>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QWindow>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "forms/main.h"
#include "forms/main_menus.h"
#include "tests/support/form_fixture.h"

namespace {

const std::string kData = ORBIVANE_SOURCE_DATA;

QString ManualText()
{
    std::ifstream file(kData + "orbivane.html");
    std::stringstream text;
    text << file.rdbuf();
    return QString::fromStdString(text.str());
}

// The captions of the visible items of a menu and its submenus, as the user reads them.
void CollectCaptions(const QList<QAction*>& items, QStringList& captions)
{
    for (QAction* item : items) {
        if (item->isSeparator() || !item->isVisible())
            continue;
        captions.append(item->text().section('\t', 0, 0).remove('&'));
        if (item->menu() != nullptr)
            CollectCaptions(item->menu()->actions(), captions);
    }
}

} // namespace

TEST(Manual, ShowsExistingPicturesAndNamesEveryMenuItem)
{
    MakeTestApplication();
    const QString manual = ManualText();
    ASSERT_FALSE(manual.isEmpty());
    int pictures = 0;
    for (const QRegularExpressionMatch& picture : QRegularExpression("<img src=\"([^\"]+)\"").globalMatch(manual)) {
        ++pictures;
        const std::string path = kData + picture.captured(1).toStdString();
        EXPECT_TRUE(std::filesystem::is_regular_file(path) && std::filesystem::file_size(path) > 0) << path;
    }
    EXPECT_GE(pictures, 3);
    QMainWindow window;
    TMainMenus menus(window, [](const std::function<void()>& command) { command(); });
    QStringList captions;
    CollectCaptions(window.menuBar()->actions(), captions);
    EXPECT_GE(captions.size(), 30);
    for (const QString& caption : captions)
        EXPECT_TRUE(manual.contains(caption)) << caption.toStdString();
}

// The desktop's "open" handler for local files is stood in for by a browser that takes the page.
TEST_F(FormTest, F1InTheViewOpensTheManual)
{
    std::filesystem::copy_file(kData + "orbivane.html", Home.Path() + "orbivane.html");
    QTextBrowser opened;
    QDesktopServices::setUrlHandler("file", &opened, "setSource");
    Start();
    QTest::keyClick(GLView(), Qt::Key_F1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !opened.source().isEmpty(); }, 2000));
    QDesktopServices::unsetUrlHandler("file");
    EXPECT_EQ(opened.source().toLocalFile().toStdString(), Home.Path() + "orbivane.html");
    EXPECT_TRUE(opened.toPlainText().contains("What the rings show"));
}
