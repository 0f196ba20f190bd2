#pragma once

#include "regengine.h"
#include "regmessages.h"
#include "regpointer.h"

#include <QFile>
#include <QStringList>
#include <QtTest>

#include <functional>

// Records every message box as "<flags> <title>: <text>", marked "BUSY " when the
// screen-wide pointer was still busy while it showed.
class RecordingMessages : public ostrel::MessageService {
public:
    RecordingMessages() { ostrel::setMessageService(this); }
    ~RecordingMessages() override { ostrel::setMessageService(nullptr); }
    int show(const QString& text, int flags, const QString& title) override {
        shown.append((ostrel::isBusyPointer() ? QStringLiteral("BUSY ") : QString()) +
                     QStringLiteral("%1 %2: %3").arg(flags).arg(title, text));
        if (onShow) {
            onShow();
        }
        return ostrel::msg::kResultOk;
    }
    QStringList shown;
    std::function<void()> onShow;
};

inline QString plain(const QString& text) {
    return QStringLiteral("0 Ostrel32: ") + text;
}
inline QString warning(const QString& text) {
    return QStringLiteral("48 Ostrel32: ") + text;
}
inline const QString kLoadFailure = plain(QStringLiteral("Failure loading control DLL"));
inline QString entryFailure(const QString& file) {
    return QStringLiteral(
               "16 Registration Failed!: Registration failed in obtaining entry point "
               "or creating thread for ") +
           file + QLatin1Char('.');
}
inline QString timeoutFailure(const QString& file) {
    return QStringLiteral(
               "16 Registration Failed!: Registration failed in signaled state or "
               "time-out for ") +
           file + QLatin1Char('.');
}

inline QString fixture(const QString& name) {
    return QStringLiteral(OSTREL_FIXTURES "/") + name;
}

// The lines the fixture libraries appended to the trace file.
inline QStringList readTrace(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly)
               ? QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)
               : QStringList();
}

// Lets sleeping fixture libraries go and waits until their workers have ended.
inline bool releaseSleepers(const QString& releaseFile) {
    QFile file(releaseFile);  // the sleepers only look whether it exists
    return file.open(QIODevice::WriteOnly) && ostrel::waitForAbandonedWorkers(60000);
}
