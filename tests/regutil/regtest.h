#pragma once

#include "registrationengine.h"

#include <QFile>
#include <QStringList>
#include <QtTest>

// Quick libraries get a limit no busy machine reaches; a sleeper one it always passes.
inline constexpr int kGenerousLimitMs = 60000;
inline constexpr int kShortLimitMs = 300;

// A message as "<icon flags> <title>: <text>", the way the recorders below write it.
inline QString messageLine(const QString& text, ostrel::MessageIcon icon, const QString& title) {
    return QStringLiteral("%1 %2: %3").arg(static_cast<int>(icon)).arg(title, text);
}

// Records what the engine reports: "busy" and "default" for the pointer, and for each
// outcome its message line, or "succeeded".
class RecordingObserver : public ostrel::RegistrationObserver {
public:
    void setBusy(bool busy) override {
        events.append(busy ? QStringLiteral("busy") : QStringLiteral("default"));
    }
    void reported(const ostrel::Report& report) override {
        QCOMPARE(report.text.isEmpty(), report.outcome == ostrel::Outcome::Succeeded);
        events.append(report.text.isEmpty() ? QStringLiteral("succeeded")
                                            : messageLine(report.text, report.icon, report.title));
    }
    QStringList events;
};

inline QString plain(const QString& text) {
    return QStringLiteral("0 Ostrel32: ") + text;
}
inline QString warning(const QString& text) {
    return QStringLiteral("48 Ostrel32: ") + text;
}
inline const QString kLoadFailure = plain(QStringLiteral("Failure loading control DLL"));
// "Registration failed in <how> for <file>."
inline QString registrationFailure(const char* how, const QString& file) {
    return QStringLiteral("16 Registration Failed!: Registration failed in %1 for %2.")
        .arg(QLatin1String(how), file);
}
inline QString entryFailure(const QString& file) {
    return registrationFailure("obtaining entry point or creating thread", file);
}
inline QString timeoutFailure(const QString& file) {
    return registrationFailure("signaled state or time-out", file);
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
