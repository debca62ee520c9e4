#pragma once

#include "battle/gameeffects.h"

#include <QStringList>

#include <functional>

// Records what the game asks of the window, one line a call, in order.
class RecordingEffects : public GameEffects
{
public:
    QStringList calls;
    std::function<void(const QString &)> onMessage; // runs while a message "is open"

    void mirror() override { calls << QStringLiteral("mirror"); }
    void startHitSound() override { calls << QStringLiteral("start hit sound"); }
    void stopHitSound() override { calls << QStringLiteral("stop hit sound"); }
    void drawBoom(int cellIndex) override { calls << QStringLiteral("boom %1").arg(cellIndex); }
    void startBoomTimer() override { calls << QStringLiteral("boom timer"); }
    void setComputerTimer(bool on) override
    {
        calls << (on ? QStringLiteral("tmrI on") : QStringLiteral("tmrI off"));
    }
    void showMessage(const QString &text) override
    {
        calls << QStringLiteral("message ") + text;
        if (onMessage)
            onMessage(text);
    }
    void saveResult(const QString &winner) override { calls << QStringLiteral("save ") + winner; }
    void clearHitMarkers() override { calls << QStringLiteral("clear markers"); }
    void resetHitMarkerCount() override { calls << QStringLiteral("markers from 0"); }

    // The calls other than "mirror", which may come as often as the window likes.
    QStringList effects() const
    {
        QStringList result;
        for (const QString &call : calls)
            if (call != QLatin1String("mirror"))
                result << call;
        return result;
    }
    int count(const QString &prefix) const
    {
        int n = 0;
        for (const QString &call : calls)
            n += call.startsWith(prefix);
        return n;
    }
};
