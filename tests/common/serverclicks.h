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
    // after `ready` holds, when given: asked from the clicks' thread every 5 ms.
    ServerClicks &then(int afterMs, QWidget *widget, std::function<bool()> ready = nullptr)
    {
        const QPoint at = widget->mapToGlobal(widget->rect().center());
        m_steps.push_back({ afterMs, QStringLiteral("xdotool mousemove %1 %2 click 1").arg(at.x()).arg(at.y()).toStdString(),
                            std::move(ready) });
        return *this;
    }

    // `count` clicks `apartMs` apart, sent by the server's own timing.
    ServerClicks &thenRepeated(int afterMs, QWidget *widget, int count, int apartMs)
    {
        const QPoint at = widget->mapToGlobal(widget->rect().center());
        m_steps.push_back({ afterMs, QStringLiteral("xdotool mousemove %1 %2 click --repeat %3 --delay %4 1")
                                         .arg(at.x()).arg(at.y()).arg(count).arg(apartMs).toStdString(), nullptr });
        return *this;
    }

    void start()
    {
        m_thread = std::thread([this] {
            auto at = std::chrono::steady_clock::now();
            for (const Step &step : m_steps) {
                // Never for ever: a row whose condition never comes fails on what it then sees.
                const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
                while (step.ready && !step.ready() && std::chrono::steady_clock::now() < giveUp)
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
                at = std::max(at, std::chrono::steady_clock::now()) + std::chrono::milliseconds(step.afterMs);
                std::this_thread::sleep_until(at);
                std::system(step.command.c_str());
                m_clickedAt.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count());
                ++m_made;
            }
        });
    }

    // Clicks made so far; any thread.
    int made() const { return m_made; }
    // When each click was made, in seconds of the monotonic clock the drive's journal keeps; once the
    // clicks' thread has ended.
    const std::vector<double> &clickedAt()
    {
        if (m_thread.joinable())
            m_thread.join();
        return m_clickedAt;
    }

private:
    struct Step {
        int afterMs;
        std::string command;
        std::function<bool()> ready;
    };
    std::vector<Step> m_steps;
    std::vector<double> m_clickedAt;
    std::atomic<int> m_made { 0 };
    std::thread m_thread;
};
