#pragma once

#include "regengine.h"
#include "regmessages.h"
#include "regpointer.h"

#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>
#include <QtTest>

#include <functional>

// One message box as the utility asked for it.
struct ShownMessage {
    QString text;
    int flags = -1;
    QString title;
    bool busyPointer = false;  // whether the screen-wide pointer was busy while it showed
};

// Records every message box instead of showing it; installed for its lifetime.
class RecordingMessages : public ostrel::MessageService {
public:
    RecordingMessages() { ostrel::setMessageService(this); }
    ~RecordingMessages() override { ostrel::setMessageService(nullptr); }

    int show(const QString& text, int flags, const QString& title) override {
        shown.append({text, flags, title, ostrel::isBusyPointer()});
        if (onShow) {
            onShow();
        }
        return ostrel::msg::kResultOk;
    }

    QStringList texts() const {
        QStringList all;
        for (const ShownMessage& message : shown) {
            all.append(message.text);
        }
        return all;
    }

    QList<ShownMessage> shown;
    std::function<void()> onShow;
};

inline QString fixture(const QString& name) {
    return QStringLiteral(OSTREL_FIXTURES "/") + name;
}

// The lines the fixture libraries appended to the trace file.
inline QStringList readTrace(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    lines.removeAll(QString());
    return lines;
}

// Lets sleeping fixture libraries go and waits until their workers have ended.
inline bool releaseSleepers(const QString& releaseFile) {
    QFile file(releaseFile);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    file.close();
    return ostrel::waitForAbandonedWorkers(60000);
}
