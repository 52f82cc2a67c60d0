#pragma once

// Clicks made through the X server, as a user makes them: while the GUI thread waits on the line they
// queue in the window system, which QTest's events, delivered at once, never do. Sent by xdotool from
// a thread of their own; only under a real X server.

#include <QGuiApplication>
#include <QWidget>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>
#include <vector>

class ServerClicks
{
public:
    static bool available() { return QGuiApplication::platformName() == QLatin1String("xcb"); }
    ~ServerClicks()
    {
        if (m_thread.joinable())
            m_thread.join();
    }

    // A click in the widget's middle `afterMs` after the click before it (the first: after start()) and
    // after `ready` holds, when given: asked from the clicks' thread every 5 ms. `count` clicks are 150 ms
    // apart, timed by the server's own tool; `button`: "mousedown" or "mouseup" there instead.
    ServerClicks &then(int afterMs, QWidget *widget, std::function<bool()> ready = nullptr, int count = 1, const char *button = nullptr)
    {
        const QPoint at = widget->mapToGlobal(widget->rect().center());
        const QString what = button ? QString(button) : QStringLiteral("click --repeat %1 --delay 150").arg(count);
        m_steps.push_back({ afterMs, QStringLiteral("xdotool mousemove %1 %2 %3 1").arg(at.x()).arg(at.y()).arg(what).toStdString(), std::move(ready) });
        return *this;
    }

    void start()
    {
        m_thread = std::thread([this] {
            auto at = std::chrono::steady_clock::now();
            for (const Step &step : m_steps) {
                const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20); // never for ever
                while (step.ready && !step.ready() && std::chrono::steady_clock::now() < giveUp)
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
                at = std::max(at, std::chrono::steady_clock::now()) + std::chrono::milliseconds(step.afterMs);
                std::this_thread::sleep_until(at);
                std::system(step.command.c_str());
                m_lastAt = std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
                ++m_made;
            }
        });
    }

    // Clicks made so far, and when the last was, in the seconds of the monotonic clock the drive's journal keeps.
    int made() const { return m_made; }
    double lastAt() const { return m_lastAt; }

private:
    struct Step {
        int afterMs;
        std::string command;
        std::function<bool()> ready;
    };
    std::vector<Step> m_steps;
    std::atomic<int> m_made { 0 };
    std::atomic<double> m_lastAt { 0 };
    std::thread m_thread;
};
