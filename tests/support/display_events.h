#pragma once
// Real pointer and key events of the test's X server, played by xdotool: a drag between windows
// and the window system's clipboard need events the server itself made (Qt's synthetic events
// carry no server time and start no drag).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPoint>
#include <QProcess>
#include <QStringList>

// Plays xdotool's commands while this process goes on handling its events.
inline void PlayOnDisplay(const QStringList& commands)
{
    QProcess xdotool;
    xdotool.start("xdotool", commands);
    const QDeadlineTimer deadline(10000);
    while (xdotool.state() != QProcess::NotRunning && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        xdotool.waitForFinished(10);
    }
    EXPECT_EQ(xdotool.exitCode(), 0) << xdotool.readAllStandardError().toStdString();
}

// The pointer to a point of the screen, with a pause for the windows to follow.
inline QStringList PointerTo(QPoint point)
{
    return {"mousemove", QString::number(point.x()), QString::number(point.y()), "sleep", "0.3"};
}
